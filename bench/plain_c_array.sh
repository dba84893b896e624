#!/usr/bin/env bash
# The yardstick for hzdot-cli's speed: what a firmware developer writes by hand to get C arrays out
# of an HZK file, one character at a time: its code with iconv, its record with dd, the bytes with
# od, the text with printf.
#
#   bench/plain_c_array.sh LIBRARY RECORD_SIZE < characters.txt > arrays.c
set -euo pipefail
export LC_ALL=C.UTF-8
library=$1
size=${2:-32}
while IFS= read -r -n1 ch; do
  [ -n "$ch" ] || continue
  read -r hi lo < <(printf '%s' "$ch" | iconv -f UTF-8 -t CP936 | od -An -tu1)
  [ -n "${lo:-}" ] || continue
  record=$(( (hi - 0xA1) * 94 + (lo - 0xA1) ))
  printf '/* %s */ {' "$ch"
  dd if="$library" bs="$size" skip="$record" count=1 status=none | od -An -v -tx1 |
    tr -s ' \n' ' ' | sed 's/^ //; s/ $//; s/\([0-9a-f][0-9a-f]\)/0x\1,/g'
  printf '},\n'
done
