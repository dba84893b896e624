#!/usr/bin/env bash
# A program's installed manual page renders without warnings and names every option its --help
# prints, its exit statuses and examples. $2 is the program.
source "$(dirname "$0")/common.sh"
program=$2

command -v man >/dev/null || skip "man is not installed (man-db)"
install_into "$work/stage" /usr/local
page=$work/stage/usr/local/share/man/man1/$program.1.gz

export LC_ALL=C.UTF-8 MANWIDTH=100
man --warnings -l "$page" >"$work/page" 2>"$work/warnings" || fail "man -l $page failed"
[[ -s $work/warnings ]] && fail "warnings while rendering: $(cat "$work/warnings")"
# Hyphens may come out as typographic ones; options are compared as typed.
sed -i 's/\xe2\x80\x90/-/g; s/\xe2\x88\x92/-/g' "$work/page"

for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES "SEE ALSO"; do
    grep -q "^$section" "$work/page" || fail "no section $section"
done

options=$(help_options env -u DISPLAY -u WAYLAND_DISPLAY "$build/bin/$program")
[[ -n $options ]] || fail "no options found in $program --help"
for option in $options; do
    grep -qE -- "(^|[^A-Za-z0-9-])$option([^A-Za-z0-9-]|\$)" "$work/page" || fail "$option is not in the page"
done
echo "options checked: $(echo $options)"

# And every range of numbers it gives ("0-254", "8 to 64"), as the page writes one: "0–254".
ranges=$(env -u DISPLAY -u WAYLAND_DISPLAY "$build/bin/$program" --help | { grep -oP '\b\d+(-| to )\d+\b' || true; } |
    sort -u | sed 's/ to /-/')
for range in $ranges; do
    grep -qE -- "(^|[^0-9])${range%-*}(–|-)${range#*-}([^0-9]|\$)" "$work/page" || fail "the range $range is not in the page"
done
echo "ranges checked: $(echo $ranges)"

finish
