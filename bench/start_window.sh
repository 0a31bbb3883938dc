#!/usr/bin/env bash
# The program's first start against a bare Qt program that shows one label: the time from
# starting the process to its first window on the display, RUNS alternating runs of each (a fresh
# home and working folder every time, German locale, under its own Xvfb); prints both medians and
# their ratio.
# Usage: bench/start_window.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-9}
timer=$build/bench/first-window-timer
bare=$build/bench/bare-qt-window
for tool in "$timer" "$bare" "$build/fondaris"; do
  [ -x "$tool" ] || { echo "missing $tool (build the targets first-window-timer and bare-qt-window)" >&2; exit 1; }
done
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for ((k = 0; k < 50; k++)); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done

# One timed start of "$@" as a first-time user: nothing of an earlier run is left.
first_window() {
  rm -rf "$work/home" "$work/cwd"
  mkdir -p "$work/home" "$work/cwd"
  (cd "$work/cwd" && env -i PATH="$PATH" DISPLAY="$display" HOME="$work/home" \
    TMPDIR="$work/home" XDG_RUNTIME_DIR="$work/home" LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 "$timer" "$@")
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
milliseconds() { awk -v us="$1" 'BEGIN {printf "%.0f ms", us / 1000}'; }

first_window "$bare" >/dev/null  # the shared libraries read once into the page cache
first_window "$build/fondaris" >/dev/null
program_times=() bare_times=()
for ((k = 0; k < runs; k++)); do
  program_times+=("$(first_window "$build/fondaris")")
  bare_times+=("$(first_window "$bare")")
done
a=$(printf '%s\n' "${program_times[@]}" | median)
b=$(printf '%s\n' "${bare_times[@]}" | median)
printf 'first window: program %s, bare Qt window %s (medians of %d); ratio %s\n' \
  "$(milliseconds "$a")" "$(milliseconds "$b")" "$runs" \
  "$(awk -v a="$a" -v b="$b" 'BEGIN {printf "%.2f", a / b}')"
