#!/bin/sh
# run.sh <fuzz build folder> <seconds per target> [targets at once]: runs every target on its
# corpus (kept in <build>/corpus between runs, seeded as the replay tests replay) and prints
# each target's executions. Findings land in <build>/findings; the status is 1 when there are any.
set -u
# Absolute: the targets that read the program's files change their working folder, and libFuzzer
# opens corpus files and writes new ones by these paths while the target runs.
build=$(cd "$1" && pwd)
seconds=$2
jobs=${3:-1}
here=$(cd "$(dirname "$0")" && pwd)
findings=$build/findings
mkdir -p "$findings"

# Each target's corpus starts from its folders seeds/<target> and findings/<target> and its
# lines of seeds.txt, the inputs the replay tests use too.
for target in "$build"/fuzz/*_fuzz; do
  name=$(basename "$target" _fuzz)
  mkdir -p "$build/corpus/$name"
  for folder in "$here/seeds/$name" "$here/findings/$name"; do
    [ -d "$folder" ] && cp "$folder"/* "$build/corpus/$name/"
  done
done
grep -v -e '^#' -e '^[[:space:]]*$' "$here/seeds.txt" | while read -r name path first; do
  case $path in
    "{build}"/*) file=$build/${path#"{build}"/} ;;
    *) file=$here/../../$path ;;
  esac
  [ -d "$build/corpus/$name" ] || continue
  if [ -n "$first" ]; then
    head -c "$first" "$file" >"$build/corpus/$name/seed_$(basename "$file")"
  else
    cp "$file" "$build/corpus/$name/seed_$(basename "$file")"
  fi
done

# One target's run; its status goes to <build>/fuzz-<name>.status.
run_target() {
  name=$(basename "$1" _fuzz)
  "$1" "$build/corpus/$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 \
    -print_final_stats=1 -artifact_prefix="$findings/$name-" >"$build/fuzz-$name.log" 2>&1
  echo $? >"$build/fuzz-$name.status"
}

running=0
for target in "$build"/fuzz/*_fuzz; do
  echo "== $(basename "$target" _fuzz): $seconds s"
  run_target "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait
    running=0
  fi
done
wait

status=0
summary=""
for target in "$build"/fuzz/*_fuzz; do
  name=$(basename "$target" _fuzz)
  log=$build/fuzz-$name.log
  result=$(cat "$build/fuzz-$name.status")
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [ "$result" != 0 ]; then
    status=1
    grep -m1 -E '^==[0-9]+==ERROR|runtime error|deadly signal|timeout|^ERROR' "$log"
    summary="$summary$name: FUND (Status $result, ${runs:-?} Ausführungen, siehe $log)\n"
  else
    summary="$summary$name: ${runs:-?} Ausführungen\n"
  fi
done
printf "\n$summary"
exit $status
