#!/bin/sh
# wine.sh PREFIX PROGRAM [ARGUMENTS]: runs a Windows program of the cross build under Wine, in
# the Wine prefix PREFIX (made on first use), without Wine's own diagnostics. The exit code is
# the program's.
set -e
prefix=$1
shift
wine=$(command -v wine64 || true)
[ -n "$wine" ] || [ ! -x /usr/lib/wine/wine64 ] || wine=/usr/lib/wine/wine64
[ -n "$wine" ] || wine=$(command -v wine || true)
if [ -z "$wine" ]; then
  echo "wine.sh: Wine is not installed (Debian packages wine, wine64)" >&2
  exit 127
fi
# Wine keeps the Windows user's folders under HOME; a bare environment has none.
export HOME="${HOME:-$prefix}"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Programs run side by side (ctest -j): only one of them makes the prefix.
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    [ -f "$prefix/system.reg" ] || "$wine" wineboot --init >/dev/null 2>&1 || true
  ) 9>"$prefix.lock"
fi
exec "$wine" "$@"
