#!/usr/bin/env python3
"""Times tattilo-cli against liblouis on the same corpus of school formulas.

Both translators read the same 20 000 generated formulas (school_formulas.py, fixed seed) as
whole processes, started and timed the same way: a few warm-up runs, then RUNS timed runs of
each, in turns, wall-clock from start to exit with the input on standard input and the output
into a file. The report gives the median wall time and the CPU time of each, and the ratios.

  tattilo-cli to-braille --lines          Latex-mode text to Braille-mode text
  lou_translate --forward it-it-comp6.utb  liblouis, Italian six-dot table

lou_translate reads backslash escapes in its input, so it is given the corpus with every
backslash doubled: the same characters reach both translators.

Usage: compare_liblouis.py [--cli PATH] [--runs N] [--count N] [--seed N] [--install]
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


def find_cli(given):
    if given:
        return given
    for candidate in [os.path.join(HERE, "..", "build", "bin", "tattilo-cli"),
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
    """Wall seconds and CPU seconds of one whole run; the exit status."""
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", help="tattilo-cli to time (default: build/bin, then PATH)")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--count", type=int, default=20000)
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

    with tempfile.TemporaryDirectory(prefix="tattilo-compare-") as folder:
        corpus = os.path.join(folder, "formulas.txt")
        escaped = os.path.join(folder, "formulas-lou.txt")
        generator = school_formulas.Formulas(args.seed)
        formulas = [generator.formula() for _ in range(args.count)]
        with open(corpus, "w", encoding="cp1252", newline="\n") as f:
            f.writelines(line + "\n" for line in formulas)
        with open(escaped, "w", encoding="cp1252", newline="\n") as f:
            f.writelines(line.replace("\\", "\\\\") + "\n" for line in formulas)

        tools = {
            "tattilo-cli": ([cli, "to-braille", "--lines"], corpus),
            "lou_translate": (["lou_translate", "--forward", LOU_TABLE], escaped),
        }
        walls = {name: [] for name in tools}
        cpus = {name: [] for name in tools}
        for run in range(3 + args.runs):
            for name, (command, source) in tools.items():
                out = os.path.join(folder, name + ".out")
                wall, cpu, status = run_once(command, source, out)
                if run == 0:
                    lines = line_count(out)
                    if lines != args.count or (status != 0 and name == "lou_translate"):
                        print("%s: exit status %d, %d output lines for %d formulas" %
                              (name, status, lines, args.count), file=sys.stderr)
                        return 1
                    if status != 0:
                        print("note: tattilo-cli refused some formulas (exit status %d)" %
                              status)
                if run >= 3:
                    walls[name].append(wall)
                    cpus[name].append(cpu)

    mean_length = sum(len(f) for f in formulas) / len(formulas)
    print("Corpus: %d school formulas (seed %d), %.1f characters on average" %
          (args.count, args.seed, mean_length))
    print("Runs: %d timed runs of each whole process, after 3 warm-up runs" % args.runs)
    print("%-14s %12s %12s %14s" % ("", "median wall", "median CPU", "per formula"))
    for name in tools:
        wall = statistics.median(walls[name])
        print("%-14s %9.1f ms %9.1f ms %11.2f us" %
              (name, wall * 1e3, statistics.median(cpus[name]) * 1e3, wall / args.count * 1e6))
    wall_ratio = statistics.median(walls["lou_translate"]) / statistics.median(walls["tattilo-cli"])
    cpu_ratio = statistics.median(cpus["lou_translate"]) / max(statistics.median(cpus["tattilo-cli"]), 1e-9)
    print("tattilo-cli is %.1f times faster than lou_translate (wall clock; %.1f times in CPU time)"
          % (wall_ratio, cpu_ratio))
    return 0


if __name__ == "__main__":
    sys.exit(main())
