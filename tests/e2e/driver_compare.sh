#!/bin/bash
# The same picture on two conformant drivers: stills at ten times across the
# demo rendered under Mesa's llvmpipe and softpipe must agree within 35 dB
# PSNR. Slow (softpipe takes seconds a frame), so it is run by hand, not by
# scripts/test. Each still comes from a capture starting half a second
# before its time, the same for both drivers: the grain's random draws carry
# from frame to frame. Uses DISPLAY when it answers, else a private Xvfb.
# Usage: driver_compare.sh RUN_DIR OUT_DIR
#   RUN_DIR holds heden, blob.dat, config.xml and pool/ (build nothing here).
set -u
run=$(realpath "$1") out=$(realpath -m "$2")
source "$(dirname "$0")/../../scripts/lib/display.sh"
display_reachable || private_display
mkdir -p "$out"
cd "$run" || exit 1
failures=0
printf '%6s %10s %10s %9s\n' time llvmpipe softpipe PSNR
for t in 8 20 35 50 64 70 78 85 95 120; do
    start=$(awk -v t=$t 'BEGIN { print t - 0.5 }')
    seconds=()
    for driver in llvmpipe softpipe; do
        begin=$(date +%s.%N)
        GALLIUM_DRIVER=$driver ./heden --start "$start" --fps 25 --still "$t:$out/$driver-$t.png" \
            >"$out/$driver-$t.log" 2>&1 || echo "heden failed under $driver at $t s, see $out/$driver-$t.log"
        seconds+=("$(awk -v b=$begin -v e=$(date +%s.%N) 'BEGIN { printf "%.1f s", e - b }')")
    done
    psnr=$(compare -metric PSNR "$out/llvmpipe-$t.png" "$out/softpipe-$t.png" null: 2>&1)
    # Identical pictures measure "inf"; anything not a number >= 35 fails.
    verdict=$(awk -v p="$psnr" 'BEGIN { print (p == "inf" || (p ~ /^[0-9.]+$/ && p + 0 >= 35)) ? "" : "FAILED" }')
    [ -n "$verdict" ] && failures=$((failures + 1))
    printf '%5ss %10s %10s %9s %s\n' "$t" "${seconds[0]}" "${seconds[1]}" "$psnr" "$verdict"
done
echo "$failures of 10 times below 35 dB"
test $failures -eq 0
