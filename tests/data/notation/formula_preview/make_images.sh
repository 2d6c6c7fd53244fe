#!/bin/sh
# Makes the formula print preview's test pictures: each line is typeset by plain TeX and turned
# into a PNG by dvipng, as a graphic editor leaves a typeset line on the clipboard. Needs
# Debian's texlive-binaries (plain TeX and its fonts) and dvipng; the pictures are committed,
# so only whoever changes them runs this. Run it from anywhere: it writes beside itself.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

picture() {  # name, math
  printf '%s\n' '\nopagenumbers\parindent=0pt' "\\setbox0\\hbox{\$$2\$}\\box0" '\bye' \
    > "$work/$1.tex"
  (cd "$work" && tex -interaction=batchmode "$1.tex" > /dev/null)
  dvipng -q -T tight -D 150 -bg 'rgb 1 1 1' -fg 'rgb 0 0 0' -o "$here/$1.png" "$work/$1.dvi" \
    > /dev/null
}

# Three formulas between double bars: three rows.
picture three_formulas '\Vert f_1 \Vert f_2 \Vert f_3 \Vert'
# An absolute value inside the first formula, its bars shorter than the double bars.
picture absolute_value '\big\Vert |x|+1 \big\Vert f_2 \big\Vert'
# An absolute value as tall as the double bars: a lone bar is no separator either.
picture absolute_value_tall '\Vert |x|+1 \Vert f_2 \Vert'
# The first double bar stands after the first 16 columns: no rows.
picture no_double_bar 'f_1+g_1+h_1 \Vert f_2 \Vert'
# Forty formulas: more rows than one printed page holds.
many='\Vert'
i=1
while [ $i -le 40 ]; do many="$many f_{$i} \\Vert"; i=$((i + 1)); done
picture forty_formulas "$many"
