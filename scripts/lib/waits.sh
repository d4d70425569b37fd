# Sourced by the scripts that wait for something to happen: the one poll
# they wait with. A wait is for a condition, never for a fixed time; its
# deadline only stops a run that hangs.

# until_true SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds;
# fails when SECONDS (whole seconds) pass first.
until_true() {
  local deadline=$((${EPOCHREALTIME//[!0-9]/} + $1 * 1000000))
  until "${@:2}"; do
    ((${EPOCHREALTIME//[!0-9]/} < deadline)) || return 1
    sleep 0.1
  done
}

# True when process PID has ended.
exited() { ! kill -0 "$1" 2>/dev/null; }
