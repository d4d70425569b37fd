# Sourced by the scripts that play the demo with nobody watching. Its
# windows are found by the process's id (_NET_WM_PID), never by caption:
# config.xml sets the caption.
source "$(dirname "${BASH_SOURCE[0]}")/waits.sh"

# keys_to_windows PID KEY: sends KEY to every window the process shows.
keys_to_windows() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    xdotool key --window "$id" "$2" 2>/dev/null || true
  done
}

# play_headless PROGRAM SECONDS SHOTS: plays PROGRAM (from the current
# folder, on the display in DISPLAY) for SECONDS, answering its error boxes
# with Return (the demo's own windows ignore it) and leaving a screenshot in
# the folder SHOTS every 5 s; then Escape until it quits (a box up takes one
# itself). When it has not quit 10 s later it is stopped by its id. Returns
# its exit code.
play_headless() {
  local program=$1 seconds=$2 shots=$3 demo i code=0
  "$program" &
  demo=$!
  for ((i = 1; i <= seconds; i++)); do
    # It plays for its time: the seconds passing are what is waited for.
    sleep 1
    kill -0 $demo 2>/dev/null || break
    keys_to_windows $demo Return
    if ((i % 5 == 0)); then import -window root "$shots/headless_${i}s.png" 2>/dev/null || true; fi
  done
  for ((i = 0; i < 10; i++)); do
    exited $demo && break
    keys_to_windows $demo Escape
    until_true 1 exited $demo && break
  done
  if kill -0 $demo 2>/dev/null; then
    echo "heden: the demo did not quit on Escape; stopping it" >&2
    kill $demo
  fi
  wait $demo || code=$?
  return $code
}
