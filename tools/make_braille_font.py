#!/usr/bin/python3
"""Builds the workbench's Braille TrueType font, data/fonts/braillecour.ttf.

The Braille editor keeps ASCII braille cells as ordinary characters; this font draws each
cell character as its six-dot pattern, so the student's helpers see dots while files, the
clipboard and the screen reader still see the characters. The cell order is read from
src/notation/braille_cells.h, the one table the program itself uses.

Each cell is 600 units wide (monospaced, like Courier): raised dots are large discs, the
other positions of the cell small points, so the place of each dot can be seen. Capital
letters draw the cell of their small letter; characters that are not cells draw a hollow box.

Usage: tools/make_braille_font.py [OUTPUT]   (Debian python3 with python3-fonttools)
"""

import math
import pathlib
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

from braille_cells import cell_order

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUTPUT = ROOT / "data" / "fonts" / "braillecour.ttf"

FAMILY = "Braillecour"
UNITS = 1000
ADVANCE = 600
ASCENT = 800
DESCENT = -200
COLUMNS = (190, 410)        # x of the left dots (1 2 3) and the right dots (4 5 6)
ROWS = (650, 400, 150)      # y of the top, middle and bottom row
RAISED = 85                 # radius of a raised dot
FLAT = 22                   # radius of an empty dot position
# Dot n (1..6) of the cell: column, row.
DOT_PLACES = {1: (0, 0), 2: (0, 1), 3: (0, 2), 4: (1, 0), 5: (1, 1), 6: (1, 2)}
FIXED_TIME = 3600 * 24 * 365 * 30  # a fixed timestamp keeps the build reproducible


def circle(pen, cx, cy, r):
    """A clockwise circle of eight quadratic arcs (TrueType outer contours run clockwise)."""
    steps = 8
    k = r / math.cos(math.pi / steps)
    points = []
    for i in range(steps):
        a = -2 * math.pi * i / steps  # clockwise
        m = a - math.pi / steps
        points.append(((round(cx + k * math.cos(m)), round(cy + k * math.sin(m))),
                       (round(cx + r * math.cos(a - 2 * math.pi / steps)),
                        round(cy + r * math.sin(a - 2 * math.pi / steps)))))
    pen.moveTo((round(cx + r), round(cy)))
    for off, on in points:
        pen.qCurveTo(off, on)
    pen.closePath()


def box(pen, x0, y0, x1, y1):
    pen.moveTo((x0, y0))
    pen.lineTo((x0, y1))
    pen.lineTo((x1, y1))
    pen.lineTo((x1, y0))
    pen.closePath()


def hollow_box(pen):
    box(pen, 90, 0, 510, 760)
    # inner contour counter-clockwise
    pen.moveTo((140, 50))
    pen.lineTo((460, 50))
    pen.lineTo((460, 710))
    pen.lineTo((140, 710))
    pen.closePath()


def cell_glyph(dots):
    pen = TTGlyphPen(None)
    for n, (col, row) in DOT_PLACES.items():
        raised = dots & (1 << (n - 1))
        if raised:
            circle(pen, COLUMNS[col], ROWS[row], RAISED)
        elif dots:
            circle(pen, COLUMNS[col], ROWS[row], FLAT)
    return pen.glyph()


def build(output):
    order = cell_order()
    glyphs = {".notdef": None, "space": None, "notcell": None}
    pen = TTGlyphPen(None)
    hollow_box(pen)
    glyphs[".notdef"] = pen.glyph()
    glyphs["space"] = TTGlyphPen(None).glyph()
    pen = TTGlyphPen(None)
    hollow_box(pen)
    glyphs["notcell"] = pen.glyph()

    cmap = {0x20: "space", 0xA0: "space"}
    for dots in range(1, 64):
        name = "dots" + "".join(str(n) for n in range(1, 7) if dots & (1 << (n - 1)))
        glyphs[name] = cell_glyph(dots)
        char = bytes([order[dots]]).decode("cp1252")
        cmap[ord(char)] = name
    # Capitals draw the cell of their small letter.
    for code, name in list(cmap.items()):
        char = chr(code)
        if char.islower() and char.upper() != char and ord(char.upper()) not in cmap:
            cmap[ord(char.upper())] = name
    # Every other printable character of code page 1252 is visibly not a cell.
    for byte in range(0x21, 0x100):
        if byte == 0x7F:
            continue
        try:
            char = bytes([byte]).decode("cp1252")
        except UnicodeDecodeError:
            continue
        cmap.setdefault(ord(char), "notcell")

    glyph_order = list(glyphs)
    fb = FontBuilder(UNITS, isTTF=True)
    fb.setupGlyphOrder(glyph_order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    # The left side bearing must be the outline's own left edge, or renderers shift it.
    glyf = fb.font["glyf"]
    fb.setupHorizontalMetrics(
        {name: (ADVANCE, getattr(glyf[name], "xMin", 0)) for name in glyph_order})
    fb.setupHorizontalHeader(ascent=ASCENT, descent=DESCENT)
    fb.setupNameTable({
        "familyName": FAMILY,
        "styleName": "Regular",
        "uniqueFontIdentifier": FAMILY + "-Regular",
        "fullName": FAMILY,
        "psName": FAMILY + "-Regular",
        "version": "Version 1.1",
    })
    fb.setupOS2(sTypoAscender=ASCENT, sTypoDescender=DESCENT, sTypoLineGap=0,
                usWinAscent=ASCENT, usWinDescent=-DESCENT, panose=_monospaced_panose())
    fb.setupPost(isFixedPitch=1)
    fb.font["head"].created = FIXED_TIME
    fb.font["head"].modified = FIXED_TIME
    output.parent.mkdir(parents=True, exist_ok=True)
    fb.save(str(output))
    return len(glyph_order)


def _monospaced_panose():
    from fontTools.ttLib.tables.O_S_2f_2 import Panose
    p = Panose()
    for field in ("bFamilyType", "bSerifStyle", "bWeight", "bProportion", "bContrast",
                  "bStrokeVariation", "bArmStyle", "bLetterForm", "bMidline", "bXHeight"):
        setattr(p, field, 0)
    p.bFamilyType = 2
    p.bProportion = 9  # monospaced
    return p


if __name__ == "__main__":
    target = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else OUTPUT
    count = build(target)
    print(f"{target}: {count} glyphs")
