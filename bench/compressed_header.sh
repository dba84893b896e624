#!/usr/bin/env bash
# Flash, code size and decode time of the C header, plain and compressed, as a Cortex-M3 firmware
# would hold it: two sets of AR PL SungtiL GB at 16 dots, one bit a dot.
#
#   bench/compressed_header.sh [HZDOT_CLI] [FONT]
#
# With LV_FONT_CONV set to LVGL's font converter (lv_font_conv, from npm), its output for the same
# glyphs is measured too, compressed and not, built against bench/lvgl_standin/lvgl.h: its tables
# only, not LVGL's code that reads them. The last rows compare the two at 4 bits a dot.
#
# Flash is `size -A` of an object built with arm-none-eabi-gcc -mcpu=cortex-m3 -mthumb -Os that
# calls the header's lookup (so that every table and the decoder are kept): .text, .rodata and .data
# together. The decoder's own code is the .text of that object, its stack what -fstack-usage says.
# The decode time is the host's (gcc -O2), every glyph of the set decoded over and over.
set -euo pipefail
export LC_ALL=C.UTF-8
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/bin/hzdot-cli}
font=${2:-/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf}
lvconv=${LV_FONT_CONV:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The 6763 hanzi of GB2312: rows 16 to 87, the last five places of row 55 empty.
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
hanzi = []
for hi in range(0xB0, 0xF8):
    for lo in range(0xA1, 0xFF):
        if hi == 0xD7 and lo > 0xF9:
            continue
        hanzi.append(bytes([hi, lo]).decode('gb2312'))
assert len(hanzi) == 6763
open(work + '/all.txt', 'w').write(''.join(hanzi))
# 300 of the most used hanzi, and printable ASCII.
common = ("的一是不了人我在有他这为之大来以个中上们到说国和地也子时道出而要于就下得可你年生自会那后能对着事其里所去行过家十用发天如然作方成者多日都三小军二无同么经法当起与好看学进种将还分此心前面又定见只主没公从知身把问"
          "部对开看点意动已种明它关手理应身机话使系主月文因量长样门度相两正老心知想高少没外活系社变小党实表回实路代前气系已与头级件见此很法性反话体力此理没己已点光使数结公接度本将最外方记重经解起制样给问事入见向"
          "给才进情期计合做又世果何美队全解边第教些干做合由电水物区品写北间界利件员把总求信保处办果路什认展风政特感员通元报清次住电传流海深条布完资任收数提今运决离常义质形受先基确认")
seen, picked = set(), []
for c in common:
    if c not in seen and len(picked) < 300:
        seen.add(c)
        picked.append(c)
for c in hanzi:
    if len(picked) >= 300:
        break
    if c not in seen:
        seen.add(c)
        picked.append(c)
open(work + '/small.txt', 'w').write(''.join(picked) + ''.join(chr(c) for c in range(0x20, 0x7F)))
PY

flash() { # header name lookup-call -> "flash text stack"
  cat > "$work/use.c" <<C
#include "$1"
unsigned char glyph_out[256 * 8];
unsigned use(unsigned long key);
unsigned use(unsigned long key) { $3 }
C
  arm-none-eabi-gcc -mcpu=cortex-m3 -mthumb -Os -std=c99 -fstack-usage -c "$work/use.c" -o "$work/use.o"
  arm-none-eabi-size -A "$work/use.o" |
    awk '/^\.(text|rodata|data)/ { f += $2 } /^\.text/ { t += $2 } END { printf "%d %d ", f, t }'
  awk '{ print $(NF-1) }' "$work/use.su"
}

plain_call='unsigned char w, h; return (font_find(key, &w, &h) != 0) + w + h;'
packed_call='unsigned char w, h; return font_glyph(key, glyph_out, &w, &h) + w + h;'

lvgl() { # set bpp [--no-compress] -> flash of the converter's tables
  "$lvconv" --font "$font" --size 16 --bpp "$2" ${3:-} --format lvgl --symbols "$(cat "$work/$1.txt")" \
    -o "$work/lv.c" >/dev/null
  arm-none-eabi-gcc -mcpu=cortex-m3 -mthumb -Os -DLV_LVGL_H_INCLUDE_SIMPLE -I "$here/lvgl_standin" \
    -c "$work/lv.c" -o "$work/lv.o"
  arm-none-eabi-size -A "$work/lv.o" | awk '/^\.(text|rodata|data)/ { f += $2 } END { print f }'
}

row() { # set label kind bpp
  local set=$1 label=$2 kind=$3 bpp=$4
  extra=$([ "$kind" = compressed ] && echo --compress || true)
  said=$("$cli" --font "$font" --size 16 --bpp "$bpp" --format header --name font $extra -i "$work/$set.txt" \
         -o "$work/font.h" 2>&1 >/dev/null | tail -1)
  glyphs=$(sed -E 's/.*: ([0-9]+) glyphs?, ([0-9,]+) bytes/\1/' <<<"$said")
  data=$(sed -E 's/.*: ([0-9]+) glyphs?, ([0-9,]+) bytes/\2/' <<<"$said")
  call=$([ "$kind" = compressed ] && echo "$packed_call" || echo "$plain_call")
  read -r total text stack < <(flash "$work/font.h" font "$call")
  time=-
  if [ "$kind" = compressed ]; then
    python3 - "$work" "$set" <<'PY'
import sys
work, s = sys.argv[1], sys.argv[2]
keys = [ord(c) for c in open(f'{work}/{s}.txt').read()]
open(f'{work}/keys.h', 'w').write('static const unsigned long bench_keys[] = {' + ','.join(map(str, keys)) + '};\n')
PY
    gcc -O2 -std=c99 -I "$work" -o "$work/time" "$here/glyph_decode_time.c"
    time=$("$work/time" | cut -d' ' -f1-2)
  fi
  printf '| %s | HzDot %s, %s bit | %s | %s | %s | %s | %s | %s |\n' "$label" "$kind" "$bpp" "$glyphs" "$data" "$total" \
    "$text" "$stack" "$time"
}

printf '| set | header | glyphs | font data (bytes) | flash in all (bytes) | code (bytes) | stack (bytes) | decode a glyph (CPU) |\n'
printf '|---|---|---|---|---|---|---|---|\n'
for set in all small; do
  label=$([ "$set" = all ] && echo "the 6763 hanzi, 16 dots" || echo "300 hanzi + ASCII, 16 dots")
  row "$set" "$label" plain 1
  row "$set" "$label" compressed 1
  if [ -n "$lvconv" ]; then
    printf '| %s | LVGL converter, 1 bit | | | %s | | | |\n' "$label" "$(lvgl "$set" 1 --no-compress)"
    printf '| %s | LVGL converter compressed, 1 bit | | | %s | | | |\n' "$label" "$(lvgl "$set" 1)"
  fi
done
row small "300 hanzi + ASCII, 16 dots" compressed 4
if [ -n "$lvconv" ]; then
  printf '| 300 hanzi + ASCII, 16 dots | LVGL converter compressed, 4 bit | | | %s | | | |\n' "$(lvgl small 4)"
fi
