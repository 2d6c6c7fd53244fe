#!/usr/bin/env bash
# Source checks of the test command: clang-format leaves every file as it is, and no file of
# a core folder includes a Qt header (only src/gui, src/app and tests/gui may).
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
mapfile -t files < <(git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' \
  'tests/*.h' 'bench/*.cpp' 'bench/*.h' | sort -u)
existing=()
for f in "${files[@]}"; do [ -f "$f" ] && existing+=("$f"); done
if ! clang-format --dry-run -Werror "${existing[@]}"; then
  echo "Formatting differs from .clang-format: run 'make format'." >&2
  status=1
fi

core='^src/(ui|editor|notation|speech|learning|installer)/'
qt=$(printf '%s\n' "${existing[@]}" | grep -E "$core" | xargs -r grep -n -E '^\s*#\s*include\s*[<"]Q[A-Za-z]*(/|>|")|^\s*#\s*include\s*[<"]qt' || true)
if [ -n "$qt" ]; then
  echo "A core folder includes a Qt header:" >&2
  echo "$qt" >&2
  status=1
fi
exit $status
