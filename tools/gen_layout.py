#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the layout pictures of the main window into src/resources/layout/.

    gen_layout.py [REPO_ROOT]

  TopPanel.svg     718 x 89   background of the top panel: very faint contours on cream
  RightPanel.svg   109 x 438  background of the right panel, the same style
  OMapsButton.svg  64 x 40    the picture above the map-symbol menu button, as
                              tools/pictures/gen_omaps_button.py draws it

The panels carry a title and pictures on top of them, so the contours stay pale: a light brown
at low contrast on the cream of the panels (rgb 255, 255, 196). Output is deterministic; the
files are committed, run this again after changing it.
"""
import math
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "pictures"))

import isom_draw as D  # noqa: E402

CREAM = "#FFFFC4"          # rgb(255, 255, 196)
CONTOUR = "#EADFA8"        # a pale brown that stays close to the cream
INDEX_CONTOUR = "#E3D497"


def height_field(hills, slope):
    """Ground height at (x, y): round hills (x, y, radius x, radius y, height) on a tilted plane."""
    def h(x, y):
        z = slope[0] * x + slope[1] * y
        for cx, cy, rx, ry, top in hills:
            z += top * math.exp(-(((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2))
        return z
    return h


def contour_segments(h, width, height, interval, step=4.0):
    """Marching squares: the contour lines of h every `interval`, as (level index, segment)."""
    nx, ny = int(width / step) + 2, int(height / step) + 2
    grid = [[h(i * step, j * step) for i in range(nx)] for j in range(ny)]
    out = []
    for j in range(ny - 1):
        for i in range(nx - 1):
            corners = [(i * step, j * step, grid[j][i]), ((i + 1) * step, j * step, grid[j][i + 1]),
                       ((i + 1) * step, (j + 1) * step, grid[j + 1][i + 1]),
                       (i * step, (j + 1) * step, grid[j + 1][i])]
            lo = min(c[2] for c in corners)
            hi = max(c[2] for c in corners)
            for k in range(math.ceil(lo / interval), math.floor(hi / interval) + 1):
                level = k * interval
                hits = []
                for a in range(4):
                    (x0, y0, z0), (x1, y1, z1) = corners[a], corners[(a + 1) % 4]
                    if (z0 < level) != (z1 < level):
                        t = (level - z0) / (z1 - z0)
                        hits.append((x0 + (x1 - x0) * t, y0 + (y1 - y0) * t))
                if len(hits) == 2:
                    out.append((k, hits))
                elif len(hits) == 4:
                    out.append((k, hits[:2]))
                    out.append((k, hits[2:]))
    return out


def panel(width, height, hills, slope, interval):
    parts = [f'<rect x="0" y="0" width="{width}" height="{height}" fill="{CREAM}"/>']
    by_level = {}
    for k, (a, b) in contour_segments(height_field(hills, slope), width, height, interval):
        by_level.setdefault(k, []).append(f"M{D.fmt(a[0])} {D.fmt(a[1])}L{D.fmt(b[0])} {D.fmt(b[1])}")
    for k in sorted(by_level):
        index = k % 5 == 0
        colour, w = (INDEX_CONTOUR, 1.3) if index else (CONTOUR, 0.8)
        parts.append(f'<path d="{"".join(by_level[k])}" fill="none" stroke="{colour}" '
                     f'stroke-width="{w}" stroke-linecap="round"/>')
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n' + "\n".join(parts) + "\n</svg>\n")


def top_panel():
    hills = [(520, 40, 140, 40, 60), (140, 70, 90, 30, 38), (330, -10, 70, 30, 25),
             (690, 90, 60, 40, -20)]
    return panel(718, 89, hills, (0.03, -0.25), 10)


def right_panel():
    hills = [(60, 120, 45, 80, 55), (40, 340, 40, 60, 40), (110, 230, 30, 40, -18)]
    return panel(109, 438, hills, (-0.15, 0.04), 10)


def omaps_button(root):
    gen = os.path.join(root, "tools", "pictures", "gen_omaps_button.py")
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([sys.executable, gen, root, tmp], check=True)
        with open(os.path.join(tmp, "OMapsButton.svg"), encoding="ascii") as fh:
            return fh.read()


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(HERE)
    out = os.path.join(root, "src", "resources", "layout")
    os.makedirs(out, exist_ok=True)
    for name, content in (("TopPanel.svg", top_panel()), ("RightPanel.svg", right_panel()),
                          ("OMapsButton.svg", omaps_button(root))):
        with open(os.path.join(out, name), "w", encoding="ascii", newline="\n") as fh:
            fh.write(content)
    print(f"gen_layout: wrote TopPanel.svg, RightPanel.svg, OMapsButton.svg in {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
