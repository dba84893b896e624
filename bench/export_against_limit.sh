#!/usr/bin/env bash
# hzdot-cli's export beside the least a program can do: bench/export_limit.c, which maps the
# library, formats the same bytes into one buffer, writes it with one call, syncs and renames. Both
# run in turn, each to a fresh file, over two inputs:
#
#   the whole GB2312 set (7478 codes), 16x16, -a 2
#   a million characters drawn from that set in a scattered order (the same every time), 16x16, -a 2
#
# and the script prints each one's median wall and CPU time, their ratio, hzdot-cli's peak memory,
# and checks that both wrote the same bytes.
#
#   bench/export_against_limit.sh [BUILD_DIR] [RUNS] [LIBRARY_POSITION 1|3]
set -euo pipefail

build=${1:-build}
runs=${2:-11}
position=${3:-1}
cli="$build/bin/hzdot-cli"
limit="$build/bin/export_limit"
for program in "$cli" "$limit"; do
  [ -x "$program" ] || { echo "no $program; build it first (make build)" >&2; exit 2; }
done
case $position in
  1) library=hzk16宋 cell=16 ;;
  3) library=hzk24宋 cell=24 ;;
  *) echo "library position 1 or 3" >&2; exit 2 ;;
esac
[ -f "$build/bin/$library" ] || { echo "no $build/bin/$library; build the libraries first" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/hzdot-limit.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Every assigned code 0xA1A1-0xF7FE, one per line so that an unassigned one is dropped alone.
codes=""
for hi in $(seq 161 247); do
  for lo in $(seq 161 254); do
    codes+=$(printf '\\x%02x\\x%02x\\n' "$hi" "$lo")
  done
done
printf "$codes" | iconv -c -f CP936 -t UTF-8 2>/dev/null | tr -d '\n' > "$work/set.txt" || true
# A million of them, picked by a fixed linear congruential sequence: drawn as code page 936 pairs of
# bytes (every code of the set is two), then turned into UTF-8.
iconv -f UTF-8 -t CP936 "$work/set.txt" |
  LC_ALL=C awk '{
    n = length($0) / 2
    x = 12345
    for (i = 0; i < 1000000; ++i) {
      x = (x * 1103515245 + 12345) % 2147483648
      printf "%s", substr($0, 2 * (int(x / 65536) % n) + 1, 2)
    }
  }' | iconv -f CP936 -t UTF-8 > "$work/million.txt"

# shellcheck source=bench/timing.sh
. "$(dirname "$0")/timing.sh"


compare() {
  local name=$1 input=$2
  local count
  count=$(LC_ALL=C.UTF-8 wc -m < "$input")
  local -a cliWall=() cliCpu=() limitWall=() limitCpu=()
  local wall cpu
  for _ in $(seq "$runs"); do
    read -r wall cpu < <(timed "$work/limit.txt" "$limit" "$build/bin/$library" "$cell" "$input" "$work/limit.txt")
    limitWall+=("$wall")
    limitCpu+=("$cpu")
    read -r wall cpu < <(timed "$work/cli.txt" "$cli" -f "$build/bin" -l "$position" -a 2 -i "$input" -o "$work/cli.txt")
    cliWall+=("$wall")
    cliCpu+=("$cpu")
  done
  cmp -s "$work/cli.txt" "$work/limit.txt" || { echo "$name: hzdot-cli and export_limit wrote different bytes" >&2; exit 1; }
  local peak="?"
  if [ -x /usr/bin/time ]; then
    rm -f "$work/cli.txt"
    peak=$(/usr/bin/time -v "$cli" -f "$build/bin" -l "$position" -a 2 -i "$input" -o "$work/cli.txt" 2>&1 >/dev/null |
      awk -F': ' '/Maximum resident set size/ { printf "%.1f MB\n", $2 / 1024 }')
  fi
  local cw lw cc lc
  cw=$(median "${cliWall[@]}")
  lw=$(median "${limitWall[@]}")
  cc=$(median "${cliCpu[@]}")
  lc=$(median "${limitCpu[@]}")
  echo "$name: $count characters, ${cell}x${cell}, -a 2, $(stat -c %s "$work/limit.txt") bytes, same bytes"
  echo "  median wall: hzdot-cli $cw ms, limit $lw ms: $(awk -v c="$cw" -v l="$lw" 'BEGIN { printf "%.2f", c / l }')x"
  echo "  median CPU:  hzdot-cli $cc ms, limit $lc ms"
  echo "  hzdot-cli peak memory: $peak"
}

echo "$runs runs each, in turn; load average $(cut -d' ' -f1-3 /proc/loadavg)"
compare "the whole set" "$work/set.txt"
compare "a million characters" "$work/million.txt"
