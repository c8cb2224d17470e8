#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the application icon as SVG from the program's own symbols: a piece of map with a knoll
in the course's control circle, and below it the description line that names it, its pictograms
taken from the symbol drawings (data/symbols/glyphs) and the map's colours from the map-symbol
drawer (tools/pictures/isom_draw.py), so the icon changes with them.

    build_icon.py --source <repository> --out <icon.svg> [--small]

--small draws the icon for 16 pixels, where the description line's pictograms cannot be read: the
control circle around the knoll alone, on a grid of 16 units so that its strokes fall on pixels.
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "pictures"))
from isom_draw import INK as COLOURS  # noqa: E402
from symbol_svg import source_group  # noqa: E402

SIZE = 256
# The description line: the feature (column D) and the flag's place on it (column G).
LINE_GLYPHS = ("d-knoll", "g-top")
CELL = 64
LINE_TOP = 164


def icon_svg(symbols_dir):
    brown, yellow, purple = COLOURS["brown"], COLOURS["yellow"], COLOURS["purple"]
    line_left = (SIZE - CELL * len(LINE_GLYPHS)) // 2
    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 {SIZE} {SIZE}" width="{SIZE}" height="{SIZE}">',
        "<title>Quillon 2 For Orienteering</title>",
        '<rect x="12" y="12" width="232" height="232" rx="36" fill="#ffffff"/>',
        # open land in the tile's corner, and the contours of the slope the knoll stands on; every
        # shape keeps inside the tile (the icon theme's renderers need no clipping)
        f'<path d="M12 48 A36 36 0 0 1 48 12 H150 C120 40 70 60 12 70 Z" fill="{yellow}"/>',
        f'<path d="M12 146 C60 138 90 156 128 152 C170 148 200 138 244 144" fill="none" stroke="{brown}" stroke-width="6"/>',
        f'<path d="M158 12 C172 36 200 52 244 58" fill="none" stroke="{brown}" stroke-width="6"/>',
        # the knoll (a brown dot) in the control circle
        f'<circle cx="128" cy="84" r="11" fill="{brown}"/>',
        f'<circle cx="128" cy="84" r="44" fill="none" stroke="{purple}" stroke-width="10"/>',
        # the description line: cells with black borders, one pictogram in each
        f'<rect x="{line_left}" y="{LINE_TOP}" width="{CELL * len(LINE_GLYPHS)}" height="{CELL}" '
        'fill="#ffffff" stroke="#000" stroke-width="5"/>',
    ]
    for i, glyph in enumerate(LINE_GLYPHS):
        x = line_left + i * CELL
        if i:
            parts.append(f'<line x1="{x}" y1="{LINE_TOP}" x2="{x}" y2="{LINE_TOP + CELL}" stroke="#000" stroke-width="5"/>')
        parts.append(source_group(symbols_dir, glyph, x + 4, LINE_TOP + 4, CELL - 8))
    parts.append('<rect x="12" y="12" width="232" height="232" rx="36" fill="none" stroke="#3c3c3c" stroke-width="6"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def small_icon_svg():
    brown, purple = COLOURS["brown"], COLOURS["purple"]
    return "\n".join([
        '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 16 16" width="16" height="16">',
        "<title>Quillon 2 For Orienteering</title>",
        '<rect x="0.5" y="0.5" width="15" height="15" rx="2.5" fill="#ffffff" stroke="#3c3c3c"/>',
        f'<circle cx="8" cy="8" r="4.75" fill="none" stroke="{purple}" stroke-width="1.5"/>',
        f'<rect x="7" y="7" width="2" height="2" fill="{brown}"/>',
        "</svg>",
    ]) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True, help="the repository")
    parser.add_argument("--out", required=True, help="the icon's SVG file")
    parser.add_argument("--small", action="store_true", help="the icon for 16 pixels")
    args = parser.parse_args()
    text = small_icon_svg() if args.small else icon_svg(os.path.join(args.source, "data", "symbols"))
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, "w", encoding="utf-8", newline="\n") as fh:
        fh.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
