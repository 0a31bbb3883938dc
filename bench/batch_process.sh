#!/usr/bin/env bash
# Whole-process timing of batch mode: runs one request N times as a portal would and prints
# the median wall time per request.
# Usage: bench/batch_process.sh [BUILD_DIR] [RUNS] [REQUEST]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-500}
request=$(realpath "${3:-$(dirname "$0")/../data/anfrage.ini}")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

times=()
for ((k = 0; k < runs; k++)); do
  start=$(date +%s%N)
  "$build/fondaris" "-i:$request" "-o:$out/ergebnis.ini" 2>/dev/null
  end=$(date +%s%N)
  times+=($(((end - start) / 1000)))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
printf 'batch request: %d runs, median %d.%03d ms per request\n' "$runs" \
  $((median / 1000)) $((median % 1000))
grep -q '^Ende=1' "$out/ergebnis.ini" || { echo "result incomplete" >&2; exit 1; }
