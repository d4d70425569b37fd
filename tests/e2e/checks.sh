# Sourced by the end-to-end scripts: a fresh run folder, removed at exit
# together with a program still running as $pid, and the check counter.
run=$(mktemp -d)
trap 'rm -rf "$run"; [ -n "${pid:-}" ] && kill $pid 2>/dev/null' EXIT
cd "$run"
failures=0 checks=0
check() {  # check DESCRIPTION COMMAND...
    checks=$((checks + 1))
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
# The waits below poll for what they wait for, with deadlines far beyond
# what it takes on a quiet machine: a busy machine makes them longer, not the
# checks fail.
until_true() {  # until_true TENTHS COMMAND...: polls every 0.1 s
    for _ in $(seq "$1"); do "${@:2}" && return 0; sleep 0.1; done
    return 1
}
wait_exit() {  # waits up to 60 s for $pid, sets $code
    for _ in $(seq 600); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    if kill -0 $pid 2>/dev/null; then code=timeout; kill $pid; else wait $pid; code=$?; fi
    pid=
}
answer_boxes_until_exit() {  # up to STEPS x 0.2 s answering $pid's error boxes with Return, then wait_exit
    for _ in $(seq "$1"); do
        kill -0 $pid 2>/dev/null || break
        xdotool search --onlyvisible --name '^falta del alcalde$' key Return >/dev/null 2>&1
        sleep 0.2
    done
    wait_exit
}
# The column of the green playhead in one row of the debug window.
playhead_column() {
    import -window "$1" "$2" 2>/dev/null
    convert "$2" -crop 512x1+0+10 +repage txt:- | awk -F'[,:]' '/#00FF00/ {print $1; exit}'
}
seconds_since() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN { print b - a }'; }  # since a `date +%s.%N`
# The most columns the playhead of a timeline over $length seconds moves in
# SECONDS, rounding included.
columns_in() { awk -v s="$1" -v l="$length" 'BEGIN { printf "%d", s / l * 512 + 1 }'; }
# The main window's picture changes: a frame is drawn (within 30 s).
picture() { [ -n "$main" ] && import -window "$main" -crop 400x300+200+150 +repage png:- 2>/dev/null | md5sum; }
moving() {
    local first
    first=$(picture)
    until_true 300 eval '[ "$(picture)" != "$first" ]'
}
# Prints the count and succeeds when nothing failed.
summary() {
    echo "$((checks - failures)) passed, $failures failed"
    test $failures -eq 0
}
