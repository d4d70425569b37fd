#!/usr/bin/env python3
"""Sums up a whole-demo run from the probe's frame log (see probe.cpp):
frames and their rate, seeks, frames whose demo time went back without a
seek, the soundtrack position against the demo clock, the soundtrack's pace
against the monotonic clock between seeks (and the stalls that set it back),
resident size over each play, and the sanitizer reports and error boxes.
Exit status 1 when anything is wrong."""
import glob
import os
import sys


def read_log(out):
    frames, seeks, done = [], [], None
    for line in open(os.path.join(out, "probe.log")):
        f = line.split()
        if f[0] == "f":
            frames.append((int(f[1]), float(f[2]), float(f[3]), float(f[4]), int(f[5]), int(f[6]), int(f[7])))
        elif f[0] == "seek":
            seeks.append((int(f[1]), float(f[3]), f[4]))
        elif f[0] == "done":
            done = line.strip()
    return frames, seeks, done


def clock_figures(frames, seek_frames):
    """Largest soundtrack lead over the demo clock beyond the frame's own
    duration, and the pace steps: where the soundtrack fell behind the
    monotonic clock between two frames (the output starved, as a real device
    underruns), up to the end of the track."""
    end = max(f[3] for f in frames)
    beyond, steps, segment, last = -1e9, [], None, 0.0
    for prev, cur in zip(frames, frames[1:]):
        seeked = prev[0] in seek_frames
        if cur[3] < 0 or cur[4] or cur[3] >= end - 0.05:
            segment = None
            continue
        if not seeked:
            beyond = max(beyond, abs(cur[3] - cur[2]) - (cur[1] - prev[1]))
        if seeked or segment is None:
            segment, last = (cur[1], cur[3]), 0.0
            continue
        drift = (cur[3] - segment[1]) - (cur[1] - segment[0])
        if abs(drift - last) > 0.02:
            steps.append((cur[0], round((cur[1] - prev[1]) * 1000), round((drift - last) * 1000, 1)))
        last = drift
    return beyond, steps


def main(out):
    frames, seeks, done = read_log(out)
    if not frames:
        print("no frames logged")
        return 1
    seek_frames = {s[0] for s in seeks}
    backwards = [(c[0], p[2], c[2]) for p, c in zip(frames, frames[1:]) if c[2] < p[2] and p[0] not in seek_frames]
    wall = frames[-1][1] - frames[0][1]
    longest = max(c[1] - p[1] for p, c in zip(frames, frames[1:]))
    print(f"frames {len(frames)} in {wall:.1f} s ({len(frames) / max(wall, 1e-9):.1f} per second), "
          f"longest frame {longest * 1000:.0f} ms")
    print(f"demo time from {min(f[2] for f in frames):.2f} to {max(f[2] for f in frames):.2f} s; "
          f"frames after the end of the track: {sum(1 for f in frames if f[4])}")
    print(f"seeks {len(seeks)}; frames whose time went back without a seek: {len(backwards)} {backwards[:5]}")
    if any(f[3] >= 0 for f in frames):
        beyond, steps = clock_figures(frames, seek_frames)
        print(f"soundtrack position after a frame against that frame's demo time, beyond the frame's own "
              f"duration: at most {beyond * 1000:.1f} ms")
        print(f"soundtrack against the monotonic clock between seeks: {len(steps)} steps over 20 ms "
              f"(frame, frame ms, step ms): {steps[:8]}")
    plays = [0] + [s[0] for s in seeks if s[2] == "again"] + [frames[-1][0] + 1]
    for i, (lo, hi) in enumerate(zip(plays, plays[1:])):
        for what, column in (("resident", 5), ("malloc heap", 6)):
            size = [(f[0], f[column]) for f in frames if lo <= f[0] < hi and f[5] > 0]
            if size:
                mid = size[len(size) // 2]
                print(f"play {i + 1} {what} KiB: start {size[0][1]} (frame {size[0][0]}), middle {mid[1]} "
                      f"(frame {mid[0]}), end {size[-1][1]} (frame {size[-1][0]}), largest {max(r[1] for r in size)}")
    reports = glob.glob(os.path.join(out, "asan.*")) + glob.glob(os.path.join(out, "ubsan.*"))
    boxes_path = os.path.join(out, "boxes.log")
    boxes = sum(1 for _ in open(boxes_path)) if os.path.exists(boxes_path) else 0
    exit_path = os.path.join(out, "exit")
    exit_line = open(exit_path).read().strip() if os.path.exists(exit_path) else "?"
    print(f"sanitizer reports: {len(reports)} {reports}; error boxes: {boxes}; {exit_line}; {done or 'probe not done'}")
    failed = backwards or reports or boxes or not done or exit_line != "exit status 0"
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
