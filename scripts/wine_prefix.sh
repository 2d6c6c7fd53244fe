# Sourced by the Windows test scripts: a private 32-bit Wine in a temporary folder ($work), with
# its own prefix and home, no menu integration and no desktop; removed when the script ends.
# Fails when this Wine cannot run 32-bit programs.
# When setup could not install 32-bit Wine (a Debian mirror without its i386 index), it left a
# note: the tests are then skipped, loudly, as on a kernel without 32-bit programs below.
# CI sets TATTILO_WINE_REQUIRED: there a missing Wine fails the run, so the Windows tests are
# never left out unseen.
if ! command -v wine >/dev/null; then
  if [ -f .cache/no-wine ] && [ -z "${TATTILO_WINE_REQUIRED:-}" ]; then
    echo "SKIPPED $(basename "$0"): 32-bit Wine is not installed here: $(cat .cache/no-wine);" \
      "the Windows build was made but its tests did not run here."
    exit 0
  fi
  echo "wine is not installed (make setup)" >&2
  exit 1
fi
# Some virtual machines run a kernel that cannot start 32-bit programs at all ("Exec format
# error"). There the Makefile tests the 64-bit build instead and sets TATTILO_WINE_ARCH=win64:
# `wine` and `wineserver` are then 64-bit Wine's own, through two small stand-ins on PATH.
# Without that, the Windows tests say so loudly and are skipped, rather than reported as
# failures of the code. Any other failure to start Wine fails.
wine_arch=${TATTILO_WINE_ARCH:-win32}
if [ "$wine_arch" = win64 ]; then
  wine_bin=$(mktemp -d "${TMPDIR:-/tmp}/tattilo-wine64.XXXXXX")
  printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
    >"$wine_bin/wine"
  printf '#!/bin/sh\nexec /usr/lib/wine/wineserver64 -p0 "$@"\n' >"$wine_bin/wineserver"
  chmod +x "$wine_bin/wine" "$wine_bin/wineserver"
  export PATH="$wine_bin:$PATH"
fi
if ! wine_version=$(wine --version 2>&1); then
  if [[ $wine_version == *"Exec format error"* ]]; then
    echo "SKIPPED $(basename "$0"): this machine's kernel cannot run 32-bit programs" \
      "(Exec format error); the Windows build was made but its tests did not run here."
    exit 0
  fi
  echo "wine does not start: $wine_version" >&2
  exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/tattilo-wine.XXXXXX")
xvfb_pid=
trap 'wineserver -k >/dev/null 2>&1 || true; [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null; rm -rf "$work" ${wine_bin:+"$wine_bin"}' EXIT
mkdir -p "$work/home"
export HOME="$work/home" WINEPREFIX="$work/prefix" WINEARCH=$wine_arch WINEDEBUG=-all
# No menu entries or file associations on the host; no Mono or Gecko installers asked for.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wine wineboot --init >/dev/null 2>&1 || true
wineserver -w
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Wine could not make a $wine_arch prefix (is wine32:i386 installed?)" >&2
  exit 1
fi

# A host path as Wine's Windows path (drive Z: is the host's root).
winpath() { local p="$1"; echo "Z:${p//\//\\}"; }

# A virtual X display for programs that open windows (Xvfb, 1280 x 1024), set as DISPLAY, with
# Wine started afresh on it. Fails, saying why, when none can be started.
start_virtual_display() {
  command -v Xvfb >/dev/null && command -v xdpyinfo >/dev/null || {
    echo "windows need Xvfb and xdpyinfo (apt-get install xvfb x11-utils)" >&2
    return 1
  }
  local n
  for n in $(seq 91 160); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w
        # No window manager runs there: windows that wait for one wait two seconds each time
        # they show or go.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
        return 0
      fi
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  done
  echo "no virtual display could be started" >&2
  return 1
}
