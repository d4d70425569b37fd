#!/bin/bash
# The page's frame rate in headless chromium (software WebGL: SwiftShader)
# against the native program's at the same size on this machine (Mesa's
# llvmpipe: desktop GL on Xvfb and OpenGL ES with no X server), and the
# download size of the zip. Run by hand, not by the test command.
# The page's number is a play's frames over wall time (its swaps wait for
# the browser's animation frames); the native ones are the program's own
# render time per frame of a capture of 60 s to 66 s.
# Usage: benchmark.sh HEDEN_WEB_ZIP RUN_DIR   (RUN_DIR: heden, blob.dat, config.xml, pool/)
set -eu
zip=$(realpath "$1") run=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$out" && unzip -q "$zip")
track=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$run/pool/quorvane_28_juli.ogg")
(cd "$here" && [ -d node_modules/playwright-core ] || npm ci --no-audit --no-fund >/dev/null)
env -u DISPLAY node "$here/web_test.mjs" "$out/heden" "$out" "$track" 800x450 >"$out/page.txt" 2>&1 || true
page_ms=$(python3 -c "import json,sys; print(round(json.load(open(sys.argv[1]))['frame_ms'], 1))" "$out/measurements.json")
ready_ms=$(python3 -c "import json,sys; print(round(json.load(open(sys.argv[1]))['ready_ms']))" "$out/measurements.json")
echo "zip: $(stat -c %s "$zip") bytes"
echo "page: ready to play $ready_ms ms after the address was opened (blob.dat in, program compiled)"
echo "page: $page_ms ms a frame while playing ($(awk -v m="$page_ms" 'BEGIN { printf "%.1f", 1000 / m }') fps), chromium + SwiftShader"
bash "$here/../../gles/frame_time_benchmark.sh" "$run" 1 60 66 25
