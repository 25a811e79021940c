#!/usr/bin/env bash
# check-windows.sh BUILD_DIR OBJDUMP: the folder the Windows installer fills, installed into a
# scratch folder, holds the program, the licence, Qt's windows platform, and every DLL that the
# program and those DLLs load, except Windows' own (those of Wine's system folder in the build's
# Wine prefix, and the API sets). A DLL missing there would stop the installed program before
# its first window.
set -euo pipefail
build=$1 objdump=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/tessaluma-packaging.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$work/root" >/dev/null
root=$work/root
for f in tessaluma.exe LICENSE.txt platforms/qwindows.dll; do
    [ -s "$root/$f" ] || fail "missing $f"
done
grep -qi "subsystem.*Windows GUI" <("$objdump" -p "$root/tessaluma.exe") ||
    fail "tessaluma.exe opens a console window"

# Windows' own DLLs, as Wine has them (made by the build's first Wine run). Windows finds a
# DLL whatever the letter case of its name.
system=$build/wine/drive_c/windows/system32
[ -d "$system" ] || "$build/wine-run" cmd /c exit
(ls "$root"; ls "$system") | tr '[:upper:]' '[:lower:]' | sort -u >"$work/loadable.txt"
shopt -s nullglob
for binary in "$root"/*.exe "$root"/*.dll "$root"/*/*.dll; do
    for dll in $("$objdump" -p "$binary" | awk '/DLL Name:/ {print $3}'); do
        # API sets: names the loader maps onto Windows' own DLLs, never files.
        [[ "$dll" =~ ^(api|ext)-ms- ]] && continue
        grep -qxF "$(tr '[:upper:]' '[:lower:]' <<<"$dll")" "$work/loadable.txt" ||
            fail "${binary#"$root/"} loads $dll, which is not installed"
    done
done
[ "$failures" -eq 0 ]
