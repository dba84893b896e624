#!/usr/bin/env bash
# Measures what remembering a font's fitted placement saves hzdot-cli --font: one character from a
# font seen before (the cache warm) and never seen (HZDOT_NO_CACHE=1), and the 6763 GB2312 hanzi as
# a header, against hzdot-mkfont building its whole library from the same font. The five take
# turns; the script prints the median wall time of RUNS runs each.
#
#   bench/font_cache_end_to_end.sh [BUILD_DIR] [RUNS] [FONT] [SIZE]
set -euo pipefail

build=${1:-build}
runs=${2:-20}
font=${3:-/usr/share/fonts/truetype/wqy/wqy-microhei.ttc}
size=${4:-16}
cli="$build/bin/hzdot-cli"
mkfont="$build/bin/hzdot-mkfont"
for program in "$cli" "$mkfont"; do
  [ -x "$program" ] || { echo "no $program; build it first" >&2; exit 2; }
done
[ -r "$font" ] || { echo "no font $font" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME="$work/cache"
unset HZDOT_NO_CACHE

# shellcheck source=bench/gb2312_hanzi.sh
. "$(dirname "$0")/gb2312_hanzi.sh"
write_gb2312_hanzi "$work/hanzi.txt"
echo "font $font, $size dots; $(wc -m < "$work/hanzi.txt") hanzi; $runs runs each, median wall"

# Wall milliseconds of one run of the command.
wall() {
  local start end
  start=$(date +%s%N)
  "$@" > /dev/null 2>&1
  end=$(date +%s%N)
  echo $(( (end - start) / 1000 ))
}
median() {
  printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END { printf "%.1f ms", t[int((NR + 1) / 2)] / 1000 }'
}

one=(--font "$font" --size "$size" 温)
header=(--font "$font" --size "$size" --format header -i "$work/hanzi.txt" -o "$work/hanzi.h")
"$cli" "${one[@]}" > /dev/null # fits the font once and remembers it
# The five take turns, run after run, so that each meets the machine's load alike.
declare -a oneWarm=() oneCold=() headerWarm=() headerCold=() library=()
for _ in $(seq "$runs"); do
  oneWarm+=("$(wall "$cli" "${one[@]}")")
  oneCold+=("$(HZDOT_NO_CACHE=1 wall "$cli" "${one[@]}")")
  headerWarm+=("$(rm -f "$work/hanzi.h"; wall "$cli" "${header[@]}")")
  headerCold+=("$(rm -f "$work/hanzi.h"; HZDOT_NO_CACHE=1 wall "$cli" "${header[@]}")")
  library+=("$(wall "$mkfont" --font "$font" --size "$size" --output "$work/lib.bin")")
done
echo "load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "one character, font seen before:        $(median "${oneWarm[@]}")"
echo "one character, no cache:                $(median "${oneCold[@]}")"
echo "the hanzi as a header, font seen before: $(median "${headerWarm[@]}")"
echo "the hanzi as a header, no cache:         $(median "${headerCold[@]}")"
echo "hzdot-mkfont, the whole library:         $(median "${library[@]}")"
