# Sourced by scripts/capture (and its test): a capture cut into contiguous
# segments that separate processes render, and the join of their files.
# The program numbers every capture's frames from 0 and works out the frames
# before a segment's start without drawing them, so segment k's frames are
# those a single capture shows there.

# segment_bounds FIRST_FRAME END_FRAME COUNT: COUNT + 1 frame numbers that
# cut [FIRST_FRAME, END_FRAME) into COUNT stretches of nearly equal length.
segment_bounds() {
  local first=$1 end=$2 count=$3 k
  for ((k = 0; k <= count; k++)); do echo $((first + (end - first) * k / count)); done
}

# frame_seconds FRAME FPS: the frame's time, precise enough that the program
# takes it as that frame and no other.
frame_seconds() {
  awk -v f="$1" -v r="$2" 'BEGIN { printf "%.12f", f / r }'
}

# frame_at_or_after SECONDS FPS: the first frame at or after a time, as the
# program counts it (a hair below the grid counts as on it).
frame_at_or_after() {
  awk -v s="$1" -v r="$2" 'BEGIN { f = s * r - 1e-6; n = int(f); if (n < f) n++; print n }'
}

# segment_join OUT SEGMENT...: joins lossless .mkv segments in order into
# OUT. The pictures are copied as they are (.mkv) or encoded once from the
# joined lossless pictures (.mp4); the sound is the segments' lossless sound
# put together and encoded once over the whole length, as a single capture
# encodes it. Writes OUT.PID.part (this shell's own) and renames it when
# ffmpeg succeeds; otherwise leaves nothing, shows ffmpeg's words and puts
# its last line in $join_error.
segment_join() {
  local out=$1 part=$1.$$.part list errors seg
  shift
  join_error=""
  list=$(mktemp) errors=$(mktemp)
  for seg in "$@"; do printf "file '%s'\n" "$(realpath "$seg")" >> "$list"; done
  local codecs
  case "${out##*.}" in
    mkv) codecs=(-c:v copy -c:a flac -f matroska) ;;
    # As a single capture encodes its RGB frames (src/capture/video_encoder.cpp):
    # padded to even sizes, converted and tagged as BT.709.
    mp4) codecs=(-c:v libx264 -preset veryfast -crf 18 -vf
                 'format=rgb24,pad=ceil(iw/2)*2:ceil(ih/2)*2,scale=out_color_matrix=bt709:out_range=tv,format=yuv420p'
                 -colorspace bt709 -color_primaries bt709 -color_trc bt709 -color_range tv
                 -c:a aac -b:a 192k -movflags +faststart -f mp4) ;;
    *) echo "capture: segments join into .mkv or .mp4, not $out" >&2; rm -f "$list" "$errors"; return 2 ;;
  esac
  # -xerror: a write that fails (a full disk) fails ffmpeg, which otherwise
  # says so and exits with 0.
  if ffmpeg -hide_banner -nostdin -loglevel error -y -xerror -f concat -safe 0 -i "$list" -map 0:v:0 -map 0:a:0 \
      -fps_mode passthrough "${codecs[@]}" "$part" 2>"$errors" && join_error=$(mv "$part" "$out" 2>&1); then
    rm -f "$list" "$errors"
    return 0
  fi
  sed 's/^/ffmpeg: /' "$errors" >&2
  [ -n "$join_error" ] || join_error=$(tail -n 1 "$errors")
  rm -f "$list" "$errors" "$part"
  return 1
}
