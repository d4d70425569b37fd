#!/bin/bash
# The Linux release unpacked into an empty folder (no pool/: everything
# comes from blob.dat), run there on the X display in DISPLAY: a still, then
# a few seconds of play (sound off), and Escape.
# Usage: package.sh ARCHIVE
set -u
archive=$(realpath "$1")
source "$(dirname "$0")/checks.sh"
tar -xzf "$archive"
check "the folder holds heden, blob.dat, config.xml and README" test "$(LC_ALL=C ls heden | xargs)" = "README blob.dat config.xml heden"
cd heden
# A box would wait for a click: such a run is stopped and fails.
timeout 300 ./heden --still 5:still.png --fps 10 >still.txt 2>&1
check "the unpacked program writes a still of the drawing area, not one colour" \
    test $? -eq 0 -a "$(identify -format '%w %h %k' still.png 2>/dev/null | awk '{print $1, $2, ($3 > 200)}')" = "800 450 1"

sed -i 's|<console>0</console>|<console>1</console>|; s|<enabled>1</enabled>|<enabled>0</enabled>|' config.xml
./heden >play.txt 2>&1 &
pid=$!
until_true 180 grep -q "^silence?" play.txt
check "the demo starts after its loading picture" grep -q "^silence?" play.txt
main=$(xdotool search --onlyvisible --name '^heden$' 2>/dev/null | head -1)
check "it plays: the picture moves" moving
xdotool key --window "$main" Escape
wait_exit
check "Escape quits with 0" test "$code" = 0
summary
