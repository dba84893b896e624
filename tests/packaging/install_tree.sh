#!/usr/bin/env bash
# An install into a temporary DESTDIR holds every file, the icons have their sizes, and
# install_manifest.txt lists exactly what was installed.
source "$(dirname "$0")/common.sh"

stage=$work/stage
install_into "$stage" /usr/local
prefix=$stage/usr/local

for f in "${expected_files[@]}"; do
    [[ -s $prefix/$f ]] || fail "missing or empty: $f"
done
for p in hzdot hzdot-cli hzdot-mkfont; do
    [[ -x $prefix/bin/$p ]] || fail "not executable: bin/$p"
done
# The libraries are the build's own, byte for byte.
for f in "$build"/bin/hzk*; do
    cmp -s "$f" "$prefix/share/hzdot/fonts/$(basename "$f")" || fail "library differs: $(basename "$f")"
done

# Every relative link of the installed documents leads to an installed file or folder, as it does
# in the repository.
while read -r document; do
    while read -r target; do
        [[ -e $(dirname "$document")/$target ]] || fail "${document#"$prefix"/} links to $target, which is not installed"
    done < <(grep -oP '\]\(\K[^)#]+(?=[)#])' "$document" | grep -vE '^[a-z]+:')
done < <(find "$prefix/share/doc/hzdot" -name '*.md')

# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }
for size in 16 22 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/hzdot.png
    [[ -f $png ]] || continue
    [[ $(head -c 8 "$png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "not a PNG: $png"
    [[ $(png_size "$png") == "${size}x${size}" ]] || fail "${size}x${size} icon is $(png_size "$png")"
done

# The manifest names every installed file (as the prefix sees it) and nothing else.
manifest=$build/install_manifest.txt
[[ -f $manifest ]] || fail "no install_manifest.txt"
diff <(sed 's|^|'"$stage"'|' "$manifest" | sort) <(find "$stage" -type f -o -type l | sort) >"$work/diff" ||
    { cat "$work/diff" >&2; fail "install_manifest.txt does not match the installed files"; }
while read -r path; do
    [[ $path == /usr/local/* ]] || fail "manifest path outside the prefix: $path"
done <"$manifest"

finish
