#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes OMapsButton.svg: a small map excerpt (64 x 40 pixels) for the picture above the
menu button of the map-symbol topics.

    gen_omaps_button.py <repository root> <output folder>

Drawn with the same symbol functions as the map-symbol pictures (isom_styles), so the button
shows the inks and line styles of the B*.svg pictures.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import isom_draw as D  # noqa: E402
import isom_styles as S  # noqa: E402

WIDTH, HEIGHT = 64, 40
PIXELS_PER_MM = 7.0


def draw():
    c = D.Canvas(WIDTH, HEIGHT, PIXELS_PER_MM)
    D.paper(c)
    # open land in the north-west, a thicket in the south-east
    D.fill(c, D.smooth([(-2, 22), (8, 19), (15, 9), (18, -2)], steps=8) + [(-2, -2)],
           "yellow", "yellow")
    D.fill(c, D.smooth([(66, 30), (56, 33), (50, 38), (49, 42)], steps=8) + [(66, 42)],
           "green60", "green60")
    # a hill with two contours, a path below it and a stream in the south-west
    S.contour(c, D.blob(51, 12, 6, 4, 0.1, 7))
    S.contour(c, D.blob(51, 13, 13, 9, 0.08, 8))
    S.footpath(c, D.smooth([(-2, 31), (20, 29), (40, 30), (66, 27)]))
    S.watercourse(c, D.smooth([(-2, 36), (14, 37), (24, 42)]), small=True)
    # a control on a boulder
    S.boulder(c, 24, 16, 0.5)
    S.control_circle(c, 24, 16, 3.0)
    return c.svg()


def main(argv):
    if len(argv) != 3:
        print("usage: gen_omaps_button.py <repository root> <output folder>", file=sys.stderr)
        return 2
    os.makedirs(argv[2], exist_ok=True)
    with open(os.path.join(argv[2], "OMapsButton.svg"), "w", encoding="ascii", newline="\n") as f:
        f.write(draw())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
