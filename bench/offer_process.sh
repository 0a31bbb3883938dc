#!/usr/bin/env bash
# Whole-process timing of the headless offer against its floor: makes the sample offer document
# and, in turn, copies the three template pages and page 3 once more with qpdf (reading the
# template and writing four pages, as the offer does), N times each; prints both medians and
# their ratio.
# Usage: bench/offer_process.sh [BUILD_DIR] [RUNS] [OFFER] [TEMPLATE]
# TEMPLATE is the one OFFER names (the sample offer: Angebot_VL_3.pdf, beside the program).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-50}
offer=$(realpath "${3:-$(dirname "$0")/../tests/offers/angebot_vl.txt}")
template=$build/${4:-Angebot_VL_3.pdf}
command -v qpdf >/dev/null || { echo "qpdf missing" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd "$build"  # the offer's names are taken from here

# The clock is read around a batch of runs, not around each: the timing's own forks would
# otherwise add the same few milliseconds to both commands and flatter the ratio.
batch=10
microseconds_per_run() {
  local start end k
  start=$(date +%s%N)
  for ((k = 0; k < batch; k++)); do "$@" >/dev/null 2>&1; done
  end=$(date +%s%N)
  echo $(((end - start) / 1000 / batch))
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
milliseconds() { awk -v us="$1" 'BEGIN {printf "%.1f ms", us / 1000}'; }

offer_times=() floor_times=()
for ((k = 0; k < (runs + batch - 1) / batch; k++)); do
  offer_times+=("$(microseconds_per_run "$build/fondaris-offer" "$offer" "-o:$out/angebot.pdf")")
  floor_times+=("$(microseconds_per_run qpdf --empty --pages "$template" 1-3,3 -- "$out/vorlage.pdf")")
done
a=$(printf '%s\n' "${offer_times[@]}" | median)
b=$(printf '%s\n' "${floor_times[@]}" | median)
printf 'offer document: %d runs, median %s; template pages copied: %s; ratio %s\n' "$runs" \
  "$(milliseconds "$a")" "$(milliseconds "$b")" "$(awk -v a="$a" -v b="$b" 'BEGIN {printf "%.1f", a / b}')"
[ -s "$out/angebot.pdf" ] || { echo "no offer written" >&2; exit 1; }
