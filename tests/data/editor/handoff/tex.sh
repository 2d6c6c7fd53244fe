#!/bin/sh
# A stand-in graphic formula editor that saves the exchange file ($1) again as a TeX editor
# writes it: its own blanks around \of, one-character roots without braces.
sed -e 's/\\of{/ \\of {/g' -e 's/\\sqrt{\(.\)}/\\sqrt \1/g' "$1" > "$1.new" && mv "$1.new" "$1"
