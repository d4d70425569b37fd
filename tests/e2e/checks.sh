# Sourced by the end-to-end scripts: a fresh run folder, removed at exit
# together with a program still running as $pid, the check counter and the
# waits.
source "$(dirname "${BASH_SOURCE[0]}")/waits.sh"
run=$(mktemp -d)
trap 'rm -rf "$run"; [ -n "${pid:-}" ] && kill $pid 2>/dev/null' EXIT
cd "$run"
failures=0 checks=0
check() {  # check DESCRIPTION COMMAND...
    checks=$((checks + 1))
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
# Answers $pid's error boxes with Return until it has gone (up to 120 s),
# then wait_exit.
answer_boxes_until_exit() {
    until_true 120 answered_or_gone
    wait_exit
}
answered_or_gone() { exited "$pid" || { boxes_up key Return >/dev/null; false; }; }
seconds_since() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN { print b - a }'; }  # since a `date +%s.%N`
# The most columns the playhead of a timeline over $length seconds moves in
# SECONDS, rounding included.
columns_in() { awk -v s="$1" -v l="$length" 'BEGIN { printf "%d", s / l * 512 + 1 }'; }
# The main window's picture changes: a frame is drawn (within 30 s).
picture() { [ -n "$main" ] && import -window "$main" -crop 400x300+200+150 +repage png:- 2>/dev/null | md5sum; }
moving() {
    local first
    first=$(picture)
    until_true 30 eval '[ "$(picture)" != "$first" ]'
}
# Prints the count and succeeds when nothing failed.
summary() {
    echo "$((checks - failures)) passed, $failures failed"
    test $failures -eq 0
}
