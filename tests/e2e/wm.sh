#!/bin/bash
# The shipped program under a real window manager (openbox on a private
# Xvfb): what the window manager is told about each window, error boxes
# owned by the main window and centred over it, no frames while minimised,
# F4 tapped quickly, and the windowed demo and a box over it as screenshots.
# Usage: wm.sh HEDEN CONFIG_XML SCREENSHOT_DIR POOL_DIR
set -u
heden=$(realpath "$1") shipped_config=$(realpath "$2") shots=$(realpath -m "$3") pool=$(realpath "$4")
source "$(dirname "$0")/../../scripts/lib/display.sh"
source "$(dirname "$0")/checks.sh"
mkdir -p "$shots"
openbox=
# A display of our own: nothing else may run under this window manager.
xvfb_log=xvfb.log private_display || { echo "FAILED: no display of our own in :200-:299"; exit 1; }
trap 'kill $pid $openbox $xvfb 2>/dev/null; rm -rf "$run"' EXIT
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id # 0x'; }
wm_up_or_gone() { wm_up || ! kill -0 $openbox 2>/dev/null; }
# A busy server can refuse a connection for a moment: openbox then gives up.
for _ in 1 2 3; do
    openbox >openbox.log 2>&1 &
    openbox=$!
    until_true 10 wm_up_or_gone
    wm_up && break
done
check "openbox manages display $DISPLAY" wm_up

prop() { xprop -notype -id "$1" "$2" | sed 's/^[^=]*= //'; }
geometry() {  # x y width height of a window's own area on the screen ("root": the screen)
    [ -n "$1" ] || return 1  # xwininfo without an id waits for a click
    if [ "$1" = root ]; then xwininfo -root; else xwininfo -id "$1"; fi | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                             /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}
centre_offset() {  # largest distance between the centres of two windows
    read -r ax ay aw ah <<<"$(geometry "$1")"
    read -r bx by bw bh <<<"$(geometry "$2")"
    [ -n "$ah" ] && [ -n "$bh" ] || { echo unknown; return; }
    dx=$(((2 * ax + aw - 2 * bx - bw) / 2)) dy=$(((2 * ay + ah - 2 * by - bh) / 2))
    echo $((${dx#-} > ${dy#-} ? ${dx#-} : ${dy#-}))
}
identified() {  # WM_CLASS, _NET_WM_PID and WM_CLIENT_MACHINE of each window
    for id; do
        test "$(prop "$id" WM_CLASS)" = '"heden", "Heden"' -a "$(prop "$id" _NET_WM_PID)" = "$pid" \
            -a "$(prop "$id" WM_CLIENT_MACHINE)" = "\"$(hostname)\"" || return 1
    done
}
fixed_size() {  # WM_NORMAL_HINTS pin the size to the window's own
    local hints w h
    hints=$(xprop -id "$1" WM_NORMAL_HINTS)
    read -r _ _ w h <<<"$(geometry "$1")"
    grep -q "minimum size: $w by $h" <<<"$hints" && grep -q "maximum size: $w by $h" <<<"$hints"
}
new_box() { until_true 30 new_box_now "${1:-none}"; }  # waits for an error box other than $1, prints its id
new_box_now() { boxes_up | grep -vx "$1" | head -1 | grep .; }
windows_sized() {  # our visible windows of WIDTH by HEIGHT
    for id in $(xdotool search --onlyvisible --name '^heden$' 2>/dev/null); do
        [ "$(geometry "$id" 2>/dev/null | cut -d' ' -f3-)" = "$1 $2" ] && echo "$id"
    done
}
caption_and_close='0x3, 0x24, 0x1a, 0x0, 0x0'

# No blob.dat: the program says so in a box before it has a window, then
# reads pool/ from disk, where one texture is missing: a second box, over
# the loading picture.
sed 's|<console>0</console>|<console>1</console>|; s|<timeline>0</timeline>|<timeline>1</timeline>|; s|<enabled>1</enabled>|<enabled>0</enabled>|' \
    "$shipped_config" > config.xml
mkdir pool
ln -s "$pool"/* pool/
rm pool/mizzle.png
started=$(date +%s%N)
"$heden" >out.txt 2>err.txt &
pid=$!
box=$(new_box)
check "a box at start-up" test -n "$box"
check "the box without a window is centred on the screen (off by $(centre_offset "$box" root))" \
    test "$(centre_offset "$box" root)" -le 2
check "it belongs to no window" bash -c "xprop -id $box WM_TRANSIENT_FOR | grep -q 'not found'"
check "it says who it is" identified "$box"
check "it has a caption and a close box" test "$(prop "$box" _MOTIF_WM_HINTS)" = "$caption_and_close"
check "it keeps its size" fixed_size "$box"
# Escape dismisses the box and goes no further: the window below it would
# take it as the quit key.
xdotool key --window "$box" Escape
box2=$(new_box "$box")
main=$(windows_sized 800 600 | head -1)
check "a box over the main window" test -n "$box2" -a -n "$main"
import -window root "$shots/wm_box.png" 2>/dev/null
check "it belongs to the main window" bash -c "xprop -id '$box2' WM_TRANSIENT_FOR | grep -qx '.*window id # $(printf 0x%x "$main")'"
check "it is centred over it (off by $(centre_offset "$box2" "$main"))" test "$(centre_offset "$box2" "$main")" -le 2
# Moved aside, the box leaves the loading picture as it was, not its trail.
read -r bx by bw bh <<<"$(geometry "$box2")"
xdotool windowmove "$box2" 900 40
until_true 30 bash -c "xwininfo -id $box2 | grep -q 'Absolute upper-left X:  90[01]'"
white_share() {  # of what the screen shows where the box was
    white=$(import -window root png:- | convert - -crop "${bw}x$bh+$bx+$by" +repage -fill black +opaque white -format '%[fx:mean]' info:)
    [ "$white" = 0 ]
}
until_true 10 white_share
check "no trail where the box was (white share $white)" test -n "$bh" -a "$white" = 0
xdotool key --window "$box2" Escape
until_true 30 grep -qx "silence?" out.txt
check "both boxes said what was missing, once each" bash -c "grep -q 'gone fishing' err.txt && grep -q 'mizzle.png does not exist' err.txt && test \$(grep -c 'gone fishing\|mizzle.png does not exist' err.txt) = 2"
check "the program goes on after both boxes" kill -0 $pid

# The windows of the running demo.
main=$(windows_sized 800 600 | head -1)
debug=$(windows_sized 512 128 | head -1)
check "main window and debug window" test -n "$main" -a -n "$debug"
check "both say who they are" identified "$main" "$debug"
check "the main window has a caption and a close box" test "$(prop "$main" _MOTIF_WM_HINTS)" = "$caption_and_close"
check "the main window keeps its size" fixed_size "$main"

# Minimised, nothing is drawn: the program sleeps, its CPU time stands
# nearly still (a frame takes far more). Load beside it only slows it, and a
# frame begun before the minimise may still be finishing: it gets a few
# tries to come to rest. Restored, it draws again.
cpu_ticks() { awk '{print $14 + $15}' /proc/$pid/stat; }
viewable() { xwininfo -id "$main" | grep -q IsViewable; }
resting() {  # at most 20 CPU ticks in 2 s
    local before
    before=$(cpu_ticks)
    # The time passing is what is measured here: nothing is waited for.
    sleep 2  # the span measured, not a wait for something to finish
    ticks=$(($(cpu_ticks) - before))
    [ "$ticks" -le 20 ]
}
xdotool windowminimize "$main"
until_true 30 bash -c "! xwininfo -id $main | grep -q IsViewable"
for _ in 1 2 3 4 5; do resting && break; done
check "minimised: no frames drawn ($ticks CPU ticks in 2 s)" test "$ticks" -le 20
xdotool windowactivate "$main"
until_true 30 viewable
check "restored: drawing again" moving

# Ten quick taps of F4: ten toggles, one per press, in order, so back in a
# window. Every window creation makes five render targets. A frame is drawn
# only once every key that came before it is handled: after a frame in the
# last window, no more toggles can follow.
created() { echo $(($(grep -c 'done with no errors' out.txt) / 5)); }
ten_more() { [ $(($(created) - before)) -ge 10 ]; }
xdotool windowfocus --sync "$main"
before=$(created)
xdotool key --delay 30 F4 F4 F4 F4 F4 F4 F4 F4 F4 F4
until_true 60 ten_more
main=$(windows_sized 800 600 | head -1)
check "still alive and drawing" moving
toggles=$(($(created) - before))
check "ten taps, ten toggles ($toggles)" test "$toggles" = 10
check "back in a window, no fullscreen frame left" test -n "$main" -a -z "$(windows_sized 1280 1024)"
import -window root "$shots/wm_windowed.png" 2>/dev/null

# Fullscreen: an undecorated frame over the screen, also ours.
popup_up() { popup=$(windows_sized 1280 1024 | head -1); [ -n "$popup" ]; }
xdotool key F4
until_true 10 popup_up
check "F4: a fullscreen frame" test -n "$popup"
check "the frame is undecorated" test "$(prop "$popup" _MOTIF_WM_HINTS)" = '0x2, 0x0, 0x0, 0x0, 0x0'
xdotool key Escape
wait_exit
check "Escape quits with 0" test "$code" = 0
echo "run took $((($(date +%s%N) - started) / 1000000)) ms"
[ $failures = 0 ] || tail -n 5 err.txt openbox.log xvfb.log

summary
