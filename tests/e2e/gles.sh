#!/bin/bash
# The demo drawn on OpenGL ES through EGL, with no X server: `--gl es` runs
# with DISPLAY unset. Its stills at ten times across the demo must be the
# desktop GL program's stills of the same frames within 45 dB PSNR (glow
# included), and lie clearly nearer to them than to the stills without the
# glow (glext 0: at least 10 dB less alike, dark scenes included); a 2 s
# capture's frames must be its stills. Only the desktop reference stills
# need a display (a private Xvfb).
# Usage: gles.sh HEDEN BLOBMAKER CONFIG_XML POOL_DIR
set -u
heden=$(realpath "$1") maker=$(realpath "$2") shipped_config=$(realpath "$3") pool=$(realpath "$4")
here=$(dirname "$(realpath "$0")")
source "$here/../../scripts/lib/display.sh"
source "$here/checks.sh"
source "$here/pictures.sh"
ln -s "$pool" pool
cp "$shipped_config" config.xml
times=(8 20 35 50 64 70 78 85 95 120)
stills() {  # stills PREFIX: the --still arguments for every time
    for t in "${times[@]}"; do printf -- '--still\n%s:%s-%s.png\n' "$t" "$1" "$t"; done
}

# The archive maker records blob.dat on ES as well: no display at all.
env -u DISPLAY "$maker" --gl es --still 0:record.png >maker.txt 2>&1
check "the archive maker records blob.dat with --gl es and no display" test $? -eq 0 -a -s blob.dat

mapfile -t es_args < <(stills es)
env -u DISPLAY "$heden" --gl es "${es_args[@]}" >es.txt 2>&1
check "ES stills with no display" test $? -eq 0
check "the ES path calls nothing the library lacks" test -z "$(grep 'does not implement' es.txt)"

sed 's|<glext>1</glext>|<glext>0</glext>|' "$shipped_config" > config.xml
mapfile -t flat_args < <(stills flat)
env -u DISPLAY "$heden" --gl es "${flat_args[@]}" >flat.txt 2>&1
check "ES stills without render targets (glext 0)" test $? -eq 0
cp "$shipped_config" config.xml

private_display
mapfile -t glx_args < <(stills glx)
"$heden" "${glx_args[@]}" >glx.txt 2>&1
check "desktop GL stills on Xvfb" test $? -eq 0
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null

glow_checks ES es 45 "${times[@]}"

# A 2 s capture: every 10th frame is the still of its time.
env -u DISPLAY "$heden" --gl es --capture cap.mkv --start 63 --end 65 --fps 10 \
    --still 63:cap-63.png --still 64:cap-64.png --still 64.9:cap-64.9.png >cap.txt 2>&1
check "a 2 s ES capture with no display" test $? -eq 0 -a -s cap.mkv
frame_hashes() {
    ffmpeg -v error -i "$1" -map 0:v -pix_fmt rgb24 -f framemd5 - | grep -v '^#' | awk -F, '{print $NF}' | tr -d ' '
}
frame_hashes cap.mkv > cap.md5
check "20 frames" test "$(wc -l < cap.md5)" = 20
check "the capture's first frame is the still at 63 s" test "$(frame_hashes cap-63.png)" = "$(sed -n 1p cap.md5)"
check "its frame 10 is the still at 64 s" test "$(frame_hashes cap-64.png)" = "$(sed -n 11p cap.md5)"
check "its last frame is the still at 64.9 s" test "$(frame_hashes cap-64.9.png)" = "$(sed -n 20p cap.md5)"
summary
