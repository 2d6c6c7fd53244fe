#!/usr/bin/env bash
# Which Windows build the Windows tests run: "i686", the shipped 32-bit programs, wherever
# 32-bit Wine can start; "x86_64", the same sources built for 64-bit Windows, on a machine whose
# kernel runs no 32-bit programs ("Exec format error") but has 64-bit Wine, so that the tests
# still run there instead of being skipped. Without any Wine it says "i686" and the tests say
# why they cannot run.
set -uo pipefail
if out=$(/usr/lib/wine/wine --version 2>&1) || [[ $out != *"Exec format error"* ]]; then
  echo i686
elif [ -x /usr/lib/wine/wine64 ] && /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
  echo x86_64
else
  echo i686
fi
