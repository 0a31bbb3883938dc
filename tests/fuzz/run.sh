#!/bin/sh
# run.sh <fuzz build folder> <seconds per target> [targets at once]: runs every target on its
# corpus (kept in <build>/corpus between runs, seeded from data/ and the fixtures here) and prints
# each target's executions. Findings land in <build>/findings; the status is 1 when there are any.
set -u
# Absolute: the targets that read the program's files change their working folder, and libFuzzer
# opens corpus files and writes new ones by these paths while the target runs.
build=$(cd "$1" && pwd)
seconds=$2
jobs=${3:-1}
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../../data
findings=$build/findings
# Font and Qt libraries keep some memory for the life of the process; the tests ignore it too.
export LSAN_OPTIONS="suppressions=$here/../lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
mkdir -p "$findings"

seed() {  # seed <target> <file>...
  dir=$build/corpus/$1
  mkdir -p "$dir"
  shift
  for f in "$@"; do [ -f "$f" ] && cp "$f" "$dir/seed_$(basename "$f")"; done
  [ -d "$here/seeds/$(basename "$dir")" ] && cp "$here/seeds/$(basename "$dir")"/* "$dir/"
  return 0
}
seed batch_request "$data/anfrage.ini"
seed ini_file "$data/anfrage.ini" "$here/seeds/settings_file/zkdx.ini"
seed line_file "$data/anfrage.ini" "$here/seeds/agent_file/vermitd.txt"
seed command_line
seed german
seed param_record "$build/Param.dat"
seed param_source "$data/param.txt"
head -c 20000 "$build/BLZ.DAT" >"$build/blz_head.bin" 2>/dev/null
seed bank_table "$build/blz_head.bin"
seed bundesbank "$data/bank/blz_beispiel.txt"
seed agent_file
seed offer_file "$here/../offers/angebot_vl.txt"
seed settings_file
seed pdf_replace

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
