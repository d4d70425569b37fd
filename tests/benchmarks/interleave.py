#!/usr/bin/env python3
"""A frame's cost in two builds, measured side by side.

    interleave.py BENCH_A BENCH_B [--rounds N] [--frames F] [--beats B,B,...]

Run from a folder with pool/ on an X display, like demo_benchmark itself.
Both benchmarks start (with --serve) and stay up; each round asks A and then
B, then B and then A, for F frames at every beat, so that whatever else the
machine does in a stretch of time lands on both. On a shared machine one
build's frame varies by 15 % from run to run; the pairs compare what was
drawn seconds apart. Prints, per beat, the median of B's CPU time over A's
and the share of pairs where B was cheaper.
"""
import argparse
import statistics
import subprocess


class Bench:
    def __init__(self, path):
        self.path = path
        self.proc = subprocess.Popen([path, "--serve"], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        for line in self.proc.stdout:
            if line.startswith("demo_benchmark:"):
                self.build = line.strip()
            if line.strip() == "ready":
                return
        raise SystemExit(f"interleave: {path} ended before it was ready")

    def frames(self, beat, count):
        self.proc.stdin.write(f"{beat} {count}\n")
        self.proc.stdin.flush()
        answer = self.proc.stdout.readline().split()
        if len(answer) != 2:
            raise SystemExit(f"interleave: {self.path} gave no answer at beat {beat}")
        return float(answer[0])

    def close(self):
        self.proc.stdin.close()
        self.proc.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("a")
    parser.add_argument("b")
    parser.add_argument("--rounds", type=int, default=20)
    parser.add_argument("--frames", type=int, default=8)
    parser.add_argument("--beats", default="20,122.5,240,345")
    args = parser.parse_args()
    beats = [float(b) for b in args.beats.split(",")]
    a, b = Bench(args.a), Bench(args.b)
    print(f"A {args.a}: {a.build}\nB {args.b}: {b.build}")
    for bench in (a, b):  # the drivers settle every scene once
        for beat in beats:
            bench.frames(beat, 2)
    cost = {(beat, side): [] for beat in beats for side in "ab"}
    for r in range(args.rounds):
        order = (a, b) if r % 2 == 0 else (b, a)
        for beat in beats:
            for bench in order:
                cost[(beat, "a" if bench is a else "b")].append(bench.frames(beat, args.frames))
    a.close()
    b.close()
    print(f"{'beat':>7} {'A CPU ms':>9} {'B CPU ms':>9} {'B/A':>7} {'B cheaper':>10}")
    for beat in beats:
        ca, cb = cost[(beat, "a")], cost[(beat, "b")]
        ratios = [y / x for x, y in zip(ca, cb)]
        cheaper = sum(r < 1 for r in ratios)
        print(f"{beat:7.1f} {statistics.median(ca):9.2f} {statistics.median(cb):9.2f} "
              f"{statistics.median(ratios):7.3f} {cheaper:4d} of {len(ratios)}")


if __name__ == "__main__":
    main()
