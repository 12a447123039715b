#!/usr/bin/env python3
"""Whole-process cost of velmora-cli printing a 40-year table (--format tsv) against a
minimal C program and a minimal C++ program that print one line, alternated over many runs.

    bench/cli_process_bench.py [--cli build-rel/cli/velmora-cli] [--runs 300]

Prints the median CPU time (user + system) and wall time of each, and the median of the
per-round ratios of velmora-cli to each of the two. The target is a median CPU ratio of at
most 1.5 against the C program.
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

MINIMAL_C = '#include <stdio.h>\nint main(void) { puts("one line"); return 0; }\n'
MINIMAL_CXX = '#include <iostream>\nint main() { std::cout << "one line\\n"; }\n'

TARGET = 1.5  # CPU, against the C program


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


def build(compiler, source_text, folder, name, suffix):
    """A one-line program built as the compiler builds it by default (linked dynamically)."""
    source = pathlib.Path(folder) / (name + suffix)
    source.write_text(source_text)
    program = str(pathlib.Path(folder) / name)
    subprocess.run([compiler, "-O2", "-o", program, str(source)], check=True)
    return program


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default=str(root / "build-rel" / "cli" / "velmora-cli"))
    parser.add_argument("--runs", type=int, default=300)
    parser.add_argument("--cc", default="gcc")
    parser.add_argument("--cxx", default="g++")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as folder:
        sides = {
            "cli": [os.path.abspath(args.cli)] + EXAMPLE,
            "c": [build(args.cc, MINIMAL_C, folder, "one_line_c", ".c")],
            "cxx": [build(args.cxx, MINIMAL_CXX, folder, "one_line_cxx", ".cpp")],
        }
        names = list(sides)
        for command in sides.values():  # warm the caches
            run(command)
        cpu = {name: [] for name in names}
        wall = {name: [] for name in names}
        for i in range(args.runs):
            # Rotate the order so that no side always runs first or last.
            shift = i % len(names)
            for name in names[shift:] + names[:shift]:
                c, w = run(sides[name])
                cpu[name].append(c)
                wall[name].append(w)

    def ratio(a, b):
        return statistics.median(x / y for x, y in zip(a, b) if y > 0)

    ms = 1000.0
    titles = {"cli": "velmora-cli --years 40 --format tsv",
              "c": "one-line C program", "cxx": "one-line C++ program"}
    print(f"runs: {args.runs} each, in rotated order")
    for name in names:
        print(f"{titles[name] + ':':37s} CPU {statistics.median(cpu[name]) * ms:.2f} ms, "
              f"wall {statistics.median(wall[name]) * ms:.2f} ms (medians)")
    for name in ("c", "cxx"):
        print(f"median ratio against the {titles[name]}: "
              f"CPU {ratio(cpu['cli'], cpu[name]):.2f}, wall {ratio(wall['cli'], wall[name]):.2f}")
    verdict = "met" if ratio(cpu["cli"], cpu["c"]) <= TARGET else "NOT met"
    print(f"target: CPU at most {TARGET} times the C program: {verdict}")


if __name__ == "__main__":
    main()
