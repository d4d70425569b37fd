#!/bin/bash
# The capture end to end, with the real program on the X display in DISPLAY
# and ffmpeg/ffprobe as the outside judges: same frames twice, stills equal
# to the video's frames, frame counts and durations, the sound is the
# soundtrack, and the ways a capture fails.
# Usage: capture.sh HEDEN BLOBMAKER SOUNDTRACK_PCM CONFIG_XML POOL_DIR
set -u
heden=$1 maker=$2 reference_pcm=$3 shipped_config=$4 pool=$5
source "$(dirname "$0")/checks.sh"
ln -s "$pool" pool
# Per-frame hashes of a file's pictures as RGB, one line per frame.
frame_hashes() {
    ffmpeg -v error -i "$1" -map 0:v -pix_fmt rgb24 -f framemd5 - | grep -v '^#' | awk -F, '{print $NF}' | tr -d ' '
}
probe() {  # probe FILE STREAM ENTRY
    ffprobe -v error -select_streams "$2" -count_frames -show_entries "stream=$3" -of default=nw=1:nk=1 "$1"
}
within() {  # within A B TOLERANCE
    awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= t) }'
}
same() { test -n "$1" -a "$1" = "$2"; }  # same A B: equal and not empty
same_file() { test -s "$1" && cmp -s "$1" "$2"; }
no_leftovers() { test -z "$(ls | grep -E '\.part$')"; }

# A small window: the drawing area is 320 x 180.
sed 's|<width>800</width>|<width>320</width>|; s|<height>600</height>|<height>240</height>|' "$shipped_config" > config.xml

# The archive maker records blob.dat through a capture's loads (stills
# only need no encoder); the shipped program then reads the archive.
"$maker" --still 0:record.png >maker.txt 2>&1
check "archive maker captures a still and records blob.dat" test $? -eq 0 -a -s blob.dat -a -s record.png

# Determinism: the same stretch twice, lossless, gives the same frames. The
# second run also writes stills, which must be the frames the first run's
# video shows at their times.
"$heden" --capture a.mkv --start 2 --end 3 --fps 10 >a.txt 2>&1
code_a=$?
"$heden" --capture b.mkv --start 2 --end 3 --fps 10 --still 2.5:at2_5.png --still 2:at2.png --still 2.56:at2_56.png >b.txt 2>&1
check "two captures succeed" test $code_a -eq 0 -a $? -eq 0
check "the progress line counts the frames" grep -q "frame 10/10" a.txt
frame_hashes a.mkv > a.md5
frame_hashes b.mkv > b.md5
check "10 frames for 1 s at 10 fps" test "$(wc -l < a.md5)" = 10
check "the frames change over the stretch" test "$(sort -u a.md5 | wc -l)" -gt 1
check "two captures give identical frames" same_file a.md5 b.md5
check "no temporary files are left" no_leftovers
check "the still at 2 s is the video's first frame" same "$(frame_hashes at2.png)" "$(sed -n 1p a.md5)"
check "the still at 2.5 s is the video's frame 5" same "$(frame_hashes at2_5.png)" "$(sed -n 6p a.md5)"
check "at 2.56 s the video still shows frame 5" same "$(frame_hashes at2_56.png)" "$(sed -n 6p a.md5)"
check "the picture is the drawing area" test "$(probe at2.png v:0 width),$(probe at2.png v:0 height)" = "320,180"

check "video lasts the stretch" within "$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 a.mkv)" 1 0.1
check "sound lasts as long as the video, within a frame" within "$(ffmpeg -v error -i a.mkv -map 0:a -f s16le - | wc -c)" $((44100 * 4)) $((44100 * 4 / 10))

# The sound is the soundtrack's stretch, sample for sample (FLAC is lossless).
ffmpeg -v error -i a.mkv -map 0:a -f s16le - > got.raw
"$reference_pcm" pool/quorvane_28_juli.ogg 2 1 > want.raw
check "the sound is our decoder's soundtrack from 2 s to 3 s" same_file got.raw want.raw

# The default container: H.264 + AAC in mp4, durations agreeing.
"$heden" --capture c.mp4 --start 1 --end 1.5 --fps 10 >c.txt 2>&1
check "mp4 capture succeeds" test $? -eq 0 -a -s c.mp4
check "mp4 holds H.264 and AAC" test "$(probe c.mp4 v:0 codec_name),$(probe c.mp4 a:0 codec_name)" = "h264,aac"
check "mp4 has 5 frames" test "$(probe c.mp4 v:0 nb_read_frames)" = 5
check "mp4 audio and video agree within a frame" within "$(probe c.mp4 a:0 duration)" "$(probe c.mp4 v:0 duration)" 0.1
# Players take an .mp4 that says nothing as BT.601 or BT.709 by its size.
colours() {
    ffprobe -v error -select_streams v:0 -show_entries stream=color_range,color_space,color_transfer,color_primaries \
        -of csv=p=0 "$1"
}
check "mp4 says its colours: BT.709, limited range" test "$(colours c.mp4)" = "tv,bt709,bt709,bt709"

# Across the end of the music, and in the closing scene.
music=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 pool/quorvane_28_juli.ogg)
at() { awk -v m="$music" -v d="$1" 'BEGIN { printf "%.3f", m + d }'; }
"$heden" --capture end.mkv --start "$(at -0.3)" --end "$(at 0.5)" --fps 10 >end.txt 2>&1
code_end=$?
"$heden" --capture end2.mkv --start "$(at -0.3)" --end "$(at 0.5)" --fps 10 >end2.txt 2>&1
check "captures across the end of the music succeed" test $code_end -eq 0 -a $? -eq 0
# The closing scene counts seconds since the end on the frame clock, not
# on the wall clock, so it too comes out the same twice.
frame_hashes end.mkv > end.md5
frame_hashes end2.mkv > end2.md5
check "the closing scene gives identical frames twice" same_file end.md5 end2.md5
check "its sound turns to silence after the music" cmp -s <(ffmpeg -v error -i end.mkv -map 0:a -f s16le - | tail -c 70560) <(head -c 70560 /dev/zero)
"$heden" --still "$(at 9.9)":closing.png --start "$(at 9.5)" --fps 4 >closing.txt 2>&1
check "a still in the closing scene" test $? -eq 0 -a -s closing.png

# Later frames are worked out without drawing the ones before: a capture cut
# into segments, from the grainy view from above across the closing
# stretch, the last scene change (beat 356) and the end of the music (one
# cut by --start and --end, the rest by --segment), joined by stream copy,
# is frame for frame the run from 0, and so is a late still.
"$heden" --capture full.mkv --fps 5 --end "$(at 0.6)" >full.txt 2>&1
check "a capture from 0 to past the music succeeds" test $? -eq 0
"$heden" --capture s1.mkv --fps 5 --start 132.4 --end 133 >s1.txt 2>&1 &&
  "$heden" --capture s2.mkv --fps 5 --start 133 --end "$(at 0.6)" --segment 0/2 >s2.txt 2>&1 &&
  "$heden" --capture s3.mkv --fps 5 --start 133 --end "$(at 0.6)" --segment 1/2 >s3.txt 2>&1 &&
  "$heden" --still "$(at 0.59)":last.png --fps 5 >last.txt 2>&1 &&
  "$heden" --join joined.mkv s1.mkv s2.mkv s3.mkv >join.txt 2>&1
check "three segments are captured and joined" test $? -eq 0
frame_hashes full.mkv | tail -n +663 > full.md5
frame_hashes joined.mkv > joined.md5
check "the joined segments are the frames of the run from 0" same_file joined.md5 full.md5
check "a late still is the frame of the run from 0" same "$(frame_hashes last.png)" "$(tail -1 full.md5)"
check "the joined sound is the run's" cmp -s <(ffmpeg -v error -i joined.mkv -map 0:a -f s16le -) \
  <(ffmpeg -v error -i full.mkv -map 0:a -f s16le - | tail -c +$((662 * 8820 * 4 + 1)))
"$heden" --join joined.mp4 s1.mkv s2.mkv s3.mkv >join.txt 2>&1
check "segments joined into an mp4 say their colours too" test "$(colours joined.mp4)" = "tv,bt709,bt709,bt709"

# Of the program's lines, the last says that nothing was captured (Mesa may
# add warnings of its own).
verdict_last() { grep '^heden: ' "$1" | tail -1 | grep -q '^heden: nothing captured: '; }
export -f verdict_last

# Weaker drivers, made with Mesa's override variables: without shader
# objects, or with shader objects but no fragment shaders (the programs do
# not build). The demo would draw without the glow; a still says why on
# stderr, waits for no one and writes nothing.
for case in "-GL_ARB_shader_objects:ningunas extensiones de wgl?" "-GL_ARB_fragment_shader:pool/shader/glow_hor.txt did not build: "; do
    MESA_EXTENSION_OVERRIDE=${case%%:*} timeout 120 "$heden" --start 2 --fps 10 --still 2.5:weak.png >x.txt 2>&1
    check "${case%%:*}: exit code 1, the box's text on stderr, no picture" bash -c "test $? = 1 && \
        grep -qxF 'heden: ${case#*:}' x.txt && verdict_last x.txt && test ! -e weak.png"
done

# A run folder without blob.dat and pool/, and one without config.xml: no
# box waits, each cause is on stderr and the last line says that nothing was
# captured.
mkdir no_archive no_config
cp config.xml no_archive/
cp blob.dat no_config/ && ln -s "$pool" no_config/pool
for case in "no_archive:blob.dat gone fishing?" \
            "no_config:an xml errors occured FILE \`config.xml\` is missing or not readable :("; do
    dir=${case%%:*}
    (cd $dir && timeout 60 "$heden" --still 1:x.png >x.txt 2>&1)
    check "$dir: exit code 1 within a minute" test $? = 1
    check "$dir: the cause, then that nothing was captured" bash -c \
        "grep -qxF 'heden: ${case#*:}' $dir/x.txt && verdict_last $dir/x.txt"
    check "$dir: no file written" bash -c "test ! -e $dir/x.png && ! ls $dir | grep -q 'part\$'"
done

# A window larger than the settings allow: said once, and the picture is
# the size it says.
mkdir big && ln -s "$run/blob.dat" big/blob.dat
sed 's|<width>320</width>|<width>3840</width>|; s|<height>240</height>|<height>2160</height>|' config.xml \
    > big/config.xml
(cd big && "$heden" --still 20:big.png >x.txt 2>&1)
check "a clamped window is reported once" test "$(grep -cx \
    'heden: 3840 x 2160 is larger than the largest window, 3200 x 2400; capturing 3200 x 1800' big/x.txt)" = 1
check "a clamped window: the still is 3200 x 1800" \
    test "$(probe big/big.png v:0 width),$(probe big/big.png v:0 height)" = "3200,1800"

# run-demo's play with nobody watching finds the demo's windows by its
# process, so a caption of the viewer's own does not keep it running.
mkdir caption && ln -s "$run/blob.dat" caption/blob.dat
sed 's|<caption>heden</caption>|<caption>mine</caption>|' config.xml > caption/config.xml
headless=$(dirname "$0")/../../scripts/lib/headless.sh
(cd caption && timeout 120 bash -c "source '$headless'; play_headless '$heden' 3 ." >x.txt 2>&1)
check "a headless play with its own caption quits on Escape after its time" test $? = 0

# Failures: a clear word, a non-zero code and no file that looks finished.
"$heden" --capture x.mp4 --start 5 --end 2 >x.txt 2>&1
check "--end before --start: exit code 2" test $? -eq 2
check "--end before --start: says so" grep -q "is not after --start" x.txt
"$heden" --still "$(at 10.5)":late.png >x.txt 2>&1
check "a still past the end: exit code 2" test $? -eq 2 -a ! -e late.png
check "a still past the end: says so" grep -q "outside the capture" x.txt
"$heden" --capture x.mp4 --fps 0 >x.txt 2>&1
check "a bad value: exit code 2" test $? -eq 2

mkdir empty_path
PATH=$run/empty_path "$heden" --capture x.mp4 --end 1 >x.txt 2>&1
check "no ffmpeg: exit code 1" test $? -eq 1
check "no ffmpeg: says so" grep -q "ffmpeg. was not found on the PATH" x.txt
check "no ffmpeg: no file" test ! -e x.mp4

"$heden" --capture no/such/dir/x.mp4 --end 1 >x.txt 2>&1
check "unwritable output: exit code 1" test $? -eq 1
check "unwritable output: says so, before starting" grep -q "cannot write" x.txt
check "unwritable output: the window never opened" test "$(wc -l < x.txt)" = 1
mkdir taken.mkv
"$heden" --capture taken.mkv --end 0.2 --fps 10 >x.txt 2>&1
check "output name taken by a folder: exit code 1" test $? -eq 1
check "output name taken by a folder: says so" grep -q "cannot rename" x.txt
check "output name taken by a folder: the folder stays" test -d taken.mkv

# An encoder that writes a little and then gives up.
mkdir quitter
cat > quitter/ffmpeg <<'SCRIPT'
#!/bin/sh
for last; do :; done
echo "half a file" > "$last"
head -c 1000 > /dev/null
exit 3
SCRIPT
chmod +x quitter/ffmpeg
PATH=$run/quitter:$PATH "$heden" --capture q.mp4 --end 1 --fps 10 >x.txt 2>&1
check "encoder quits early: exit code 1" test $? -eq 1
check "encoder quits early: says so" grep -q "stopped taking frames early" x.txt
check "encoder quits early: no file, no leftovers" bash -c "test ! -e q.mp4 && ! ls | grep -q 'part\$'"

# Stopped from outside in the middle (Ctrl-C or kill; a script's background
# job ignores SIGINT, so this one is asked with SIGTERM): the encoder is let
# go and nothing half-made stays.
"$heden" --capture stopped.mp4 --end 30 --fps 10 >x.txt 2>&1 &
pid=$!
until_true 30 grep -q "frame [1-9]" x.txt
kill -TERM $pid
wait_exit
check "interrupted: exit code 1" test "$code" = 1
check "interrupted: says so" grep -q "capture interrupted at frame" x.txt
check "interrupted: no file, no leftovers" bash -c "test ! -e stopped.mp4 && ! ls | grep -q 'part\$'"

# The capture script owns what it starts. Stopped by a scheduler's SIGTERM
# in the middle of two local segments, it stops both renders, removes the
# segments and says so; an --out it cannot write, or a value that is not
# one, it refuses before rendering anything.
capture_script=$(dirname "$0")/../../scripts/capture
ln -s "$heden" heden
bash "$capture_script" --run-folder . --jobs 2 --out script.mkv --end 30 --fps 10 >x.txt 2>&1 &
pid=$!
until_true 60 grep -q "frame [1-9]" x.txt
kill -TERM $pid
wait_exit
check "capture script stopped by SIGTERM: exit code 143" test "$code" = 143
check "capture script stopped: its last line says so" bash -c "tail -1 x.txt | grep -q '^capture: capture stopped (SIGTERM)'"
check "capture script stopped: no render goes on, no segment or part file stays" bash -c \
    "! pgrep -f '[c]apture $run/segments' && ! ls | grep -qE '^segments|part\$|^script.mkv\$'"
bash "$capture_script" --run-folder . --out no/such/dir/x.mkv --end 1 >x.txt 2>&1
check "capture script, --out in no folder: exit code 1, said at once" bash -c \
    "test $? = 1 && test \"\$(cat x.txt)\" = 'capture: cannot write \`$run/no/such/dir/x.mkv\`: No such file or directory'"
bash "$capture_script" --run-folder . --start abc >x.txt 2>&1
check "capture script, --start abc: exit code 2, named" bash -c "test $? = 2 && grep -q '^capture: --start needs a time' x.txt"

# A picture damaged inside a readable archive (its PNG header zeroed) stops
# a still before its first frame, named.
mkdir damaged && cp blob.dat damaged/ && cp config.xml damaged/
offset=$(grep -obUaP '\x89PNG' damaged/blob.dat | head -1 | cut -d: -f1)
head -c 16 /dev/zero | dd of=damaged/blob.dat bs=1 seek="$offset" conv=notrunc status=none
(cd damaged && timeout 120 "$heden" --still 130:x.png >x.txt 2>&1)
check "a damaged picture in blob.dat: exit code 1, named, no still" bash -c \
    "test $? = 1 && grep -q '^heden: pool/.*\.png is damaged' damaged/x.txt && verdict_last damaged/x.txt && test ! -e damaged/x.png"
"$heden" --still 10:s.jpg >x.txt 2>&1
check "a still named .jpg: exit code 2, no file" bash -c "test $? = 2 && grep -q 'writes .png pictures' x.txt && test ! -e s.jpg"

summary
