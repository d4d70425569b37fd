#!/bin/bash
# The 32-bit Windows programs under wine on the X display in DISPLAY, as a
# new user would run them, on the path a viewer with a GL driver gets
# (glext 1: render targets, the glow, the title flash): the archive maker
# records a run (and its blob.dat must equal the Linux maker's byte for
# byte); stills at two times must match the Linux program's stills of the
# same config and differ plainly from its stills without the glow (glext 0);
# the shipped program plays the archive with the console and timeline on,
# its music going through waveOut into ALSA's file plugin; a click in the
# timeline seeks, Space pauses (Home and Shift+Right move the frame held)
# and plays on, F4 goes fullscreen and back (the render targets made anew
# each time, and drawn into), Escape quits. A last run with glext 0 and
# without any sound device must show the audio box and go on with the
# system clock.
#
# Under wine the log reaches no stdout: WINEDEBUG=trace+console shows every
# WriteConsoleA and trace+msgbox every box text; both are read from there.
# Every wait is for something to happen, with a deadline a busy machine
# does not reach.
# Usage: wine.sh WIN32_RUN_DIR LINUX_BLOBMAKER LINUX_PROGRAM POOL_DIR CONFIG_XML SINK32_SO WORK_DIR
set -u
win32=$(realpath "$1") linux_maker=$(realpath "$2") linux_program=$(realpath "$3") pool=$(realpath "$4")
shipped_config=$(realpath "$5") sink=$(realpath "$6") work=$(realpath -m "$7")
here=$(cd "$(dirname "$0")" && pwd)
wine_run=$here/../../scripts/wine-run
rm -rf "$work"
mkdir -p "$work/linux" "$work/run"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done' EXIT
failures=0 checks=0
check() {  # check DESCRIPTION COMMAND...
    checks=$((checks + 1))
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); return 1; fi
}
source "$here/waits.sh"
source "$here/pictures.sh"

# The window of the program with this size (the console is named alike);
# with a position, only one there ("!X,Y": anywhere else); never one of the
# windows named after that. Start-up under wine precalculates for half a
# minute on a busy machine: the waits are long.
window_now() {  # window_now WxH [X,Y] [NOT_THIS_ID...]
    local id geometry
    for id in $(xdotool search --onlyvisible --name '^heden$' 2>/dev/null); do
        [[ " ${*:3} " == *" $id "* ]] && continue
        geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null)
        grep -q "Geometry: $1\$" <<<"$geometry" || continue
        case ${2:-} in
            "") ;;
            !*) grep -q "Position: ${2#!} " <<<"$geometry" && continue ;;
            *) grep -q "Position: $2 " <<<"$geometry" || continue ;;
        esac
        echo "$id"
        return 0
    done
    return 1
}
window_sized() {  # window_sized WxH [X,Y] [NOT_THIS_ID...]
    until_true 120 window_now "$@"
}
# Why a program under wine has no window. Seen once in about 30 cold
# starts on a busy machine: wine's explorer.exe came up without its X11
# driver, so no window of the session could be made and the program took
# its fatal start-up path ("no test window :(").
why_no_window() {  # why_no_window TRACE
    if grep -q "nodrv_CreateWindow" "$1"; then
        echo "   wine started without its X11 display driver (explorer.exe failed): nothing could open a window"
    fi
}
# Keys go to the focused window: there is no window manager to activate
# one. No key is pressed when the window does not take the focus.
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] || { xdotool windowfocus "$1" 2>/dev/null; false; }; }
key_to() {  # key_to WINDOW KEY
    [ -n "$1" ] && until_true 10 focused "$1" && xdotool key "$2"
}
box_gone() { [ -z "$(boxes_up)" ]; }
# Answers the box with this caption: waits for it to show, then presses
# Return on it until it is gone (its window can show before it reads keys).
dismiss_box() {
    local id
    until_true 60 boxes_up >/dev/null || return 1
    for _ in $(seq 12); do
        for id in $(boxes_up); do key_to "$id" Return; done
        until_true 5 box_gone && return 0
    done
    return 1
}
# The program's console log and box texts, from wine's trace.
console_log() {
    local hex='[0-9A-Fa-f]+'
    sed -nE "s/^[0-9a-f]+:trace:console:WriteConsoleA \\($hex,\"(.*)\",[0-9]+,$hex,$hex\\)\$/\\1/p" "$1" |
        while IFS= read -r piece; do printf '%b' "$piece"; done
}
boxes() { sed -nE 's/^[0-9a-f]+:trace:msgbox:MSGBOX_OnInit L"(.*)"$/\1/p' "$1"; }
# The text of the first box whose text (as wine traces it, "\n" for new
# lines) starts so.
box_text() { boxes "$1" | grep -F -m1 -- "$2"; }
# Render targets made so far (one line each).
targets_made() { console_log "$1" | grep -cE '^pbuffer_create\(0x[0-9a-f]+\) done with no errors$'; }
targets_reach() { test "$(targets_made "$1")" -ge "$2"; }
no_gl_errors() { ! grep -q 'gl errors\.\.' "$1"; }
# Escape until the program has gone, then its exit code in $code.
quit_with_escape() {  # quit_with_escape WINDOW PID
    for _ in $(seq 12); do
        key_to "$1" Escape
        until_true 10 exited "$2" && break
    done
    wait_exit "$2" 10
}
playhead_shown() { column=$(playhead_column "$1" "$2") && [ -n "$column" ]; }
playhead_near() { playhead_shown "$1" "$2" && [ "$column" -ge "$3" ] && [ "$column" -le "$4" ]; }
# A drawn frame: not uniform (black, or the white of a window not drawn yet).
drawn() { awk -v spread="${1:-0}" 'BEGIN { exit !(spread > 0.02) }'; }
spread() { convert "$1" -colorspace Gray -format '%[fx:standard_deviation]' info: 2>/dev/null; }
frame_shown() { [ -n "$1" ] && import -window "$1" "$2" 2>/dev/null && level=$(spread "$2") && drawn "$level"; }

configure() {  # configure AUDIO GLEXT: the run's config.xml
    sed "s|<console>0</console>|<console>1</console>|; s|<timeline>0</timeline>|<timeline>1</timeline>|;
         s|<glext>1</glext>|<glext>$2</glext>|; s|<enabled>1</enabled>|<enabled>$1</enabled>|" "$shipped_config"
}

# ALSA as wine sees it: the default PCM records into a file in front of the
# 32-bit paced sink.
cat > "$work/asound.conf" <<CONF
pcm_type.paced_sink { lib "$sink" }
pcm.!default {
  type file
  slave.pcm { type paced_sink rate 44100 }
  file "$work/run/played.raw"
  format "raw"
}
CONF
export ALSA_CONFIG_PATH=$work/asound.conf
export WINEDEBUG=trace+console,trace+msgbox
export HEDEN_WINE_TIMEOUT=300

# The Linux archive maker's blob.dat, for comparison.
cd "$work/linux"
ln -s "$pool" pool
configure 0 1 > config.xml
"$linux_maker" >out.txt 2>&1 &
pids+=($!)
main=$(window_sized 800x600)
check "Linux archive maker opens its window" test -n "$main"
quit_with_escape "$main" "${pids[-1]}"
check "Linux archive maker quits with 0" test "$code" = 0

cd "$work/run"
ln -s "$pool" pool
cp "$win32"/heden.exe "$win32"/heden_blobmaker.exe .
check "the manifest declares DPI awareness" grep -q dpiAware heden.exe

# 1. The archive maker under wine, silent.
configure 0 1 > config.xml
started=$SECONDS
"$wine_run" heden_blobmaker.exe >/dev/null 2>maker.trace &
pids+=($!)
main=$(window_sized 800x600)
check "maker: window 800x600 (after $((SECONDS - started)) s)" test -n "$main" || why_no_window maker.trace
quit_with_escape "$main" "${pids[-1]}"
check "maker: Escape quits with 0" test "$code" = 0
console_log maker.trace > maker.log
check "maker: blob.dat equals the Linux maker's" cmp blob.dat "$work/linux/blob.dat"
check "maker: no box" test -z "$(boxes maker.trace)"

# 2. Stills through the render targets and the glow, from the archive;
# meanwhile the Linux program's stills of the same times, with the glow and
# without it.
times=(20 64)
stills() {  # stills PREFIX: the --still options in $options
    options=()
    for t in "${times[@]}"; do options+=(--still "$t:$1-$t.png"); done
}
started=$SECONDS
stills wine
"$wine_run" heden.exe "${options[@]}" >/dev/null 2>stills.trace &
pids+=($!)
for glext in 1 0; do
    stills "$work/run/linux$glext"
    (cd "$work/linux" && configure 0 $glext > config.xml && "$linux_program" "${options[@]}" >stills$glext.txt 2>&1)
    check "the Linux program's stills with glext $glext" test $? = 0
done
wait_exit "${pids[-1]}" 300
check "stills: exit 0 (after $((SECONDS - started)) s)" test "$code" = 0
console_log stills.trace > stills.log
check "stills: five render targets made" test "$(targets_made stills.trace)" = 5
check "stills: no gl errors" no_gl_errors stills.log
check "stills: no box" test -z "$(boxes stills.trace)"
for t in "${times[@]}"; do
    same=$(psnr wine-$t.png linux1-$t.png) other=$(psnr wine-$t.png linux0-$t.png)
    check "still at $t s: $same dB against the Linux program's (at least 45)" at_least "$same" 45
    check "still at $t s: $other dB against the Linux still without the glow (below 25)" below "$other" 25
done

# 3. The shipped program from the archive, with music.
configure 1 1 > config.xml
"$wine_run" heden.exe >/dev/null 2>heden.trace &
pids+=($!)
main=$(window_sized 800x600)
debug=$(window_sized 512x128)
check "main window 800x600" test -n "$main" || why_no_window heden.trace
check "timeline window 512x128" test -n "$debug"
level=0
until_true 120 frame_shown "$main" frame.png
check "a drawn frame (grey levels spread $level)" drawn "$level"
column=
until_true 60 playhead_shown "$debug" timeline_before.png
before=$column
xdotool mousemove --window "$debug" 256 64 click 1
# Left alone, the playhead would need more than a minute to get there.
column=
until_true 20 playhead_near "$debug" timeline_after.png 250 300
check "a click at x 256 moves the playhead ($before -> $column)" \
    test -n "$before" -a "${before:-999}" -lt 200 -a "${column:-0}" -ge 250 -a "${column:-0}" -le 300
# Space holds the demo, Home takes it to 0 s and three Shift+Right three
# beats on (1.2 s, column 4), Space plays on: the keys as Windows sends them.
key_to "$main" space
key_to "$main" Home
column=
until_true 60 playhead_near "$debug" timeline_home.png 0 0
check "paused, Home holds 0 s (column $column)" test "${column:-x}" = 0
for _ in 1 2 3; do key_to "$main" shift+Right; done
column=
until_true 60 playhead_near "$debug" timeline_beats.png 4 4
check "paused, three Shift+Right go three beats on (column $column)" test "${column:-x}" = 4
key_to "$main" space
column=
until_true 60 playhead_near "$debug" timeline_on.png 6 511
check "Space plays on (column $column)" test "${column:-0}" -ge 6
# F4 there and back, one toggle per press. Xvfb has no 800x600 mode: the mode
# change fails with its box and the demo runs in the popup at (0, 0).
until_true 60 targets_reach heden.trace 5
made=$(targets_made heden.trace)
key_to "$main" F4
box=$(until_true 120 box_text heden.trace 'failure:\n ChangeDisplaySettings(')
check "F4: the mode change box ($box)" test -n "$box"
dismiss_box
popup=$(window_sized 800x600 0,0 "$main")
debug2=$(window_sized 512x128 "" "$debug")
check "F4: a fullscreen popup at (0, 0) and a new timeline window" test -n "$popup" -a -n "$debug2"
check "F4: the render targets made anew ($((made + 5)) in all)" until_true 60 targets_reach heden.trace $((made + 5))
level=0
until_true 120 frame_shown "$popup" popup.png
check "F4: a drawn frame in the popup (grey levels spread $level)" drawn "$level"
key_to "$popup" F4
main2=$(window_sized 800x600 '!0,0' "$main" "$popup")
debug3=$(window_sized 512x128 "" "$debug" "$debug2")
check "F4 again: back in a window, with a timeline window" test -n "$main2" -a -n "$debug3"
check "F4 again: the render targets made anew ($((made + 10)) in all)" \
    until_true 60 targets_reach heden.trace $((made + 10))
level=0
until_true 120 frame_shown "$main2" main2.png
check "F4 again: a drawn frame in the new window (grey levels spread $level)" drawn "$level"
quit_with_escape "$main2" "${pids[-1]}"
check "Escape quits with 0" test "$code" = 0
console_log heden.trace > heden.log
expected=$(printf '%s\n' 'window : 800 x 600 : 32b ' 'area : 800 x 450 ' ' ALIGNment:1,1 ' ' multisamp:0 wgl:1 ' \
    'audio :: enabled:1 '; printf ' ')
check "settings summary comes first" test "$(head -c ${#expected} heden.log)" = "$expected"
check "driver table" grep -q "^ vendor               | device                               | version$" heden.log
check "33 entry points, none FAILED" \
    test "$(grep -cE '^ +([1-9]|[12][0-9]|3[0-3]) \| +[a-zA-Z0-9]+ \| 0x[0-9a-f]{8} $' heden.log)" = 33
check "probe done" grep -qx "multisample_test() done .. " heden.log
check "no gl errors" no_gl_errors heden.log
check "the music is served from the archive" grep -q "^blob read [0-9]* :: \`pool/quorvane_28_juli.ogg\` " heden.log
check "the audio library started" grep -q "^BASS.DLL == 2.3.0.0 $" heden.log
files=$(tail -c 4 blob.dat | od -An -tu4 | tr -d ' ')
check "archive summary at exit: every one of its $files files read" \
    grep -q "^io blob system offline..  ([0-9]* bytes read in $files files),$" heden.log
check "no other box" test "$(boxes heden.trace | wc -l)" = 1
check "waveOut played music into ALSA" \
    test "$(od -An -tx1 -v played.raw 2>/dev/null | tr -d ' \n' | tr -d 0 | wc -c)" -gt 100000

# 4. No sound device at all, and no render targets: the box, then the
# system clock.
sed -i 's|type paced_sink rate 44100|type no_such_sink|' "$work/asound.conf"
configure 1 0 > config.xml
"$wine_run" heden.exe >/dev/null 2>nosound.trace &
pids+=($!)
main=$(window_sized 800x600)
box=$(until_true 120 box_text nosound.trace 'Bass_Init(-1) oops? ')
check "no device: the audio box ($box)" test -n "$box"
check "no device: the box answered" dismiss_box
debug=$(window_sized 512x128)
# The first frame under wine can take a while: wait for the playhead.
column=
until_true 60 playhead_shown "$debug" nosound_1.png
first=$column
until_true 30 playhead_near "$debug" nosound_2.png $((${first:-999} + 1)) 512
check "no device: the system clock runs the timeline ($first -> $column)" \
    test -n "$first" -a "${column:-0}" -gt "${first:-999}"
quit_with_escape "$main" "${pids[-1]}"
check "no device: Escape quits with 0" test "$code" = 0
console_log nosound.trace > nosound.log
check "no device: the program said so" grep -qx "bass bork?" nosound.log
check "no device: glext 0 makes no render targets" test "$(targets_made nosound.trace)" = 0

echo "$((checks - failures)) passed, $failures failed"
test $failures -eq 0
