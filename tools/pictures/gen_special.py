#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the pictures of the special-instruction rows, library numbers 990 to 999.

    gen_special.py REPO_ROOT OUT_DIR

For each row three SVG files: V<n>.svg (190 x 80) the full-width row as it is printed on a
description sheet, I<n>.svg (97 x 72) the situation on the map, N<n>.svg (190 x 80) a sketch of
what the runner sees on the ground. The row pictures take the start triangle, the finish circles
and the out-of-bounds hatching from the symbol drawings in data/symbols, like the font does.

The rows: 990 = 14.1 (start), 991-996 = 15.1-15.6 (on the course), 997-999 = 16.1-16.3 (finish).
Tapes are a dashed line on the sheet; a thin arrow means "navigate".
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import symbol_svg  # noqa: E402

ROW_W, ROW_H = 190, 80
MAP_W, MAP_H = 97, 72
FONT = "Arial, Liberation Sans, DejaVu Sans, sans-serif"

# row pictures: black on white, in the stroke weights of the glyph drawings at this scale
INK = "#000"
ROW_MAIN, ROW_THIN = 3.5, 2.2
ROW_Y = 44                      # the middle line of a row picture

# map excerpts: colours close to the ISOM print colours, course overprint in purple
PURPLE = "#A626FF"
BROWN = "#D15C00"
YELLOW = "#FFC34D"
GREEN = "#8CD28C"
OLIVE = "#9EA53C"
BLACK = "#000"
GREY = "#A0A0A0"

# ground sketches
SKY = "#EAF4FB"
GRASS = "#B9D98C"
TREE = "#2F7D32"
TRUNK = "#7A4E2D"
WOOD = "#6D4C41"
POST = "#555"
LABEL = "#333"
TAPE = "#E53935"
FLAG_ORANGE = "#FF7A00"
RUNNER = "#1565C0"
SIGN = "#7B1FA2"


def f(v):
    return f"{v:.1f}".rstrip("0").rstrip(".")


def svg(width, height, parts, background="#FFFFFF"):
    body = "\n".join(parts)
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n'
            f'<rect x="0" y="0" width="{width}" height="{height}" fill="{background}"/>\n'
            f'{body}\n</svg>\n')


def line(x1, y1, x2, y2, colour=INK, width=ROW_MAIN, extra="", cap="round"):
    return (f'<line x1="{f(x1)}" y1="{f(y1)}" x2="{f(x2)}" y2="{f(y2)}" stroke="{colour}" '
            f'stroke-width="{width}" stroke-linecap="{cap}"{extra}/>')


def polyline(points, colour=INK, width=ROW_MAIN, extra=""):
    pts = " ".join(f"{f(x)},{f(y)}" for x, y in points)
    return (f'<polyline points="{pts}" fill="none" stroke="{colour}" stroke-width="{width}" '
            f'stroke-linejoin="round" stroke-linecap="round"{extra}/>')


def polygon(points, fill, stroke="none", width=0):
    pts = " ".join(f"{f(x)},{f(y)}" for x, y in points)
    return f'<polygon points="{pts}" fill="{fill}" stroke="{stroke}" stroke-width="{width}"/>'


def circle(cx, cy, r, colour=INK, width=ROW_MAIN):
    return (f'<circle cx="{f(cx)}" cy="{f(cy)}" r="{f(r)}" fill="none" stroke="{colour}" '
            f'stroke-width="{width}"/>')


def disc(cx, cy, r, fill):
    return f'<circle cx="{f(cx)}" cy="{f(cy)}" r="{f(r)}" fill="{fill}"/>'


def rect(x, y, w, h, fill, stroke="none", width=0):
    return (f'<rect x="{f(x)}" y="{f(y)}" width="{f(w)}" height="{f(h)}" fill="{fill}" '
            f'stroke="{stroke}" stroke-width="{width}"/>')


def path(d, colour=INK, width=ROW_MAIN, fill="none"):
    return (f'<path d="{d}" fill="{fill}" stroke="{colour}" stroke-width="{width}" '
            f'stroke-linecap="round" stroke-linejoin="round"/>')


def text(x, y, s, size=16, colour=INK):
    return (f'<text x="{f(x)}" y="{f(y)}" font-family="{FONT}" font-size="{size}" '
            f'font-weight="bold" fill="{colour}" text-anchor="middle">{s}</text>')


def arrow_head(x, y, dx, dy, size, colour=INK, width=ROW_THIN):
    """An open arrow head with its point at (x, y), pointing along (dx, dy)."""
    n = math.hypot(dx, dy)
    ux, uy = dx / n, dy / n
    a = (x - ux * size - uy * size * 0.6, y - uy * size + ux * size * 0.6)
    b = (x - ux * size + uy * size * 0.6, y - uy * size - ux * size * 0.6)
    return polyline([a, (x, y), b], colour, width)


# ---------------------------------------------------------------------------------------------
# Row pictures (V): the sheet's full-width row

class Row:
    def __init__(self, root):
        self.symbols = os.path.join(root, "data", "symbols")

    def glyph(self, source, cx, cy, size):
        return symbol_svg.source_group(self.symbols, source, cx - size / 2, cy - size / 2, size)

    def finish(self, cx):
        return self.glyph("sheet-finish", cx, ROW_Y, 38)

    def triangle(self, cx):
        return self.glyph("sheet-start", cx, ROW_Y + 2, 38)

    @staticmethod
    def frame():
        # a special row has thick lines above and below
        return [line(1, 2, 189, 2, INK, 3, cap="butt"), line(1, 78, 189, 78, INK, 3, cap="butt")]

    @staticmethod
    def control(cx, cy=ROW_Y):
        return circle(cx, cy, 13)

    @staticmethod
    def tape(x1, x2):
        return line(x1, ROW_Y, x2, ROW_Y, INK, ROW_MAIN, ' stroke-dasharray="9 6"', "butt")

    @staticmethod
    def navigate(x1, x2, y=ROW_Y):
        return line(x1, y, x2 - 1, y, INK, ROW_THIN) + arrow_head(x2, y, 1, 0, 8)

    @staticmethod
    def distance(x, s):
        return text(x, 30, s)

    @staticmethod
    def stopwatch(cx, cy):
        return [circle(cx, cy + 2, 14), line(cx, cy - 12, cx, cy - 17),
                line(cx - 5, cy - 18, cx + 5, cy - 18), line(cx, cy + 2, cx + 6, cy - 6, INK, ROW_THIN)]


def v990(row):
    return row.frame() + row.stopwatch(24, ROW_Y) + [
        row.tape(44, 142), row.distance(92, "150 m"), row.triangle(164)]


def v991(row):
    return row.frame() + [row.control(24), row.tape(40, 166), row.distance(100, "150 m"),
                          line(168, 34, 168, 54)]


def v992(row):
    return row.frame() + [row.control(24), row.tape(40, 150), row.distance(95, "50 m"),
                          row.control(166)]


def v993(row):
    wall = [line(95, 8, 95, 30, INK, 5), line(95, 58, 95, 74, INK, 5)]
    gap = [path("M 86 30 Q 93 44 86 58"), path("M 104 30 Q 97 44 104 58")]
    return row.frame() + wall + gap + [row.control(24), row.navigate(40, 82),
                                       row.navigate(108, 150), row.control(166)]


def v994(row):
    dashed = ' stroke-dasharray="5 4"'
    return row.frame() + [
        row.glyph("d-out-of-bounds", 95, 40, 62), rect(70, 34, 50, 16, "#FFFFFF"),
        line(66, 34, 124, 34, INK, ROW_THIN, dashed), line(66, 50, 124, 50, INK, ROW_THIN, dashed),
        row.control(24, 42), row.navigate(40, 150, 42), row.control(166, 42)]


def v995(row):
    return row.frame() + [row.control(24), row.tape(40, 140), row.distance(90, "250 m"),
                          row.triangle(164), text(164, 74, "MAP", 9)]


def v996(row):
    return row.frame() + [
        row.control(24), line(40, ROW_Y, 64, ROW_Y, INK, ROW_THIN),
        rect(72, 18, 30, 40, "#FFFFFF", INK, ROW_THIN), text(87, 44, "1", 14),
        rect(128, 18, 30, 40, "#E0E0E0", INK, ROW_THIN), text(143, 44, "2", 14),
        path("M 90 16 C 96 2, 126 2, 136 14"), arrow_head(137, 15, 0.5, 1, 8)]


def v997(row):
    return row.frame() + [row.control(24), row.tape(40, 140), row.distance(90, "400 m"),
                          row.finish(164)]


def v998(row):
    funnel = [line(112, 24, 140, 36, INK, ROW_THIN), line(112, 64, 140, 52, INK, ROW_THIN)]
    return row.frame() + funnel + [row.control(24), row.navigate(40, 106),
                                   row.distance(72, "150 m"), row.tape(118, 142), row.finish(164)]


def v999(row):
    return row.frame() + [row.control(24), row.navigate(40, 140), row.distance(90, "250 m"),
                          row.finish(164)]


# ---------------------------------------------------------------------------------------------
# Map excerpts (I): forest white, open land yellow, contours brown, course purple

def map_base(*extra):
    return [path("M 0 0 L 34 0 C 30 14, 38 22, 30 34 C 24 42, 10 40, 0 44 Z", YELLOW, 0, YELLOW),
            path("M 70 72 C 74 60, 86 56, 97 58 L 97 72 Z", GREEN, 0, GREEN),
            path("M 40 72 C 44 58, 60 52, 62 38 C 64 26, 80 20, 97 22", BROWN, 1.2),
            path("M 52 72 C 56 62, 70 58, 72 44 C 74 34, 86 30, 97 32", BROWN, 1.2)] + list(extra)


def footpath(points):
    return polyline(points, BLACK, 1.0, ' stroke-dasharray="4 2"')


def marked_route(points, dashes="4 2.5"):
    return polyline(points, PURPLE, 1.3, f' stroke-dasharray="{dashes}"')


def course_line(x1, y1, x2, y2):
    return line(x1, y1, x2, y2, PURPLE, 1.3)


def course_circle(cx, cy, r=7):
    return circle(cx, cy, r, PURPLE, 1.4)


def course_triangle(cx, cy, r=7):
    pts = [(cx + r * math.sin(math.radians(a)), cy - r * math.cos(math.radians(a)))
           for a in (0, 120, 240)]
    return polygon(pts, "none", PURPLE, 1.4)


def exchange_point(cx, cy):
    # where the next part of the course continues: triangle in a circle
    return [course_triangle(cx, cy), circle(cx, cy, 9, PURPLE, 1.0)]


def finish_circles(cx, cy):
    return [circle(cx, cy, 7, PURPLE, 1.4), circle(cx, cy, 4.5, PURPLE, 1.4)]


def boulder(cx, cy):
    return disc(cx, cy, 2.2, BLACK)


def i990():
    return map_base(footpath([(0, 60), (30, 56), (60, 60), (97, 52)])) + [
        marked_route([(6, 64), (20, 58), (44, 46), (66, 40)]), rect(2, 60, 8, 8, "none", PURPLE, 1.2),
        course_triangle(74, 36)]


def i991():
    return map_base(footpath([(0, 64), (40, 60), (97, 66)])) + [
        boulder(22, 22), course_circle(22, 22),
        marked_route([(28, 26), (44, 36), (62, 38), (80, 48)]), course_line(80, 48, 90, 60)]


def i992():
    return map_base() + [
        boulder(16, 18), course_circle(16, 18), marked_route([(21, 23), (36, 34), (62, 44), (76, 52)]),
        course_circle(80, 56), path("M 76 52 a 4 3 0 1 0 8 0 a 4 3 0 1 0 -8 0", BROWN, 1.2)]


def i993():
    fence = [line(50, 0, 50, 72, BLACK, 1.2)] + [line(50, y, 54, y - 3, BLACK, 1.0) for y in range(6, 72, 8)]
    crossing = [path("M 44 28 Q 48 36 44 44", PURPLE, 1.6), path("M 56 28 Q 52 36 56 44", PURPLE, 1.6)]
    return map_base() + fence + crossing + [
        course_circle(16, 20), course_line(22, 24, 45, 34), course_line(55, 38, 75, 50),
        course_circle(80, 54)]


def cross_hatch(x0, y0, x1, y1, spacing, ink, width):
    """Lines at +45 and -45 degrees across the rectangle x0..x1, y0..y1 (the out-of-bounds area's
    purple cross-hatching)."""
    out = []
    for sign in (1, -1):
        # lines y = sign * x + k, clipped to the rectangle
        ks = [y0 - sign * x for x in (x0, x1)] + [y1 - sign * x for x in (x0, x1)]
        k = min(ks) + spacing / 2
        while k < max(ks):
            pts = []
            for x in (x0, x1):
                y = sign * x + k
                if y0 <= y <= y1:
                    pts.append((x, y))
            for y in (y0, y1):
                x = (y - k) * sign
                if x0 <= x <= x1:
                    pts.append((x, y))
            pts = sorted(set((round(a, 3), round(b, 3)) for a, b in pts))
            if len(pts) >= 2:
                out.append(line(pts[0][0], pts[0][1], pts[-1][0], pts[-1][1], ink, width))
            k += spacing
    return out


def i994():
    stripes = cross_hatch(32, 14, 66, 58, 8.5, PURPLE, 1.0)
    passage = [rect(32, 31, 34, 10, "#FFFFFF"), line(32, 31, 66, 31, PURPLE, 1.2),
               line(32, 41, 66, 41, PURPLE, 1.2)]
    return map_base(rect(32, 14, 34, 44, OLIVE)) + stripes + passage + [
        course_circle(14, 36), course_line(21, 36, 77, 36), course_circle(84, 36)]


def i995():
    return map_base(footpath([(0, 66), (50, 62), (97, 68)])) + [
        course_circle(18, 20), marked_route([(24, 24), (44, 32), (66, 44)])] + exchange_point(74, 50)


def i996():
    turned_corner = polygon([(97, 50), (97, 72), (75, 72)], "#E6E6E6", GREY, 1.0)
    flip = [path("M 60 64 C 62 50, 76 44, 88 46", PURPLE, 1.4), arrow_head(89, 46, 1, 0.1, 4, PURPLE, 1.4)]
    return map_base() + [course_circle(20, 22), course_line(26, 26, 46, 40)] + \
        exchange_point(52, 44) + [turned_corner] + flip


def i997():
    return map_base(footpath([(0, 40), (48, 44), (97, 40)])) + [
        course_circle(16, 18), marked_route([(21, 23), (40, 38), (60, 46), (72, 50)])] + \
        finish_circles(80, 54)


def i998():
    funnel = [line(56, 36, 74, 50, PURPLE, 1.0), line(50, 48, 72, 56, PURPLE, 1.0)]
    return map_base() + funnel + [
        course_circle(16, 18), course_line(21, 23, 52, 42), marked_route([(56, 45), (72, 53)], "3 2")] + \
        finish_circles(80, 56)


def i999():
    return map_base(footpath([(0, 30), (40, 36), (97, 30)])) + [
        course_circle(16, 18), course_line(22, 23, 74, 50)] + finish_circles(80, 54)


# ---------------------------------------------------------------------------------------------
# Ground sketches (N)

def ground(*extra):
    return [rect(0, 0, ROW_W, ROW_H, SKY), rect(0, 58, ROW_W, 22, GRASS)] + list(extra)


def tree(x, h, base=60):
    return rect(x - 2, base - 12, 4, 12, TRUNK) + \
        polygon([(x, base - h), (x + 10, base - 10), (x - 10, base - 10)], TREE)


def flag(x, base=66):
    # the orange and white control flag on its stand
    return (line(x, base, x, base - 24, POST, 1.5) + rect(x - 7, base - 22, 14, 14, "#FFFFFF", POST, 0.6) +
            polygon([(x - 7, base - 22), (x + 7, base - 22), (x - 7, base - 8)], FLAG_ORANGE))


def tapes(x1, x2, y=52, base=66, step=14):
    posts = "".join(line(x, base, x, y - 2, POST, 1.2) for x in range(int(x1), int(x2) + 1, step))
    return (posts + line(x1, y, x2, y, TAPE, 2, ' stroke-dasharray="5 3"') +
            line(x1, y, x2, y, "#FFFFFF", 2, ' stroke-dasharray="3 5" stroke-dashoffset="-5"'))


def runner(x, base=66):
    hip = (x - 1, base - 11)
    return (disc(x, base - 26, 3.2, "#8D5524") + line(x, base - 22, *hip, RUNNER, 3) +
            line(*hip, x - 6, base, RUNNER, 2.2) + line(*hip, x + 5, base - 1, RUNNER, 2.2) +
            line(x, base - 19, x + 6, base - 14, RUNNER, 2) + line(x, base - 19, x - 6, base - 15, RUNNER, 2))


def finish_arch(x, base=66):
    return (rect(x - 20, base - 40, 4, 40, POST) + rect(x + 16, base - 40, 4, 40, POST) +
            rect(x - 22, base - 44, 44, 12, "#FFFFFF", POST, 1) + text(x, base - 35, "FINISH", 8, "#222") +
            line(x - 16, base, x + 16, base, "#222", 2))


def label(x, s):
    return text(x, 20, s, 12, LABEL)


def fence(x1, x2, step=16):
    posts = [line(x, 66, x, 38, WOOD, 2) for x in range(x1, x2, step)]
    return posts + [line(x1, 44, x2, 44, WOOD, 1), line(x1, 56, x2, 56, WOOD, 1)]


def n990():
    clock = [rect(8, 30, 22, 30, "#455A64"), rect(11, 33, 16, 10, "#B2FF59"), text(19, 41, "0:00", 6, INK)]
    sign = [line(168, 66, 168, 40, POST, 1.5), polygon([(168, 22), (180, 42), (156, 42)], "#FFFFFF", SIGN, 2)]
    return ground(tree(60, 30), tree(120, 36)) + clock + sign + [
        runner(40), tapes(46, 150), label(100, "150 m")]


def n991():
    return ground(tree(110, 38), tree(160, 30)) + [flag(20), tapes(34, 132), runner(150), label(84, "150 m")]


def n992():
    return ground(tree(90, 34)) + [flag(18), tapes(32, 156), flag(172), label(95, "50 m")]


def n993():
    stile = [polyline([(58, 66), (66, 50), (74, 50), (82, 66)], WOOD, 2.5), line(62, 58, 78, 58, WOOD, 2)]
    over = [path("M 40 30 C 56 10, 90 10, 104 28", SIGN, 2), arrow_head(105, 29, 0.6, 1, 6, SIGN, 2)]
    return ground() + fence(6, 60) + fence(86, 190) + stile + [runner(70, 50)] + over


def n994():
    crops = [line(x, 58, x + 3, 44, "#C0A000", 1.5) for x in range(4, 188, 6)]
    corridor = [rect(70, 44, 50, 36, GRASS), tapes(70, 120, 50, 66, 10)]
    return ground(*crops) + corridor + [
        runner(94), text(36, 20, "NO ENTRY", 9, "#B71C1C"), text(154, 20, "NO ENTRY", 9, "#B71C1C")]


def n995():
    table = [rect(146, 44, 36, 4, WOOD), line(150, 48, 150, 66, WOOD, 2), line(178, 48, 178, 66, WOOD, 2),
             rect(150, 38, 10, 6, "#FFFFFF", LABEL, 0.6), rect(164, 38, 10, 6, "#FFFFFF", LABEL, 0.6),
             text(164, 30, "MAPS", 8, LABEL)]
    return ground(tree(60, 32)) + table + [flag(18), tapes(32, 136), runner(120), label(84, "250 m")]


def n996():
    front = [polygon([(60, 20), (96, 16), (100, 62), (64, 66)], "#FFFFFF", LABEL, 1),
             path("M 66 40 C 74 30, 84 50, 94 36", BROWN, 1.2), circle(80, 48, 4, PURPLE, 1.2)]
    back = [polygon([(120, 22), (150, 18), (154, 62), (124, 64)], "#F3E5F5", LABEL, 1),
            circle(136, 36, 4, PURPLE, 1.2), line(140, 39, 146, 50, PURPLE, 1.2)]
    turn = [path("M 96 12 C 108 0, 122 4, 128 14", LABEL, 2), arrow_head(129, 15, 0.4, 1, 6, LABEL, 2)]
    return [rect(0, 0, ROW_W, ROW_H, SKY)] + front + back + turn + [text(36, 46, "FLIP", 12, LABEL)]


def n997():
    return ground(tree(70, 30)) + [
        flag(16), tapes(30, 144), runner(110), finish_arch(166), label(84, "400 m")]


def n998():
    dashed = ' stroke-dasharray="5 3"'
    funnel = [line(112, 50, 146, 56, TAPE, 2, dashed), line(112, 74, 146, 64, TAPE, 2, dashed)]
    return ground(tree(50, 34), tree(84, 28)) + funnel + [
        flag(16), runner(66), finish_arch(166), label(64, "150 m")]


def n999():
    return ground(tree(48, 30), tree(96, 36), tree(124, 26)) + [
        flag(16), runner(76), finish_arch(166), label(84, "250 m")]


PICTURES = {
    990: (v990, i990, n990),
    991: (v991, i991, n991),
    992: (v992, i992, n992),
    993: (v993, i993, n993),
    994: (v994, i994, n994),
    995: (v995, i995, n995),
    996: (v996, i996, n996),
    997: (v997, i997, n997),
    998: (v998, i998, n998),
    999: (v999, i999, n999),
}


def write(path_, content):
    with open(path_, "w", encoding="utf-8", newline="\n") as fh:
        fh.write(content)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: gen_special.py REPO_ROOT OUT_DIR")
    root, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    row = Row(root)
    for number, (v, i, n) in sorted(PICTURES.items()):
        write(os.path.join(out, f"V{number}.svg"), svg(ROW_W, ROW_H, v(row)))
        write(os.path.join(out, f"I{number}.svg"), svg(MAP_W, MAP_H, i()))
        write(os.path.join(out, f"N{number}.svg"), svg(ROW_W, ROW_H, n()))


if __name__ == "__main__":
    main()
