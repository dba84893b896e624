# Shared by the packaging tests: the build folder, a temporary folder removed on exit, an install
# into it, and failures counted so that one run reports every missing piece.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

skip() {
    echo "SKIP: $*"
    exit 77
}

finish() {
    if ((failures > 0)); then
        echo "$failures failure(s)" >&2
        exit 1
    fi
    echo "passed"
}

# Installs the build under DESTDIR=$1 with the prefix $2 (default /usr/local).
install_into() {
    DESTDIR=$1 cmake --install "$build" --prefix "${2:-/usr/local}" >"$work/install.log" 2>&1 ||
        { cat "$work/install.log" >&2; echo "FAIL: cmake --install" >&2; exit 1; }
}

# The library folder the build installs into, relative to the prefix ("lib" unless configured).
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
libdir=${libdir:-lib}

# Everything an install holds, relative to the prefix.
expected_files=(
    bin/hzdot bin/hzdot-cli bin/hzdot-mkfont
    "$libdir/hzdot/hzdot-pictures.so" "$libdir/hzdot/hzdot-fonts.so"
    share/hzdot/fonts/hzk12宋 share/hzdot/fonts/hzk16宋 share/hzdot/fonts/hzk16繁
    share/hzdot/fonts/hzk24宋 share/hzdot/fonts/hzk24楷 share/hzdot/fonts/hzk24黑
    share/applications/hzdot.desktop
    share/metainfo/io.github.hzdot.HzDot.metainfo.xml
    share/icons/hicolor/scalable/apps/hzdot.svg
    share/icons/hicolor/16x16/apps/hzdot.png share/icons/hicolor/22x22/apps/hzdot.png
    share/icons/hicolor/24x24/apps/hzdot.png share/icons/hicolor/32x32/apps/hzdot.png
    share/icons/hicolor/48x48/apps/hzdot.png share/icons/hicolor/64x64/apps/hzdot.png
    share/icons/hicolor/128x128/apps/hzdot.png share/icons/hicolor/256x256/apps/hzdot.png
    share/man/man1/hzdot.1.gz share/man/man1/hzdot-cli.1.gz share/man/man1/hzdot-mkfont.1.gz
    share/bash-completion/completions/hzdot-cli share/bash-completion/completions/hzdot-mkfont
    share/doc/hzdot/README.md share/doc/hzdot/docs/arrangements.md share/doc/hzdot/docs/export-format.md
    share/doc/hzdot/docs/lvgl-format.md
    share/doc/hzdot/copyright share/doc/hzdot/changelog.gz share/doc/hzdot/fonts/README.md
    share/doc/hzdot/docs/screenshots/main.png
)

# The options a program's --help text names: every "-x" or "--word" not inside another word nor
# a flag of a pattern such as SCAN-BIT[-up].
help_options() {
    "$@" --help | grep -oP '(?<![\w\]-])(?<![\w\]]\[)--?[A-Za-z][A-Za-z0-9-]*' | sort -u
}
