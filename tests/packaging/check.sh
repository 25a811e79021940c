#!/usr/bin/env bash
# check.sh install|package|lintian BUILD_DIR APP_ID
#   install: the build installed into a scratch DESTDIR under /usr holds the program, the desktop
#            entry, the icons, the metainfo, the licence, the manual page and the changelog, in
#            agreement with one another, and desktop-file-validate and appstreamcli accept them.
#   package: the package cpack builds holds exactly the files of the install, and depends on
#            what the program links plus the fonts.
#   lintian: Debian's package checker finds no error and no warning in that package.
set -euo pipefail
mode=$1 build=$2 id=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/tessaluma-packaging.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR=$work/root cmake --install "$build" --prefix /usr >/dev/null
usr=$work/root/usr
if [ "$mode" = install ]; then
    desktop=$usr/share/applications/$id.desktop
    metainfo=$usr/share/metainfo/$id.metainfo.xml
    for f in "$desktop" "$metainfo" "$usr/share/doc/tessaluma/copyright" "$usr/bin/tessaluma" \
        "$usr/share/doc/tessaluma/changelog.gz" "$usr/share/man/man1/tessaluma.1.gz" \
        "$usr"/share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/"$id".png; do
        [ -s "$f" ] || fail "missing ${f#"$work/root"}"
    done
    # Each icon has the size its folder names.
    for icon in "$usr"/share/icons/hicolor/*/apps/*.png; do
        size=$(basename "$(dirname "$(dirname "$icon")")")
        file -b "$icon" | grep -q "PNG image data, ${size/x/ x }," || fail "$icon is not $size"
    done
    # The entry starts the installed program with the installed icon; the metainfo launches it.
    grep -qx "Exec=tessaluma" "$desktop" || fail "Exec is not tessaluma"
    grep -qx "Icon=$id" "$desktop" || fail "Icon is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop<" "$metainfo" || fail "launchable"

    desktop-file-validate "$desktop" || fail "desktop-file-validate"
    appstreamcli validate --no-net --no-color "$metainfo" || fail "appstreamcli validate"
elif [ "$mode" = lintian ]; then
    cpack --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
    # As root it warns that it should not run as root, on stderr; the findings go to stdout.
    lintian --fail-on error,warning "$work"/package/*.deb 2>/dev/null || fail "lintian"
else
    cpack --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
    deb=$(echo "$work"/package/*.deb)
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' |
        sort >"$work/package.txt"
    (cd "$work/root" && find . ! -type d | sed 's|^\./||' | sort) >"$work/install.txt"
    diff -u "$work/install.txt" "$work/package.txt" || fail "the package and the install differ"
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in fonts-wine libqt6widgets6 libjpeg62-turbo; do
        grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
    done
fi
[ "$failures" -eq 0 ]
