#!/usr/bin/env bash
# The installed programs find the installed libraries from any folder: run from elsewhere, through a
# link on PATH, and after the whole tree was moved. -f still names the folder.
source "$(dirname "$0")/common.sh"

install_into "$work/stage" /usr/local
bin=$work/stage/usr/local/bin
mkdir -p "$work/elsewhere" "$work/links" "$work/empty"
cd "$work/elsewhere"

# What the build's own copy writes is what every installed copy must write.
"$build/bin/hzdot-cli" -l 3 -a 2 液晶 >"$work/expected" || fail "the build's hzdot-cli failed"

check_copy() { # label, program
    local status=0
    "$2" -l 3 -a 2 液晶 >"$work/out" 2>"$work/err" || status=$?
    [[ $status == 0 ]] || { fail "$1: exit $status: $(cat "$work/err")"; return; }
    cmp -s "$work/expected" "$work/out" || fail "$1: output differs from the build's"
}

check_copy "installed" "$bin/hzdot-cli"
ln -s "$bin/hzdot-cli" "$work/links/hzdot-cli"
PATH=$work/links:$PATH check_copy "through a link on PATH" hzdot-cli
mv "$work/stage/usr/local" "$work/moved"
check_copy "moved" "$work/moved/bin/hzdot-cli"

# -f overrides the search: a folder without libraries is an error naming that folder.
status=0
"$work/moved/bin/hzdot-cli" -f "$work/empty" 液 >/dev/null 2>"$work/err" || status=$?
[[ $status == 2 ]] || fail "-f with an empty folder: exit $status, expected 2"
grep -q "$work/empty/hzk16宋" "$work/err" || fail "-f: the message does not name the file: $(cat "$work/err")"

# The picture module is found where it was installed, from the moved tree as well; without it a
# picture is refused with a message naming the module, and nothing is written.
icon=$work/moved/share/icons/hicolor/16x16/apps/hzdot.png
"$work/moved/bin/hzdot-cli" --image "$icon" -o "$work/icon.txt" 2>"$work/err" ||
    fail "--image with the installed module: $(cat "$work/err")"
[[ -s $work/icon.txt ]] || fail "--image wrote nothing"
rm "$work/moved/$libdir/hzdot/hzdot-pictures.so"
status=0
"$work/moved/bin/hzdot-cli" --image "$icon" -o "$work/no-module.txt" 2>"$work/err" || status=$?
[[ $status != 0 ]] || fail "--image without the module: exit 0"
grep -q "picture module hzdot-pictures.so" "$work/err" || fail "--image without the module: $(cat "$work/err")"
[[ ! -e $work/no-module.txt ]] || fail "--image without the module wrote a file"
"$work/moved/bin/hzdot-cli" -l 3 -a 2 液晶 >/dev/null 2>&1 || fail "the library path needs the picture module"

# The programs that draw from a font link neither FreeType nor fontconfig: hzdot-cli loads them
# with the font module when it needs them.
needed=$(readelf -d "$work/moved/bin/hzdot-cli") || fail "readelf -d hzdot-cli"
for heavy in libfreetype libfontconfig libglib; do
    ! grep -q "NEEDED.*\[$heavy" <<<"$needed" || fail "the installed hzdot-cli needs $heavy"
done

# The font module is found where it was installed, from the moved tree as well; without it a font is
# refused with a message naming the module, nothing is written, and the libraries still work.
font=$(fc-match -f '%{file}' :lang=zh-cn 2>/dev/null || true)
[[ -f $font ]] || font=$(find /usr/share/fonts -type f \( -name '*.ttf' -o -name '*.ttc' \) 2>/dev/null | sort | head -n 1 || true)
if [[ -f $font ]]; then
    "$work/moved/bin/hzdot-cli" --font "$font" --size 16 -a 2 液晶 -o "$work/font.txt" 2>"$work/err" ||
        fail "--font with the installed module: $(cat "$work/err")"
    [[ -s $work/font.txt ]] || fail "--font wrote nothing"
else
    echo "no font installed: --font through the installed module not tried"
fi
rm "$work/moved/$libdir/hzdot/hzdot-fonts.so"
status=0
"$work/moved/bin/hzdot-cli" --font "${font:-/no/font.ttf}" --size 16 -a 2 液晶 -o "$work/no-font-module.txt" \
    2>"$work/err" || status=$?
[[ $status != 0 ]] || fail "--font without the module: exit 0"
grep -q "font module hzdot-fonts.so (looked for at .*$libdir/hzdot/hzdot-fonts.so" "$work/err" ||
    fail "--font without the module: $(cat "$work/err")"
[[ ! -e $work/no-font-module.txt ]] || fail "--font without the module wrote a file"
"$work/moved/bin/hzdot-cli" -l 3 -a 2 液晶 >"$work/out" 2>"$work/err" ||
    fail "the library path needs the font module: $(cat "$work/err")"
cmp -s "$work/expected" "$work/out" || fail "without the font module: -l 3 output differs from the build's"

# The window answers --help and --version without a display.
env -u DISPLAY -u WAYLAND_DISPLAY "$work/moved/bin/hzdot" --version | grep -q '^hzdot (HzDot) ' ||
    fail "hzdot --version"
"$work/moved/bin/hzdot-mkfont" --help | grep -q -- '--font' || fail "hzdot-mkfont --help"

finish
