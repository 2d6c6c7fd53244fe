#!/usr/bin/env bash
# The Windows distribution (make dist-windows) installed and removed again under 32-bit Wine:
#   1. INSTELLO.EXE --unattended installs it; the uninstall entry holds UninstallString,
#      QuietUninstallString, DisplayIcon, Publisher, DisplayVersion and EstimatedSize, and the
#      installer copy it runs is in C:\Tattilo\BIN;
#   2. with the workbench running, the quiet uninstall (as deployment tools run it) names
#      tattilo.exe as in use, removes nothing and ends with status 4;
#   3. the UninstallString itself, run as the list of programs runs it, shows its windows on a
#      virtual display (Xvfb, keys sent with xdotool): the confirmation (Enter for "Remove") and
#      the final message, which names the folder that still holds the student's document;
#   4. drive C: and the registry are then what they were before the installation, byte for
#      byte, but for that document and the workbench's settings file, which stay.
# With EVIDENCE_DIR set, pictures of the confirmation and of the final message are saved there
# as uninstall-confirm.png and uninstall-done.png (ImageMagick's import).
#
#   scripts/test_windows_uninstall.sh [BUILD_DIR]     (default build-win32)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build-win32}" && pwd)
dist="$build/distribution"
[ -f "$dist/INSTELLO.EXE" ] || { echo "no Windows distribution in $dist (make dist-windows)" >&2; exit 1; }

source scripts/wine_prefix.sh
command -v xdotool >/dev/null || { echo "the window test needs xdotool (apt-get install xdotool)" >&2; exit 1; }
drive_c="$WINEPREFIX/drive_c"
checks=0
fail() {
  echo "test_windows_uninstall: FAILED: $*" >&2
  [ -z "${DISPLAY:-}" ] || shot failed-uninstall.png
  echo "$checks passed, 1 failed"
  exit 1
}
pass() { checks=$((checks + 1)); echo "ok: $*"; }
shot() {
  if [ -n "${EVIDENCE_DIR:-}" ] && command -v import >/dev/null; then
    mkdir -p "$EVIDENCE_DIR"
    import -window root "$EVIDENCE_DIR/$1" && echo "  saved $EVIDENCE_DIR/$1"
  fi
}
# A window titled exactly $1 that was not there before; its X window. Gives up after $2 tenths
# of a second.
seen=" "
await() {
  local id
  for _ in $(seq "${2:-300}"); do
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true); do
      [[ $seen == *" $id "* ]] && continue
      seen="$seen$id "
      sleep 0.4
      echo "$id"
      return 0
    done
    sleep 0.1
  done
  return 1
}
keys() { xdotool key --delay 80 "$@"; sleep 0.3; }
query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }

# What the registry holds below the keys an installation may touch, and every file of C:.
snapshot() {
  local out=$1
  : >"$out"
  for key in 'HKLM\Software' 'HKCU\Software'; do
    wine reg export "$key" "$(winpath "$work/key.reg")" /y >/dev/null 2>&1 ||
      wine reg export "$key" "$(winpath "$work/key.reg")" >/dev/null 2>&1
    iconv -f UTF-16 -t UTF-8 "$work/key.reg" >>"$out"  # reg export writes UTF-16
  done
  wineserver -w
  (cd "$drive_c" && find . \( -type f -o -type d \) -printf '%y %p\n' | LC_ALL=C sort) >>"$out"
  (cd "$drive_c" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 -r sha256sum) >>"$out"
}

# The display first: its settings are in the registry before the machine is looked at.
start_virtual_display || fail "no virtual display for the windows"
snapshot "$work/before"

# 1. The installation and its entry in the list of programs.
(cd "$dist" && wine INSTELLO.EXE --unattended --accept-license --target 'C:\Tattilo' \
  >"$work/install.out" 2>&1) || fail "the installation failed: $(cat "$work/install.out")"
wineserver -w
entry=$(query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tattilo')
for value in 'UninstallString +REG_SZ +"C:\\Tattilo\\BIN\\INSTELLO.EXE" --uninstall$' \
             'QuietUninstallString +REG_SZ +"C:\\Tattilo\\BIN\\INSTELLO.EXE" --unattended --uninstall$' \
             'DisplayIcon +REG_SZ +C:\\Tattilo\\BIN\\tattilo.exe$' 'Publisher +REG_SZ +Quillon$' \
             'DisplayVersion +REG_SZ +1.1$' 'DisplayName +REG_SZ +Tattilo 1.1$' \
             'EstimatedSize +REG_DWORD +0x[0-9a-f]+$'; do
  grep -Eq "$value" <<<"$entry" || fail "the uninstall entry has no $value:
$entry"
done
cmp -s "$dist/INSTELLO.EXE" "$drive_c/Tattilo/BIN/INSTELLO.EXE" ||
  fail "the installer copy is not in C:\\Tattilo\\BIN"
grep REG_ <<<"$entry" | sed 's/^ */  /'
pass "the uninstall entry runs the installer copy C:\\Tattilo\\BIN\\INSTELLO.EXE"

# 2. The workbench running: its program file is in use.
printf 'editor grafico = C:\\windows\\notepad.exe\r\nfiltro = filtro.base\r\nfont = braillecour.ttf\r\n' \
  >"$drive_c/Tattilo/BIN/tattilo.ini"
snapshot "$work/installed"  # (it waits for every program of the prefix to end)
(cd "$drive_c/Tattilo/BIN" && wine tattilo.exe >"$work/tattilo.out" 2>&1 &)
# Its window as shown: Wine names a window before it maps it.
window=
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name '^Tattilo v\. 1\.1' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "the workbench did not start"
quiet=$(sed -n 's/^ *QuietUninstallString *REG_SZ *"\([^"]*\)" *\(.*\)$/\1|\2/p' <<<"$entry")
status=0
wine "${quiet%%|*}" ${quiet#*|} >"$work/in-use.out" 2>&1 || status=$?
[ "$status" -eq 4 ] || fail "with the workbench running the removal ended with $status, not 4:
$(cat "$work/in-use.out")"
grep -qF 'The file C:\Tattilo\BIN\tattilo.exe is in use by a program that is running.' \
  "$work/in-use.out" || fail "the file in use is not named: $(cat "$work/in-use.out")"
grep -qF 'Nothing has been removed' "$work/in-use.out" || fail "$(cat "$work/in-use.out")"
# The workbench closed by the student (Alt+F4, "Confermi chiusura?" OK): it keeps its settings
# and exercise folder, which are the student's.
xdotool windowfocus "$window" 2>/dev/null || true
keys alt+F4
await Tattilo >/dev/null || fail "the workbench did not ask to close"
keys Return
timeout 60 wineserver -w || fail "the workbench did not close on Alt+F4"
snapshot "$work/still-installed"
own() { grep -v -e 'Tattilo/BIN/esercizi' -e 'Tattilo/BIN/tattilo.ini' "$1"; }
if ! cmp -s <(own "$work/installed") <(own "$work/still-installed"); then
  diff <(own "$work/installed") <(own "$work/still-installed") | head -n 20
  fail "the refused removal changed something"
fi
pass "with tattilo.exe running the quiet removal names it, removes nothing and ends with 4"

# 3. The student's document, then the UninstallString by keyboard.
[ -d "$drive_c/Tattilo/BIN/esercizi" ] || fail "the workbench made no exercise folder"
printf 'pagina 1\r\n' >"$drive_c/Tattilo/BIN/esercizi/compito.mtf"
command=$(sed -n 's/^ *UninstallString *REG_SZ *"\([^"]*\)" *\(.*\)$/\1|\2/p' <<<"$entry")
(wine "${command%%|*}" ${command#*|} >"$work/windows.out" 2>&1; echo $? >"$work/windows.status") &
await 'Tattilo Uninstall' >/dev/null || fail "no confirmation window:
$(xwininfo -root -tree | grep '"' | head -n 20)"
shot uninstall-confirm.png
keys Return  # the default button, "Remove"
await 'Tattilo Uninstall' >/dev/null || fail "no final message"
shot uninstall-done.png
keys Return
for _ in $(seq 300); do
  [ -f "$work/windows.status" ] && break
  sleep 0.1
done
[ -f "$work/windows.status" ] || fail "the uninstaller did not end: $(cat "$work/windows.out")"
[ "$(cat "$work/windows.status")" = 0 ] || fail "the uninstaller ended with $(cat "$work/windows.status")"
wineserver -w  # what the uninstaller left to remove after its end (its own file) goes
pass "the UninstallString removed Tattilo through its windows, by keyboard"

# 4. Everything as before but the student's files.
left=$(cd "$drive_c" && find Tattilo | LC_ALL=C sort | tr '\n' ' ')
[ "$left" = "Tattilo Tattilo/BIN Tattilo/BIN/esercizi Tattilo/BIN/esercizi/compito.mtf Tattilo/BIN/tattilo.ini " ] ||
  fail "C:\\Tattilo holds more or less than the student's files: $left"
[ "$(cat "$drive_c/Tattilo/BIN/esercizi/compito.mtf")" = $'pagina 1\r' ] || fail "the document changed"
rm -r "$drive_c/Tattilo"
snapshot "$work/after"
if ! cmp -s "$work/before" "$work/after"; then
  diff "$work/before" "$work/after" | head -n 40
  fail "drive C: or the registry differ from before the installation"
fi
echo "  left: $left"
pass "drive C: and the registry are as before the installation, but for the student's files"
echo "$checks passed, 0 failed"
