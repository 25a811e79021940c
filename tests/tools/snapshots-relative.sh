#!/usr/bin/env bash
# snapshots-relative.sh DRIVE SNAPSHOT_TOOL...
# Runs the tool with a relative output folder from a scratch folder whose settings point the
# originals at another folder, so that the directory dialog moves the working directory there
# halfway through the run. Every picture must still land in the folder given. DRIVE is the
# drive the Linux root is to the tool: C: for the Linux build, Z: under Wine; a Windows tool
# comes with Wine's runner before it.
set -euo pipefail
drive=$1
shift
work=$(mktemp -d "${TMPDIR:-/tmp}/tessaluma-snapshots.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/start" "$work/photos"
photos=$drive${work//\//\\}'\photos\'
printf '[Tessaluma]\r\nPercorsoFotoOriginali=%s\r\nPercorsoFotoRidotte=%s\r\nPercorsoFotoThumbs=%s\r\n' \
    "$photos" "$photos" "$photos" >"$work/start/Tessaluma.ini"

cd "$work/start"
"$@" pictures/run >"$work/log.txt" 2>&1 || { cat "$work/log.txt"; echo "FAIL: the tool failed"; exit 1; }
for name in main-window about-box workspace workspace-marked directory-dialog value-input; do
    [ -s "$work/start/pictures/run/$name.png" ] || { echo "FAIL: no $name.png in pictures/run"; exit 1; }
done
