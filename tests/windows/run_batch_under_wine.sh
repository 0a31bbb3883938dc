#!/bin/bash
# run_batch_under_wine.sh LINUX_BUILD WINDOWS_BUILD: runs the batch calculation of both builds on
# the sample requests (data/anfrage.ini and tests/windows/requests/) in German notation and
# compares result files, exit codes and messages byte for byte. The requests are named relative
# to the working folder and one name is not ASCII, so the command line and the file names on
# Windows are checked as well.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
linux_build=$(cd "$1" && pwd)
windows_build=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/requests" "$work/linux" "$work/windows"
cp "$source_dir/data/anfrage.ini" "$here"/requests/*.ini "$work/requests/"
# A request that is not there: the message and exit code 1.
requests=("fehlt.ini")
while IFS= read -r -d '' file; do requests+=("$(basename "$file")"); done \
  < <(find "$work/requests" -name '*.ini' -print0 | sort -z)

run_linux() {  # request result stderr
  (cd "$work/requests" && env -u LANG -u LC_NUMERIC -u LC_MONETARY LC_ALL=de_DE.UTF-8 \
    "$linux_build/fondaris" "-i:$1" "-o:$2" 2>"$3" </dev/null)
}
run_windows() {  # request result stderr
  (cd "$work/requests" && LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 \
    "$here/wine.sh" "$windows_build/wine-prefix" "$windows_build/fondaris.exe" \
    "-i:$1" "-o:Z:$2" 2>"$3" </dev/null)
}

passed=0
failed=0
for request in "${requests[@]}"; do
  result="Ergebnis ${request%.ini}.ini"
  run_linux "$request" "$work/linux/$result" "$work/linux/$request.err"
  linux_status=$?
  run_windows "$request" "$work/windows/$result" "$work/windows/$request.err"
  windows_status=$?
  # Standard error is a text stream: Windows ends its lines with CR LF.
  sed -i 's/\r$//' "$work/windows/$request.err"
  problems=()
  [ "$linux_status" = "$windows_status" ] ||
    problems+=("exit code $linux_status on Linux, $windows_status on Windows")
  cmp -s "$work/linux/$request.err" "$work/windows/$request.err" ||
    problems+=("messages differ: $(cat "$work/linux/$request.err") / $(cat "$work/windows/$request.err")")
  if [ -e "$work/linux/$result" ] || [ -e "$work/windows/$result" ]; then
    cmp "$work/linux/$result" "$work/windows/$result" >/dev/null 2>&1 ||
      problems+=("result files differ: $(cmp "$work/linux/$result" "$work/windows/$result" 2>&1)")
  fi
  if [ ${#problems[@]} -eq 0 ]; then
    echo "ok     $request (exit code $linux_status)"
    passed=$((passed + 1))
  else
    echo "FAILED $request: ${problems[*]}"
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
