#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times whole processes: the trainer's start (bench-startup) against the floor of a Qt Widgets
program (bench-floor), run alternately, each to its first paint. Prints the medians of wall time,
of CPU time (user + system) and of peak resident memory, and the ratios trainer / floor."""

import argparse
import os
import statistics
import subprocess
import sys
import time


def run_once(command, env):
    """Wall seconds, CPU seconds and peak RSS (KiB) of one run; fails on a non-zero exit."""
    started = time.perf_counter()
    child = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - started
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit(f"{command[0]} ended with {child.returncode}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("bench_dir", help="folder holding bench-startup and bench-floor")
    parser.add_argument("--runs", type=int, default=20, help="runs of each program (default 20)")
    parser.add_argument("--warmup", type=int, default=2, help="untimed runs of each first (default 2)")
    args = parser.parse_args()

    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    programs = {
        "startup": [os.path.join(args.bench_dir, "bench-startup")],
        "floor": [os.path.join(args.bench_dir, "bench-floor")],
    }
    for _ in range(args.warmup):
        for command in programs.values():
            run_once(command, env)
    samples = {name: [] for name in programs}
    for _ in range(args.runs):
        for name, command in programs.items():  # alternating, so that load changes hit both
            samples[name].append(run_once(command, env))

    medians = {}
    for name, runs in samples.items():
        wall = statistics.median(r[0] for r in runs) * 1000
        cpu = statistics.median(r[1] for r in runs) * 1000
        rss = statistics.median(r[2] for r in runs) / 1024
        rss_max = max(r[2] for r in runs) / 1024
        medians[name] = (wall, cpu, rss)
        print(f"{name:8s} runs {len(runs):3d}  wall median {wall:7.1f} ms  cpu median {cpu:6.1f} ms  "
              f"peak RSS median {rss:6.1f} MiB (max {rss_max:.1f})")
    s, f = medians["startup"], medians["floor"]
    print(f"ratio startup/floor: wall {s[0] / f[0]:.2f}x  cpu {s[1] / f[1]:.2f}x  peak RSS {s[2] / f[2]:.2f}x "
          f"(target: 1.5x)")


if __name__ == "__main__":
    main()
