#!/usr/bin/env python3
"""Times tattilo-cli against liblouis on the same corpus of school formulas.

Every program is timed as a whole process, started and timed the same way, in turns: a
warm-up run of each, then RUNS timed runs, wall-clock from start to exit with the input on
standard input and the output into a file, and the CPU time (user + system) the process used.
The report gives the minimum, median and maximum wall time of each (the spread is the
machine's noise), the median CPU time, and each command's ratio to lou_translate.

On 200 000 generated formulas (school_formulas.py, fixed seed):
  tattilo-cli to-braille --lines          Latex-mode text to Braille-mode text
  tattilo-cli to-braille --lines --threads 1   the same on one thread
  tattilo-cli to-latex --lines            the Braille-mode lines back to Latex-mode text
  tattilo-cli speak --lines               the Braille-mode lines as spoken words
  lou_translate --forward it-it-comp6.utb  liblouis, Italian six-dot table, on the formulas

Start-up: one formula converted by a whole process (to-braille, to-latex, speak, and
lou_translate), STARTS runs each, minimum, median and maximum.

lou_translate reads backslash escapes in its input, so it is given the corpus with every
backslash doubled: the same characters reach both translators. The programs run one at a time.
lou_translate works on one thread; tattilo-cli --lines shares the lines of a large piece of
input among one thread per processor (four at most), so to-braille is also timed on one
thread, and the CPU-time ratio is printed beside the wall-time one.

Usage: compare_liblouis.py [--cli PATH] [--runs N] [--starts N] [--count N] [--seed N]
                           [--install]
lou_translate comes from Debian's liblouis-bin and liblouis-data; with --install the script
installs them when they are missing (as root, or through sudo).
Exit status: 0 measured, 1 a translator failed, 2 a tool is missing.
"""

import argparse
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import school_formulas  # noqa: E402

LOU_TABLE = "it-it-comp6.utb"
LOU_PACKAGES = ["liblouis-bin", "liblouis-data"]
LOU = "lou_translate"


def find_cli(given):
    if given:
        return given
    for candidate in [os.path.join(HERE, "..", "build-release", "bin", "tattilo-cli"),
                      os.path.join(HERE, "..", "build", "bin", "tattilo-cli"),
                      shutil.which("tattilo-cli")]:
        if candidate and os.access(candidate, os.X_OK):
            return os.path.abspath(candidate)
    return None


def ensure_liblouis(install):
    if shutil.which("lou_translate"):
        return True
    if not install:
        print("lou_translate is missing: install Debian's %s (apt-get install %s), or run "
              "this script with --install" % (" and ".join(LOU_PACKAGES), " ".join(LOU_PACKAGES)),
              file=sys.stderr)
        return False
    prefix = [] if os.geteuid() == 0 else ["sudo"]
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    subprocess.run(prefix + ["apt-get", "install", "-y", "-qq", "--no-install-recommends"] +
                   LOU_PACKAGES, check=False, env=env)
    return shutil.which("lou_translate") is not None


def run_once(command, input_path, output_path):
    """Wall seconds and CPU seconds (user + system) of one whole run; the exit status."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    with open(input_path, "rb") as stdin, open(output_path, "wb") as stdout:
        start = time.perf_counter()
        status = subprocess.run(command, stdin=stdin, stdout=stdout,
                                stderr=subprocess.DEVNULL).returncode
        wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall, cpu, status


def line_count(path):
    with open(path, "rb") as f:
        return sum(1 for _ in f)


def write_lines(path, lines):
    with open(path, "w", encoding="cp1252", newline="\n") as f:
        f.writelines(line + "\n" for line in lines)


class Timings:
    def __init__(self):
        self.walls = []
        self.cpus = []

    def row(self, name, per=None):
        wall = statistics.median(self.walls)
        text = "%-22s %8.1f %8.1f %8.1f ms %9.1f ms" % (
            name, min(self.walls) * 1e3, wall * 1e3, max(self.walls) * 1e3,
            statistics.median(self.cpus) * 1e3)
        if per:
            text += " %9.2f us" % (wall / per * 1e6)
        return text


def time_tools(tools, runs, folder, expected_lines):
    """Runs each tool once to warm up and check it, then `runs` times in turns."""
    timings = {name: Timings() for name in tools}
    for run in range(1 + runs):
        for name, (command, source) in tools.items():
            out = os.path.join(folder, name.replace(" ", "_") + ".out")
            wall, cpu, status = run_once(command, source, out)
            if run == 0:
                lines = line_count(out)
                if expected_lines is not None and lines != expected_lines:
                    print("%s: exit status %d, %d output lines for %d input lines" %
                          (name, status, lines, expected_lines), file=sys.stderr)
                    return None
                if status != 0 and name == LOU:
                    print("%s: exit status %d" % (name, status), file=sys.stderr)
                    return None
                continue
            timings[name].walls.append(wall)
            timings[name].cpus.append(cpu)
    return timings


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", help="tattilo-cli to time (default: build-release/bin, "
                        "build/bin, then PATH)")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--starts", type=int, default=100)
    parser.add_argument("--count", type=int, default=200000)
    parser.add_argument("--seed", type=int, default=2024)
    parser.add_argument("--install", action="store_true",
                        help="install liblouis-bin and liblouis-data when missing")
    args = parser.parse_args()

    cli = find_cli(args.cli)
    if not cli:
        print("tattilo-cli not found: build it (make build) or name it with --cli",
              file=sys.stderr)
        return 2
    if not ensure_liblouis(args.install):
        return 2

    lou = [LOU, "--forward", LOU_TABLE]
    with tempfile.TemporaryDirectory(prefix="tattilo-compare-") as folder:
        corpus = os.path.join(folder, "formulas.txt")
        escaped = os.path.join(folder, "formulas-lou.txt")
        cells = os.path.join(folder, "cells.txt")
        generator = school_formulas.Formulas(args.seed)
        formulas = [generator.formula() for _ in range(args.count)]
        write_lines(corpus, formulas)
        write_lines(escaped, [line.replace("\\", "\\\\") for line in formulas])
        # The Braille-mode lines the other two commands read: what to-braille made of the corpus.
        with open(corpus, "rb") as stdin, open(cells, "wb") as stdout:
            subprocess.run([cli, "to-braille", "--lines"], stdin=stdin, stdout=stdout,
                           stderr=subprocess.DEVNULL)
        if line_count(cells) != args.count:
            print("tattilo-cli to-braille: %d output lines for %d formulas" %
                  (line_count(cells), args.count), file=sys.stderr)
            return 1
        with open(cells, "rb") as f:
            refused = sum(1 for line in f if line == b"\n")

        tools = {
            "to-braille --lines": ([cli, "to-braille", "--lines"], corpus),
            "to-braille, 1 thread": ([cli, "to-braille", "--lines", "--threads", "1"], corpus),
            "to-latex --lines": ([cli, "to-latex", "--lines"], cells),
            "speak --lines": ([cli, "speak", "--lines"], cells),
            LOU: (lou, escaped),
        }
        timings = time_tools(tools, args.runs, folder, args.count)
        if timings is None:
            return 1

        one = os.path.join(folder, "one.txt")
        one_lou = os.path.join(folder, "one-lou.txt")
        one_cells = os.path.join(folder, "one-cells.txt")
        write_lines(one, ["\\frac{x+1}{2}=\\sqrt{3}"])
        write_lines(one_lou, ["\\\\frac{x+1}{2}=\\\\sqrt{3}"])
        write_lines(one_cells, ["6_x+#anp#b4=9#co"])
        starts = time_tools({
            "to-braille": ([cli, "to-braille"], one),
            "to-latex": ([cli, "to-latex"], one_cells),
            "speak": ([cli, "speak"], one_cells),
            LOU: (lou, one_lou),
        }, args.starts, folder, None)
        if starts is None:
            return 1

    mean_length = sum(len(f) for f in formulas) / len(formulas)
    print("Corpus: %d school formulas (seed %d), %.1f characters on average, %d refused by "
          "to-braille (empty lines for the other two)" %
          (args.count, args.seed, mean_length, refused))
    print("Runs: %d timed runs of each whole process, in turns, after one warm-up run" % args.runs)
    header = "%-22s %8s %8s %8s    %9s" % ("", "min", "median", "max", "CPU")
    print(header + " %12s" % "per line")
    for name in tools:
        print(timings[name].row(name, args.count))
    lou_wall = statistics.median(timings[LOU].walls)
    lou_cpu = statistics.median(timings[LOU].cpus)
    for name in tools:
        if name == LOU:
            continue
        wall = statistics.median(timings[name].walls)
        cpu = max(statistics.median(timings[name].cpus), 1e-9)
        print("%-22s %5.1f times faster than lou_translate (median wall; min/max %.1f-%.1f; "
              "%.1f times in CPU time)" % (
                  name, lou_wall / wall,
                  min(timings[LOU].walls) / max(timings[name].walls),
                  max(timings[LOU].walls) / min(timings[name].walls), lou_cpu / cpu))
    print("Start-up: one formula by a whole process, %d runs of each" % args.starts)
    print(header)
    for name in starts:
        print(starts[name].row(name))
    return 0


if __name__ == "__main__":
    sys.exit(main())
