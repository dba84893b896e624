#!/usr/bin/env bash
# The installed bash completion offers every option --help names, the layout and preset names, the
# library positions, and file names.
source "$(dirname "$0")/common.sh"

install_into "$work/stage" /usr/local
completions=$work/stage/usr/local/share/bash-completion/completions

# complete_words FILE FUNCTION WORD...: the candidates for the last word.
complete_words() {
    local file=$1 function=$2
    shift 2
    bash -c 'source "$1"; shift; f=$1; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); "$f"; printf "%s\n" "${COMPREPLY[@]}"' \
        _ "$file" "$function" "$@"
}

expect() { # description, candidates, wanted...
    local what=$1 got=$2
    shift 2
    for want in "$@"; do
        grep -qxF -- "$want" <<<"$got" || fail "$what: no \"$want\" among: $(echo $got)"
    done
}

cli=$completions/hzdot-cli
mkfont=$completions/hzdot-mkfont
bash -n "$cli" || fail "hzdot-cli completion is not valid bash"
bash -n "$mkfont" || fail "hzdot-mkfont completion is not valid bash"

# Every option of the programs' help texts, offered after a dash.
expect "hzdot-cli options" "$(complete_words "$cli" _hzdot_cli hzdot-cli -)" $(help_options "$build/bin/hzdot-cli")
expect "hzdot-mkfont options" "$(complete_words "$mkfont" _hzdot_mkfont hzdot-mkfont -)" \
    $(help_options "$build/bin/hzdot-mkfont")

expect "-l" "$(complete_words "$cli" _hzdot_cli hzdot-cli -l '')" 0 1 2 3 4 5
expect "-a" "$(complete_words "$cli" _hzdot_cli hzdot-cli -a '')" 0 4 all 横排 下上列排 上下列排 下半列排 上半列排
expect "--layout presets" "$(complete_words "$cli" _hzdot_cli hzdot-cli --layout '')" \
    ssd1306 sh1106 st7565 ks0108 ssd1306-vertical st7920 adafruit-gfx lvgl-1bit hzk xbm epaper max7219 \
    rows-msb rows-lsb columns-msb columns-lsb pages-msb pages-lsb 横排
# And every preset the program itself lists, when it lists them.
if presets=$("$build/bin/hzdot-cli" --list-layouts 2>/dev/null | cut -f1) && [[ -n $presets ]]; then
    expect "--layout presets of --list-layouts" "$(complete_words "$cli" _hzdot_cli hzdot-cli --layout '')" $presets
fi
expect "--layout flags" "$(complete_words "$cli" _hzdot_cli hzdot-cli --layout pages-lsb-)" \
    pages-lsb-up pages-lsb-left pages-lsb-invert pages-lsb-up-left-invert
expect "--format" "$(complete_words "$cli" _hzdot_cli hzdot-cli --format '')" text bin header
expect "--format lvgl" "$(complete_words "$cli" _hzdot_cli hzdot-cli --format '')" lvgl lvgl-bin
expect "mkfont --format" "$(complete_words "$mkfont" _hzdot_mkfont hzdot-mkfont --format '')" hzk lvgl lvgl-bin
expect "mkfont --layout" "$(complete_words "$mkfont" _hzdot_mkfont hzdot-mkfont --layout x)" xbm
expect "mkfont --charset" "$(complete_words "$mkfont" _hzdot_mkfont hzdot-mkfont --charset '')" gb2312 gbk ascii

# File names where a file is wanted, folders for -f.
mkdir -p "$work/files/fontdir"
touch "$work/files/glyph.txt" "$work/files/MyHei.ttf"
cd "$work/files"
expect "-o" "$(complete_words "$cli" _hzdot_cli hzdot-cli -o gl)" glyph.txt
expect "--detect" "$(complete_words "$cli" _hzdot_cli hzdot-cli --detect gl)" glyph.txt
expect "-f" "$(complete_words "$cli" _hzdot_cli hzdot-cli -f font)" fontdir
expect "mkfont --font" "$(complete_words "$mkfont" _hzdot_mkfont hzdot-mkfont --font My)" MyHei.ttf
[[ -z $(complete_words "$cli" _hzdot_cli hzdot-cli -f gl) ]] || fail "-f offers files, not only folders"

finish
