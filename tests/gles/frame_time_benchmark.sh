#!/bin/bash
# Frame time of the ES path against the desktop GL path, same size, same
# llvmpipe underneath (one rasteriser thread each): captures of the same
# stretch each way, taken in turns, and the program's own per-frame render
# time from its summary line, the least of the rounds (a busy machine only
# ever adds time). Run by hand, not by the test command.
# Usage: frame_time_benchmark.sh RUN_DIR [ROUNDS START END FPS]
#   RUN_DIR holds heden, blob.dat, config.xml and pool/.
set -eu
run=$(realpath "$1") rounds=${2:-3} start=${3:-60} end=${4:-66} fps=${5:-25}
source "$(dirname "$(realpath "$0")")/../../scripts/lib/display.sh"
out=$(mktemp -d)
trap 'rm -rf "$out"; [ -n "${xvfb:-}" ] && kill $xvfb 2>/dev/null' EXIT
cd "$run"
private_display
export LP_NUM_THREADS=1
render_ms() { sed -n 's/.*per frame: render \([0-9.]*\) ms.*/\1/p' "$1"; }
for ((i = 0; i < rounds; ++i)); do
    env -u DISPLAY ./heden --gl es --capture "$out/es.mkv" --start "$start" --end "$end" --fps "$fps" >"$out/es.txt" 2>&1
    render_ms "$out/es.txt" >>"$out/es.ms"
    ./heden --capture "$out/glx.mkv" --start "$start" --end "$end" --fps "$fps" >"$out/glx.txt" 2>&1
    render_ms "$out/glx.txt" >>"$out/glx.ms"
done
least() { sort -n "$1" | head -1; }
echo "render per frame, $start s to $end s at $fps fps, least of $rounds rounds:"
echo "  desktop GL (GLX on Xvfb): $(least "$out/glx.ms") ms  (rounds: $(tr '\n' ' ' <"$out/glx.ms"))"
echo "  OpenGL ES (EGL, no X):    $(least "$out/es.ms") ms  (rounds: $(tr '\n' ' ' <"$out/es.ms"))"
