#!/usr/bin/env bash
# Makes the small test pictures kept beside this script (run it here; ImageMagick 6 and Python 3).
# Each draws the same thing where it can: a black bar across the top half of a white picture, so the
# tests know which dots must be set.
set -euo pipefail
# 16 x 8: black top half, white bottom half, the right quarter fully transparent.
convert -size 16x8 xc:white -fill black -draw 'rectangle 0,0 15,3' \
  \( -size 16x8 xc:white -fill black -draw 'rectangle 12,0 15,7' \) \
  -alpha off -compose CopyOpacity -composite PNG32:logo.png
convert -size 16x8 xc:white -fill black -draw 'rectangle 0,0 15,3' -type TrueColor BMP3:bar.bmp
convert -size 16x8 xc:white -fill black -draw 'rectangle 0,0 15,3' -quality 95 bar.jpg
# two frames: the first is the bar, the second all black
convert -size 16x8 xc:white -fill black -draw 'rectangle 0,0 15,3' \
  \( -size 16x8 xc:black \) -set delay 50 bar.gif
# bar.jpg with an EXIF orientation of 6 (turn a quarter clockwise to show it): upright it is 8 x 16
# with the bar down its right half
python3 - <<'PY'
import struct
src = open('bar.jpg', 'rb').read()
tiff = b'II*\x00' + struct.pack('<IH', 8, 1) + struct.pack('<HHIHH', 0x0112, 3, 1, 6, 0) + struct.pack('<I', 0)
body = b'Exif\x00\x00' + tiff
open('turned.jpg', 'wb').write(src[:2] + b'\xff\xe1' + struct.pack('>H', len(body) + 2) + body + src[2:])
PY
# cut short in the middle of its pixels
head -c 60 logo.png > broken.png
# a PNG header claiming 20000 x 20000 RGBA and nothing more
python3 - <<'PY'
import struct, zlib
ihdr = struct.pack('>IIBBBBB', 20000, 20000, 8, 6, 0, 0, 0)
chunk = lambda kind, data: struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
open('huge.png', 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(b'\0' * 1000)))
PY
