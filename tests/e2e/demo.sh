#!/bin/bash
# The whole demo through the real program on the X display in DISPLAY, the
# way a viewer scrubs it: the music plays into ALSA's paced test sink (a
# real-time device that records nothing), clicks in the timeline jump to a
# beat inside every scene, and a jump to the end of the track brings the
# closing scene. A second run without audio stays on the system clock past
# the music. Screenshots of every scene land in SCREENSHOT_DIR.
# Usage: demo.sh PROGRAM CONFIG_XML SCREENSHOT_DIR POOL_DIR PACED_SINK
set -u
program=$1 shipped_config=$2 shots=$3 pool=$4 sink=$5
source "$(dirname "$0")/checks.sh"
mkdir -p "$shots"
ln -s "$pool" pool
printf 'pcm_type.paced_sink { lib "%s" }\npcm.!default { type paced_sink }\n' "$sink" > asound.conf
export ALSA_CONFIG_PATH=$run/asound.conf

configure() {  # configure AUDIO: the console, the timeline and audio on (1) or off (0)
    sed "s|<console>0</console>|<console>1</console>|; s|<timeline>0</timeline>|<timeline>1</timeline>|; s|<enabled>1</enabled>|<enabled>$1</enabled>|" \
        "$shipped_config" > config.xml
}
# Starts the program with audio on or off. Without its windows the script
# ends here: a picture of no window would wait for a click.
start() {
    configure "$1"
    "$program" >out.txt 2>err.txt &
    pid=$!
    until_true 60 grep -qE "^(silence\?|BASS.DLL)" out.txt
    until_true 60 two_windows --pid "$pid" || { echo "FAILED: the main and the debug window of $pid were not shown"; exit 1; }
    main_at=$(origin "$main") debug_at=$(origin "$debug" 10)
    # The first frame can take a while (the software renderer compiles its
    # shaders); the timeline shows its playhead once it is out.
    until_true 30 playhead_at 0 511
}
playhead_at() {  # the timeline shows the playhead in columns FROM to TO
    local at
    at=$(playhead_column "$debug" timeline.png)
    [ -n "$at" ] && [ "$at" -ge "$1" ] && [ "$at" -le "$2" ]
}
# The timeline spans demo_length over 512 pixels: the track's own length
# when the music plays, the configured 150 s on the system clock.
length=$(ffprobe -v error -show_entries format=duration -of csv=p=0 pool/quorvane_28_juli.ogg)
column_at() { awk -v t="$1" -v l="$length" 'BEGIN { printf "%d", t / l * 512 + 0.5 }'; }
origin() {  # origin ID [DY]: where a window's area starts on the screen (DY rows down), as +X+Y
    xwininfo -id "$1" | awk -v dy="${2:-0}" '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                                             END {print "+" x "+" y + dy}'
}
# One picture of the screen (screen.ppm): the column of the playhead the
# timeline shows, which is drawn after each frame.
shown() {
    import -window root -depth 8 screen.ppm 2>/dev/null
    convert screen.ppm -crop "512x1$debug_at" +repage txt:- | awk -F'[,:]' '/#00FF00/ {print $1; exit}'
}
# Clicks the timeline where `beat` lies and keeps the main window's picture
# of a frame drawn there in FILE: the timeline shows the playhead in the
# column clicked (or the one before, rounding) to 4 columns on. The main
# window's picture can reach the screen a frame after the timeline's, so a
# picture counts once the playhead has moved on from the first frame seen
# after the click. The beats chosen keep the picture on a background other
# than black for a while; a busy machine draws slowly, and a frame seen too
# late is clicked for again.
seek_beat() {  # seek_beat BEAT FILE
    local x=$(column_at "$(awk -v b="$1" 'BEGIN { print b / 2.533333333333333 }')") at seen
    for _ in $(seq 20); do
        xdotool mousemove --window "$debug" "$x" 64 click 1
        seen=
        for _ in $(seq 100); do
            at=$(shown)
            [ -n "$at" ] && [ "$at" -ge $((x - 1)) ] || continue
            [ "$at" -le $((x + 4)) ] || break
            if [ -z "$seen" ]; then
                seen=$at
            elif [ "$at" -gt "$seen" ]; then
                convert screen.ppm -crop "800x600$main_at" +repage "$2"
                return 0
            fi
        done
    done
    return 1
}
colours() { convert "$1" -format %k info:; }
stop() {
    xdotool key --window "$main" Escape
    wait_exit
}

# Paused, the timeline shows the frames a capture from 0 shows. A click
# picks the first frame of the 60 fps grid in its column, so the playhead
# stands where it was clicked: a column near each beat below whose start is
# not at a frame's edge, and the frame it shows. The
# stills of those frames (at the middle of each) come first, from one run.
# The poles are looked at on a beat with the black background. The window
# has 4 samples a pixel here (multisample 0 asks for sample buffers with at
# least 0 samples), and Mesa's swap resolves them a hair differently from
# glReadPixels, which reads the stills: the rippled background, whose
# neighbouring quads sample the picture differently, comes out one level off
# at a few hundred pixels along its inner edges, though the samples drawn
# are the still's.
paused_beats="340 122 50 20 185.5 240 290 328"
grid_frame() {  # grid_frame BEAT: prints the column and the frame
    awk -v b="$1" -v l="$length" 'BEGIN {
        for (x = int(b / 2.533333333333333 / l * 512 + 0.5); ; x++) {
            f = l * x / 512 * 60
            if (f - int(f) > 0.01 && f - int(f) < 0.99) { print x, int(f) + 1; exit }
        }
    }'
}
frame_still() { awk -v f="$1" 'BEGIN { printf "%.6f", (f + 0.5) / 60 }'; }  # a still's time inside frame F
configure 1
stills=()
for beat in $paused_beats; do
    read -r x f <<<"$(grid_frame "$beat")"
    stills+=(--still "$(frame_still "$f"):still_$beat.png")
done
stills+=(--still "$(frame_still $((f + 60))):still_on.png")  # a second after the last
# The silent run's timeline spans the configured 150 s, past the music: the
# first frames of columns 500 and 511 there, and frame 0.
silent_frames="8790 8983 0"
for g in $silent_frames; do stills+=(--still "$(frame_still "$g"):still_silent_$g.png"); done
"$program" "${stills[@]}" >stills.txt 2>&1
check "stills of the frames to pick" test -s still_on.png
for still in still_*.png; do convert "$still" -depth 8 "rgb:${still%.png}.rgb"; done
read -r area_w area_h < <(identify -format '%w %h\n' still_on.png)

start 1  # fails and ends the script without both windows
check "the music plays on a device" bash -c '! grep -q "Bass_Init" err.txt'
declare -A seen
for scene in title:20 canyon:50 basket:52 canyon_quick:84.5 canyon_fast:90.5 tunnel:122.5 poles:190 basket_late:240 \
             tunnel_back:290 canyon_top:328 closing:338; do
    name=${scene%%:*} beat=${scene##*:}
    check "$name: a frame at beat $beat on the screen" seek_beat "$beat" "$shots/scene_$name.png"
    n=$(colours "$shots/scene_$name.png")
    check "$name at beat $beat is a picture ($n colours)" test "${n:-0}" -gt 200
    sum=$(convert "$shots/scene_$name.png" -crop 400x200+200+200 +repage rgb:- | md5sum | cut -c1-32)
    check "$name differs from every scene before it" test -z "${seen[$sum]:-}"
    seen[$sum]=$name
done
# Into the last second of the track: the closing scene follows it. Its
# time counts from the end of the track, which comes after the click: when
# read, its first time can be no more than the time since the click.
last_second=$(column_at "$(awk -v l="$length" 'BEGIN { print l - 0.6 }')")
clicked=$(date +%s.%N)
xdotool mousemove --window "$debug" "$last_second" 64 click 1
until_true 60 grep -q "^kill me " out.txt
first=$(grep -m1 "^kill me" out.txt | awk '{print $3}')
most=$(seconds_since "$clicked")
# It fades in from black over its first seconds.
latest() { grep "^kill me" out.txt | tail -1 | awk '{print $3}'; }
closing_from() { awk -v t="$(latest)" -v m="$1" 'BEGIN { exit !(t >= m) }'; }  # its time has reached M
until_true 60 closing_from 6
import -window "$main" "$shots/scene_end.png" 2>/dev/null
check "the closing scene runs after the track" grep -q "^kill me [0-9.]* $" out.txt
last=$(latest)
check "its time counts up from the end ($first, at most $most, to $last)" \
    awk -v a="$first" -v m="$most" -v b="$last" 'BEGIN { exit !(a <= m && b >= 6) }'
n=$(colours "$shots/scene_end.png")
check "the closing scene is a picture ($n colours)" test "${n:-0}" -gt 100
# A seek back into the music and to its end again: the closing time goes on
# from the first ending.
seek_beat 350 back.png
xdotool mousemove --window "$debug" "$last_second" 64 click 1
until_true 60 closing_from "$(awk -v b="$last" 'BEGIN { print b + 1 }')"
again=$(latest)
check "after a second ending the time goes on ($again)" awk -v a="$again" -v b="$last" 'BEGIN { exit !(a >= b + 1) }'

# Space holds the demo. Each click then shows the still of its frame byte
# for byte (its drawing area, centred in the window), in an order that jumps
# back from the closing stretch into the tunnel and the canyon: the frame is
# worked out from 0, not from what was shown before.
read -r win_w win_h < <(xwininfo -id "$main" | awk '/Width:/ {w=$NF} /Height:/ {h=$NF} END {print w, h}')
crop="${area_w}x${area_h}+$(((win_w - area_w) / 2))+$(((win_h - area_h) / 2))"
shows() {  # the main window's drawing area is the picture in the raw RGB file
    import -window "$main" main_window.png 2>/dev/null &&
        convert main_window.png -crop "$crop" +repage -depth 8 rgb:shown.rgb && cmp -s shown.rgb "$1"
}
xdotool key --window "$main" space
for beat in $paused_beats; do
    read -r x f <<<"$(grid_frame "$beat")"
    xdotool mousemove --window "$debug" "$x" 64 click 1
    check "paused, a click at column $x (beat $beat) shows the still of frame $f" until_true 60 shows "still_$beat.rgb"
done
# Sixty steps on from the last: the still a second later, the playhead there.
xdotool key --window "$main" --delay 20 $(printf 'Right %.0s' $(seq 60))
check "sixty steps on show the still of frame $((f + 60))" until_true 60 shows still_on.rgb
column=$(awk -v f=$((f + 60)) -v l="$length" 'BEGIN { printf "%d", 512 / l * f / 60 }')
check "the playhead shows the time held (column $column)" playhead_at $((column - 1)) $((column + 1))
# Space plays on from there: the playhead moves on.
xdotool key --window "$main" space
check "Space plays on" until_true 60 playhead_at $((column + 2)) 511
stop
check "Escape quits with 0" test "$code" = 0
check "no GL errors in any frame" bash -c '! grep -qx "gl errors.." out.txt'

# On the system clock the run holds the last picture past the music: a
# click into the last column, then past the end the playhead comes round
# to the first columns again (the timeline is shown after the frame).
start 0
xdotool mousemove --window "$debug" 511 64 click 1
until_true 30 playhead_at 505 511
until_true 30 playhead_at 0 504
import -window "$main" "$shots/scene_system_clock_end.png" 2>/dev/null
check "without audio no closing scene" bash -c '! grep -q "^kill me" out.txt'
# Held, a click past the music shows the still of the frame under the
# playhead, to the end of the bar, and the caption names it; a drag that
# leaves the timeline holds its first or last column.
length=150
xdotool key --window "$main" space
xdotool mousemove --window "$debug" 500 64 click 1
check "paused without sound, a click at column 500 shows the still of frame 8790" until_true 60 shows still_silent_8790.rgb
check "the caption names the frame held" bash -c "test \"\$(xdotool getwindowname $debug)\" = 'paused at 146.5 s, beat 371.13, frame 8790'"
check "the playhead stands where it was clicked" playhead_at 500 500
# Dragged to 40 pixels beyond either edge, on the screen (xdotool takes no
# negative offsets), as far as the screen lets the pointer go.
read -r dx dy <<<"$(echo "$debug_at" | tr '+' ' ')"
xdotool mousemove --window "$debug" 300 64 mousedown 1 mousemove $((dx + 512 + 40)) $((dy + 54)) mouseup 1
check "a drag past the right edge holds the last column" until_true 60 shows still_silent_8983.rgb
check "its playhead is in the last column" playhead_at 511 511
xdotool mousemove --window "$debug" 300 64 mousedown 1 mousemove $((dx > 40 ? dx - 40 : 0)) $((dy + 54)) mouseup 1
check "a drag past the left edge holds the first column" until_true 60 shows still_silent_0.rgb
check "its playhead is in the first column" playhead_at 0 0
stop
# The arrow picture at full strength: its own colours, up to about 190.
check "and the image flash shines at full strength at the end" \
    test "$(convert "$shots/scene_system_clock_end.png" -format '%[fx:int(255*maxima.g)]' info:)" -ge 150

summary
