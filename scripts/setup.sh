#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, test and run, when any is missing.
# Runs as root, or through sudo.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  g++ cmake ninja-build pkg-config make
  qt6-base-dev qt6-translations-l10n zlib1g-dev libespeak-ng-dev espeak-ng-data espeak-ng
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth x11-utils fonts-dejavu-core sox libxml2-utils python3 python3-fonttools
  dbus-daemon at-spi2-core python3-pyatspi
  brltty liblouis-bin liblouis-data libbrlapi-dev
  dpkg-dev file man-db desktop-file-utils
  liblnk-utils unzip xdotool
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest ccache
)
# 32-bit Wine, for the Windows build's tests, comes from the i386 architecture; 64-bit Wine runs
# them where the kernel runs no 32-bit programs (see Makefile, test-windows).
wine_packages=(wine wine32:i386 wine64)
# Where setup leaves word that 32-bit Wine could not be installed (read by the Wine tests).
no_wine_note=.cache/no-wine

missing_of() {
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      echo "$p"
    fi
  done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_wine < <(missing_of "${wine_packages[@]}")
if [ ${#missing[@]} -eq 0 ] && [ ${#missing_wine[@]} -eq 0 ]; then
  rm -f "$no_wine_note"
  exit 0
fi

echo "Installing: ${missing[*]} ${missing_wine[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then sudo="sudo"; else
    echo "These Debian packages are missing and I am not root: ${missing[*]} ${missing_wine[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing_wine[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

# A mirror in the middle of a sync can fail one index (seen with bookworm-security's i386
# list); what the other indexes hold is usually enough, so the install is tried anyway and,
# if it fails, tried once more after a second update.
install() {
  $sudo apt-get install -y -qq --no-install-recommends "$@"
}
if ! $sudo apt-get update -qq; then
  echo "apt-get update reported a failure; trying the install with the indexes it has" >&2
fi
if [ ${#missing[@]} -gt 0 ] && ! install "${missing[@]}"; then
  sleep 20
  $sudo apt-get update -qq || true
  install "${missing[@]}"
fi
# Without its i386 index, 32-bit Wine cannot be installed beside this machine's libraries.
# Everything else is still built and tested; the Wine tests then say loudly that they were
# skipped and why, instead of failing the build of the code.
#
# The i386 half of bookworm-security has been seen to stay out of step with its signed
# InRelease for days. Multiarch needs the i386 libraries at the very versions the amd64 ones
# came in at, which only that index lists, so Wine then cannot be installed at all. The fallback
# fetches that one index as it stands, serves it to apt as a local flat repository for this
# one install (apt still checks every package against the index's hashes), downloads the
# packages it names from the same mirror, and removes the repository again. It is used only
# when the normal install has failed, and says so.
security_mirror=http://deb.debian.org/debian-security
install_wine_from_fetched_index() {
  local dir list uri rel
  dir=$(mktemp -d /tmp/tattilo-i386-security.XXXXXX)
  list=/etc/apt/sources.list.d/tattilo-i386-security.list
  echo "Fetching bookworm-security's i386 index as it stands, to install 32-bit Wine" >&2
  python3 -c 'import sys, urllib.request; urllib.request.urlretrieve(sys.argv[1], sys.argv[2])' \
    "$security_mirror/dists/bookworm-security/main/binary-i386/Packages.xz" "$dir/Packages.xz" ||
    return 1
  xz -d "$dir/Packages.xz"
  chmod 755 "$dir" && chmod 644 "$dir/Packages"
  echo "deb [trusted=yes arch=i386] file:$dir ./" | $sudo tee "$list" >/dev/null
  local ok=1
  if $sudo apt-get update -qq -o Dir::Etc::sourcelist="$list" -o Dir::Etc::sourceparts=- \
       -o APT::Get::List-Cleanup=0; then
    # The packages apt would take from the local repository: fetch each into its place.
    while read -r uri; do
      rel=${uri#"file:$dir/"}
      mkdir -p "$dir/$(dirname "$(python3 -c 'import sys, urllib.parse; print(urllib.parse.unquote(sys.argv[1]))' "$rel")")"
      python3 -c 'import sys, urllib.parse, urllib.request
urllib.request.urlretrieve(sys.argv[1] + "/" + sys.argv[2], sys.argv[3] + "/" + urllib.parse.unquote(sys.argv[2]))' \
        "$security_mirror" "$rel" "$dir" || { ok=0; break; }
    done < <($sudo apt-get install --print-uris -qq --no-install-recommends "$@" |
               sed -n "s|^'\(file:$dir/[^']*\)'.*|\1|p")
    chmod -R a+rX "$dir"
    [ "$ok" -eq 1 ] && install "$@" || ok=0
  else
    ok=0
  fi
  $sudo rm -f "$list"
  rm -rf "$dir"
  [ "$ok" -eq 1 ]
}
if [ ${#missing_wine[@]} -gt 0 ]; then
  if install "${missing_wine[@]}" || install_wine_from_fetched_index "${missing_wine[@]}"; then
    rm -f "$no_wine_note"
  else
    mkdir -p "$(dirname "$no_wine_note")"
    echo "apt-get could not install ${missing_wine[*]} (see above)" >"$no_wine_note"
    echo "WARNING: 32-bit Wine could not be installed; the Windows tests will be skipped." >&2
  fi
else
  rm -f "$no_wine_note"
fi
