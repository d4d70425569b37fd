#!/bin/bash
# The demo as a web page, in Debian's chromium (headless, software WebGL):
# the page's stills at eight times across the demo against the desktop
# program's `--still` of the same frames (at least 35 dB PSNR) and clearly
# unlike the stills without the glow (glext 0); then a play: sound after the
# click, the picture moving, the timeline following the audio, Space, a
# click on the strip, Escape; and the samples the page played equal to what
# our sound library feeds a device for the same stretch.
# Usage: web.sh HEDEN_WEB_ZIP HEDEN AUDIO_FEED_PCM POOL_DIR CONFIG_XML
set -u
zip=$(realpath "$1") heden=$(realpath "$2") feed=$(realpath "$3") pool=$(realpath "$4") shipped_config=$(realpath "$5")
here=$(dirname "$(realpath "$0")")
source "$here/../../scripts/lib/display.sh"
source "$here/checks.sh"
source "$here/pictures.sh"
times=(8 20 35 50 64 85 135 146)

unzip -q "$zip"
check "the zip holds the page, the program and blob.dat" \
    test -s heden/index.html -a -s heden/heden.js -a -s heden/heden.wasm -a -s heden/blob.dat

# The desktop program's stills from the same blob.dat, with and without
# the glow, on a private Xvfb display.
mkdir desktop && cp heden/blob.dat desktop/ && cd desktop
private_display
for kind in glx flat; do
    if [ $kind = flat ]; then sed 's|<glext>1</glext>|<glext>0</glext>|' "$shipped_config" > config.xml; else cp "$shipped_config" config.xml; fi
    args=()
    for t in "${times[@]}"; do args+=(--still "$t:../$kind-$t.png"); done
    "$heden" "${args[@]}" > ../$kind.txt 2>&1
    check "desktop stills ($kind) on Xvfb" test $? -eq 0
done
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
cd ..
area=$(identify -format '%wx%h' "glx-${times[0]}.png")
track=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$pool/quorvane_28_juli.ogg")

(cd "$here/web" && [ -d node_modules/playwright-core ] || npm ci --no-audit --no-fund >/dev/null)
# The browser needs no X display: one in DISPLAY that is gone would take
# its WebGL away.
env -u DISPLAY node "$here/web/web_test.mjs" heden . "$track" "$area" "${times[@]}" 2>&1 | tee browser.txt
check "the browser test" test "${PIPESTATUS[0]}" -eq 0

glow_checks "the page's" web 35 "${times[@]}"

# The music as the page played it, from its first sound on, against our
# library's feed of the same file at the same rate.
"$feed" "$pool/quorvane_28_juli.ogg" 44100 12 feed.raw
check "the page played what our decoder decodes" python3 - audio.raw feed.raw <<'PY'
import sys, array
played, fed = (array.array('h', open(f, 'rb').read()) for f in sys.argv[1:3])
first = lambda a: next((i - i % 2 for i, s in enumerate(a) if s), None)
p, f = first(played), first(fed)
if p is None or f is None:
    sys.exit('no sound in the ' + ('page' if p is None else 'feed'))
n = min(len(played) - p, len(fed) - f) // 2
same = next((i for i in range(2 * n) if played[p + i] != fed[f + i]), 2 * n) // 2
print(f'{same} of {n} frames from the first sound on are the same ({same / 44100:.2f} s)')
sys.exit(0 if same >= 44100 * 2 else 1)
PY
cp measurements.json "${HEDEN_WEB_MEASUREMENTS:-/dev/null}" 2>/dev/null || true
summary
