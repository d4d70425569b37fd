#!/bin/bash
# Runs the real programs without a display and checks what they print: the
# start-up path up to the failed window, and the archive maker's empty
# archive; then on a display that is not there and on one without GLX.
# Usage: startup.sh HEDEN BLOBMAKER CONFIG_XML
set -u
heden=$1 maker=$2 shipped_config=$3
unset DISPLAY
source "$(dirname "$0")/../../scripts/lib/display.sh"
source "$(dirname "$0")/checks.sh"

# The shipped configuration parses without a single box.
cp "$shipped_config" config.xml
"$heden" >out.txt 2>err.txt
check "exit code 1 on the fatal path" test $? -eq 1
check "shipped config.xml shows no xml box" bash -c '! grep -q "xml" err.txt'
check "the cause in one line, the last" test "$(tail -1 err.txt)" = "heden: no DISPLAY is set"

# With the console on: settings, archive, fatal start-up path, archive summary.
sed -i 's|<console>0</console>|<console>1</console>|' config.xml
"$heden" >out.txt 2>err.txt
code=$?
expected=$(printf 'window : 800 x 600 : 32b \narea : 800 x 450 \n ALIGNment:1,1 \n multisamp:0 wgl:1 \naudio :: enabled:1 \n ')
check "exit code 1 with the console on" test $code -eq 1
check "settings summary comes first" test "$(head -c ${#expected} out.txt)" = "$expected"
check "missing archive is reported" grep -q "blob.dat gone fishing?" err.txt
check "archive opened in disk mode" grep -q "^ no blob.dat: reading files from disk $" out.txt
check "archive active line" grep -q "^io blob system active..$" out.txt
check "no display: no probe window" grep -q "^no test window :($" out.txt
check "fatal start-up line" grep -q "^fatal errors.. exit app now $" out.txt
check "fatal start-up box" grep -q "su tentativa de programa ninja cojo es una falta completa!" err.txt
check "archive summary is the last line" test "$(tail -n 1 out.txt)" = "io blob system offline..  (0 bytes read in 0 files),"

# The archive maker writes blob.dat at exit: nothing was loaded, so 8 bytes.
rm -f blob.dat
"$maker" >out.txt 2>err.txt
check "archive maker without a window exits with 1" test $? -eq 1
check "archive maker writes the empty archive" test "$(od -An -tx1 blob.dat | tr -d ' \n')" = "9909606600000000"

# The shipped program opens that archive without complaint, and then finds
# no entry for the icons, which are read before the window is made.
"$heden" >out.txt 2>err.txt
check "an empty archive opens cleanly" bash -c '! grep -qE "gone fishing|corrupt|does not fit" err.txt'
check "the icons are not in it" grep -q "blob.dat holds 0 files, no entry left for pool/icon.pcx" err.txt

# A display that is not there, and one without GLX: the boxes go to
# standard error, with the cause, and the exit code says it failed.
DISPLAY=:987 "$heden" >out.txt 2>err.txt
code=$?
check "missing display: exit code 1" test $code -eq 1
check "missing display named" grep -qx "heden: cannot open display :987" err.txt
# The boxes show on that display: answer each with Return.
code=$(
    private_display -extension GLX -screen 0 640x480x24 || exit
    "$heden" >out.txt 2>err.txt &
    pid=$!
    answer_boxes_until_exit
    echo "$code"
)
check "no GLX: exit code 1" test "$code" = 1
check "no GLX named on the last line" test "$(tail -1 err.txt)" = "heden: the X server has no GLX"
# A still there: no box waits, their texts and then the cause on stderr.
code=$(
    private_display -extension GLX -screen 0 640x480x24 || exit
    timeout 60 "$heden" --still 1:x.png >out.txt 2>err.txt
    echo $?
)
check "no GLX, a still: exit code 1 at once, the boxes' texts, the cause last" bash -c "test '$code' = 1 &&
    grep -qx 'heden: su tentativa de programa ninja cojo es una falta completa!' err.txt &&
    test \"\$(tail -1 err.txt)\" = 'heden: the X server has no GLX' && test ! -e x.png"

summary
