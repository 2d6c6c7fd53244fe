#!/usr/bin/env bash
# One stage of a build or a test run, timed:
#   scripts/stage.sh NAME COMMAND [ARGUMENTS...]
# runs COMMAND (its output passes through), then prints one line "stage NAME: N s" (with
# "FAILED" when it failed) and ends with COMMAND's status. When STAGE_LOG names a file, the
# line goes there too, followed by the last test count the command printed (a ctest summary,
# a Wine or package count, the fuzzing count), so that .ci/run can sum the run up at its end.
set -uo pipefail
name=${1:?stage name}
shift
out=$(mktemp)
trap 'rm -f "$out"' EXIT
start=$(date +%s)
"$@" 2>&1 | tee "$out"
status=${PIPESTATUS[0]}
seconds=$(($(date +%s) - start))
line="stage $name: $seconds s"
[ "$status" -eq 0 ] || line="$line FAILED (status $status)"
echo "$line"
if [ -n "${STAGE_LOG:-}" ]; then
  count=$(grep -E 'tests passed, [0-9]+ tests? failed out of|^[0-9]+ passed, [0-9]+ failed$|^[a-z :]*[0-9]+ passed, [0-9]+ failed$|targets, [0-9]+ failed$|^SKIPPED' "$out" |
    tail -n 1 || true)
  printf '%s\t%s\n' "$line" "$count" >>"$STAGE_LOG"
fi
exit "$status"
