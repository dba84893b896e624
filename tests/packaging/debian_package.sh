#!/usr/bin/env bash
# What `make package` does: CPack builds the Debian package from the build; it holds the programs,
# libraries, desktop entry, icons and pages, depends on the packages of the libraries the programs
# link, and lintian finds no errors in it.
source "$(dirname "$0")/common.sh"

command -v dpkg-deb >/dev/null || skip "dpkg-deb is not installed (dpkg)"
command -v cpack >/dev/null || skip "cpack is not installed (cmake)"
command -v dpkg-shlibdeps >/dev/null || skip "dpkg-shlibdeps is not installed (dpkg-dev)"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack"; finish; }
deb=$(ls "$work"/out/hzdot_*.deb 2>/dev/null | head -n 1)
[[ -n $deb ]] || { cat "$work/cpack.log" >&2; fail "no hzdot_*.deb"; finish; }
echo "built $(basename "$deb"), $(stat -c %s "$deb") bytes"

dpkg-deb --contents "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/contents"
for f in "${expected_files[@]}"; do
    grep -qxF "/usr/$f" "$work/contents" || fail "not in the package: /usr/$f"
done

# Every Qt, FreeType, fontconfig or OpenCC library a program links itself must be a dependency.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
while read -r soname; do
    case $soname in libQt6* | libfreetype* | libfontconfig* | libopencc*) ;; *) continue ;; esac
    path=$(ldd "$build/bin/hzdot" "$build/bin/hzdot-cli" "$build/bin/hzdot-mkfont" |
        awk -v so="$soname" '$1 == so && $3 ~ /^\// {print $3}' | head -n 1) || true
    owner=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null | head -n 1 | cut -d: -f1) || true
    [[ -n $owner ]] || owner=$(dpkg -S "$path" 2>/dev/null | head -n 1 | cut -d: -f1) || true
    [[ -n $owner ]] || { fail "no package owns $soname ($path)"; continue; }
    echo "linked: $soname from $owner"
    grep -qE "(^|, )$owner( |,|$)" <<<"$depends" || fail "$soname is linked but $owner is not in Depends"
done < <(for program in hzdot hzdot-cli hzdot-mkfont; do
    readelf -d "$build/bin/$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
done | sort -u)
# Qt's Chinese translation is read at run time, not linked: dpkg-shlibdeps cannot find it.
for package in libqt6widgets6 libfreetype6 libfontconfig1 libopencc1.1 qt6-translations-l10n; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package"
done
# Each package once: a name given by hand as well as found by dpkg-shlibdeps is listed twice.
twice=$(sed 's/, /\n/g' <<<"$depends" | sed 's/ .*//' | sort | uniq -d)
[[ -z $twice ]] || fail "Depends lists more than once: $twice"

if command -v lintian >/dev/null; then
    lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
    cat "$work/lintian"
    grep -q '^E: ' "$work/lintian" && fail "lintian reports errors"
else
    echo "lintian is not installed: not run"
fi

finish
