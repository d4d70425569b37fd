#!/bin/bash
# No variable of the program's own is written on the frame's path: the real
# program runs under gdb, and around every call watched the bytes of each
# mutable variable its sources define (data and bss, in namespaces and in
# functions alike) are compared. What the frames keep lives in records their
# owners hold: the main loop's, a capture's. The GL driver's own state is
# exempt: the GL over ES library and the WGL emulation over GLX.
# Usage: frame_writes.sh HEDEN BLOBMAKER SOURCE_DIR CONFIG_XML POOL_DIR
set -u
heden=$1 maker=$2 source_dir=$3 shipped_config=$4 pool=$5
source "$(dirname "$0")/checks.sh"
source "$(dirname "$0")/../../scripts/lib/display.sh"
if ! gdb -q -batch -ex run --args /bin/true >/dev/null 2>&1; then
    echo "gdb cannot run programs here (no ptrace): skipped"
    exit 77
fi
private_display
ln -s "$pool" pool
# Silent, with the timeline drawn every frame.
sed "s|<timeline>0</timeline>|<timeline>1</timeline>|; s|<enabled>1</enabled>|<enabled>0</enabled>|" \
    "$shipped_config" > config.xml
"$maker" --still 0:record.png >maker.txt 2>&1
check "archive maker records blob.dat" test $? -eq 0 -a -s blob.dat
nm -C -S --defined-only -l "$heden" | awk -F'\t' -v src="$source_dir/src/" '
    index($2, src) == 1 && $2 !~ "/src/gles/" && $2 !~ "/wgl_emulation.cpp:" {
        split($1, f, " ")
        if (f[3] ~ /^[bBdD]$/) { name = f[4]; for (i = 5; i in f; i++) name = name "_" f[i]; print name, f[1], f[2] }
    }' > variables.txt
main=$(nm "$heden" | awk '$2 == "T" && $3 == "main" { print $1 }')
watch() {  # watch OUT CALLS FUNCTION[:EVERY],... ARGS...
    FW_SYMS=variables.txt FW_MAIN=$main FW_OUT=$1 FW_CALLS=$2 FW_BREAKS=$3 \
        timeout 600 gdb -q -batch -x "$(dirname "$0")/frame_writes.py" --args "$heden" "${@:4}" > "$1.log" 2>&1
}
calls() { awk -F'\t' -v f="$2" '$1 == "calls" && $2 == f { print $3 }' "$1"; }
nothing_written() { ! grep "^written" "$1"; }

check "the program's variables are found" test "$(wc -l < variables.txt)" -gt 50
# Stills: the update of every 97th frame from 0 on, and each still's draw.
watch stills.txt 100 frame_update:97,frame_draw --still 20:a.png --still 64:b.png --still 146.5:c.png
check "updates watched" test "$(calls stills.txt frame_update)" -ge 50
check "draws watched" test "$(calls stills.txt frame_draw)" -ge 1
check "nothing written by the updates and draws of stills" nothing_written stills.txt
# The live demo: the main loop's frames and its look at the timeline's pause.
watch live.txt 40 "(anonymous namespace)::render_frame:2,TimelineHold::follow:2"
check "live frames watched" test "$(calls live.txt "(anonymous namespace)::render_frame")" -ge 15
check "nothing written by the main loop's frames" nothing_written live.txt
summary
