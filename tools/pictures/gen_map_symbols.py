#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes one SVG picture per ISOM 2017-2 map symbol: B<number>.svg, 113 x 113 pixels.

    gen_map_symbols.py <repository root> <output folder>

The symbols, their scenes and drawing parameters come from data/maps/symbols.tsv; the drawing
itself is done by isom_scenes / isom_styles / isom_draw beside this file. Picture names use the
ISOM number as a whole number: the 2024 sub-symbols 105.2 (retaining earth wall) and 203.2
(dangerous pit) become B1052 and B2032, since picture names and text keys carry no point.
"""

import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import isom_draw as D  # noqa: E402
from isom_scenes import SCENES, Params  # noqa: E402

SIZE = 113
PIXELS_PER_MM = 16.0
COLUMNS = ["number", "name", "group", "ink", "scene", "zoom", "params"]


class TableError(Exception):
    pass


def read_table(root):
    """Rows of data/maps/symbols.tsv as dicts; comment lines start with '#'."""
    path = os.path.join(root, "data", "maps", "symbols.tsv")
    rows = []
    header = None
    with open(path, encoding="ascii") as f:
        for lineno, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            cells = line.split("\t")
            if header is None:
                if cells != COLUMNS:
                    raise TableError(f"{path}:{lineno}: header must be {COLUMNS}, not {cells}")
                header = cells
                continue
            if len(cells) == len(COLUMNS) - 1:
                cells.append("")
            if len(cells) != len(COLUMNS):
                raise TableError(f"{path}:{lineno}: expected {len(COLUMNS)} tab-separated "
                                 f"cells, found {len(cells)}")
            row = dict(zip(COLUMNS, cells))
            try:
                row["number"] = int(row["number"])
                row["zoom"] = float(row["zoom"])
            except ValueError as e:
                raise TableError(f"{path}:{lineno}: {e}") from None
            if row["scene"] not in SCENES:
                raise TableError(f"{path}:{lineno}: no scene named {row['scene']!r}")
            row["line"] = lineno
            rows.append(row)
    numbers = [r["number"] for r in rows]
    dupes = sorted({n for n in numbers if numbers.count(n) > 1})
    if dupes:
        raise TableError(f"{path}: numbers listed twice: {dupes}")
    return rows


def draw(row):
    """The SVG text of one table row."""
    canvas = D.Canvas(SIZE, SIZE, PIXELS_PER_MM * row["zoom"])
    D.paper(canvas)
    params = Params(row["params"])
    SCENES[row["scene"]](canvas, params, random.Random(row["number"]))
    unused = params.unused()
    if unused:
        raise TableError(f"symbols.tsv line {row['line']}: parameters not used by scene "
                         f"{row['scene']}: {unused}")
    return canvas.svg()


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    root, out = argv[1], argv[2]
    os.makedirs(out, exist_ok=True)
    try:
        rows = read_table(root)
        for row in rows:
            svg = draw(row)
            with open(os.path.join(out, f"B{row['number']}.svg"), "w", encoding="ascii",
                      newline="\n") as f:
                f.write(svg)
    except TableError as e:
        print(f"gen_map_symbols: {e}", file=sys.stderr)
        return 1
    print(f"gen_map_symbols: {len(rows)} pictures")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
