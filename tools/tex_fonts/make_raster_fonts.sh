#!/usr/bin/env bash
# Makes the raster fonts of the installer's tests from tbraille.mf (a small six-dot Braille
# font) with METAFONT and gftopk, into tests/data/installer/tex/raster/ (or the folder given):
#   tbraille.300gf  GF at 300 dpi
#   tbraille.329pk  PK at 329 dpi (a resolution that is not a round number)
#   tbraille.600pk  PK at 600 dpi
#   tbraille.tfm    its font metric file
# Needs texlive-binaries and texlive-base (mf, gftopk, plain.mf); the tests use the committed
# files, so neither is needed to build or test. The dates inside the files are fixed, so the
# output depends only on the source.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="${1:-$here/../../tests/data/installer/tex/raster}"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/tbraille.mf" "$work/"
cd "$work"
export SOURCE_DATE_EPOCH=1772443800 FORCE_SOURCE_DATE=1
for dpi in 300 329 600; do
  mf "\\dpi:=$dpi; mag:=1; batchmode; input tbraille" >/dev/null
  if grep -q '^!' tbraille.log; then
    cat tbraille.log >&2
    exit 1
  fi
done
gftopk tbraille.329gf tbraille.329pk
gftopk tbraille.600gf tbraille.600pk
cp tbraille.300gf tbraille.329pk tbraille.600pk tbraille.tfm "$out/"
echo "Raster fonts written to $out"
