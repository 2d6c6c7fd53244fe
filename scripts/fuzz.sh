#!/usr/bin/env bash
# Runs every libFuzzer target of BUILD_DIR for SECONDS each, from its seed corpus, JOBS targets
# at a time (each target is one process on one core: two cores fuzz two targets for the time
# one took before, and each target still gets its full SECONDS).
#   scripts/fuzz.sh BUILD_DIR [SECONDS] [JOBS]
set -euo pipefail
build=${1:?build dir}
seconds=${2:-20}
jobs=${3:-1}
root="$(cd "$(dirname "$0")/.." && pwd)"
shopt -s nullglob

# One target: its seeds copied into a scratch corpus, its report kept in BUILD_DIR/NAME.log.
fuzz_one() {
  local target=$1 name seeds work status=0
  name=$(basename "$target")
  seeds="$root/tests/fuzz/corpus/$name"
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  "$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=0 "$work" >"$build/$name.log" 2>&1 || status=$?
  rm -rf "$work"
  return $status
}

targets=("$build"/tests/fuzz/*_fuzz)
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no target in $build/tests/fuzz" >&2; exit 1; }
declare -A running=()  # pid -> target
failed=()
reap() {  # waits for one target to end and records it
  local pid status=0
  wait -n -p pid "${!running[@]}" || status=$?
  if [ "$status" -ne 0 ]; then
    failed+=("${running[$pid]}")
  fi
  unset "running[$pid]"
}
for target in "${targets[@]}"; do
  while [ ${#running[@]} -ge "$jobs" ]; do reap; done
  echo "fuzz: $(basename "$target") for ${seconds}s"
  fuzz_one "$target" &
  running[$!]=$target
done
while [ ${#running[@]} -gt 0 ]; do reap; done

for target in "${failed[@]}"; do
  name=$(basename "$target")
  echo "fuzz: $name failed; the report:" >&2
  tail -n 60 "$build/$name.log" >&2
done
echo "fuzz: ${#targets[@]} targets, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
