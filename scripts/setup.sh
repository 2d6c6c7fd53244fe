#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, test and run, when any is missing.
# Runs as root, or through sudo.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config make
  qt6-base-dev zlib1g-dev libespeak-ng-dev espeak-ng-data espeak-ng
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth x11-utils fonts-dejavu-core sox libxml2-utils python3 python3-fonttools
  dbus-daemon at-spi2-core python3-pyatspi
  brltty liblouis-bin liblouis-data libbrlapi-dev
  dpkg-dev file man-db desktop-file-utils
  liblnk-utils unzip
  g++-mingw-w64-i686-posix libz-mingw-w64-dev googletest wine wine32:i386 ccache
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then sudo="sudo"; else
    echo "These Debian packages are missing and I am not root: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
# The Windows tests run the 32-bit programs under Wine, whose 32-bit half comes from i386.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
