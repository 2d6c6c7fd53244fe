#!/usr/bin/env bash
# The Windows distribution (make dist-windows) installed for real under 32-bit Wine:
#   1. instello.exe --unattended installs it into the prefix's drive C:, its lines on its output
#      and in its --log;
#   2. `wine reg query` shows the product key and the uninstall entry;
#   3. the Start Menu shortcuts are .lnk files that lnkinfo reads with the right targets: the
#      workbench tattilo.exe and tattilo-cli.exe;
#   4. the installed tattilo-cli.exe converts a formula from the installed folder and prints
#      the Braille that the Linux build prints (and the notation fixtures expect);
#   5. INSTELLO.EXE and the installed tattilo.exe are GUI programs that declare their scaling,
#      tattilo-cli.exe a console program, none with debug information, INSTELLO.EXE under 15 MB;
#   6. without a display the installed tattilo.exe says why it cannot start, ends with status 1
#      and changes nothing in its folder;
#   7. the installed tattilo.exe starts on a virtual display (Xvfb) with the sample document
#      and shows its main window; with EVIDENCE_DIR set, a picture of the screen is saved there
#      as tattilo-installed.png (needs ImageMagick's import);
#   8. a second run from a copy with a damaged package volume fails midway and rolls back to
#      a byte-identical drive C: and registry.
#
#   scripts/test_windows_install.sh [BUILD_DIR]     (default build-win32)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build-win32}" && pwd)
dist="$build/distribution"
[ -f "$dist/INSTELLO.EXE" ] || { echo "no Windows distribution in $dist (make dist-windows)" >&2; exit 1; }
linux_cli=${LINUX_CLI:-build/bin/tattilo-cli}

source scripts/wine_prefix.sh
drive_c="$WINEPREFIX/drive_c"
checks=0
fail() { echo "test_windows_install: FAILED: $*" >&2; echo "$checks passed, 1 failed"; exit 1; }
pass() { checks=$((checks + 1)); echo "ok: $*"; }

install() {  # install FROM_FOLDER LOG: the exit status of the installer
  local status=0
  wine "$1/INSTELLO.EXE" --unattended --accept-license --target 'C:\Tattilo' \
    --log "$(winpath "$2")" >"$2.out" 2>&1 || status=$?
  wineserver -w
  return $status
}

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

# 1. The installation.
install "$dist" "$work/install.log" || fail "the installation ended with status $? (see below)
$(cat "$work/install.log.out")"
grep -q "Installation succesful!" "$work/install.log.out" || fail "no success message"
grep -q "Installation succesful!" "$work/install.log" || fail "no success message in the --log"
[ -f "$drive_c/Tattilo/BIN/tattilo-cli.exe" ] || fail "tattilo-cli.exe is not in C:\\Tattilo\\BIN"
pass "instello.exe --unattended installed the distribution into C:\\Tattilo"

# 2. The registry.
query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
product=$(query 'HKLM\Software\Quillon\Tattilo')
grep -Eq 'InstallPath +REG_SZ +C:\\Tattilo\\$' <<<"$product" || fail "product key: $product"
grep -Eq 'DistributivePath +REG_SZ +Z:\\' <<<"$product" || fail "product key: $product"
uninstall=$(query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tattilo')
grep -Eq 'DisplayName +REG_SZ +Tattilo 1.1$' <<<"$uninstall" || fail "uninstall entry: $uninstall"
fonts=$(query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'Braillecour (TrueType)')
grep -Eq 'REG_SZ +C:\\Tattilo\\BIN\\fonts\\braillecour.ttf$' <<<"$fonts" || fail "font: $fonts"
pass "reg query shows the product key, the uninstall entry and the font"

# 3. The Start Menu shortcuts.
for shortcut in 'Tattilo:tattilo.exe' 'Tattilo da riga di comando:tattilo-cli.exe'; do
  title=${shortcut%%:*} target=${shortcut#*:}
  link=$(find "$drive_c" -name "$title.lnk" | head -n 1)
  [ -n "$link" ] || fail "no Start Menu shortcut \"$title\""
  case "$link" in */Start\ Menu/Programs/Tattilo/*) ;; *) fail "shortcut in the wrong place: $link" ;; esac
  info=$(lnkinfo "$link")
  grep -Eqi "Local path[[:space:]]*: C:\\\\Tattilo\\\\BIN\\\\$target" <<<"$info" ||
    fail "lnkinfo does not show the target $target:
$info"
done
[ -f "$drive_c/Tattilo/BIN/tattilo.exe" ] && [ -f "$drive_c/Tattilo/BIN/esempi/esempio.mtf" ] &&
  [ -f "$drive_c/Tattilo/BIN/tattilo-iniziale.ini" ] && [ -f "$drive_c/Tattilo/BIN/fonts/braillecour.ttf" ] ||
  fail "the workbench's files are not all in C:\\Tattilo\\BIN"
pass "lnkinfo reads the Start Menu shortcuts to tattilo.exe and tattilo-cli.exe with their targets"

# 4. The installed program.
formula='\lim_{x\to 0^+}\frac{1}{x}'
expected='lim._x:o#j+6#anp_x4'
grep -qF "$formula	$expected" tests/data/notation/latex_to_braille.txt ||
  fail "the fixture no longer holds the formula"
if [ -x "$linux_cli" ]; then
  expected=$(printf '%s' "$formula" | "$linux_cli" to-braille)
fi
got=$(cd "$drive_c/Tattilo/BIN" && printf '%s' "$formula" | wine tattilo-cli.exe to-braille)
[ "$got" = "$expected" ] || fail "tattilo-cli.exe printed '$got', the Linux build '$expected'"
pass "the installed tattilo-cli.exe prints $got, as the Linux build does"

# 5. What ships: GUI programs for the windows (no console opens beside them) that declare their
# scaling, the command-line program for the console, none with debug information; the
# installer under 15 MB.
objdump_tool="$(python3 -c 'import struct,sys
d=open(sys.argv[1],"rb").read(4096); pe=struct.unpack_from("<I",d,0x3C)[0]
print({0x14C:"i686",0x8664:"x86_64"}[struct.unpack_from("<H",d,pe+4)[0]])' "$dist/INSTELLO.EXE")-w64-mingw32-objdump"
command -v "$objdump_tool" >/dev/null || fail "no $objdump_tool to read the programs"
for program in "$dist/INSTELLO.EXE:Windows GUI" "$drive_c/Tattilo/BIN/tattilo.exe:Windows GUI" \
               "$drive_c/Tattilo/BIN/tattilo-cli.exe:Windows CUI"; do
  file=${program%%:*} subsystem=${program#*:}
  headers=$("$objdump_tool" -p "$file") sections=$("$objdump_tool" -h "$file")
  grep -q "^Subsystem.*($subsystem)" <<<"$headers" ||
    fail "$(basename "$file") is not a $subsystem program: $(grep '^Subsystem' <<<"$headers")"
  ! grep -q '\.debug_' <<<"$sections" || fail "$(basename "$file") ships with debug information"
  if [ "$subsystem" = "Windows GUI" ]; then
    grep -aq '<dpiAware[^>]*>true</dpiAware>' "$file" || fail "$(basename "$file") declares no scaling"
  fi
done
size=$(stat -c %s "$dist/INSTELLO.EXE")
[ "$size" -lt $((15 * 1024 * 1024)) ] || fail "INSTELLO.EXE is $size bytes, not under 15 MB"
echo "  INSTELLO.EXE $size bytes, tattilo.exe $(stat -c %s "$drive_c/Tattilo/BIN/tattilo.exe"), tattilo-cli.exe $(stat -c %s "$drive_c/Tattilo/BIN/tattilo-cli.exe")"
pass "INSTELLO.EXE and tattilo.exe are GUI programs aware of the scaling, none ships its debug information"

# 6. Without a display no window can be made: the installed workbench says why (on standard
# error, the message box having nowhere to show), ends with status 1 and leaves its settings
# and its folder as they were.
printf 'editor grafico = C:\\windows\\notepad.exe\r\nfiltro = filtro.base\r\nfont = braillecour.ttf\r\n' \
  >"$drive_c/Tattilo/BIN/tattilo.ini"
listing() { (cd "$drive_c/Tattilo" && find . -printf '%y %p\n' | LC_ALL=C sort && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum); }
listing >"$work/before-start"
status=0
(cd "$drive_c/Tattilo/BIN" && wine tattilo.exe >"$work/nodisplay.out" 2>&1) || status=$?
wineserver -w
[ "$status" -eq 1 ] || fail "tattilo.exe without a display ended with status $status, not 1:
$(tail -n 5 "$work/nodisplay.out")"
LC_ALL=C grep -aq '^tattilo: Tattilo non si .* potuto avviare' "$work/nodisplay.out" ||
  fail "tattilo.exe said no reason: $(grep -av '^err:\|^fixme:' "$work/nodisplay.out" | tail -n 5)"
listing >"$work/after-start"
cmp -s "$work/before-start" "$work/after-start" || fail "the failed start changed C:\\Tattilo:
$(diff "$work/before-start" "$work/after-start" | head)"
echo "  it said: $(grep -a -A1 '^tattilo: ' "$work/nodisplay.out" | tr -d '\r' | tr '\n' ' ' | iconv -f CP1252 -t UTF-8)"
rm -f "$drive_c/Tattilo/BIN/tattilo.ini"
pass "without a display tattilo.exe says why, ends with status 1 and writes nothing"

# 7. The installed workbench starts and shows its window. Its settings name the graphic editor,
# which a first start would otherwise ask for first.
start_virtual_display || fail "no virtual display for the workbench's window"
printf 'editor grafico = C:\\windows\\notepad.exe\r\nfiltro = filtro.base\r\nfont = braillecour.ttf\r\n' \
  >"$drive_c/Tattilo/BIN/tattilo.ini"
(cd "$drive_c/Tattilo/BIN" && wine tattilo.exe 'C:\Tattilo\BIN\esempi\esempio.mtf' \
  >"$work/tattilo.out" 2>&1 &)
title='Tattilo v. 1.1 - esempio.mtf'
for _ in $(seq 300); do
  xwininfo -root -tree 2>/dev/null | grep -qF "\"$title" && break
  sleep 0.1
done
xwininfo -root -tree 2>/dev/null | grep -qF "\"$title" ||
  fail "the installed tattilo.exe showed no window \"$title...\":
$(xwininfo -root -tree 2>/dev/null | grep '"' | head -n 20)
$(tail -n 20 "$work/tattilo.out")"
if [ -n "${EVIDENCE_DIR:-}" ] && command -v import >/dev/null; then
  sleep 3  # the splash panel goes after two seconds
  mkdir -p "$EVIDENCE_DIR"
  import -window root "$EVIDENCE_DIR/tattilo-installed.png" && echo "  saved $EVIDENCE_DIR/tattilo-installed.png"
fi
wineserver -k >/dev/null 2>&1 || true
wineserver -w
rm -f "$drive_c/Tattilo/BIN/tattilo.ini"
unset DISPLAY
kill "$xvfb_pid" 2>/dev/null || true
xvfb_pid=
pass "the installed tattilo.exe opened the sample document in its window"

# 8. A damaged volume: the run fails midway and everything is as it was.
snapshot "$work/before"
mkdir "$work/damaged"
cp "$dist"/* "$work/damaged/"
size=$(stat -c %s "$work/damaged/PROGRAM.002")
dd if=/dev/zero of="$work/damaged/PROGRAM.002" bs=1 seek=$((size / 2)) count=4096 conv=notrunc \
  status=none
status=0
install "$work/damaged" "$work/damaged.log" || status=$?
[ "$status" -eq 4 ] || fail "the damaged run ended with status $status, not 4 (failed, rolled back):
$(cat "$work/damaged.log.out")"
echo "  the damaged run said:"
grep -v '^ *$' "$work/damaged.log.out" | tail -n 4 | sed 's/^/    /'
snapshot "$work/after"
grep -q ' ./Tattilo/BIN/tattilo-cli.exe$' "$work/before" && grep -q 'InstallPath' "$work/before" ||
  fail "the snapshot does not show the installation"
if ! cmp -s "$work/before" "$work/after"; then
  diff "$work/before" "$work/after" | head -n 40
  fail "drive C: or the registry differ after the rollback"
fi
pass "a damaged volume fails the second run, which rolls back to the same C: and registry"
echo "$checks passed, 0 failed"
