#!/bin/sh
# Builds tools/upcase_table.cpp for Windows with mingw-w64 and runs it under Wine: with no
# argument it prints the runs of the upper-case table for platform/UpperCase.cpp, with --check it
# compares that table with the one Windows (here Wine) uses for file names.
# Needs the Debian packages g++-mingw-w64-x86-64-posix and wine.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -I"$ROOT" -o "$WORK/upcase_table.exe" \
    "$ROOT/tools/upcase_table.cpp" "$ROOT/platform/UpperCase.cpp" -lntdll
# A Wine prefix of its own, so the check touches no one else's.
status=0
WINEPREFIX="$WORK/prefix" WINEDEBUG=-all wine "$WORK/upcase_table.exe" "$@" >"$WORK/out" 2>/dev/null ||
    status=$?
tr -d '\r' <"$WORK/out"
exit $status
