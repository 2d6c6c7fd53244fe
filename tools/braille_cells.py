"""The workbench's one cell table, read from src/notation/braille_cells.h for the tools that
generate files from it (the Braille font, the display tables)."""

import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
HEADER = ROOT / "src" / "notation" / "braille_cells.h"


def cell_order():
    """The 65 characters of kCellOrder (index = dot value), as code page 1252 bytes."""
    source = HEADER.read_text(encoding="ascii")
    match = re.search(r'kCellOrder\s*=\s*((?:"(?:[^"\\]|\\.)*"\s*)+);', source)
    if not match:
        sys.exit(f"kCellOrder not found in {HEADER}")
    out = bytearray()
    for literal in re.findall(r'"((?:[^"\\]|\\.)*)"', match.group(1)):
        i = 0
        while i < len(literal):
            c = literal[i]
            if c != "\\":
                out.append(ord(c))
                i += 1
                continue
            nxt = literal[i + 1]
            if nxt == "x":
                digits = re.match(r"[0-9A-Fa-f]+", literal[i + 2:]).group(0)
                out.append(int(digits, 16) & 0xFF)
                i += 2 + len(digits)
            else:
                out.append({"n": 10, "t": 9, "\\": 92, '"': 34, "'": 39}[nxt])
                i += 2
    if len(out) != 65:
        sys.exit(f"kCellOrder has {len(out)} characters, 65 expected")
    return bytes(out)


def cells():
    """(character, dots) for the blank and the 63 cells: the character as a code page 1252 byte
    value, the dots as a string of dot numbers ("" for the blank)."""
    order = cell_order()
    out = []
    for value in range(64):
        dots = "".join(str(d + 1) for d in range(6) if value & (1 << d))
        out.append((order[value], dots))
    return out
