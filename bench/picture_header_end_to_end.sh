#!/usr/bin/env bash
# Measures hzdot-cli making a 128x64 picture into an SSD1306 header, end to end (start, decode,
# dither, lay out, write the header, exit): wall and CPU time per run. The target is 20 ms.
#
#   bench/picture_header_end_to_end.sh [BUILD_DIR] [RUNS]
#
# The picture is a photo-like PNG made here (a grey gradient with a disc and noise, RGBA), so that
# Floyd-Steinberg dithering, the default, has real work. A second line times the same picture drawn
# as an SVG at 128x64.
set -euo pipefail

build=${1:-build}
runs=${2:-30}
cli="$build/bin/hzdot-cli"
[ -x "$cli" ] || { echo "no $cli; build it first (make build)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work/photo.png" <<'PY'
import random, struct, sys, zlib
w, h = 128, 64
random.seed(1)
rows = b""
for y in range(h):
    row = b"\0"
    for x in range(w):
        v = int(255 * x / (w - 1))
        if (x - 40) ** 2 + (y - 32) ** 2 < 400:
            v = 255 - v
        v = max(0, min(255, v + random.randint(-20, 20)))
        row += bytes([v, v // 2 + 64, 255 - v, 255])
    rows += row
chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")
open(sys.argv[1], "wb").write(png)
PY
cat > "$work/icon.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="32" height="16" viewBox="0 0 32 16">
  <rect x="1" y="1" width="26" height="14" rx="2" fill="none" stroke="#000" stroke-width="2"/>
  <rect x="28" y="5" width="3" height="6" fill="#000"/><rect x="4" y="4" width="14" height="8" fill="#000"/>
</svg>
SVG

TIMEFORMAT='%3R %3U %3S'
measure() { # label, then the options
  local label=$1
  shift
  "$cli" "$@" -o "$work/out.h" # warm the page cache; a failure stops the script
  local walls=() cpus=()
  for _ in $(seq "$runs"); do
    rm -f "$work/out.h"
    read -r real user sys < <({ time "$cli" "$@" -o "$work/out.h" 2>/dev/null; } 2>&1)
    walls+=("$(awk -v r="$real" 'BEGIN { printf "%.1f", r * 1000 }')")
    cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.1f", (u + s) * 1000 }')")
  done
  local median
  median=$(printf '%s\n' "${walls[@]}" | sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }')
  local fastest
  fastest=$(printf '%s\n' "${walls[@]}" | sort -n | head -n1)
  echo "$label"
  echo "  wall over $runs runs: $(printf '%s\n' "${walls[@]}" | sort -n | awk '{ a[NR] = $1 } END { printf "min %s ms, max %s ms", a[1], a[NR] }'), median $median ms"
  echo "  CPU (user + system): median $(printf '%s\n' "${cpus[@]}" | sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }') ms"
  # On a busy machine the median waits for other work; the fastest run is the program's own time.
  echo "  header: $(stat -c %s "$work/out.h") bytes; target 20 ms: median $(awk -v m="$median" 'BEGIN { print (m <= 20) ? "met" : "NOT met" }'), fastest run $(awk -v m="$fastest" 'BEGIN { print (m <= 20) ? "met" : "NOT met" }')"
}

measure "128x64 PNG (RGBA photo) -> --layout ssd1306 --format header, floyd-steinberg" \
  --image "$work/photo.png" --layout ssd1306 --format header
measure "32x16 SVG icon drawn at 128x64 -> the same header" \
  --image "$work/icon.svg" --fit 128x64 --layout ssd1306 --format header
echo "  load average: $(cut -d' ' -f1-3 /proc/loadavg)"
