#!/usr/bin/env bash
# Measures hzdot-cli --format lvgl and lvgl-bin against LVGL's converter from npm (lv_font_conv,
# used as a black box, kerning off) on the same font: the 6763 GB2312 hanzi at SIZE dots, one bit a
# dot, as a C file and as a binary font. Medians of RUNS runs each, wall time and CPU time (user
# and system, of the program and its threads: on a loaded machine the fairer figure), and the
# speed-ups.
# HzDot runs with its fit cache warm, as a build that makes its font again does; the cold figure
# (HZDOT_NO_CACHE=1) is given too.
#
#   bench/lvgl_against_converter.sh [BUILD_DIR] [RUNS] [FONT] [SIZE] [CONVERTER]
set -euo pipefail

build=${1:-build}
runs=${2:-5}
font=${3:-/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf}
size=${4:-16}
conv=${5:-/opt/lvconv/node_modules/.bin/lv_font_conv}
cli="$build/bin/hzdot-cli"
[ -x "$cli" ] || { echo "no $cli; build it first" >&2; exit 2; }
[ -x "$conv" ] || { echo "no converter at $conv" >&2; exit 2; }
[ -r "$font" ] || { echo "no font $font" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME="$work/cache"
unset HZDOT_NO_CACHE

# shellcheck source=bench/gb2312_hanzi.sh
. "$(dirname "$0")/gb2312_hanzi.sh"
write_gb2312_hanzi "$work/hanzi.txt"
count=$(wc -m < "$work/hanzi.txt")
echo "font $font, $size dots, 1 bit a dot; $count hanzi; $runs runs each, median wall"

# "WALL CPU": the median wall and CPU times of running the command RUNS times, in milliseconds.
median_ms() {
  local walls=() cpus=()
  for _ in $(seq "$runs"); do
    local start end cpu
    start=$(date +%s%N)
    cpu=$( { TIMEFORMAT='%3U %3S'; time "$@" > /dev/null 2>&1 || echo failed; } 2>&1 )
    end=$(date +%s%N)
    [[ $cpu == *failed* ]] && { echo "failed: $*" >&2; exit 1; }
    walls+=($(( (end - start) / 1000000 )))
    cpus+=($(awk '{ printf "%d", ($1 + $2) * 1000 }' <<<"$cpu"))
  done
  local wall cpu
  wall=$(printf '%s\n' "${walls[@]}" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }')
  cpu=$(printf '%s\n' "${cpus[@]}" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }')
  echo "$wall $cpu"
}

hz=(--font "$font" --size "$size" -i "$work/hanzi.txt")
lv=(--no-kerning --bpp 1 --size "$size" --font "$font" --symbols "$(cat "$work/hanzi.txt")" --no-compress)
"$cli" "${hz[@]}" --format lvgl -o "$work/warm.c" > /dev/null 2>&1 # fits the font once and remembers it

report() {
  local label=$1
  read -r ow oc <<<"$2"
  read -r tw tc <<<"$3"
  awk -v l="$label" -v ow="$ow" -v oc="$oc" -v tw="$tw" -v tc="$tc" 'BEGIN {
    printf "%-8s\n  wall: hzdot-cli %6d ms, converter %6d ms, %.1fx faster;", l, ow, tw, tw / (ow > 0 ? ow : 1)
    printf " CPU: %6d ms against %6d ms, %.1fx\n", oc, tc, tc / (oc > 0 ? oc : 1) }'
}
c_ours=$(median_ms "$cli" "${hz[@]}" --format lvgl -o "$work/hz.c")
c_cold=$(HZDOT_NO_CACHE=1 median_ms "$cli" "${hz[@]}" --format lvgl -o "$work/hz_cold.c")
c_theirs=$(median_ms "$conv" "${lv[@]}" --format lvgl -o "$work/conv.c")
bin_ours=$(median_ms "$cli" "${hz[@]}" --format lvgl-bin -o "$work/hz.bin")
bin_classic=$(median_ms "$cli" "${hz[@]}" --render classic --format lvgl-bin -o "$work/hz_classic.bin")
bin_theirs=$(median_ms "$conv" "${lv[@]}" --format bin -o "$work/conv.bin")
report "C file" "$c_ours" "$c_theirs"
report "binary" "$bin_ours" "$bin_theirs"
report "binary, --render classic" "$bin_classic" "$bin_theirs"
echo "C file, no fit cache: hzdot-cli $(cut -d' ' -f1 <<<"$c_cold") ms wall, $(cut -d' ' -f2 <<<"$c_cold") ms CPU"
echo "sizes: hzdot-cli $(stat -c %s "$work/hz.c") and $(stat -c %s "$work/hz.bin") bytes;" \
     "converter $(stat -c %s "$work/conv.c") and $(stat -c %s "$work/conv.bin") bytes"
