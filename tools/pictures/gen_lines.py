#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the pictures of the whole description lines (combination tests), numbers 1000 and up.

    gen_lines.py REPO_ROOT OUT_DIR

For every row of data/lines/lines.tsv three SVG files:
  V<n>.svg  190 x 80  the description line, cells C..H, black on white as on a printed sheet,
                      with the column letters above the cells. The symbols are the glyph
                      drawings of data/symbols (symbol_svg), the same the font is built from.
  I<n>.svg   97 x 72  the map excerpt with the purple control circle (line_map)
  N<n>.svg  190 x 80  a sketch of the feature on the ground with the flag where column G puts it
                      (line_ground)
The picture is drawn at the size it is shown in a grid cell (190 x 80), so stretching it there
keeps its proportions. Output depends only on the sources: the same table gives the same files.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import line_ground  # noqa: E402
import line_layout  # noqa: E402
import line_map  # noqa: E402
import line_table  # noqa: E402
import symbol_svg  # noqa: E402

ROW_W, ROW_H = 190, 80

# the description line: six square cells across the picture, the column letters above them
CELL = 31.0
LEFT = (ROW_W - 6 * CELL) / 2
LETTER_H = 8.0
LETTER_GAP = 3.5
TOP = (ROW_H - (LETTER_H + LETTER_GAP + CELL)) / 2 + LETTER_H + LETTER_GAP
GLYPH = 29.0
FRAME, RULE = 2.0, 1.0
LETTER_INK = "#555"

# the column letters as strokes in a 6 x 10 box (no font needed to draw them)
LETTERS = {
    "C": [[(5.8, 2), (4.6, 0.3), (3, 0), (1.2, 0.8), (0.2, 3), (0.2, 7), (1.2, 9.2), (3, 10),
           (4.6, 9.7), (5.8, 8)]],
    "D": [[(0, 0), (0, 10), (2.6, 10), (5, 8.8), (6, 6), (6, 4), (5, 1.2), (2.6, 0), (0, 0)]],
    "E": [[(6, 0), (0, 0), (0, 10), (6, 10)], [(0, 5), (4.6, 5)]],
    "F": [[(6, 0), (0, 0), (0, 10)], [(0, 5), (4.6, 5)]],
    "G": [[(5.8, 2), (4.6, 0.3), (3, 0), (1.2, 0.8), (0.2, 3), (0.2, 7), (1.2, 9.2), (3, 10),
           (4.8, 9.6), (6, 8.2), (6, 5.5), (3.4, 5.5)]],
    "H": [[(0, 0), (0, 10)], [(6, 0), (6, 10)], [(0, 5), (6, 5)]],
}


def fmt(v):
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def svg(width, height, body, background="#FFFFFF"):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n'
            f'<rect x="0" y="0" width="{width}" height="{height}" fill="{background}"/>\n'
            + "\n".join(body) + "\n</svg>\n")


def letter(ch, cx, top, height):
    k = height / 10.0
    x0 = cx - 3 * k
    d = "".join("M" + "L".join(f"{fmt(x0 + x * k)} {fmt(top + y * k)}" for x, y in stroke)
                for stroke in LETTERS[ch])
    return (f'<path d="{d}" fill="none" stroke="{LETTER_INK}" stroke-width="{fmt(1.3)}" '
            f'stroke-linecap="round" stroke-linejoin="round"/>')


def row_picture(line, symbols_dir, by_iof, by_fvalue):
    """The V picture: cells C..H of one description line."""
    body = []
    for i, column in enumerate(line_table.CELL_COLUMNS):
        x = LEFT + i * CELL
        body.append(letter(column, x + CELL / 2, TOP - LETTER_GAP - LETTER_H, LETTER_H))
        row = line_table.cell_row(line, column, by_iof, by_fvalue)
        if row is not None:
            pad = (CELL - GLYPH) / 2
            body.append(symbol_svg.glyph_group(symbols_dir, row, x + pad, TOP + pad, GLYPH))
    for i in range(1, 6):
        x = LEFT + i * CELL
        body.append(f'<line x1="{fmt(x)}" y1="{fmt(TOP)}" x2="{fmt(x)}" y2="{fmt(TOP + CELL)}" '
                    f'stroke="#000" stroke-width="{fmt(RULE)}"/>')
    body.append(f'<rect x="{fmt(LEFT)}" y="{fmt(TOP)}" width="{fmt(6 * CELL)}" '
                f'height="{fmt(CELL)}" fill="none" stroke="#000" stroke-width="{fmt(FRAME)}"/>')
    return svg(ROW_W, ROW_H, body)


def write(path, content):
    with open(path, "w", encoding="ascii", newline="\n") as fh:
        fh.write(content)


def generate(root, out):
    """Writes the three pictures of every line into out; returns the lines drawn."""
    symbols_dir = os.path.join(root, "data", "symbols")
    rows = symbol_svg.read_code_table(symbols_dir)
    by_iof, by_fvalue = line_table.symbol_maps(rows)
    lines = line_table.read_table(root, rows)
    os.makedirs(out, exist_ok=True)
    for line in lines:
        lay = line_layout.make_layout(line)
        write(os.path.join(out, f"V{line.number}.svg"),
              row_picture(line, symbols_dir, by_iof, by_fvalue))
        write(os.path.join(out, f"I{line.number}.svg"), line_map.draw(lay))
        write(os.path.join(out, f"N{line.number}.svg"), line_ground.draw(lay))
    return lines


def main(argv):
    if len(argv) != 3:
        print("usage: gen_lines.py REPO_ROOT OUT_DIR", file=sys.stderr)
        return 2
    try:
        generate(argv[1], argv[2])
    except (line_table.TableError, symbol_svg.TableError, ValueError) as e:
        print(f"gen_lines: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
