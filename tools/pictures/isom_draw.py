# SPDX-License-Identifier: GPL-3.0-or-later
"""Drawing kit for the map-symbol pictures (standard library only).

Everything the pictures share is defined here once: the map inks and their screens, the line
weights of the symbols (in millimetres at 1:15 000), the printing order of the inks, geometry
helpers (smooth curves, walking along a line, clipping lines and points to an area) and a small
SVG canvas that keeps one layer per ink so that overlapping symbols stack as on a printed map.

Coordinates on a canvas are pixels (x to the right, y downwards = south); symbol sizes are given
in map millimetres and converted with the canvas scale (pixels per map millimetre).

Only plain SVG elements are written (path, circle, rect, group with transform), no patterns, clip
paths, markers or fonts, so that every SVG renderer draws the pictures alike.
"""

import math
import random

# --------------------------------------------------------------------------------------------
# Inks: how the printed map colours look on screen. Screens (tints) are listed as inks of their
# own so that a picture never depends on transparency.
INK = {
    "paper": "#ffffff",
    "white": "#ffffff",
    "black": "#000000",
    "brown": "#c65e2a",
    "brown50": "#e5b182",
    "blue": "#00a9eb",
    "blue70": "#3dc0f1",
    "blue50": "#85d1f4",
    "yellow": "#fac14c",
    "yellow75": "#fbd179",
    "yellow50": "#fcdfa6",
    "green": "#43aa3a",
    "green60": "#9ac983",
    "green30": "#cfe5c4",
    "darkgreen": "#007d54",
    "olive": "#b5a722",
    "grey35": "#babcbf",
    "grey20": "#d9dbdd",
    "grey50": "#9b9a9e",
    "purple": "#b24996",
}

# Line weights and recurring sizes of the symbols, in map millimetres.
W = {
    "contour": 0.14,
    "index_contour": 0.25,
    "form_line": 0.14,
    "earth_bank": 0.25,
    "earth_bank_tag": 0.14,
    "earth_wall": 0.18,
    "point_line": 0.18,      # brown and blue point symbols drawn as outlines (pit, depression, well)
    "black_point_line": 0.16,
    "cliff_impassable": 0.35,
    "cliff": 0.25,
    "cliff_tag": 0.12,
    "water_edge": 0.12,
    "shallow_edge": 0.10,
    "watercourse": 0.30,
    "small_watercourse": 0.18,
    "marsh_line": 0.10,
    "uncrossable_marsh_line": 0.12,
    "road_edge": 0.14,
    "road": 0.35,
    "track": 0.35,
    "footpath": 0.25,
    "small_path": 0.18,
    "ride": 0.14,
    "ride_band": 0.45,
    "power_line": 0.14,
    "wall": 0.14,
    "impassable_wall": 0.25,
    "fence": 0.14,
    "impassable_fence": 0.25,
    "line_feature": 0.14,
    "impassable_line_feature": 0.25,
    "area_edge": 0.10,
    "cultivation_boundary": 0.10,
    "oob_edge": 0.18,
    "north_line": 0.10,
    "course": 0.35,
    "oob_boundary": 0.70,
    "digit_height_control": 4.0,
    "digit_height_spot": 1.5,
}

# Printing order, bottom first. Each drawing call names the layer its ink belongs to.
LAYERS = [
    "paper",
    "yellow50", "yellow75", "yellow",
    "black_screen",          # black dots of cultivated land and sandy ground
    "white_over_yellow",     # scattered-tree dots, masks on open land
    "grey35",
    "green30", "green60", "green",
    "olive",
    "brown50",
    "white_over_green",
    "blue50", "blue70", "blue_area",
    "grey20", "grey50",
    "road_edge", "road_fill",
    "brown",
    "purple_low",            # course overprint below the line symbols
    "darkgreen",
    "blue",
    "white_mask",            # white masks of green point symbols
    "green_point",
    "brown_point",
    "blue_point",
    "black",
    "white_top",             # white core of the railway
    "purple_up",             # marked route, out-of-bounds area and route, map issue point
]


# --------------------------------------------------------------------------------------------
# Geometry helpers.

def smooth(points, closed=False, steps=10):
    """Catmull-Rom curve through the points, returned as a dense polyline."""
    pts = list(points)
    if len(pts) < 3:
        return pts
    out = []
    n = len(pts)
    count = n if closed else n - 1
    for i in range(count):
        p0 = pts[(i - 1) % n] if closed else pts[max(i - 1, 0)]
        p1 = pts[i]
        p2 = pts[(i + 1) % n]
        p3 = pts[(i + 2) % n] if closed else pts[min(i + 2, n - 1)]
        for k in range(steps):
            t = k / steps
            t2, t3 = t * t, t * t * t
            x = 0.5 * ((2 * p1[0]) + (-p0[0] + p2[0]) * t
                       + (2 * p0[0] - 5 * p1[0] + 4 * p2[0] - p3[0]) * t2
                       + (-p0[0] + 3 * p1[0] - 3 * p2[0] + p3[0]) * t3)
            y = 0.5 * ((2 * p1[1]) + (-p0[1] + p2[1]) * t
                       + (2 * p0[1] - 5 * p1[1] + 4 * p2[1] - p3[1]) * t2
                       + (-p0[1] + 3 * p1[1] - 3 * p2[1] + p3[1]) * t3)
            out.append((x, y))
    if not closed:
        out.append(pts[-1])
    return out


def length(pts):
    return sum(math.dist(pts[i], pts[i + 1]) for i in range(len(pts) - 1))


def at(pts, dist):
    """Point and unit tangent at a distance along a polyline (clamped to its ends)."""
    if dist <= 0:
        (x0, y0), (x1, y1) = pts[0], pts[1]
        d = math.dist(pts[0], pts[1]) or 1.0
        return (x0, y0), ((x1 - x0) / d, (y1 - y0) / d)
    run = 0.0
    for i in range(len(pts) - 1):
        seg = math.dist(pts[i], pts[i + 1])
        if seg > 0 and run + seg >= dist:
            t = (dist - run) / seg
            (x0, y0), (x1, y1) = pts[i], pts[i + 1]
            return ((x0 + (x1 - x0) * t, y0 + (y1 - y0) * t),
                    ((x1 - x0) / seg, (y1 - y0) / seg))
        run += seg
    (x0, y0), (x1, y1) = pts[-2], pts[-1]
    d = math.dist(pts[-2], pts[-1]) or 1.0
    return (x1, y1), ((x1 - x0) / d, (y1 - y0) / d)


def stations(pts, pitch, start=None, end_margin=None):
    """Evenly spaced places along a polyline: list of (point, tangent).

    The first place is `start` from the beginning (half a pitch by default) and no place is
    nearer than `end_margin` to the end (half a pitch by default)."""
    total = length(pts)
    first = pitch / 2 if start is None else start
    margin = pitch / 2 if end_margin is None else end_margin
    out = []
    d = first
    while d <= total - margin + 1e-9:
        out.append(at(pts, d))
        d += pitch
    return out


def sub(pts, d0, d1):
    """The part of a polyline between two distances along it."""
    total = length(pts)
    d0, d1 = max(0.0, d0), min(total, d1)
    if d1 <= d0:
        return []
    out = [at(pts, d0)[0]]
    run = 0.0
    for i in range(len(pts) - 1):
        run += math.dist(pts[i], pts[i + 1])
        if d0 < run < d1:
            out.append(pts[i + 1])
    out.append(at(pts, d1)[0])
    return out


def normal(tangent):
    """Left-hand normal of a direction in screen coordinates (y down): east -> north."""
    tx, ty = tangent
    return (ty, -tx)


def offset(pts, d):
    """Polyline moved sideways by d (positive = left of the direction of travel)."""
    out = []
    n = len(pts)
    for i in range(n):
        if i == 0:
            t = (pts[1][0] - pts[0][0], pts[1][1] - pts[0][1])
        elif i == n - 1:
            t = (pts[-1][0] - pts[-2][0], pts[-1][1] - pts[-2][1])
        else:
            t = (pts[i + 1][0] - pts[i - 1][0], pts[i + 1][1] - pts[i - 1][1])
        m = math.hypot(*t) or 1.0
        nx, ny = normal((t[0] / m, t[1] / m))
        out.append((pts[i][0] + nx * d, pts[i][1] + ny * d))
    return out


def inside(pt, poly):
    """Even-odd test: is the point inside the polygon?"""
    x, y = pt
    result = False
    n = len(poly)
    j = n - 1
    for i in range(n):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y):
            xc = xi + (y - yi) * (xj - xi) / (yj - yi)
            if x < xc:
                result = not result
        j = i
    return result


def clip_segment(p0, p1, poly):
    """The pieces of the segment p0-p1 that lie inside the polygon."""
    ts = [0.0, 1.0]
    (x0, y0), (x1, y1) = p0, p1
    dx, dy = x1 - x0, y1 - y0
    n = len(poly)
    for i in range(n):
        (ax, ay), (bx, by) = poly[i], poly[(i + 1) % n]
        ex, ey = bx - ax, by - ay
        den = dx * ey - dy * ex
        if abs(den) < 1e-12:
            continue
        t = ((ax - x0) * ey - (ay - y0) * ex) / den
        u = ((ax - x0) * dy - (ay - y0) * dx) / den
        if 0.0 < t < 1.0 and 0.0 <= u <= 1.0:
            ts.append(t)
    ts.sort()
    pieces = []
    for a, b in zip(ts, ts[1:]):
        if b - a < 1e-9:
            continue
        m = (a + b) / 2
        if inside((x0 + dx * m, y0 + dy * m), poly):
            pieces.append(((x0 + dx * a, y0 + dy * a), (x0 + dx * b, y0 + dy * b)))
    return pieces


def blob(cx, cy, rx, ry, wobble, seed, count=9):
    """A smooth irregular closed outline around a centre, as a dense polygon."""
    rng = random.Random(seed)
    pts = []
    for i in range(count):
        a = 2 * math.pi * i / count
        f = 1.0 + rng.uniform(-wobble, wobble)
        pts.append((cx + math.cos(a) * rx * f, cy + math.sin(a) * ry * f))
    outline = smooth(pts, closed=True, steps=8)
    return outline + [outline[0]]


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def rotate(pts, angle_deg, cx=0.0, cy=0.0):
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    return [(cx + (x - cx) * ca - (y - cy) * sa, cy + (x - cx) * sa + (y - cy) * ca)
            for x, y in pts]


def arc(cx, cy, rx, ry, a0, a1, steps=16):
    """Points on an ellipse from angle a0 to a1 (degrees; 0 = east, 90 = south)."""
    out = []
    for i in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * i / steps)
        out.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return out


# --------------------------------------------------------------------------------------------
# SVG canvas.

def fmt(v):
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def path_data(pts, closed=False):
    if not pts:
        return ""
    d = "M" + fmt(pts[0][0]) + " " + fmt(pts[0][1])
    d += "".join("L" + fmt(x) + " " + fmt(y) for x, y in pts[1:])
    return d + ("Z" if closed else "")


class Canvas:
    """A picture of w x h pixels at `scale` pixels per map millimetre."""

    def __init__(self, width, height, scale):
        self.w = width
        self.h = height
        self.s = scale
        self.layers = {name: [] for name in LAYERS}

    def mm(self, v):
        return v * self.s

    def add(self, layer, element):
        if layer not in self.layers:
            raise ValueError(f"unknown layer {layer}")
        self.layers[layer].append(element)

    def svg(self):
        body = []
        for name in LAYERS:
            body.extend(self.layers[name])
        return (
            '<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="{self.w}" '
            f'height="{self.h}" viewBox="0 0 {self.w} {self.h}">\n'
            + "\n".join(body) + "\n</svg>\n")


# --------------------------------------------------------------------------------------------
# Primitives. Positions in pixels, widths and diameters in map millimetres.

def paper(c, ink="paper"):
    c.add("paper", f'<rect x="0" y="0" width="{c.w}" height="{c.h}" fill="{INK[ink]}"/>')


def fill(c, pts, ink, layer):
    c.add(layer, f'<path d="{path_data(pts, True)}" fill="{INK[ink]}"/>')


def fill_rect(c, x0, y0, x1, y1, ink, layer):
    c.add(layer, f'<rect x="{fmt(x0)}" y="{fmt(y0)}" width="{fmt(x1 - x0)}" '
                 f'height="{fmt(y1 - y0)}" fill="{INK[ink]}"/>')


def stroke(c, pts, ink, width_mm, layer, dash_mm=None, cap="butt", join="round",
           closed=False, dash_offset_mm=0.0, width_px=None):
    w = width_px if width_px is not None else c.mm(width_mm)
    attrs = (f'fill="none" stroke="{INK[ink]}" stroke-width="{fmt(w)}" '
             f'stroke-linecap="{cap}" stroke-linejoin="{join}"')
    if dash_mm:
        attrs += ' stroke-dasharray="' + " ".join(fmt(c.mm(v)) for v in dash_mm) + '"'
        if dash_offset_mm:
            attrs += f' stroke-dashoffset="{fmt(c.mm(dash_offset_mm))}"'
    c.add(layer, f'<path d="{path_data(pts, closed)}" {attrs}/>')


def dot(c, x, y, diam_mm, ink, layer):
    c.add(layer, f'<circle cx="{fmt(x)}" cy="{fmt(y)}" r="{fmt(c.mm(diam_mm) / 2)}" '
                 f'fill="{INK[ink]}"/>')


def ring(c, x, y, outside_mm, line_mm, ink, layer):
    """Circle outline; `outside_mm` is the outer diameter, as the symbol sizes are given."""
    r = c.mm(outside_mm - line_mm) / 2
    c.add(layer, f'<circle cx="{fmt(x)}" cy="{fmt(y)}" r="{fmt(r)}" fill="none" '
                 f'stroke="{INK[ink]}" stroke-width="{fmt(c.mm(line_mm))}"/>')


def hatch(c, poly, angle_deg, spacing_mm, width_mm, ink, layer, phase=0.5, dash_mm=None,
          cap="butt", stagger_mm=0.0):
    """Parallel lines across an area, clipped to it. angle 0 = east-west lines, 90 = north-south."""
    a = math.radians(angle_deg)
    ux, uy = math.cos(a), math.sin(a)          # direction of the lines
    nx, ny = -uy, ux                           # direction across the lines
    xs = [p[0] for p in poly]
    ys = [p[1] for p in poly]
    cx, cy = (min(xs) + max(xs)) / 2, (min(ys) + max(ys)) / 2
    reach = math.hypot(max(xs) - min(xs), max(ys) - min(ys)) / 2 + 2
    step = c.mm(spacing_mm)
    k = -math.ceil(reach / step) - 1
    pieces = []
    while k * step <= reach + step:
        o = (k + phase) * step
        shift = (k % 3) * stagger_mm * c.s
        p0 = (cx + nx * o - ux * (reach + shift), cy + ny * o - uy * (reach + shift))
        p1 = (cx + nx * o + ux * reach, cy + ny * o + uy * reach)
        for p, q in clip_segment(p0, p1, poly):
            pieces.append((p, q))
            if dash_mm:
                # keep the dashes in step with the full line, not with the clipped piece
                skip = math.dist(p0, p) / c.s
                stroke(c, [p, q], ink, width_mm, layer, dash_mm=dash_mm, cap=cap,
                       dash_offset_mm=skip % sum(dash_mm))
            else:
                stroke(c, [p, q], ink, width_mm, layer, cap=cap)
        k += 1
    return pieces


def lattice(poly, spacing_px, angle_deg=0.0, margin_px=0.0, origin=(0.0, 0.0)):
    """Points of a square lattice (turned by angle) that lie inside the polygon."""
    xs = [p[0] for p in poly]
    ys = [p[1] for p in poly]
    reach = math.hypot(max(xs) - min(xs), max(ys) - min(ys)) + spacing_px
    cx, cy = (min(xs) + max(xs)) / 2 + origin[0], (min(ys) + max(ys)) / 2 + origin[1]
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    n = int(reach / spacing_px) + 1
    out = []
    for i in range(-n, n + 1):
        for j in range(-n, n + 1):
            u, v = i * spacing_px, j * spacing_px
            p = (cx + u * ca - v * sa, cy + u * sa + v * ca)
            if inside(p, poly) and (margin_px <= 0 or _clear_of_edge(p, poly, margin_px)):
                out.append(p)
    return out


def scatter(poly, spacing_px, rng, jitter=0.38, margin_px=0.0):
    """Irregularly scattered points (a jittered grid) inside the polygon."""
    xs = [p[0] for p in poly]
    ys = [p[1] for p in poly]
    out = []
    y = min(ys) + spacing_px / 2
    row = 0
    while y < max(ys):
        x = min(xs) + spacing_px / 2 + (spacing_px / 2 if row % 2 else 0.0)
        while x < max(xs):
            p = (x + rng.uniform(-jitter, jitter) * spacing_px,
                 y + rng.uniform(-jitter, jitter) * spacing_px * 0.87)
            if inside(p, poly) and (margin_px <= 0 or _clear_of_edge(p, poly, margin_px)):
                out.append(p)
            x += spacing_px
        y += spacing_px * 0.87
        row += 1
    return out


def _clear_of_edge(p, poly, margin):
    n = len(poly)
    for i in range(n):
        if _seg_dist(p, poly[i], poly[(i + 1) % n]) < margin:
            return False
    return True


def _seg_dist(p, a, b):
    (px, py), (ax, ay), (bx, by) = p, a, b
    dx, dy = bx - ax, by - ay
    L = dx * dx + dy * dy
    t = 0.0 if L == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / L))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


# --------------------------------------------------------------------------------------------
# Figures for map texts (index contour values, spot heights, control numbers). Drawn as strokes
# so that the pictures need no font. Each figure lives in a box 6 units wide and 10 units high.

def _figure_strokes():
    f = {}
    f["0"] = [arc(3, 5, 3, 5, 0, 360, 28)]
    f["1"] = [[(0.9, 2.4), (3.6, 0), (3.6, 10)]]
    f["2"] = [arc(3, 3, 2.9, 3, 200, 360, 12) + arc(3, 3, 2.9, 3, 0, 50, 5)[1:]
              + [(0.1, 10), (6, 10)]]
    f["3"] = [arc(2.9, 2.6, 2.7, 2.6, 205, 450, 16),
              arc(2.9, 7.35, 3.0, 2.65, -90, 155, 16)]
    f["4"] = [[(4.6, 10), (4.6, 0), (0, 7), (6.2, 7)]]
    f["5"] = [[(5.6, 0), (1.1, 0), (0.6, 4.7)] + arc(3.1, 6.7, 2.9, 3.3, -135, 150, 18)]
    f["6"] = [arc(3.1, 6.85, 2.9, 3.15, 0, 360, 24),
              [(0.2, 6.85), (0.5, 3.4), (1.5, 1.0), (3.1, 0), (4.8, 0.4), (5.7, 2.0)]]
    f["7"] = [[(0, 0), (6, 0), (2.3, 10)]]
    f["8"] = [arc(3, 2.55, 2.55, 2.55, 0, 360, 20), arc(3, 7.4, 2.95, 2.6, 0, 360, 22)]
    f["9"] = [arc(2.9, 3.15, 2.9, 3.15, 0, 360, 24),
              [(5.8, 3.15), (5.5, 6.6), (4.5, 9.0), (2.9, 10), (1.2, 9.6), (0.3, 8.0)]]
    return f


FIGURES = _figure_strokes()
FIGURE_ADVANCE = 7.6   # units from one figure to the next


def figures_width(text, height_px):
    u = height_px / 10.0
    return (len(text) * FIGURE_ADVANCE - (FIGURE_ADVANCE - 6)) * u


def figures(c, x, y, text, height_mm, ink, layer, anchor="start", angle=0.0, weight=0.11):
    """Write figures with their top-left corner (or top centre for anchor="middle") at x, y,
    turned by `angle` degrees around that point."""
    h = c.mm(height_mm)
    u = h / 10.0
    total = figures_width(text, h)
    x0 = -total / 2 if anchor == "middle" else 0.0
    parts = []
    for i, ch in enumerate(text):
        for line in FIGURES[ch]:
            pts = [(x0 + (px + i * FIGURE_ADVANCE) * u, py * u) for px, py in line]
            parts.append(path_data(pts))
    tr = f'translate({fmt(x)} {fmt(y)})' + (f' rotate({fmt(angle)})' if angle else "")
    c.add(layer, f'<g transform="{tr}"><path d="{"".join(parts)}" fill="none" '
                 f'stroke="{INK[ink]}" stroke-width="{fmt(h * weight)}" stroke-linecap="round" '
                 f'stroke-linejoin="round"/></g>')
