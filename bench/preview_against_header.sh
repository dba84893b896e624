#!/usr/bin/env bash
# hzdot-cli --preview beside --format header for the same text: 1,000 characters of the GB2312
# set (16x16), drawn on a 640x400 panel into a PNG file, and written as a C header. Both run in
# turn, each to a fresh file; the script prints each one's median wall and CPU time and their
# ratio, and the picture's size.
#
#   bench/preview_against_header.sh [BUILD_DIR] [RUNS] [PANEL]
set -euo pipefail

build=${1:-build}
runs=${2:-15}
panel=${3:-640x400}
cli="$build/bin/hzdot-cli"
[ -x "$cli" ] || { echo "no $cli; build it first (make build)" >&2; exit 2; }
[ -f "$build/bin/hzk16宋" ] || { echo "no $build/bin/hzk16宋; build the libraries first" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/hzdot-preview.XXXXXX")
trap 'rm -rf "$work"' EXIT

# 1,000 hanzi: the codes from 0xB0A1 on, one per line so that an unassigned one is dropped alone.
codes=""
for hi in $(seq 176 190); do
  for lo in $(seq 161 254); do
    codes+=$(printf '\\x%02x\\x%02x\\n' "$hi" "$lo")
  done
done
printf "$codes" | iconv -c -f CP936 -t UTF-8 2>/dev/null | tr -d '\n' | head -c 3000 > "$work/text.txt" || true

# shellcheck source=bench/timing.sh
. "$(dirname "$0")/timing.sh"

preview=("$cli" -f "$build/bin" -i "$work/text.txt" --preview "$panel" -o "$work/text.png")
header=("$cli" -f "$build/bin" -i "$work/text.txt" --format header -o "$work/text.h")
"${preview[@]}" && "${header[@]}" || { echo "hzdot-cli failed" >&2; exit 2; }

declare -a pw=() pc=() hw=() hc=()
for _ in $(seq "$runs"); do
  read -r wall cpu < <(timed "$work/text.png" "${preview[@]}")
  pw+=("$wall")
  pc+=("$cpu")
  read -r wall cpu < <(timed "$work/text.h" "${header[@]}")
  hw+=("$wall")
  hc+=("$cpu")
done
p=$(median "${pw[@]}")
h=$(median "${hw[@]}")
echo "$runs runs each, in turn; load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$(LC_ALL=C.UTF-8 wc -m < "$work/text.txt") characters, 16x16, on a $panel panel: $(file -b "$work/text.png" | cut -d, -f2- | sed 's/^ //'), $(stat -c %s "$work/text.png") bytes"
echo "  median wall: --preview $p ms, --format header $h ms: $(awk -v p="$p" -v h="$h" 'BEGIN { printf "%.2f", p / h }')x"
echo "  median CPU:  --preview $(median "${pc[@]}") ms, --format header $(median "${hc[@]}") ms"
