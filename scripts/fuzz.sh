#!/usr/bin/env bash
# Runs every libFuzzer target of BUILD_DIR for SECONDS each, from its seed corpus.
set -euo pipefail
build=${1:?build dir}
seconds=${2:-20}
root="$(cd "$(dirname "$0")/.." && pwd)"
status=0
shopt -s nullglob
for target in "$build"/tests/fuzz/*_fuzz; do
  name=$(basename "$target")
  seeds="$root/tests/fuzz/corpus/$name"
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  echo "fuzz: $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=0 "$work" > "$build/$name.log" 2>&1; then
    echo "fuzz: $name failed; the report:" >&2
    tail -n 60 "$build/$name.log" >&2
    status=1
  fi
  rm -rf "$work"
done
exit $status
