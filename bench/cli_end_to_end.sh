#!/usr/bin/env bash
# Measures hzdot-cli exporting the whole GB2312 repertoire (every assigned code 0xA1A1-0xF7FE) to a
# file: wall time per run and peak memory.
#
#   bench/cli_end_to_end.sh [BUILD_DIR] [RUNS] [LIBRARY_POSITION] [HZDOT-CLI OPTIONS]
#
# With PLAIN=1 it also times bench/plain_c_array.sh, a hand-written script, over every tenth
# character, and says how many times faster hzdot-cli does ten times the work.
#
# Uses the library files in BUILD_DIR/bin when they are there, otherwise a full-size file of
# random dots (the timing does not depend on the dots).
set -euo pipefail

build=${1:-build}
runs=${2:-20}
position=${3:-1}
cli="$build/bin/hzdot-cli"
[ -x "$cli" ] || { echo "no $cli; build it first (make build)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One code per line, so that a code the code page does not assign is dropped without taking its
# neighbour with it; --input skips the line breaks.
codes=""
for hi in $(seq 161 247); do
  for lo in $(seq 161 254); do
    codes+=$(printf '\\x%02x\\x%02x\\n' "$hi" "$lo")
  done
done
printf "$codes" | iconv -c -f CP936 -t UTF-8 > "$work/repertoire.txt" 2>/dev/null || true
characters=$(tr -d '\n' < "$work/repertoire.txt" | wc -m)

files=(hzk12宋 hzk16宋 hzk16繁 hzk24宋 hzk24楷 hzk24黑)
sizes=(24 32 32 72 72 72)
library="${files[$position]}"
if [ -f "$build/bin/$library" ]; then
  fonts="$build/bin"
  source_note="library $fonts/$library"
else
  fonts="$work"
  head -c $((94 * 94 * ${sizes[$position]})) /dev/urandom > "$fonts/$library"
  source_note="synthetic library (random dots), $library"
fi

extra=()
[ $# -ge 4 ] && read -r -a extra <<< "$4"
args=(-f "$fonts" -l "$position" "${extra[@]}" -i "$work/repertoire.txt" -o "$work/export.txt")

# One run to warm the page cache, and to check that every character gave a record.
status=0
"$cli" "${args[@]}" || status=$?
[ "$status" -le 1 ] || { echo "hzdot-cli failed with status $status" >&2; exit 2; }
records=$(grep -ac '^;' "$work/export.txt" || true)

# Wall time, and CPU time (user + system), which a busy machine does not inflate.
TIMEFORMAT='%3R %3U %3S'
walls=()
cpus=()
for _ in $(seq "$runs"); do
  # A fresh file each time: an unchanged one would be left alone and cost nothing to write.
  rm -f "$work/export.txt"
  read -r real user sys < <({ time "$cli" "${args[@]}" 2>/dev/null || true; } 2>&1)
  walls+=("$(awk -v r="$real" 'BEGIN { printf "%.1f", r * 1000 }')")
  cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.1f", (u + s) * 1000 }')")
done
summary() {
  printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 }
    END { m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
          printf "min %s ms, median %s ms, max %s ms", a[1], m, a[NR] }'
}

if [ -x /usr/bin/time ]; then
  peak_kb=$(/usr/bin/time -f '%M' "$cli" "${args[@]}" 2>&1 >/dev/null | tail -n1)
elif command -v python3 >/dev/null 2>&1; then
  peak_kb=$(python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$cli" "${args[@]}")
else
  peak_kb="?"
fi

echo "hzdot-cli end to end: $characters characters in, $records records out, exit status $status"
echo "  $source_note"
echo "  export file: $(stat -c %s "$work/export.txt") bytes"
echo "  wall time over $runs runs: $(summary "${walls[@]}")"
echo "  CPU time (user + system):  $(summary "${cpus[@]}")"
echo "  load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "  peak memory: $peak_kb KB"

if [ "${PLAIN:-0}" = 1 ]; then
  here=$(cd "$(dirname "$0")" && pwd)
  python3 -c 'import sys; t = open(sys.argv[1], encoding="utf-8").read().replace("\n", ""); print(t[::10], end="")' \
    "$work/repertoire.txt" > "$work/tenth.txt"
  plain=()
  for _ in 1 2 3; do
    read -r real _ _ < <({ time "$here/plain_c_array.sh" "$fonts/$library" "${sizes[$position]}" \
      < "$work/tenth.txt" > "$work/plain.c"; } 2>&1)
    plain+=("$(awk -v r="$real" 'BEGIN { printf "%.1f", r * 1000 }')")
  done
  plain_median=$(printf '%s\n' "${plain[@]}" | sort -n | sed -n 2p)
  cli_median=$(printf '%s\n' "${walls[@]}" | sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }')
  echo "  plain script, every tenth character ($(grep -c . "$work/plain.c") arrays): median $plain_median ms"
  echo "  hzdot-cli, ten times the work, is $(awk -v p="$plain_median" -v c="$cli_median" 'BEGIN { printf "%.0f", p / c }')x faster"
fi
