#!/usr/bin/env bash
# The installed desktop entry and metainfo pass their validators and agree with what is installed.
# $2 picks the check: desktop or metainfo.
source "$(dirname "$0")/common.sh"

install_into "$work/stage" /usr
share=$work/stage/usr/share
desktop=$share/applications/hzdot.desktop
metainfo=$share/metainfo/io.github.hzdot.HzDot.metainfo.xml

case $2 in
desktop)
    command -v desktop-file-validate >/dev/null || skip "desktop-file-validate is not installed (desktop-file-utils)"
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
    for key in 'Name=' 'Name\[zh_CN\]=' 'Comment=' 'Comment\[zh_CN\]=' 'Categories=Development;Electronics;$' \
               'Exec=hzdot$' 'Icon=hzdot$' 'Type=Application$'; do
        grep -q "^$key" "$desktop" || fail "desktop entry lacks ^$key"
    done
    [[ -x $work/stage/usr/bin/hzdot ]] || fail "Exec names a program that is not installed"
    [[ -f $share/icons/hicolor/48x48/apps/hzdot.png && -f $share/icons/hicolor/scalable/apps/hzdot.svg ]] ||
        fail "Icon names an icon that is not installed"
    ;;
metainfo)
    command -v appstreamcli >/dev/null || skip "appstreamcli is not installed (appstream)"
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
    grep -q '<launchable type="desktop-id">hzdot.desktop</launchable>' "$metainfo" ||
        fail "metainfo does not launch hzdot.desktop"
    shot=$(sed -n 's|.*<image>\(.*\)</image>.*|\1|p' "$metainfo")
    [[ $shot == https://*/docs/screenshots/main.png ]] || fail "screenshot URL: $shot"
    [[ -f $source_dir/docs/screenshots/main.png ]] || fail "the screenshot is not in the repository"
    ;;
*)
    fail "unknown check $2"
    ;;
esac

finish
