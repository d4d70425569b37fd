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
wait_exit() {  # waits up to 10 s for $pid, sets $code
    for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
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
# Prints the count and succeeds when nothing failed.
summary() {
    echo "$((checks - failures)) passed, $failures failed"
    test $failures -eq 0
}
