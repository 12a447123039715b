#!/usr/bin/env python3
"""How long the window program takes until its window is mapped, against a bare Qt window
with a tab widget: runs alternated, the median of each, and their ratio (target at most
1.15). Needs an X display (Xvfb is fine) and xev (x11-utils).

One xev watches the root window for the map of a top-level window, so that nothing polls
the X server while the programs start (a polling client slows them down and, on a busy
server, can even have their connection refused)."""
import argparse
import os
import queue
import statistics
import subprocess
import sys
import threading
import time


class MapWatcher:
    """The moments at which top-level windows (not menus or tips) are mapped."""

    def __init__(self):
        self.process = subprocess.Popen(["xev", "-root", "-event", "substructure"],
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        text=True, bufsize=1)
        self.maps = queue.Queue()
        self.pending = None
        threading.Thread(target=self._read, daemon=True).start()
        time.sleep(0.3)  # xev selects its events once it has connected

    def _read(self):
        for line in self.process.stdout:
            if line.startswith("MapNotify event"):
                self.pending = time.perf_counter()
            elif self.pending is not None and "override" in line:
                if "override NO" in line:
                    self.maps.put(self.pending)
                self.pending = None

    def clear(self):
        while not self.maps.empty():
            self.maps.get_nowait()

    def close(self):
        self.process.kill()
        self.process.wait()


def time_to_map(watcher, command):
    watcher.clear()
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while True:
            try:
                return watcher.maps.get(timeout=0.05) - start
            except queue.Empty:
                if process.poll() is not None:
                    sys.exit("%s ended before its window was mapped" % command[0])
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
    watcher = MapWatcher()
    app, base = [], []
    try:
        for command in ([args.app], [args.baseline]):  # warm the caches
            time_to_map(watcher, command)
        for _ in range(args.runs):
            app.append(time_to_map(watcher, [args.app]))
            base.append(time_to_map(watcher, [args.baseline]))
    finally:
        watcher.close()
    a, b = statistics.median(app), statistics.median(base)
    print("window %.1f ms, bare tab window %.1f ms, ratio %.3f (target at most 1.15)"
          % (a * 1000, b * 1000, a / b))


if __name__ == "__main__":
    main()
