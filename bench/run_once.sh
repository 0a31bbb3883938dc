#!/bin/sh
# Runs a benchmark program once with a tiny time: fails on a non-zero exit or on any benchmark
# whose set-up reported an error.
out=$("$@" --benchmark_min_time=0.001 2>&1)
status=$?
printf '%s\n' "$out"
[ "$status" -eq 0 ] || exit "$status"
if printf '%s\n' "$out" | grep -q 'ERROR OCCURRED'; then exit 1; fi
exit 0
