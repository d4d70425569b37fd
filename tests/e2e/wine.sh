#!/bin/bash
# The 32-bit Windows programs under wine on the X display in DISPLAY, as a
# new user would run them: the archive maker records a run (and its
# blob.dat must equal the Linux maker's byte for byte), the shipped program
# plays it back with the console and timeline on and glext 0 (wine 8 cannot
# draw into pbuffers), its music going through waveOut into ALSA's file
# plugin; a click in the timeline seeks, F4 goes fullscreen and back,
# Escape quits. A last run without any sound device must show the audio
# box and go on with the system clock.
#
# Under wine the log reaches no stdout: WINEDEBUG=trace+console shows every
# WriteConsoleA and trace+msgbox every box text; both are read from there.
# Usage: wine.sh WIN32_RUN_DIR LINUX_BLOBMAKER POOL_DIR CONFIG_XML SINK32_SO WORK_DIR
set -u
win32=$(realpath "$1") linux_maker=$(realpath "$2") pool=$(realpath "$3") shipped_config=$(realpath "$4")
sink=$(realpath "$5") work=$(realpath -m "$6")
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

# The window of the program with this size (the console is named alike);
# with a position, only one there ("!X,Y": anywhere else). Start-up under wine precalculates for
# half a minute on a busy machine: the waits are long.
window_sized() {  # window_sized WxH [SECONDS] [X,Y]
    for _ in $(seq $((${2:-60} * 10))); do
        for id in $(xdotool search --onlyvisible --name '^heden$' 2>/dev/null); do
            geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null)
            grep -q "Geometry: $1\$" <<<"$geometry" || continue
            case ${3:-} in
                "") ;;
                !*) grep -q "Position: ${3#!} " <<<"$geometry" && continue ;;
                *) grep -q "Position: $3 " <<<"$geometry" || continue ;;
            esac
            echo "$id"
            return 0
        done
        sleep 0.1
    done
    return 1
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
# Dismisses the box with this caption, if one is up.
dismiss_box() {
    for id in $(xdotool search --onlyvisible --name '^falta del alcalde$' 2>/dev/null); do key_to "$id" Return; done
}
# Keys go to the focused window: there is no window manager to activate one.
key_to() {  # key_to WINDOW KEY
    xdotool windowfocus "$1" 2>/dev/null
    sleep 0.2
    xdotool key "$2"
}
# The program's console log and box texts, from wine's trace.
console_log() {
    sed -nE 's/^[0-9a-f]+:trace:console:WriteConsoleA \([0-9A-Fa-f]+,"(.*)",[0-9]+,[0-9A-Fa-f]+,[0-9A-Fa-f]+\)$/\1/p' "$1" |
        while IFS= read -r piece; do printf '%b' "$piece"; done
}
boxes() { sed -nE 's/^[0-9a-f]+:trace:msgbox:MSGBOX_OnInit L"(.*)"$/\1/p' "$1"; }
# Waits for a box whose text (as wine traces it, "\n" for new lines) starts
# so; prints the text.
box_shown() {  # box_shown TRACE PREFIX
    for _ in $(seq 900); do
        boxes "$1" | grep -F -m1 -- "$2" && return 0
        sleep 0.1
    done
    return 1
}
wait_exit() {  # wait_exit PID: sets $code (timeout after 60 s)
    for _ in $(seq 600); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$1" 2>/dev/null; then code=timeout; kill "$1"; else wait "$1"; code=$?; fi
}
# (import without a window would wait for a click: never call it so.)
playhead_column() {
    [ -n "$1" ] || return 0
    import -window "$1" "$2" 2>/dev/null
    convert "$2" -crop 512x1+0+10 +repage txt:- | awk -F'[,:]' '/#00FF00/ {print $1; exit}'
}
# A drawn frame: not uniform (black, or the white of a window not drawn yet).
drawn() { awk -v spread="${1:-0}" 'BEGIN { exit !(spread > 0.02) }'; }
spread() { convert "$1" -colorspace Gray -format '%[fx:standard_deviation]' info: 2>/dev/null; }

configure() {  # configure AUDIO: the run's config.xml
    sed "s|<console>0</console>|<console>1</console>|; s|<timeline>0</timeline>|<timeline>1</timeline>|;
         s|<glext>1</glext>|<glext>0</glext>|; s|<enabled>1</enabled>|<enabled>$1</enabled>|" "$shipped_config"
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
configure 0 > config.xml
"$linux_maker" >out.txt 2>&1 &
pids+=($!)
main=$(window_sized 800x600)
check "Linux archive maker opens its window" test -n "$main"
xdotool key --window "$main" Escape
wait_exit "${pids[-1]}"
check "Linux archive maker quits with 0" test "$code" = 0

cd "$work/run"
ln -s "$pool" pool
cp "$win32"/heden.exe "$win32"/heden_blobmaker.exe .
check "the manifest declares DPI awareness" grep -q dpiAware heden.exe

# 1. The archive maker under wine, silent.
configure 0 > config.xml
started=$(date +%s)
"$wine_run" heden_blobmaker.exe >/dev/null 2>maker.trace &
pids+=($!)
main=$(window_sized 800x600)
check "maker: window 800x600 (after $(($(date +%s) - started)) s)" test -n "$main" || why_no_window maker.trace
key_to "$main" Escape
wait_exit "${pids[-1]}"
check "maker: Escape quits with 0" test "$code" = 0
console_log maker.trace > maker.log
check "maker: blob.dat equals the Linux maker's" cmp blob.dat "$work/linux/blob.dat"
check "maker: no box" test -z "$(boxes maker.trace)"

# 2. The shipped program from the archive, with music.
configure 1 > config.xml
"$wine_run" heden.exe >/dev/null 2>heden.trace &
pids+=($!)
main=$(window_sized 800x600)
debug=$(window_sized 512x128 60)
check "main window 800x600" test -n "$main" || why_no_window heden.trace
check "timeline window 512x128" test -n "$debug"
level=0
for _ in $(seq 600); do
    [ -n "$main" ] || break
    import -window "$main" frame.png 2>/dev/null
    level=$(spread frame.png)
    drawn "$level" && break
    sleep 0.1
done
check "a drawn frame (grey levels spread $level)" drawn "$level"
sleep 1
before=$(playhead_column "$debug" timeline_before.png)
xdotool mousemove --window "$debug" 256 64 click 1
sleep 0.5
after=$(playhead_column "$debug" timeline_after.png)
check "a click at x 256 moves the playhead ($before -> $after)" test -n "$after" -a "${after:-0}" -ge 250 -a "${after:-0}" -le 270
# F4 there and back, one toggle per press. Xvfb has no 800x600 mode: the mode
# change fails with its box and the demo runs in the popup at (0, 0).
key_to "$main" F4
box=$(box_shown heden.trace 'failure:\n ChangeDisplaySettings(')
check "F4: the mode change box ($box)" test -n "$box"
dismiss_box
popup=$(window_sized 800x600 60 0,0)
debug2=$(window_sized 512x128 60)
check "F4: a fullscreen popup at (0, 0) and a new timeline window" test -n "$popup" -a -n "$debug2" -a "$debug2" != "$debug"
[ -n "$popup" ] && key_to "$popup" F4
main2=$(window_sized 800x600 60 !0,0)
debug3=$(window_sized 512x128 60)
check "F4 again: back in a window, with a timeline window" test -n "$main2" -a "$main2" != "$main" -a -n "$debug3" -a "$debug3" != "$debug2"
key_to "$main2" Escape
wait_exit "${pids[-1]}"
check "Escape quits with 0" test "$code" = 0
console_log heden.trace > heden.log
expected=$(printf 'window : 800 x 600 : 32b \narea : 800 x 450 \n ALIGNment:1,1 \n multisamp:0 wgl:0 \naudio :: enabled:1 \n ')
check "settings summary comes first" test "$(head -c ${#expected} heden.log)" = "$expected"
check "driver table" grep -q "^ vendor               | device                               | version$" heden.log
check "33 entry points, none FAILED" test "$(grep -cE '^ +([1-9]|[12][0-9]|3[0-3]) \| +[a-zA-Z0-9]+ \| 0x[0-9a-f]{8} $' heden.log)" = 33
check "probe done" grep -qx "multisample_test() done .. " heden.log
check "the music is served from the archive" grep -q "^blob read [0-9]* :: \`pool/quorvane_28_juli.ogg\` " heden.log
check "the audio library started" grep -q "^BASS.DLL == 2.3.0.0 $" heden.log
files=$(tail -c 4 blob.dat | od -An -tu4 | tr -d ' ')
check "archive summary at exit: every one of its $files files read" grep -q "^io blob system offline..  ([0-9]* bytes read in $files files),$" heden.log
check "no other box" test "$(boxes heden.trace | wc -l)" = 1
check "waveOut played music into ALSA" test "$(od -An -tx1 -v played.raw 2>/dev/null | tr -d ' \n' | tr -d 0 | wc -c)" -gt 100000

# 3. No sound device at all: the box, then the system clock.
sed -i 's|type paced_sink rate 44100|type no_such_sink|' "$work/asound.conf"
"$wine_run" heden.exe >/dev/null 2>nosound.trace &
pids+=($!)
main=$(window_sized 800x600)
box=
box=$(box_shown nosound.trace 'Bass_Init(-1) oops? ')
check "no device: the audio box ($box)" test -n "$box"
dismiss_box
for _ in $(seq 100); do
    [ -z "$(xdotool search --onlyvisible --name '^falta del alcalde$' 2>/dev/null)" ] && break
    sleep 0.1
done
debug=$(window_sized 512x128 60)
# The first frame under wine can take a while: wait for the playhead.
for _ in $(seq 150); do
    first=$(playhead_column "$debug" nosound_1.png)
    [ -n "$first" ] && break
    sleep 0.2
done
sleep 2
second=$(playhead_column "$debug" nosound_2.png)
check "no device: the system clock runs the timeline ($first -> $second)" test -n "$first" -a -n "$second" -a "${second:-0}" -gt "${first:-0}"
key_to "$main" Escape
wait_exit "${pids[-1]}"
check "no device: Escape quits with 0" test "$code" = 0
console_log nosound.trace > nosound.log
check "no device: the program said so" grep -qx "bass bork?" nosound.log

echo "$((checks - failures)) passed, $failures failed"
test $failures -eq 0
