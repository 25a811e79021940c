#!/usr/bin/env bash
# check.sh install|package BUILD_DIR APP_ID
#   install: installs the build into a scratch DESTDIR under /usr and checks that the program,
#            the desktop entry, the icons, the metainfo and the licence are there and agree
#            with one another, and that desktop-file-validate and appstreamcli accept them.
#   package: builds the Debian package with cpack and checks that it holds exactly the files
#            of the install, with dependencies computed from the program plus the fonts.
set -euo pipefail
mode=$1 build=$2 id=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/tessaluma-packaging.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

if [ "$mode" = install ]; then
    desktop=$usr/share/applications/$id.desktop
    metainfo=$usr/share/metainfo/$id.metainfo.xml
    for f in "$desktop" "$metainfo" "$usr/share/doc/tessaluma/copyright"; do
        [ -s "$f" ] || fail "missing ${f#"$root"}"
    done
    [ -x "$usr/bin/tessaluma" ] || fail "missing /usr/bin/tessaluma"

    # Each icon has the size its folder names, and the sizes menus and panels ask for are there.
    for size in 16 32 48 256; do
        [ -f "$usr/share/icons/hicolor/${size}x$size/apps/$id.png" ] || fail "no ${size}px icon"
    done
    for icon in "$usr"/share/icons/hicolor/*/apps/*.png; do
        size=$(basename "$(dirname "$(dirname "$icon")")")
        file -b "$icon" | grep -q "PNG image data, ${size/x/ x }," ||
            fail "${icon#"$root"} is not a $size PNG: $(file -b "$icon")"
    done

    # The entry starts the installed program and names the installed icon; the metainfo
    # launches that entry.
    key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
    [ "$(key Exec)" = tessaluma ] || fail "Exec is '$(key Exec)'"
    [ "$(key Icon)" = "$id" ] || fail "Icon is '$(key Icon)'"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $id.desktop"

    desktop-file-validate "$desktop" || fail "desktop-file-validate"
    appstreamcli validate --no-net --no-color "$metainfo" >"$work/appstream.txt" 2>&1 ||
        { cat "$work/appstream.txt"; fail "appstreamcli validate"; }
elif [ "$mode" = package ]; then
    cpack --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
    debs=("$work"/package/*.deb)
    [ ${#debs[@]} -eq 1 ] || { echo "FAIL: cpack made ${#debs[@]} packages" >&2; exit 1; }
    deb=${debs[0]}
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort >"$work/package.txt"
    (cd "$root" && find . ! -type d | sed 's|^\./||' | sort) >"$work/install.txt"
    diff -u "$work/install.txt" "$work/package.txt" || fail "the package's files differ from the install"

    depends=$(dpkg-deb -f "$deb" Depends)
    for package in fonts-wine libqt6widgets6 libjpeg62-turbo; do
        grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
    done
else
    echo "usage: check.sh install|package BUILD_DIR APP_ID" >&2
    exit 2
fi
[ "$failures" -eq 0 ]
