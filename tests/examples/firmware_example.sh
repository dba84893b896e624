#!/usr/bin/env bash
# Builds examples/firmware as a user would, with this build's hzdot-cli and libraries: the font
# header is made from the example's strings, the program prints them from it; touching a source
# without changing a string leaves the header, so the program's main file is not compiled again.
#   firmware_example.sh SOURCE_DIR HZDOT_CLI FONTS_DIR
set -euo pipefail
example=$1/examples/firmware
cli=$2
fonts=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -r "$example" "$work/src"
cmake -S "$work/src" -B "$work/build" -DHZDOT_CLI="$cli" -DHZDOT_FONTS="$fonts" > "$work/configure.log"
cmake --build "$work/build" > "$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
"$work/build/firmware" > "$work/out.txt"

fail() { echo "FAIL: $*"; cat "$work/out.txt"; exit 1; }
# 温度过高 请检查风扇: nine characters, the comment's are not in the font.
[ "$(head -1 "$work/out.txt")" = "9 glyphs" ] || fail "expected 9 glyphs"
grep -q '注' "$work/build/ui_font.h" && fail "a character of a comment was taken"
# Two messages of 16 rows each: 4 and 5 glyphs of 16 dots.
[ "$(grep -c '^[.#]\{64\}$' "$work/out.txt")" = 16 ] || fail "the first message is not 16 rows of 64 dots"
[ "$(grep -c '^[.#]\{80\}$' "$work/out.txt")" = 16 ] || fail "the second message is not 16 rows of 80 dots"

before=$(stat -c %Y "$work/build/ui_font.h")
sleep 1
touch "$work/src/messages.c"
cmake --build "$work/build" > "$work/rebuild.log" 2>&1
[ "$(stat -c %Y "$work/build/ui_font.h")" = "$before" ] || fail "an unchanged font header was rewritten"
grep -q 'main.c.o' "$work/rebuild.log" && { cat "$work/rebuild.log"; fail "main.c was compiled again"; }

# A new string changes the font, and the program shows it.
sed -i 's/"温度过高",/"温度过高", "好",/' "$work/src/messages.c"
cmake --build "$work/build" > "$work/rebuild2.log" 2>&1
"$work/build/firmware" > "$work/out.txt"
[ "$(head -1 "$work/out.txt")" = "10 glyphs" ] || fail "a new string did not reach the font"
echo "firmware example: built, printed, rebuilt only when a string changed"
