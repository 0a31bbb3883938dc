#!/bin/sh
# install_test.sh <build folder> <sample request>
# As root the installed program runs as "nobody"; otherwise the prefix is made read-only.
set -u
build=$1
request=$2
fail() { echo "FEHLER: $*" >&2; exit 1; }

root=$(mktemp -d /tmp/fondaris_install.XXXXXX) || exit 1
trap 'chmod -R u+w "$root" 2>/dev/null; rm -rf "$root"' EXIT
chmod 755 "$root"
prefix=$root/prefix
cmake --install "$build" --prefix "$prefix" >"$root/install.log" 2>&1 ||
  { cat "$root/install.log"; fail "cmake --install"; }

program=$prefix/lib/fondaris
for f in bin/fondaris lib/fondaris/fondaris lib/fondaris/libfondaris-gui.so \
         lib/fondaris/libfondaris-formfilling.so \
         lib/fondaris/Param.dat lib/fondaris/BLZ.DAT lib/fondaris/Angebot_VL_1.pdf \
         lib/fondaris/Angebot_ZS_10.pdf lib/fondaris/Info_Fonds_1.pdf lib/fondaris/Startbild.png \
         lib/fondaris/FQ-VL-Antrag.pdf \
         share/applications/fondaris.desktop share/icons/hicolor/scalable/apps/fondaris.svg; do
  [ -e "$prefix/$f" ] || fail "$f fehlt nach der Installation"
done
[ -L "$prefix/bin/fondaris" ] || fail "bin/fondaris ist kein Verweis"
desktop=$prefix/share/applications/fondaris.desktop
grep -qx "Exec=$prefix/bin/fondaris" "$desktop" || fail "Exec in $desktop"
grep -qx "Categories=Office;Finance;" "$desktop" || fail "Categories in $desktop"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi

work=$root/work
home=$root/home
mkdir -p "$work" "$home/.local/share/fondaris"
# The last run's protocol file, in the user's data folder as the program folder is not writable.
echo alt >"$home/.local/share/fondaris/Prot.txt"
if [ "$(id -u)" = 0 ]; then
  command -v setpriv >/dev/null 2>&1 || { echo "setpriv fehlt: kein Benutzerwechsel"; exit 77; }
  id nobody >/dev/null 2>&1 || { echo "kein Benutzer nobody"; exit 77; }
  chown -R nobody "$work" "$home"
  as_user() { setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups "$@"; }
else
  chmod -R a-w "$prefix"
  as_user() { "$@"; }
fi
as_user test -w "$program" && fail "$program ist beschreibbar"

snapshot() { ls -lAR --time-style=full-iso "$program"; }
snapshot >"$root/before.txt"
cp "$request" "$work/anfrage.ini"
chmod 644 "$work/anfrage.ini"
run() {
  (cd "$work" && as_user env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$home" LC_ALL=C "$@")
}

# Batch mode from the PATH, the request in the current folder.
run fondaris -i:anfrage.ini "-o:$work/ergebnis.ini" 2>"$root/batch.err" </dev/null
status=$?
[ "$status" = 0 ] || { cat "$root/batch.err"; fail "Stapelbetrieb: Status $status"; }
[ -s "$root/batch.err" ] && { cat "$root/batch.err"; fail "Meldungen im Stapelbetrieb"; }
tr -d '\r' <"$work/ergebnis.ini" | grep -qx "Ende=1" || fail "Ergebnis unvollständig"
tr -d '\r' <"$work/ergebnis.ini" | grep -qx "Fehler=" || fail "Ergebnis mit Fehler"
[ -e "$home/.local/share/fondaris/Prot.txt" ] && fail "Prot.txt des letzten Laufs nicht gelöscht"
rm -rf "$home/.local/share/fondaris"  # the interactive start must make it itself

# The interactive program offscreen: it keeps running (timeout ends it), and its agent form
# has looked for the user's files in the user's data folder, not in the program folder.
run env QT_QPA_PLATFORM=offscreen timeout 4 fondaris >"$root/gui.err" 2>&1 </dev/null
status=$?
[ "$status" = 124 ] || { cat "$root/gui.err"; fail "Programmstart endete mit Status $status"; }
[ -d "$home/.local/share/fondaris" ] || fail "kein Benutzerordner $home/.local/share/fondaris"
snapshot | cmp -s - "$root/before.txt" || fail "Programmordner verändert"
echo "ok: $prefix"
