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

# shellcheck source=bench/gb2312_hanzi.sh
. "$(dirname "$0")/gb2312_hanzi.sh"
write_gb2312_hanzi "$work/hanzi.txt"
echo "font $font, $size dots; $(wc -m < "$work/hanzi.txt") hanzi; $runs runs each, median wall"

# The median wall time and CPU time (user and system) of running the command RUNS times, in
# milliseconds: on a loaded machine the CPU time is the steadier figure.
median() {
  local walls=() cpus=()
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" > /dev/null 2>&1 || true
    read -r wall user system < <(tail -1 "$work/time")
    walls+=("$(awk -v w="$wall" 'BEGIN { printf "%d", w * 1000 }')")
    cpus+=("$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%d", (u + s) * 1000 }')")
  done
  local wall cpu
  wall=$(printf '%s\n' "${walls[@]}" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }')
  cpu=$(printf '%s\n' "${cpus[@]}" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }')
  printf '%s ms wall, %s ms CPU' "$wall" "$cpu"
}

# The placement is fitted once and remembered, as on a developer's machine after the first run.
"$cli" --font "$font" --size "$size" 温 > /dev/null
for format in u8g2 bdf; do
  out="$work/hanzi.$format"
  echo "hzdot-cli --format $format, 6763 hanzi:   $(median "$cli" --font "$font" --size "$size" --format "$format" -i "$work/hanzi.txt" -o "$out")" \
       "($(wc -c < "$out") bytes)"
  echo "hzdot-mkfont --format $format, GB2312:    $(median "$mkfont" --font "$font" --size "$size" --format "$format" --output "$work/set.$format")"
done
if command -v otf2bdf > /dev/null; then
  # otf2bdf takes points and a resolution: 16 points at 72 dots an inch is 16 pixels. It exits
  # with status 8 even when it has written the font, so its output is checked instead.
  subset=$(iconv -f UTF-8 -t UTF-32LE "$work/hanzi.txt" | od -An -v -tu4 | tr -s ' \n' ' ')
  echo "otf2bdf, the same 6763 hanzi:              $(median otf2bdf -p "$size" -r 72 -l "$subset" -o "$work/otf2bdf.bdf" "$font")" \
       "($(grep -c '^STARTCHAR' "$work/otf2bdf.bdf") glyphs)"
  echo "otf2bdf, the whole font:                   $(median otf2bdf -p "$size" -r 72 -o "$work/whole.bdf" "$font")" \
       "($(grep -c '^STARTCHAR' "$work/whole.bdf") glyphs)"
else
  echo "otf2bdf: not installed (apt-get install otf2bdf)"
fi
