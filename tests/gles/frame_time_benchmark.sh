#!/bin/bash
# Frame time of the ES path against the desktop GL path, same size, same
# llvmpipe underneath: a capture of the same stretch each way (stills off,
# lossless video), the program's own per-frame render time from its
# summary line. Run by hand, not by the test command.
# Usage: frame_time_benchmark.sh RUN_DIR [START END FPS]
#   RUN_DIR holds heden, blob.dat, config.xml and pool/.
set -eu
run=$(realpath "$1") start=${2:-60} end=${3:-66} fps=${4:-25}
source "$(dirname "$(realpath "$0")")/../../scripts/lib/display.sh"
out=$(mktemp -d)
trap 'rm -rf "$out"; [ -n "${xvfb:-}" ] && kill $xvfb 2>/dev/null' EXIT
cd "$run"
render_ms() { sed -n 's/.*per frame: render \([0-9.]*\) ms.*/\1/p' "$1"; }
env -u DISPLAY ./heden --gl es --capture "$out/es.mkv" --start "$start" --end "$end" --fps "$fps" >"$out/es.txt" 2>&1
private_display
./heden --capture "$out/glx.mkv" --start "$start" --end "$end" --fps "$fps" >"$out/glx.txt" 2>&1
printf 'render per frame, %s s to %s s at %s fps (%s):\n' "$start" "$end" "$fps" "$(grep -o '<width>[0-9]*' config.xml | head -1 | tr -d '<width>') wide"
printf '  desktop GL (GLX on Xvfb): %s ms\n  OpenGL ES (EGL, no X):    %s ms\n' "$(render_ms "$out/glx.txt")" "$(render_ms "$out/es.txt")"
