#!/usr/bin/env bash
# run-demo.sh BUILD_DIR
# The first-run paths of scripts/run, on the build of the tests:
#   --screenshot FILE, with no display at all, saves a picture of the demo's screen and ends;
#   --demo, ended from outside, ends the program and removes its scratch directory, as the
#   screenshot run does when it ends by itself.
set -euo pipefail
build=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tessaluma-run.XXXXXX")
trap 'rm -rf "$work"' EXIT
export TESSALUMA_BUILD_DIR=$build TMPDIR=$work/tmp
mkdir -p "$TMPDIR" "$work/shots"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
scratch() { find "$TMPDIR" -maxdepth 1 -name 'tessaluma-demo.*' | wc -l; }

(
    unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XAUTHORITY
    cd "$work" && "$root/scripts/run" --screenshot shots/demo.png
) >"$work/screenshot.log" 2>&1 || { cat "$work/screenshot.log"; fail "--screenshot failed"; }
if [ -s "$work/shots/demo.png" ]; then
    # The whole screen, with the windows on it: many colours, not an empty screen.
    file -b "$work/shots/demo.png" | grep -q "PNG image data, 1920 x 1200" || fail "not the screen"
    colours=$(convert "$work/shots/demo.png" -format %k info:)
    [ "$colours" -gt 100 ] || fail "the picture has $colours colours"
else
    cat "$work/screenshot.log"
    fail "no picture"
fi
[ "$(scratch)" -eq 0 ] || fail "--screenshot left its scratch directory"

QT_QPA_PLATFORM=offscreen "$root/scripts/run" --demo >"$work/demo.log" 2>&1 &
run=$!
for _ in $(seq 100); do
    [ "$(scratch)" -eq 1 ] && [ -f "$(find "$TMPDIR" -name Tessaluma.ini | head -1)" ] && break
    sleep 0.1
done
[ "$(scratch)" -eq 1 ] || fail "--demo made no scratch directory"
sleep 1
kill -TERM "$run"
wait "$run" 2>/dev/null || true
[ "$(scratch)" -eq 0 ] || fail "--demo left its scratch directory"
pgrep -f "$build/tools/tessaluma-demo" >/dev/null && fail "the demo program is still running"
[ "$failures" -eq 0 ]
