#!/usr/bin/env python3
"""How long the window program takes until its window is mapped, against a bare Qt window
with a tab widget: runs alternated, the median of each, and their ratio (target at most
1.15). Needs an X display (Xvfb is fine) and xdotool."""
import argparse
import os
import statistics
import subprocess
import sys
import time


def time_to_map(command):
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while True:
            found = subprocess.run(
                ["xdotool", "search", "--onlyvisible", "--pid", str(process.pid)],
                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            if found.stdout.strip():
                return time.perf_counter() - start
            if process.poll() is not None:
                sys.exit("%s ended before its window was mapped" % command[0])
            time.sleep(0.001)
    finally:
        process.kill()
        process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--app", default="build/app/velmora")
    parser.add_argument("--baseline", default="build/bench/window_map_baseline")
    parser.add_argument("--runs", type=int, default=11)
    args = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        sys.exit("needs an X display (for instance Xvfb :99 & DISPLAY=:99)")
    app, base = [], []
    for _ in range(args.runs):
        app.append(time_to_map([args.app]))
        base.append(time_to_map([args.baseline]))
    a, b = statistics.median(app), statistics.median(base)
    print("window %.1f ms, bare tab window %.1f ms, ratio %.2f (target at most 1.15)"
          % (a * 1000, b * 1000, a / b))


if __name__ == "__main__":
    main()
