# Shared by the scripts that run the Windows build under Wine: a private X server for the
# windows. Source it; do not run it.

# Starts Xvfb on a display number it finds free itself and exports DISPLAY; XVFB_PID is its
# process. Fails when the server has not told its number within ten seconds.
start_xvfb() {
    local number_file
    number_file=$(mktemp "${TMPDIR:-/tmp}/tessaluma-xvfb.XXXXXX")
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$number_file" \
        </dev/null >/dev/null 2>&1 &
    XVFB_PID=$!
    local waited=0
    while ! grep -q '^[0-9]' "$number_file" 2>/dev/null; do
        if [ $waited -ge 100 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
            echo "Xvfb did not start" >&2
            rm -f "$number_file"
            return 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    export DISPLAY=":$(head -1 "$number_file")"
    rm -f "$number_file"
}

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}
