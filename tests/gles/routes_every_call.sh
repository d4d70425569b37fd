#!/bin/bash
# Every GL name the portable libraries call is one the GL library routes
# (a HEDEN_WRAP in src/gles/wrap.cpp): a call it missed would go straight
# to the ES driver under --gl es, where GL 1.x names do nothing.
# Usage: routes_every_call.sh WRAP_CPP LIBRARY.a...
set -u
wrap=$1
(($# > 1)) || { echo "no libraries given"; exit 1; }
shift
routed=$(sed -n 's/^HEDEN_WRAP([^,]*, \(gl[A-Za-z0-9]*\),.*/\1/p' "$wrap" | sort -u)
called=$(nm -u "$@" 2>/dev/null | awk '{print $2}' | grep -E '^gl[A-Z]' | sort -u)
missing=$(comm -23 <(echo "$called") <(echo "$routed"))
echo "$(grep -c . <<<"$called") GL names called, $(grep -c . <<<"$routed") routed"
if [ -n "$missing" ]; then
    echo "called but not routed to the GL library:" $missing
    exit 1
fi
