#!/usr/bin/env python3
"""Whole-process cost of velmora-cli printing a 40-year table (--format tsv) against a
minimal C++ program that prints one line, alternated A/B over many runs.

    bench/cli_process_bench.py [--cli build-rel/cli/velmora-cli] [--runs 300]

Prints the median CPU time (user + system) and wall time of each, and the median of the
per-pair ratios. The target is a median CPU ratio of at most 2.
"""
import argparse
import os
import pathlib
import statistics
import subprocess
import tempfile
import time

EXAMPLE = ["--early-year", "2001", "--early-month", "1", "--age", "62",
           "--early-benefit", "1000", "--later-year", "2004", "--later-month", "1",
           "--later-benefit", "1400", "--cola", "2.5", "--rate", "3",
           "--years", "40", "--format", "tsv"]

MINIMAL = '#include <iostream>\nint main() { std::cout << "one line\\n"; }\n'


def run(command):
    """CPU seconds (user + system) and wall seconds of one whole process."""
    start = time.perf_counter()
    pid = os.posix_spawn(command[0], command, os.environ,
                         file_actions=[(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0)])
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"{command[0]} failed with status {status}")
    return usage.ru_utime + usage.ru_stime, wall


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default=str(root / "build-rel" / "cli" / "velmora-cli"))
    parser.add_argument("--runs", type=int, default=300)
    parser.add_argument("--cxx", default="g++")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as folder:
        source = pathlib.Path(folder) / "one_line.cpp"
        source.write_text(MINIMAL)
        minimal = str(pathlib.Path(folder) / "one_line")
        subprocess.run([args.cxx, "-O2", "-o", minimal, str(source)], check=True)

        cli = [os.path.abspath(args.cli)] + EXAMPLE
        base = [minimal]
        for command in (cli, base):  # warm the caches
            run(command)
        cpu_a, cpu_b, wall_a, wall_b = [], [], [], []
        for i in range(args.runs):
            # Alternate the order so that neither side always runs second.
            order = [(cli, cpu_a, wall_a), (base, cpu_b, wall_b)]
            if i % 2:
                order.reverse()
            for command, cpu, wall in order:
                c, w = run(command)
                cpu.append(c)
                wall.append(w)

    def ratio(a, b):
        return statistics.median(x / y for x, y in zip(a, b) if y > 0)

    ms = 1000.0
    print(f"runs: {args.runs} each, alternated")
    print(f"velmora-cli --years 40 --format tsv: CPU {statistics.median(cpu_a) * ms:.2f} ms, "
          f"wall {statistics.median(wall_a) * ms:.2f} ms (medians)")
    print(f"one-line C++ program:                CPU {statistics.median(cpu_b) * ms:.2f} ms, "
          f"wall {statistics.median(wall_b) * ms:.2f} ms (medians)")
    print(f"median ratio: CPU {ratio(cpu_a, cpu_b):.2f}, wall {ratio(wall_a, wall_b):.2f} "
          f"(target: CPU at most 2)")


if __name__ == "__main__":
    main()
