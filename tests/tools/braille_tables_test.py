#!/usr/bin/python3
"""The display tables against the Braille font: for every cell character, the dots BRLTTY and
liblouis put on a refreshable display are the dots the font draws on the screen.

The font's dots are read from its glyph outlines (a raised dot is a large disc), so the check
does not trust the cell table the tables were made from. BRLTTY's own table tool compiles the
BRLTTY table, and lou_translate translates through the liblouis tables, as a display would.
"""

import pathlib
import subprocess
import sys
import tempfile
import unittest

from fontTools.ttLib import TTFont

ROOT = pathlib.Path(__file__).resolve().parents[2]
TABLES = ROOT / "data" / "braille"
FONT = ROOT / "data" / "fonts" / "braillecour.ttf"
sys.path.insert(0, str(ROOT / "tools"))

from braille_cells import cell_order  # noqa: E402


def font_dots():
    """Each cell character (as a Unicode character) with the dots its glyph raises."""
    font = TTFont(str(FONT))
    glyphs = font["glyf"]
    cmap = font.getBestCmap()
    dots = {}
    for byte in set(cell_order()):
        ch = bytes([byte]).decode("cp1252")
        glyph = glyphs[cmap[ord(ch)]]
        coordinates, ends, _ = glyph.getCoordinates(glyphs)
        raised = set()
        start = 0
        for end in ends:
            xs = [p[0] for p in coordinates[start:end + 1]]
            ys = [p[1] for p in coordinates[start:end + 1]]
            start = end + 1
            if max(xs) - min(xs) < 100:
                continue  # the small point of a flat dot
            column = 0 if (max(xs) + min(xs)) / 2 < 300 else 1
            row = min(range(3), key=lambda r: abs((max(ys) + min(ys)) / 2 - (650, 400, 150)[r]))
            raised.add(str(1 + row + 3 * column))
        dots[ch] = "".join(sorted(raised))
    return dots


def unicode_braille(dots):
    return chr(0x2800 + sum(1 << (int(d) - 1) for d in dots))


class BrailleTablesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.font = font_dots()
        cls.cells = [ch for ch in cls.font if ch != " "]

    def test_font_has_all_63_cells(self):
        self.assertEqual(len(self.cells), 63)
        self.assertEqual(len({self.font[ch] for ch in self.cells}), 63)
        self.assertEqual(self.font["|"], "34")  # the exponent opening
        self.assertEqual(self.font["1"], "16")  # the exponent closing

    def test_tables_are_what_the_tool_makes(self):
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run(["/usr/bin/python3", str(ROOT / "tools" / "make_braille_tables.py"),
                            folder], check=True, capture_output=True)
            for name in ("tattilo.ttb", "tattilo.dis", "tattilo.utb"):
                made = (pathlib.Path(folder) / name).read_text(encoding="utf-8")
                self.assertEqual(made, (TABLES / name).read_text(encoding="utf-8"),
                                 f"{name} was edited by hand or is out of date")

    def test_liblouis_gives_every_cell_the_font_dots(self):
        text = "".join(self.cells)
        out = subprocess.run(
            ["lou_translate", "--forward", "unicode.dis," + str(TABLES / "tattilo.utb")],
            input=text + "\n", capture_output=True, text=True, check=True).stdout.rstrip("\n")
        self.assertEqual(len(out), len(text), out)
        for ch, got in zip(text, out):
            self.assertEqual(got, unicode_braille(self.font[ch]), f"cell {ch!r}")
        # Capitals show their small letter's cell, with no capital sign, as the font draws them.
        out = subprocess.run(
            ["lou_translate", "--forward", "unicode.dis," + str(TABLES / "tattilo.utb")],
            input="_X|_A1 ***...\n", capture_output=True, text=True, check=True).stdout
        expected = "".join(unicode_braille(self.font[c]) for c in "_x|_a1 ***...")
        self.assertEqual(out.rstrip("\n"), expected)

    def test_liblouis_display_table_shows_the_cells_as_their_characters(self):
        text = "".join(self.cells)
        out = subprocess.run(["lou_translate", "--forward", str(TABLES / "tattilo.utb")],
                             input=text + "\n", capture_output=True, text=True,
                             check=True).stdout.rstrip("\n")
        self.assertEqual(out, text)

    def test_brltty_compiles_the_table_with_the_font_dots(self):
        out = subprocess.run(["brltty-ttb", "-o", "ttb", str(TABLES / "tattilo.ttb"), "-"],
                             capture_output=True, text=True, check=True).stdout
        entries = {}
        for line in out.splitlines():
            fields = line.split("\t")
            if len(fields) >= 3 and fields[0] in ("char", "glyph"):
                entries.setdefault(fields[1], (fields[0], "".join(c for c in fields[2] if c.isdigit())))
        for ch in self.cells:
            directive, dots = entries[f"\\x{ord(ch):02X}"]
            self.assertEqual(dots, self.font[ch], f"cell {ch!r}")
            # "char", not "glyph": the pattern typed on the display's keyboard gives the cell.
            self.assertEqual(directive, "char", f"cell {ch!r}")
        # Other characters are read as BRLTTY's Italian table reads them.
        self.assertEqual(entries["\\xF6"][0], "glyph")  # ö: its dots belong to "|"
        self.assertIn("\\xC0", entries)  # À


if __name__ == "__main__":
    unittest.main()
