#!/usr/bin/env bash
# run-demo.sh BUILD_DIR: scripts/run's first-run paths on the tests' build. --screenshot, with
# no display at all, saves a picture of the demo's screen; --demo, ended from outside, ends the
# program; both remove their scratch directory.
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/tessaluma-run.XXXXXX")
trap 'rm -rf "$work"' EXIT
export TESSALUMA_BUILD_DIR=$1 TMPDIR=$work/tmp
run=$(dirname "${BASH_SOURCE[0]}")/../../scripts/run
mkdir -p "$TMPDIR"
fail() { echo "FAIL: $*" >&2; exit 1; }
scratch() { find "$TMPDIR" -maxdepth 1 -name 'tessaluma-demo.*' | wc -l; }

env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$run" --screenshot "$work/demo.png" ||
    fail "--screenshot failed"
file -b "$work/demo.png" | grep -q "PNG image data, 1920 x 1200" || fail "no picture of the screen"
[ "$(convert "$work/demo.png" -format %k info:)" -gt 100 ] || fail "the screen shows nothing"
[ "$(scratch)" -eq 0 ] || fail "--screenshot left its scratch directory"

QT_QPA_PLATFORM=offscreen "$run" --demo >/dev/null &
for _ in $(seq 100); do
    [ -n "$(find "$TMPDIR" -name Tessaluma.ini)" ] && break
    sleep 0.1
done
sleep 1
kill -TERM $! && wait $! || true
[ "$(scratch)" -eq 0 ] || fail "--demo left its scratch directory"
! pgrep -f "$1/tools/tessaluma-demo" >/dev/null || fail "the demo program is still running"
