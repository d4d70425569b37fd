# Sourced by the scripts that need an X display.

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
    Xvfb ":$n" "${screen[@]}" -nolisten tcp >"${xvfb_log:-/dev/null}" 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
      display_ours "$n" && break
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.1
    done
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

# True when DISPLAY names a display that answers.
display_reachable() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}
