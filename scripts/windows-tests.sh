#!/usr/bin/env bash
# windows-tests.sh BUILD_DIR [CTEST ARGS...]: runs the tests of a Windows build under Wine
# through CTest (scripts/windows runs it), then prints how many passed, failed and were skipped,
# with the reason each skipped test gave. The window suites run on Qt's offscreen platform, but
# Wine's window functions, which Qt still calls, need an X display: a private Xvfb server,
# started here and stopped at the end.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"
build=$(cd "$1" && pwd)
shift

work=$(mktemp -d "${TMPDIR:-/tmp}/tessaluma-windows-tests.XXXXXX")
cleanup() {
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
start_xvfb

# The first program makes the build's Wine prefix and starts the Wine server, which the tests
# then share: that takes longer than a test may.
echo "Starting Wine (prefix $build/wine)"
"$build/wine-run" cmd /c exit

status=0
(cd "$build" && ctest --output-on-failure -j2 --timeout 120 --output-junit "$work/results.xml" "$@") ||
    status=$?

# The counts and the reasons, from CTest's JUnit report: a test GoogleTest skipped carries the
# line after "Skipped" as its reason.
if [ -f "$work/results.xml" ]; then
    awk '
        function unescape(s) {
            gsub(/&lt;/, "<", s); gsub(/&gt;/, ">", s); gsub(/&quot;/, "\"", s)
            gsub(/&apos;/, "\047", s); gsub(/&amp;/, "\\&", s)
            return s
        }
        /<testcase name="/ {
            name = $0; sub(/.*<testcase name="/, "", name); sub(/".*/, "", name)
            status = $0; sub(/.*status="/, "", status); sub(/".*/, "", status)
            if (status == "run") passed++
            else if (status == "fail") failed++
            else { skipped++; reasons[name] = "(no reason given)" }
            current = name
        }
        /: Skipped$/ && current in reasons {
            if ((getline line) > 0) reasons[current] = unescape(line)
        }
        END {
            printf "Windows tests under Wine: %d passed, %d failed, %d skipped\n", passed, failed, skipped
            for (name in reasons) printf "  skipped %s: %s\n", name, reasons[name] | "sort"
            close("sort")
        }' "$work/results.xml"
fi
exit $status
