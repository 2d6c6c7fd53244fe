#!/usr/bin/env bash
# Runs every cross-built test program of the Windows build under 32-bit Wine, each in the
# program folder as ctest runs them on Linux, and fails unless every one of them really ran:
# each must write its GoogleTest XML report with at least one test in it (a Wine without its
# 32-bit half exits 0 for a 32-bit program without running it).
#
#   scripts/test_windows.sh [BUILD_DIR]       (default build-win32)
#
# The tests_*.exe programs run without a display. The gui_*.exe programs open real windows:
# they run on a virtual X display (Xvfb) of their own, each at most ten minutes; without Xvfb
# they fail, saying so. The window fit tests of gui_win32.exe run a second and a third time with
# the screen at 120 and 144 dpi.
#
# Wine gets a private prefix and home in a temporary folder, removed at the end, and no menu
# integration. Prints the count of every program and a last line "N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win32}
[ -d "$build/tests" ] || { echo "test_windows: no Windows build in $build (make windows)" >&2; exit 1; }
build=$(cd "$build" && pwd)

source scripts/wine_prefix.sh
mkdir -p "$work/reports"

mapfile -t programs < <(find "$build/tests" -maxdepth 1 -name 'tests_*.exe' | sort)
[ ${#programs[@]} -gt 0 ] || { echo "test_windows: no test program in $build/tests" >&2; exit 1; }
mapfile -t window_programs < <(find "$build/tests" -maxdepth 1 -name 'gui_*.exe' | sort)

total=0 failed=0 broken=()
for program in "${programs[@]}" "${window_programs[@]}"; do
  name=$(basename "$program" .exe)
  report="$work/reports/$name.xml"
  status=0
  if [[ $name == gui_* ]] && [ -z "${DISPLAY:-}" ]; then
    if ! start_virtual_display; then
      echo "$name: did not run: no virtual display for its windows"
      broken+=("$name")
      continue
    fi
  fi
  # The prefix is this script's own: the window tests may install into it as into a computer.
  (cd "$build/bin" && TATTILO_TEST_INSTALL_HERE=1 timeout 600 wine "$program" --gtest_output="xml:Z:${report}" \
    >"$work/$name.log" 2>&1) || status=$?
  if [ ! -s "$report" ]; then
    echo "$name: did not run under Wine (status $status, no test report)"
    tail -n 20 "$work/$name.log" | sed 's/^/  /'
    broken+=("$name")
    continue
  fi
  tests=$(grep -o '<testsuites [^>]*' "$report" | grep -o ' tests="[0-9]*"' | grep -o '[0-9]*')
  failures=$(grep -o '<testsuites [^>]*' "$report" | grep -o ' failures="[0-9]*"' | grep -o '[0-9]*')
  errors=$(grep -o '<testsuites [^>]*' "$report" | grep -o ' errors="[0-9]*"' | grep -o '[0-9]*')
  disabled=$(grep -o '<testsuites [^>]*' "$report" | grep -o ' disabled="[0-9]*"' | grep -o '[0-9]*')
  ran=$((tests - ${disabled:-0}))
  bad=$((failures + errors))
  total=$((total + ran))
  failed=$((failed + bad))
  echo "$name: $ran tests, $bad failed (status $status)"
  if [ "$ran" -le 0 ]; then
    broken+=("$name")
  elif [ "$bad" -gt 0 ] || [ "$status" -ne 0 ]; then
    grep -E '^\[  FAILED  \]' "$work/$name.log" | sed 's/^/  /' || true
    [ "$bad" -gt 0 ] || broken+=("$name")
  fi
done

# The window fit tests once more at 125 % and 150 % (Wine takes the scaling from the registry
# value LogPixels when it starts); each run checks first that the screen has that scaling.
scaled_runs=0
if [ -f "$build/tests/gui_win32.exe" ] && [ -n "${DISPLAY:-}" ]; then
  for dpi in 120 144; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
    name="gui_win32-$dpi-dpi"
    report="$work/reports/$name.xml"
    status=0
    (cd "$build/bin" && TATTILO_TEST_DPI=$dpi timeout 600 wine "$build/tests/gui_win32.exe" \
      --gtest_filter='WindowFitTest.*' --gtest_output="xml:Z:${report}" >"$work/$name.log" 2>&1) ||
      status=$?
    tests=$(grep -o '<testsuites [^>]*' "$report" 2>/dev/null | grep -o ' tests="[0-9]*"' | grep -o '[0-9]*')
    failures=$(grep -o '<testsuites [^>]*' "$report" 2>/dev/null | grep -o ' failures="[0-9]*"' | grep -o '[0-9]*')
    echo "$name (the windows at $dpi dpi): ${tests:-0} tests, ${failures:-0} failed (status $status)"
    if [ "${tests:-0}" -le 0 ]; then
      tail -n 20 "$work/$name.log" | sed 's/^/  /'
      broken+=("$name")
    elif [ "${failures:-0}" -gt 0 ] || [ "$status" -ne 0 ]; then
      grep -E '^\[  FAILED  \]|^  [a-z].*: ' "$work/$name.log" | sed 's/^/  /' || true
      [ "${failures:-0}" -gt 0 ] || broken+=("$name")
    fi
    total=$((total + ${tests:-0}))
    failed=$((failed + ${failures:-0}))
    scaled_runs=$((scaled_runs + 1))
  done
  wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
fi

echo "Windows build under Wine: $((${#programs[@]} + ${#window_programs[@]} + scaled_runs)) test programs, $total tests"
echo "$((total - failed)) passed, $failed failed"
if [ ${#broken[@]} -gt 0 ]; then
  echo "test_windows: these programs did not run to the end: ${broken[*]}" >&2
  exit 1
fi
[ "$failed" -eq 0 ]
