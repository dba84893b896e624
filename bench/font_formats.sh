#!/usr/bin/env bash
# Times the font formats graphics libraries load: the 6763 GB2312 hanzi at SIZE dots from one font
# as a u8g2 font and as a BDF font, by hzdot-cli (-i, the font's fitted placement remembered) and by
# hzdot-mkfont (the whole GB2312 set, fitting included), beside otf2bdf writing its BDF of the same
# font where it is installed. Median wall time of RUNS runs each.
#
#   bench/font_formats.sh [BUILD_DIR] [RUNS] [FONT] [SIZE]
set -euo pipefail

build=${1:-build}
runs=${2:-5}
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

# The hanzi: GB2312 rows 16-87, one code a line so that an unassigned code drops alone.
codes=""
for hi in $(seq 176 247); do
  for lo in $(seq 161 254); do
    codes+=$(printf '\\x%02x\\x%02x\\n' "$hi" "$lo")
  done
done
printf "$codes" | iconv -c -f GB2312 -t UTF-8 2>/dev/null | tr -d '\n' > "$work/hanzi.txt" || true
echo "font $font, $size dots; $(wc -m < "$work/hanzi.txt") hanzi; $runs runs each, median wall"

# The median wall time of running the command RUNS times, in milliseconds.
median() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.1f ms", t[int((NR + 1) / 2)] / 1000 }'
}

# The placement is fitted once and remembered, as on a developer's machine after the first run.
"$cli" --font "$font" --size "$size" 温 > /dev/null
for format in u8g2 bdf; do
  out="$work/hanzi.$format"
  echo "hzdot-cli --format $format, 6763 hanzi:   $(median "$cli" --font "$font" --size "$size" --format "$format" -i "$work/hanzi.txt" -o "$out")" \
       "($(wc -c < "$out") bytes)"
  # Each run writes anew: an unchanged output would not be rewritten.
  echo "hzdot-mkfont --format $format, GB2312:    $(median sh -c "rm -f '$work/set.$format' && '$mkfont' --font '$font' --size $size --format $format --output '$work/set.$format'")"
done
if command -v otf2bdf > /dev/null; then
  # otf2bdf takes points and a resolution: 16 points at 72 dots an inch is 16 pixels.
  echo "otf2bdf, the whole font:                  $(median sh -c "otf2bdf -p $size -r 72 '$font' > '$work/otf2bdf.bdf'; test -s '$work/otf2bdf.bdf'")" \
       "($(grep -c '^STARTCHAR' "$work/otf2bdf.bdf" 2>/dev/null || echo 0) glyphs)"
else
  echo "otf2bdf: not installed (apt-get install otf2bdf)"
fi
