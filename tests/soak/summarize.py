#!/usr/bin/env python3
"""Sums up a whole-demo run from the probe's frame log (see probe.cpp):
frames and their rate, seeks, frames whose demo time went back without a
seek, the soundtrack position against the demo clock, the soundtrack's pace
against the monotonic clock between seeks, resident size over the run, and
the sanitizer reports and error boxes. Exit status 1 when anything is wrong."""
import glob
import os
import sys


def main(out):
    frames, seeks, problems = [], [], []
    done = None
    for line in open(os.path.join(out, "probe.log")):
        f = line.split()
        if f[0] == "f":
            frames.append((int(f[1]), float(f[2]), float(f[3]), float(f[4]), int(f[5]), int(f[6])))
        elif f[0] == "seek":
            seeks.append((int(f[1]), float(f[3])))
        elif f[0] == "done":
            done = line.strip()
    if not frames:
        print("no frames logged")
        return 1
    seek_frames = {s[0] for s in seeks}
    backwards = []
    audio_lead = 0.0  # soundtrack position after a frame minus that frame's demo time
    beyond_frame = -1e9  # the same, less the frame's own duration: above 0 is drift beyond one frame
    pace = 0.0        # soundtrack advance minus monotonic advance since the last seek
    longest_frame = 0.0
    segment = None
    for prev, cur in zip(frames, frames[1:]):
        dt = cur[1] - prev[1]
        longest_frame = max(longest_frame, dt)
        seeked = prev[0] in seek_frames
        if cur[2] < prev[2] and not seeked:
            backwards.append((cur[0], prev[2], cur[2]))
        if cur[3] >= 0 and not cur[4]:
            audio_lead = max(audio_lead, abs(cur[3] - cur[2]))
            if not seeked:
                beyond_frame = max(beyond_frame, abs(cur[3] - cur[2]) - dt)
            if seeked or segment is None or prev[4]:
                segment = (cur[1], cur[3])  # pacing starts again after a seek
            else:
                pace = max(pace, abs((cur[3] - segment[1]) - (cur[1] - segment[0])))
    wall = frames[-1][1] - frames[0][1]
    rss = [(f[0], f[5]) for f in frames if f[5] > 0]
    reports = [p for p in glob.glob(os.path.join(out, "asan.*")) + glob.glob(os.path.join(out, "ubsan.*"))]
    boxes = sum(1 for _ in open(os.path.join(out, "boxes.log"))) if os.path.exists(os.path.join(out, "boxes.log")) else 0
    exit_line = open(os.path.join(out, "exit")).read().strip() if os.path.exists(os.path.join(out, "exit")) else "?"
    print(f"frames {len(frames)} in {wall:.1f} s ({len(frames) / max(wall, 1e-9):.1f} per second), "
          f"longest frame {longest_frame * 1000:.0f} ms")
    print(f"demo time from {min(f[2] for f in frames):.2f} to {max(f[2] for f in frames):.2f} s; "
          f"frames after the end of the track: {sum(1 for f in frames if f[4])}")
    print(f"seeks {len(seeks)}; frames whose time went back without a seek: {len(backwards)} {backwards[:5]}")
    if any(f[3] >= 0 for f in frames):
        print(f"soundtrack position against the demo clock after each frame: largest difference "
              f"{audio_lead * 1000:.1f} ms (longest frame {longest_frame * 1000:.0f} ms); beyond the frame's own "
              f"duration at most {beyond_frame * 1000:.1f} ms")
        print(f"soundtrack pace against the monotonic clock between seeks: largest drift {pace * 1000:.1f} ms")
    if rss:
        mid = rss[len(rss) // 2]
        print(f"resident KiB: start {rss[0][1]} (frame {rss[0][0]}), middle {mid[1]} (frame {mid[0]}), "
              f"end {rss[-1][1]} (frame {rss[-1][0]}), largest {max(r[1] for r in rss)}")
    print(f"sanitizer reports: {len(reports)} {reports}; error boxes: {boxes}; {exit_line}; {done or 'probe not done'}")
    if backwards:
        problems.append("time went back")
    if reports or boxes or not done or exit_line != "exit status 0":
        problems.append("reports, boxes, an unfinished run or a failed exit")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
