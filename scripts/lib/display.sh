# Sourced by the scripts that need an X display.
source "$(dirname "${BASH_SOURCE[0]}")/waits.sh"

# Starts a private Xvfb display and exports DISPLAY; stopped at exit (the
# caller that sets an exit trap of its own afterwards names $xvfb in it).
# The number is one in :200-:299 whose lock file names our server, so that
# servers others start at the same time are never taken for ours. Arguments
# replace the screen (-screen 0 1280x1024x24 by default); the server writes
# to $xvfb_log when that is set.
private_display() {
  local n screen=("$@")
  ((${#screen[@]})) || screen=(-screen 0 1280x1024x24)
  for n in $(shuf -i 200-299); do
    [ -e "/tmp/.X$n-lock" ] && continue
    # In a session of its own: a Ctrl-C or a signal to the caller's group
    # must not take the display from under a program still drawing on it.
    setsid Xvfb ":$n" "${screen[@]}" -nolisten tcp >"${xvfb_log:-/dev/null}" 2>&1 &
    xvfb=$!
    until_true 5 ours_or_gone "$n" || true
    if display_ours "$n"; then
      export DISPLAY=:$n
      trap 'kill $xvfb 2>/dev/null' EXIT
      return 0
    fi
    kill "$xvfb" 2>/dev/null || true
  done
  xvfb=
  echo "no display of our own in :200-:299" >&2
  return 1
}

# True when display :N answers and is the server started as $xvfb.
display_ours() {
  [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$1-lock")" = "$xvfb" ] && xdpyinfo -display ":$1" >/dev/null 2>&1
}

# True when display :N is ours, or $xvfb has ended.
ours_or_gone() { display_ours "$1" || exited "$xvfb"; }

# True when DISPLAY names a display that answers.
display_reachable() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}
