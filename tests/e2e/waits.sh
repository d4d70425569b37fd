# Sourced by the end-to-end scripts: the waits they share, all through
# until_true. Their deadlines lie far beyond what a wait takes on a quiet
# machine: a busy machine makes a wait longer, it does not fail a check.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/waits.sh"

# wait_exit [PID [SECONDS]]: waits up to SECONDS (120) for PID ($pid) to
# end and sets $code to its exit code, or to "timeout" after stopping it.
# The program waited for as $pid is forgotten ($pid is stopped at exit).
wait_exit() {
    local waited=${1:-$pid}
    code=0
    if until_true "${2:-120}" exited "$waited"; then wait "$waited" || code=$?; else code=timeout; kill "$waited"; fi
    [ "$waited" != "${pid:-}" ] || pid=
}

# The visible error boxes; further arguments are xdotool commands for them.
boxes_up() { xdotool search --onlyvisible --name '^falta del alcalde$' "$@" 2>/dev/null; }

# The column of the green playhead in one row of the debug window WINDOW,
# from its picture in FILE. (import without a window would wait for a
# click: without one it prints nothing.)
playhead_column() {  # playhead_column WINDOW FILE
    [ -n "$1" ] || return 0
    import -window "$1" "$2" 2>/dev/null
    convert "$2" -crop 512x1+0+10 +repage txt:- | awk -F'[,:]' '/#00FF00/ {print $1; exit}'
}

# The program's two windows once both are shown, found by the xdotool search
# arguments given (--pid PID, or --name CAPTION): sets $main and $debug, the
# debug window being the 512 x 128 one.
two_windows() {
    debug= main=
    for id in $(xdotool search --onlyvisible "$@"); do
        xdotool getwindowgeometry "$id" | grep -q "Geometry: 512x128" && debug=$id || main=$id
    done
    [ -n "$main" ] && [ -n "$debug" ]
}
