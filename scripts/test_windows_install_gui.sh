#!/usr/bin/env bash
# The Windows distribution (make dist-windows) installed under 32-bit Wine through the
# installer's windows, by keyboard alone, on a virtual display (Xvfb, keys sent with xdotool):
#   1. INSTELLO.EXE without arguments shows the licence, the greeting, the main window, the
#      progress window, the Start Menu question and "Installation succesful!", all answered with
#      Tab and Return alone, as in any Windows dialog: Tab to "I Agree" and Return, Return for
#      the greeting, Return from the component list for the default button "Install" (into the
#      default destination), Return for the question's default answer and for the last message;
#   2. `wine reg query` shows the product key, the uninstall entry and the Braille font;
#   3. the Start Menu shortcut to tattilo.exe is a .lnk that lnkinfo reads with its target;
#   4. a second prefix installed with `INSTELLO.EXE --unattended --accept-license` and the same
#      answers holds the same registry values and the same files.
# With EVIDENCE_DIR set, pictures of the main window and of the progress window are saved there
# as component-chooser.png and progress.png (ImageMagick's import).
#
#   scripts/test_windows_install_gui.sh [BUILD_DIR]     (default build-win32)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build-win32}" && pwd)
dist="$build/distribution"
[ -f "$dist/INSTELLO.EXE" ] || { echo "no Windows distribution in $dist (make dist-windows)" >&2; exit 1; }

source scripts/wine_prefix.sh
command -v xdotool >/dev/null || { echo "the window test needs xdotool (apt-get install xdotool)" >&2; exit 1; }
checks=0
fail() {
  echo "test_windows_install_gui: FAILED: $*" >&2
  [ -z "${DISPLAY:-}" ] || shot failed.png  # the screen as the failure left it
  echo "$checks passed, 1 failed"
  exit 1
}
pass() { checks=$((checks + 1)); echo "ok: $*"; }

# A window titled exactly $1 that was not there before (a dialog or message box: the background
# window, as wide as the screen, has the product's caption too), once it shows; its X window.
# Gives up after $2 tenths of a second.
seen=" "
await() {
  local id width
  for _ in $(seq "${2:-300}"); do
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true); do
      [[ $seen == *" $id "* ]] && continue
      width=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | sed -n 's/^WIDTH=//p')
      [ -n "$width" ] && [ "$width" -lt 1200 ] || continue
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
# Waits until no window titled $1 shows.
gone() {
  for _ in $(seq 300); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
shot() {
  if [ -n "${EVIDENCE_DIR:-}" ] && command -v import >/dev/null; then
    mkdir -p "$EVIDENCE_DIR"
    import -window root "$EVIDENCE_DIR/$1" && echo "  saved $EVIDENCE_DIR/$1"
  fi
}

# What an installation of Tattilo leaves: its registry values and the files it made.
snapshot() {
  local prefix=$1 out=$2
  : >"$out"
  for key in 'HKLM\Software\Quillon\Tattilo' \
             'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tattilo'; do
    WINEPREFIX=$prefix wine reg query "$key" /s 2>/dev/null | tr -d '\r' | grep -v '^$' >>"$out"
  done
  WINEPREFIX=$prefix wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
    /v 'Braillecour (TrueType)' 2>/dev/null | tr -d '\r' | grep -v '^$' >>"$out"
  WINEPREFIX=$prefix wineserver -w
  local c="$prefix/drive_c"
  (cd "$c" && find Tattilo -printf '%y %p\n' | LC_ALL=C sort) >>"$out"
  (cd "$c" && find Tattilo -type f ! -name INSTALL.LOG -print0 | LC_ALL=C sort -z |
    xargs -0 -r sha256sum) >>"$out"
  # The record of the installation, but for the links' bytes, which differ between prefixes.
  grep -av '\.lnk	' "$c/Tattilo/BIN/INSTALL.LOG" >>"$out"
  (cd "$c" && find . -path '*Start Menu/Programs/Tattilo*' -printf '%y %p\n' | LC_ALL=C sort) >>"$out"
  (cd "$c" && find windows/Fonts -iname 'braillecour*' -printf '%p %s\n' | LC_ALL=C sort) >>"$out"
}

# 1. The windows, by keyboard.
start_virtual_display || fail "no virtual display for the installer's windows"
(cd "$dist" && wine INSTELLO.EXE >"$work/windows.out" 2>&1; echo $? >"$work/windows.status") &
await 'License Agreement' >/dev/null || fail "no licence window:
$(xwininfo -root -tree | grep '"' | head -n 20)"
keys Tab Return  # from the text to "I Agree", pressed
await 'Tattilo Install' >/dev/null || fail "no greeting"
keys Return  # "Now you about to install ..."
await 'Tattilo Install' >/dev/null || fail "no main window"
sleep 0.5
shot component-chooser.png
keys Return  # from the component list: the default button, "Install", into the default C:\Tattilo\
for _ in $(seq 100); do
  if xdotool search --onlyvisible --name '^Installing\.\.\.$' >/dev/null 2>&1; then
    shot progress.png
    break
  fi
  sleep 0.05
done
await 'Tattilo Install' >/dev/null || fail "no Start Menu question"
keys Return  # its default answer: icons in the Start Menu
await 'Tattilo Install' >/dev/null || fail "no success message"
keys Return
for _ in $(seq 300); do
  [ -f "$work/windows.status" ] && break
  sleep 0.1
done
[ -f "$work/windows.status" ] || fail "the installer did not end:
$(cat "$work/windows.out")"
wineserver -w
[ "$(cat "$work/windows.status")" = 0 ] || fail "the installer ended with status $(cat "$work/windows.status")"
[ -f "$WINEPREFIX/drive_c/Tattilo/BIN/tattilo.exe" ] || fail "tattilo.exe is not in C:\\Tattilo\\BIN"
pass "INSTELLO.EXE installed the distribution into C:\\Tattilo with Tab and Return alone through its windows"

# 2. The registry.
query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
product=$(query 'HKLM\Software\Quillon\Tattilo')
grep -Eq 'InstallPath +REG_SZ +C:\\Tattilo\\$' <<<"$product" || fail "product key: $product"
uninstall=$(query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tattilo')
grep -Eq 'DisplayName +REG_SZ +Tattilo 1.1$' <<<"$uninstall" || fail "uninstall entry: $uninstall"
fonts=$(query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'Braillecour (TrueType)')
grep -Eq 'REG_SZ +C:\\Tattilo\\BIN\\fonts\\braillecour.ttf$' <<<"$fonts" || fail "font: $fonts"
{ echo "$product"; echo "$uninstall"; echo "$fonts"; } | grep REG_ | sed 's/^ */  /'
pass "reg query shows the product key, the uninstall entry and the Braille font"

# 3. The Start Menu shortcut.
link=$(find "$WINEPREFIX/drive_c" -name 'Tattilo.lnk' -path '*Start Menu/Programs/Tattilo/*' | head -n 1)
[ -n "$link" ] || fail "no Start Menu shortcut \"Tattilo\""
info=$(lnkinfo "$link")
grep -Eqi 'Local path[[:space:]]*: C:\\Tattilo\\BIN\\tattilo.exe' <<<"$info" ||
  fail "lnkinfo does not show the target tattilo.exe:
$info"
grep -Ei 'Local path' <<<"$info" | sed 's/^[[:space:]]*/  /'
pass "lnkinfo reads the Start Menu shortcut to C:\\Tattilo\\BIN\\tattilo.exe"

# 4. The same answers without windows, into a second prefix.
snapshot "$WINEPREFIX" "$work/windows.snapshot"
wineserver -k >/dev/null 2>&1 || true
wineserver -w
unset DISPLAY
twin="$work/twin"
WINEPREFIX=$twin wine wineboot --init >/dev/null 2>&1 || true
WINEPREFIX=$twin wineserver -w
(cd "$dist" && WINEPREFIX=$twin wine INSTELLO.EXE --unattended --accept-license \
  --target 'C:\Tattilo' >"$work/unattended.out" 2>&1) ||
  fail "the unattended installation failed: $(cat "$work/unattended.out")"
WINEPREFIX=$twin wineserver -w
snapshot "$twin" "$work/unattended.snapshot"
grep -q 'InstallPath' "$work/windows.snapshot" && grep -q 'BIN/tattilo.exe' "$work/windows.snapshot" ||
  fail "the snapshot does not show the installation"
if ! cmp -s "$work/windows.snapshot" "$work/unattended.snapshot"; then
  diff "$work/windows.snapshot" "$work/unattended.snapshot" | head -n 40
  fail "the windows and --unattended left different registry values or files"
fi
echo "  $(grep -c '^f ' "$work/windows.snapshot") files, $(grep -c 'REG_' "$work/windows.snapshot") registry values alike"
pass "the windows and --unattended with the same answers leave the same registry values and files"
echo "$checks passed, 0 failed"
