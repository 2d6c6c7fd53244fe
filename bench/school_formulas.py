#!/usr/bin/env python3
"""Writes a corpus of school formulas in Latex-mode text, one per line.

The same seed always gives the same corpus, so runs on different days or machines compare
like with like. The formulas are the kind a secondary school worksheet holds: polynomials,
equations and inequalities, fractions, roots, powers, decimals, brackets of the three kinds,
Greek letters, logarithms, limits, sums, integrals and sets.

Usage: school_formulas.py [--seed N] [--count N] [OUT]   (standard output without OUT)
"""

import argparse
import random
import sys

LETTERS = "abcdxyzmnpqt"
UPPER = "ABCDEFPQR"
GREEK = ["\\alpha", "\\beta", "\\gamma", "\\delta", "\\pi", "\\theta", "\\lambda", "\\sigma"]
RELATIONS = ["=", "<", ">", "\\ne "]


class Formulas:
    def __init__(self, seed):
        self.rng = random.Random(seed)

    def number(self):
        r = self.rng.random()
        if r < 0.65:
            return str(self.rng.randint(1, 20))
        if r < 0.85:
            return str(self.rng.randint(21, 999))
        whole = self.rng.randint(0, 99)
        return "%d,%d" % (whole, self.rng.randint(1, 99))

    def letter(self):
        if self.rng.random() < 0.1:
            return self.rng.choice(GREEK) + " "
        return self.rng.choice(LETTERS)

    def atom(self, depth):
        r = self.rng.random()
        if depth <= 0 or r < 0.35:
            return self.number() if self.rng.random() < 0.5 else self.letter()
        if r < 0.45:
            return self.letter() + "^{" + str(self.rng.randint(2, 5)) + "}"
        if r < 0.6:
            return "\\frac{" + self.expression(depth - 1) + "}{" + self.expression(depth - 1) + "}"
        if r < 0.7:
            return "\\sqrt{" + self.expression(depth - 1) + "}"
        if r < 0.8:
            return "(" + self.expression(depth - 1) + ")"
        if r < 0.87:
            return "[" + self.expression(depth - 1) + "]"
        if r < 0.92:
            return "(" + self.expression(depth - 1) + ")^{" + str(self.rng.randint(2, 3)) + "}"
        if r < 0.96:
            return "\\{" + self.expression(depth - 1) + "\\}"
        return "|" + self.expression(depth - 1) + "|"

    def term(self, depth):
        t = self.atom(depth)
        if self.rng.random() < 0.3:
            t = self.number() + t if t[0].isalpha() or t[0] in "\\(" else t
        if self.rng.random() < 0.15:
            t += ":" + self.atom(depth - 1)
        return t

    def expression(self, depth):
        terms = [self.term(depth) for _ in range(self.rng.choice([1, 2, 2, 3]))]
        out = terms[0]
        for t in terms[1:]:
            out += self.rng.choice("+-") + t
        return out

    def formula(self):
        r = self.rng.random()
        depth = self.rng.choice([1, 1, 1, 2, 2, 3])
        if r < 0.35:
            return self.expression(depth) + self.rng.choice(RELATIONS) + self.expression(depth)
        if r < 0.6:
            return self.expression(depth)
        if r < 0.68:
            return "f(x)=" + self.expression(depth)
        if r < 0.74:
            base = self.rng.choice(["2", "3", "10", "a"])
            return "\\log_{" + base + "}(" + self.expression(depth - 1) + ")=" + self.number()
        if r < 0.8:
            return "\\lim_{x\\to " + self.rng.choice(["0", "1", "\\infty"]) + "}" + \
                "\\frac{" + self.expression(1) + "}{" + self.expression(1) + "}"
        if r < 0.85:
            return "\\sum_{i=1}^{n}(" + self.expression(1).replace("x", "i") + ")"
        if r < 0.9:
            a = self.rng.randint(0, 3)
            return "\\int_{%d}^{%d}(%s)dx" % (a, a + self.rng.randint(1, 5), self.expression(1))
        if r < 0.95:
            s, t = self.rng.sample(UPPER, 2)
            return s + self.rng.choice(["\\cup ", "\\cap "]) + t + "=\\{" + \
                ";".join(str(self.rng.randint(0, 9)) for _ in range(self.rng.randint(2, 5))) + "\\}"
        return "x\\in " + self.rng.choice(UPPER)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seed", type=int, default=2024)
    parser.add_argument("--count", type=int, default=20000)
    parser.add_argument("out", nargs="?")
    args = parser.parse_args()
    formulas = Formulas(args.seed)
    lines = "".join(formulas.formula() + "\n" for _ in range(args.count))
    if args.out:
        with open(args.out, "w", encoding="cp1252", newline="\n") as f:
            f.write(lines)
    else:
        sys.stdout.write(lines)


if __name__ == "__main__":
    main()
