#!/bin/bash
# Whole-demo runs of the real program with the frame probe (probe.cpp), on a
# private Xvfb display at 320 x 240 with the sound on the paced null device
# (a build configured with HEDEN_NULL_SOUND=ON). Run by hand; they take the
# length of the music each.
#   tests/soak/run.sh <build dir> <pool dir> <out dir> <glext 0|1> <plan> <plays> [timeline 0|1]
# The plan and plays are the probe's (HEDEN_PROBE_PLAN, HEDEN_PROBE_PLAYS).
# Sanitizer reports go to <out>/asan.*; the probe's frame log to
# <out>/probe.log; the console log to <out>/console.log. Prints the summary
# of summarize.py.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
pool=$(cd "$2" && pwd)
mkdir -p "$3"
out=$(cd "$3" && pwd)
glext=$4 plan=$5 plays=$6 timeline=${7:-0}
run=$out/run
rm -rf "$run" && mkdir -p "$run"
g++ -std=c++17 -O2 -shared -fPIC -I "$here/../../src" -o "$out/probe.so" "$here/probe.cpp" -ldl

source "$here/../../scripts/lib/display.sh"
source "$here/../../scripts/lib/headless.sh"
xvfb_log=$out/xvfb.log private_display -screen 0 800x600x24

sed -e "s|<width>800</width>|<width>320</width>|; s|<height>600</height>|<height>240</height>|" \
    -e "s|<glext>1</glext>|<glext>$glext</glext>|; s|<console>0</console>|<console>1</console>|" \
    -e "s|<timeline>0</timeline>|<timeline>$timeline</timeline>|" "$here/../../config.xml" >"$run/config.xml"
ln -s "$pool" "$run/pool"

export ASAN_OPTIONS="log_path=$out/asan:verify_asan_link_order=0:detect_leaks=1"
export UBSAN_OPTIONS="log_path=$out/ubsan:print_stacktrace=1"

# blob.dat as the archive maker records it.
bash "$here/../../scripts/record-archive" "$build/run/heden_blobmaker" "$pool" "$run/config.xml" "$run/blob.dat"

cd "$run"
HEDEN_PROBE_LOG=$out/probe.log HEDEN_PROBE_PLAN=$plan HEDEN_PROBE_PLAYS=$plays HEDEN_PROBE_CLOSING=15 \
  LD_PRELOAD=$out/probe.so "$build/run/heden" >"$out/console.log" 2>&1 &
demo=$!
# HEDEN_TIMELINE_CLICKS="x ..." clicks the debug timeline window at those
# columns, a second apart, once it is up: seeks through the X events (the
# probe does not know of them, so its count of frames going back counts them).
if [ -n "${HEDEN_TIMELINE_CLICKS:-}" ]; then
  (
    # Of the demo's windows, the timeline is the one 512 wide.
    timeline_window() {
      local id
      for id in $(xdotool search --onlyvisible --pid $demo 2>/dev/null); do
        xdotool getwindowgeometry "$id" | grep -q 'Geometry: 512x' && { echo "$id"; return 0; }
      done
      return 1
    }
    timeline=$(until_true 120 timeline_window)
    # The clicks are spaced in time on purpose: the demo plays on between them.
    sleep 3
    for x in $HEDEN_TIMELINE_CLICKS; do
      xdotool mousemove --window "$timeline" "$x" 64 click 1
      echo "click $x $(date +%s.%N)" >>"$out/clicks.log"
      sleep 1
    done
  ) &
fi
# Up to 40 minutes; error boxes are dismissed so the run goes on (Return is
# nothing to the demo's own windows), and counted from their lines on stderr.
for _ in $(seq 2400); do
  sleep 1
  kill -0 $demo 2>/dev/null || break
  keys_to_windows $demo Return
  grep -q '^done' "$out/probe.log" 2>/dev/null && break
done
sleep 1
import -window root "$out/last_frame.png" 2>/dev/null || true
keys_to_windows $demo Escape
status=0
wait $demo || status=$?
grep -a '^\[falta del alcalde\]' "$out/console.log" >"$out/boxes.log" || true
echo "exit status $status" >"$out/exit"
python3 "$here/summarize.py" "$out"
