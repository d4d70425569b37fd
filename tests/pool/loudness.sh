#!/bin/bash
# Integrated loudness and true peak of the soundtrack, measured by ffmpeg's
# EBU R128 filter: −16 to −12 LUFS, at most −1 dBTP.
set -euo pipefail
report=$(ffmpeg -hide_banner -nostats -i "$1" -af ebur128=peak=true -f null - 2>&1 | sed -n '/Summary:/,$p')
echo "$report"
lufs=$(awk '/^ *I:/ {print $2}' <<<"$report")
peak=$(awk '/^ *Peak:/ {print $2}' <<<"$report")
[[ -n "$lufs" && -n "$peak" ]] || { echo "no measurement"; exit 1; }
awk -v l="$lufs" -v p="$peak" 'BEGIN { ok = (l >= -16 && l <= -12 && p <= -1.0); printf "loudness %s LUFS, true peak %s dBTP: %s\n", l, p, ok ? "ok" : "OUT OF RANGE"; exit !ok }'
