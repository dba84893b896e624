#!/usr/bin/env bash
# Runs every fuzz target built in BUILD_DIR for SECONDS each. New inputs go to BUILD_DIR's own
# corpus; the starting inputs in fuzz/corpus/ are only read. A failure stops the run, shows the end of the
# fuzzer's log and leaves the input in BUILD_DIR/artifacts/.
set -euo pipefail
build=${1:?usage: fuzz/run.sh BUILD_DIR SECONDS}
seconds=${2:-30}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$build/artifacts"
failed=()
for source in "$here"/fuzz_*.cpp; do
  target=$(basename "$source" .cpp)
  work="$build/corpus/$target"
  log="$build/$target.log"
  mkdir -p "$work"
  rm -f "$build/artifacts/$target-"*
  echo "== $target for ${seconds}s"
  if ! "$build/fuzz/$target" "$work" "$here/corpus/$target" -max_total_time="$seconds" -max_len=65536 \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
      > "$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "$target failed; its input is in $build/artifacts/" >&2
    failed+=("$target")
    continue
  fi
  grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$log" || true
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "failed: ${failed[*]}" >&2
  exit 1
fi
