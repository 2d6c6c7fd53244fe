#!/usr/bin/env bash
# Installs the Debian package into this machine with apt, uses the installed programs from
# /usr/bin as a user would, then removes the package again. Only the package itself is
# removed (no autoremove), so the machine's build tools stay as they were.
# Usage: scripts/check_package.sh [PACKAGE.deb]   (default: the newest in build-release/;
# as root, or through sudo)
set -euo pipefail
cd "$(dirname "$0")/.."

deb=${1:-$(ls -t build-release/tattilo_*.deb 2>/dev/null | head -n 1 || true)}
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
  echo "check_package: no package; make one with 'make package'" >&2
  exit 1
fi
deb=$(realpath "$deb")
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
if dpkg-query -W -f='${Status}' tattilo 2>/dev/null | grep -q "install ok installed"; then
  echo "check_package: tattilo is already installed here; remove it first (apt-get remove tattilo)" >&2
  exit 1
fi

work=$(mktemp -d)
cleanup() {
  $sudo apt-get remove -y -qq tattilo >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@" >"$work/out" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what" >&2
    sed 's/^/  /' "$work/out" >&2
  fi
}

echo "Installing $deb"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$deb" \
  >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }

share=/usr/share/tattilo
check "tattilo-cli is on the PATH in /usr/bin" \
  test "$(command -v tattilo-cli)" = /usr/bin/tattilo-cli
check "to-braille converts a formula" \
  test "$(printf 'x+1' | tattilo-cli to-braille)" = "_x+#a"
lines() {
  local out status=0
  out=$(printf 'x+1\n\\foo\n\\frac{3}{4}\n' | tattilo-cli to-braille --lines 2>"$work/err") ||
    status=$?
  [ "$status" -eq 1 ] && [ "$out" = $'_x+#a\n\n#:d' ] &&
    [ "$(cat "$work/err")" = "line 2: Funzione sconosciuta" ]
}
check "to-braille --lines names the refused line" lines
check "from-tex reads the installed filter file" \
  test "$(printf '$\\frac{1}{2}$' | tattilo-cli from-tex --filter $share/filtro.base)" = '\frac{1}{2}'
for page in tattilo tattilo-cli instello; do
  check "man finds and renders $page(1)" \
    sh -c "man -w $page | grep -q '^/usr/share/man/man1/$page.1' && ! man --warnings -l \$(man -w $page) 2>&1 >/dev/null | grep ."
done
check "the desktop entry starts a program on the PATH" \
  sh -c "grep -q '^Exec=tattilo ' /usr/share/applications/tattilo.desktop && command -v tattilo"
check "instello installs the shipped sample distribution" \
  instello --unattended --root "$work/machine" --source $share/distribution --accept-license
start() {
  HOME="$work/home" XDG_CONFIG_HOME="" XDG_DATA_HOME="" QT_QPA_PLATFORM=offscreen \
    timeout 120 tattilo --grab-window "$work/window.png" 1500 &&
    [ -s "$work/window.png" ] &&
    [ -f "$work/home/.config/tattilo/tattilo.ini" ] &&
    [ -d "$work/home/.local/share/tattilo/esercizi" ] &&
    [ ! -e $share/tattilo.ini ] && [ ! -e $share/esercizi ]
}
check "tattilo starts, with its settings and exercises in the user's folders" start

echo "Removing the package"
$sudo apt-get remove -y -qq tattilo >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
check "the removal takes the programs and their files away" \
  sh -c "! command -v tattilo-cli && [ ! -e $share ] && ! dpkg-query -W -f='\${Status}' tattilo 2>/dev/null | grep -q 'install ok installed'"

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
