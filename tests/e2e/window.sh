#!/bin/bash
# The real programs in a window on the X display in DISPLAY: the archive
# maker records a run, the shipped program plays it back with the debug
# console and timeline, a click in the timeline seeks, Escape quits.
# Usage: window.sh HEDEN BLOBMAKER CONFIG_XML SCREENSHOT_DIR POOL_DIR
set -u
heden=$1 maker=$2 shipped_config=$3 shots=$4 pool=$5
source "$(dirname "$0")/checks.sh"
mkdir -p "$shots"
ln -s "$pool" pool
window_named() { until_true 30 named_now "$1"; }  # waits for a window with this exact title, prints its id
named_now() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 | grep .; }
# Without music the timeline spans the configured length.
length=$(sed -n 's|.*<length>\(.*\)</length>.*|\1|p' "$shipped_config")

sed 's|<console>0</console>|<console>1</console>|; s|<timeline>0</timeline>|<timeline>1</timeline>|; s|<enabled>1</enabled>|<enabled>0</enabled>|' \
    "$shipped_config" > config.xml
# What a run loads, in order: the two icons, the loading picture, the five
# shaders, the loading picture again, the dolphin, the textures, the sky
# sets (front, right, left, up, down, back), the stored meshes, the music.
loads="pool/icon.pcx pool/icons.pcx pool/loading.png"
for s in glow_hor glow_ver zbuffer hdr_low hdr_hi; do loads="$loads pool/shader/$s.txt"; done
loads="$loads pool/loading.png pool/dolphin.lwo pool/test.png pool/mizzle.png pool/particle.png pool/tarrow.png"
for n in c f k l m s t z; do loads="$loads pool/noise_$n.png"; done
for set in 0 1 2; do for f in f r l u d b; do loads="$loads pool/cubemap_$set$f.png"; done; done
loads="$loads pool/iso/tekst.bin pool/iso/canyon.bin pool/quorvane_28_juli.ogg"
count=$(echo $loads | wc -w)
total=$(cat $loads | wc -c)
music=$(wc -c < pool/quorvane_28_juli.ogg)

# Record the run's files into blob.dat.
"$maker" >maker.txt 2>maker_err.txt &
pid=$!
main=$(window_named heden)
check "archive maker opens its window" test -n "$main"
# Escape once the run has loaded everything, the music last, to a window
# of the run (the first one found may be the start-up probe's, gone since).
until_true 60 grep -qx "silence?" maker.txt
xdotool key --window "$(window_named heden)" Escape
wait_exit
check "archive maker quits on Escape with 0" test "$code" = 0
check "blob.dat holds the $count files loaded" test "$(tail -c 4 blob.dat | od -An -tu4 | tr -d ' ')" = "$count"
check "blob.dat is those files back to back" cmp <(tail -c +5 blob.dat | head -c "$total") <(cat $loads)
check "the maker showed no box" test ! -s maker_err.txt

# Play it back from the archive.
launched=$(date +%s.%N)
"$heden" >out.txt 2>err.txt &
pid=$!
window_named heden >/dev/null
# Precalc runs behind the loading picture; the music is set up after it.
until_true 60 grep -qx "silence?" out.txt
# Both windows carry the caption.
check "main window and debug window" until_true 10 two_windows --name '^heden$'
check "driver table" grep -q "^ vendor               | device                               | version$" out.txt
check "33 entry points found" test "$(grep -cE '^ +([1-9]|[12][0-9]|3[0-3]) \| +[a-zA-Z0-9]+ \| 0x[0-9a-f]{8} $' out.txt)" = 33
check "probe done" grep -qx "multisample_test() done .. " out.txt
check "five render targets" test "$(grep -c 'done with no errors' out.txt)" = 5
check "the archive serves the music last" grep -q "^blob read $count :: \`pool/quorvane_28_juli.ogg\` ${music}B $" out.txt
# Precalc reports in order: generated volumes, the dolphin, frames, tunnel
# segments, prisms, the stored meshes, list sharing and the GL error check.
reports=$(grep -E '^<finalize `|^w g l$|gl errors' out.txt | sed -E 's/ [0-9]+tris [0-9]+verts>/>/' | tr '\n' ' ')
expected='<finalize `sphere`> <finalize `basket`> <finalize `pole`> <finalize `lwo`> <finalize `dolfijn`> '
expected+='<finalize `wire0`> <finalize `wire1`> <finalize `wire2`> <finalize `wireTujnnel`> <finalize `wireTujnnel`> '
expected+='<finalize `hexa`> <finalize `airship`> <finalize `hexa`> <finalize `airship`> <finalize `hexa`> <finalize `column`> '
expected+='<finalize `pool/iso/tekst.bin`> <finalize `pool/iso/canyon.bin`> w g l no gl errors so far '
[ "$reports" = "$expected" ] || echo "precalc reports: $reports"
check "precalc reports in order" test "$reports" = "$expected"
check "no shader build failed" bash -c '! grep -q "glsl build\[" out.txt'
check "frames draw without GL errors" bash -c '! grep -qx "gl errors.." out.txt' 
check "silent run" grep -qx "silence?" out.txt
# The first frame can take a while; the timeline shows its playhead then.
# The demo starts at 0: the playhead can be no further right than the time
# since the launch takes it.
until_true 30 eval '[ -n "$(playhead_column "$debug" "$shots/timeline_before.png")" ]'
import -window root "$shots/window_start.png" 2>/dev/null
before=$(playhead_column "$debug" "$shots/timeline_before.png")
most=$(columns_in "$(seconds_since "$launched")")
check "playhead starts near the left edge (column $before of at most $most)" \
    test -n "$before" -a "${before:-999}" -le "$most"
# A click seeks: the playhead goes there and on from there, no further than
# the time since the click takes it. Frames are slow on a busy software
# renderer: look until the playhead moved.
clicked=$(date +%s.%N)
xdotool mousemove --window "$debug" 256 64 click 1
until_true 30 eval '[ "$(playhead_column "$debug" "$shots/timeline_after.png")" -ge 256 ] 2>/dev/null'
after=$(playhead_column "$debug" "$shots/timeline_after.png")
most=$((256 + $(columns_in "$(seconds_since "$clicked")")))
check "a click at x 256 seeks to the middle (column $after, at most $most)" \
    test -n "$after" -a "${after:-0}" -ge 256 -a "${after:-0}" -le "$most"
# A scene, not a cleared frame: the middle of the demo (the poles under the
# flashing arrow picture) shows many colours. (The title starts black.) The
# timeline is shown after the frame: the main window holds one from after
# the click.
colours=$(import -window "$main" -crop 400x200+200+200 +repage png:- 2>/dev/null | convert - -format %k info:)
check "the picture is a scene ($colours colours)" test "${colours:-0}" -gt 200
xdotool key --window "$main" Escape
wait_exit
check "Escape quits with 0" test "$code" = 0
check "no box in a clean run" test ! -s err.txt
check "archive summary at exit" grep -q "^io blob system offline..  ($total bytes read in $count files),$" out.txt

summary
