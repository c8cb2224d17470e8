#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds the symbol font Pictor07.TTF (family "PictorMarks") from data/symbols.

    build_font.py --data data/symbols --out Pictor07.TTF

Each row of codes.tsv gives a character code and the SVG drawing (glyphs/<source>.svg) it shows,
turned clockwise about the box centre by the row's rotation. TrueType glyphs are filled outlines,
so this script reads the small SVG subset the drawings use and turns every stroke into filled
polygons itself: a stroke becomes simple pieces (bands along the smooth stretches of a line,
round or mitred wedges at its sharp corners, caps at its ends) that all wind the same way, so
the nonzero fill of the font shows their union and no piece ever needs a hole.

The SVG box 0..100 maps to font units x 60..940 and y 740..-140 (1000 units per em, ascender 800,
descender -200); every glyph is 1000 units wide. Code N is reachable both as U+00NN (Unicode map)
and as U+F0NN (Windows symbol map). The output depends only on the input: fixed timestamps.

Needs Python 3 and fontTools (Debian: python3-fonttools), nothing else.
"""
import argparse
import math
import os
import re
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "pictures"))
import symbol_svg  # noqa: E402

try:
    from fontTools.fontBuilder import FontBuilder
    from fontTools.pens.ttGlyphPen import TTGlyphPen
    from fontTools.ttLib import newTable
    from fontTools.ttLib.tables._c_m_a_p import CmapSubtable
    from fontTools.ttLib.tables._g_l_y_f import flagOverlapSimple
except ImportError:
    sys.exit("build_font.py needs fontTools (Debian: python3-fonttools); run it with /usr/bin/python3")

FAMILY = "PictorMarks"
VERSION = "Version 1.000"
UNITS_PER_EM = 1000
ASCENDER = 800
DESCENDER = -200
ADVANCE = 1000
# SVG box -> font units: 100 SVG units are 880 font units.
ORIGIN_X, ORIGIN_Y, SCALE = 60.0, 740.0, 8.8
# 2020-01-01 00:00 UTC in seconds since 1904-01-01, the head table's epoch.
FIXED_TIMESTAMP = 3660681600
FLATNESS = 0.04          # largest distance of a flattened curve from the true one, SVG units
SHARP_TURN = math.radians(25)   # a line bending more than this at a vertex gets a join piece


class DrawingError(Exception):
    pass


# ---------------------------------------------------------------------------------------------
# Affine transforms, as (a, b, c, d, e, f): x' = a x + c y + e, y' = b x + d y + f

IDENTITY = (1.0, 0.0, 0.0, 1.0, 0.0, 0.0)


def compose(m, n):
    """m applied after n."""
    a, b, c, d, e, f = m
    A, B, C, D, E, F = n
    return (a * A + c * B, b * A + d * B, a * C + c * D, b * C + d * D,
            a * E + c * F + e, b * E + d * F + f)


def apply(m, p):
    a, b, c, d, e, f = m
    return (a * p[0] + c * p[1] + e, b * p[0] + d * p[1] + f)


def rotation(degrees, cx=0.0, cy=0.0):
    t = math.radians(degrees)
    cs, sn = math.cos(t), math.sin(t)
    r = (cs, sn, -sn, cs, 0.0, 0.0)
    return compose((1, 0, 0, 1, cx, cy), compose(r, (1, 0, 0, 1, -cx, -cy)))


NUMBER_RE = re.compile(r"[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?")


def numbers(text):
    return [float(v) for v in NUMBER_RE.findall(text or "")]


def parse_transform(text):
    m = IDENTITY
    for name, args in re.findall(r"(\w+)\s*\(([^)]*)\)", text or ""):
        v = numbers(args)
        if name == "matrix" and len(v) == 6:
            t = tuple(v)
        elif name == "translate" and len(v) in (1, 2):
            t = (1, 0, 0, 1, v[0], v[1] if len(v) == 2 else 0.0)
        elif name == "scale" and len(v) in (1, 2):
            t = (v[0], 0, 0, v[1] if len(v) == 2 else v[0], 0, 0)
        elif name == "rotate" and len(v) in (1, 3):
            t = rotation(v[0], *(v[1:] if len(v) == 3 else (0.0, 0.0)))
        else:
            raise DrawingError(f"transform {name}({args}) is not supported")
        m = compose(m, t)
    return m


# ---------------------------------------------------------------------------------------------
# Curves to polylines

def arc_points(cx, cy, rx, ry, phi, t0, dt):
    """Points of an elliptic arc from angle t0 through dt (radians), start point excluded."""
    steps = max(2, int(math.ceil(abs(dt) / segment_angle(max(rx, ry)))))
    cs, sn = math.cos(phi), math.sin(phi)
    out = []
    for i in range(1, steps + 1):
        t = t0 + dt * i / steps
        x, y = rx * math.cos(t), ry * math.sin(t)
        out.append((cx + cs * x - sn * y, cy + sn * x + cs * y))
    return out


def segment_angle(radius):
    if radius <= FLATNESS:
        return math.pi / 2
    return max(2 * math.acos(1 - FLATNESS / radius), math.radians(2))


def cubic_points(p0, p1, p2, p3):
    length = math.dist(p0, p1) + math.dist(p1, p2) + math.dist(p2, p3)
    steps = min(200, max(4, int(math.ceil(length / 1.0))))
    out = []
    for i in range(1, steps + 1):
        t = i / steps
        u = 1 - t
        out.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                    u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return out


def quadratic_points(p0, p1, p2):
    c1 = (p0[0] + 2 / 3 * (p1[0] - p0[0]), p0[1] + 2 / 3 * (p1[1] - p0[1]))
    c2 = (p2[0] + 2 / 3 * (p1[0] - p2[0]), p2[1] + 2 / 3 * (p1[1] - p2[1]))
    return cubic_points(p0, c1, c2, p2)


def svg_arc(p0, rx, ry, phi_deg, large, sweep, p1):
    """Endpoint-parameterised SVG arc to points (start point excluded)."""
    if p0 == p1:
        return []
    rx, ry = abs(rx), abs(ry)
    if rx == 0 or ry == 0:
        return [p1]
    phi = math.radians(phi_deg)
    cs, sn = math.cos(phi), math.sin(phi)
    dx, dy = (p0[0] - p1[0]) / 2, (p0[1] - p1[1]) / 2
    x1, y1 = cs * dx + sn * dy, -sn * dx + cs * dy
    lam = (x1 / rx) ** 2 + (y1 / ry) ** 2
    if lam > 1:
        rx, ry = rx * math.sqrt(lam), ry * math.sqrt(lam)
    num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1
    den = rx * rx * y1 * y1 + ry * ry * x1 * x1
    k = math.sqrt(max(0.0, num / den))
    if large == sweep:
        k = -k
    cxp, cyp = k * rx * y1 / ry, -k * ry * x1 / rx
    cx = cs * cxp - sn * cyp + (p0[0] + p1[0]) / 2
    cy = sn * cxp + cs * cyp + (p0[1] + p1[1]) / 2

    def angle(ux, uy, vx, vy):
        return math.atan2(ux * vy - uy * vx, ux * vx + uy * vy)

    t0 = angle(1, 0, (x1 - cxp) / rx, (y1 - cyp) / ry)
    dt = angle((x1 - cxp) / rx, (y1 - cyp) / ry, (-x1 - cxp) / rx, (-y1 - cyp) / ry)
    if not sweep and dt > 0:
        dt -= 2 * math.pi
    elif sweep and dt < 0:
        dt += 2 * math.pi
    pts = arc_points(cx, cy, rx, ry, phi, t0, dt)
    pts[-1] = p1
    return pts


PATH_TOKEN_RE = re.compile(r"([MmLlHhVvCcSsQqTtAaZz])|" + NUMBER_RE.pattern)


def parse_path(d):
    """SVG path data to a list of (points, closed) subpaths, untransformed."""
    tokens = [(m.group(1), m.group(0)) for m in PATH_TOKEN_RE.finditer(d)]
    subpaths, pts = [], []
    cur = start = (0.0, 0.0)
    last_ctrl, last_cmd = None, ""
    i, cmd = 0, None

    def take(n):
        nonlocal i
        vals = []
        for _ in range(n):
            if i >= len(tokens) or tokens[i][0]:
                raise DrawingError(f"path data ends early: {d!r}")
            vals.append(float(tokens[i][1]))
            i += 1
        return vals

    def flush(closed):
        nonlocal pts
        if len(pts) >= 1:
            subpaths.append((pts, closed))
        pts = []

    while i < len(tokens):
        if tokens[i][0]:
            cmd = tokens[i][0]
            i += 1
            if cmd in "Zz":
                flush(True)
                cur = start
                last_cmd = "Z"
                continue
        elif cmd is None:
            raise DrawingError(f"path data must start with a command: {d!r}")
        rel = cmd.islower()
        base = cur if rel else (0.0, 0.0)
        c = cmd.upper()
        ctrl = None
        if c == "M":
            x, y = take(2)
            flush(False)
            cur = start = (base[0] + x, base[1] + y)
            pts = [cur]
            cmd = "l" if rel else "L"     # further pairs are line-tos
        elif c == "L":
            x, y = take(2)
            cur = (base[0] + x, base[1] + y)
            pts.append(cur)
        elif c == "H":
            (x,) = take(1)
            cur = ((cur[0] if rel else 0.0) + x, cur[1])
            pts.append(cur)
        elif c == "V":
            (y,) = take(1)
            cur = (cur[0], (cur[1] if rel else 0.0) + y)
            pts.append(cur)
        elif c in "CS":
            if c == "C":
                x1, y1, x2, y2, x, y = take(6)
                p1 = (base[0] + x1, base[1] + y1)
            else:
                x2, y2, x, y = take(4)
                p1 = (2 * cur[0] - last_ctrl[0], 2 * cur[1] - last_ctrl[1]) \
                    if last_ctrl and last_cmd in "CS" else cur
            p2 = (base[0] + x2, base[1] + y2)
            end = (base[0] + x, base[1] + y)
            pts.extend(cubic_points(cur, p1, p2, end))
            cur, ctrl = end, p2
        elif c in "QT":
            if c == "Q":
                x1, y1, x, y = take(4)
                p1 = (base[0] + x1, base[1] + y1)
            else:
                x, y = take(2)
                p1 = (2 * cur[0] - last_ctrl[0], 2 * cur[1] - last_ctrl[1]) \
                    if last_ctrl and last_cmd in "QT" else cur
            end = (base[0] + x, base[1] + y)
            pts.extend(quadratic_points(cur, p1, end))
            cur, ctrl = end, p1
        elif c == "A":
            rx, ry, phi, large, sweep, x, y = take(7)
            end = (base[0] + x, base[1] + y)
            pts.extend(svg_arc(cur, rx, ry, phi, int(large), int(sweep), end))
            cur = end
        if not pts:
            pts = [start]
        last_ctrl, last_cmd = ctrl, c
    flush(False)
    return subpaths


def ellipse_points(cx, cy, rx, ry):
    pts = arc_points(cx, cy, rx, ry, 0.0, 0.0, 2 * math.pi)
    return pts[:-1]


# ---------------------------------------------------------------------------------------------
# Reading a drawing

PAINT_ATTRS = {"fill", "stroke", "stroke-width", "stroke-linecap", "stroke-linejoin",
               "stroke-miterlimit", "stroke-dasharray", "stroke-dashoffset", "fill-rule"}
GEOMETRY_ATTRS = {
    "line": {"x1", "y1", "x2", "y2"},
    "polyline": {"points"},
    "polygon": {"points"},
    "rect": {"x", "y", "width", "height", "rx", "ry"},
    "circle": {"cx", "cy", "r"},
    "ellipse": {"cx", "cy", "rx", "ry"},
    "path": {"d"},
    "g": set(),
}
COMMON_ATTRS = PAINT_ATTRS | {"transform", "id"}
DEFAULT_PAINT = {"fill": "#000", "stroke": "none", "stroke-width": "1", "stroke-linecap": "butt",
                 "stroke-linejoin": "miter", "stroke-miterlimit": "4", "stroke-dasharray": "none",
                 "stroke-dashoffset": "0", "fill-rule": "nonzero"}
NO_INK = {"none", "transparent"}
WHITE = {"white", "#fff", "#ffffff"}


def local(tag):
    return tag.rsplit("}", 1)[-1]


class Shape:
    """One drawn element: subpaths in final SVG coordinates and the paint that applies."""

    def __init__(self, subpaths, paint, scale):
        self.subpaths = subpaths
        self.paint = paint
        self.scale = scale


def element_subpaths(tag, a):
    def num(key, default=None):
        if key not in a:
            if default is None:
                raise DrawingError(f"<{tag}> needs {key}")
            return default
        return float(a[key])

    if tag == "line":
        return [([(num("x1", 0.0), num("y1", 0.0)), (num("x2", 0.0), num("y2", 0.0))], False)]
    if tag in ("polyline", "polygon"):
        v = numbers(a.get("points"))
        if len(v) < 4 or len(v) % 2:
            raise DrawingError(f"<{tag}> points {a.get('points')!r}")
        return [(list(zip(v[0::2], v[1::2])), tag == "polygon")]
    if tag == "rect":
        x, y, w, h = num("x", 0.0), num("y", 0.0), num("width"), num("height")
        if "rx" in a or "ry" in a:
            rx = min(num("rx", num("ry", 0.0)), w / 2)
            ry = min(num("ry", rx), h / 2)
            pts = []
            for cx, cy, t0 in ((x + w - rx, y + ry, -math.pi / 2), (x + w - rx, y + h - ry, 0.0),
                               (x + rx, y + h - ry, math.pi / 2), (x + rx, y + ry, math.pi)):
                first = (cx + rx * math.cos(t0), cy + ry * math.sin(t0))
                pts.append(first)
                pts.extend(arc_points(cx, cy, rx, ry, 0.0, t0, math.pi / 2))
            return [(pts, True)]
        return [([(x, y), (x + w, y), (x + w, y + h), (x, y + h)], True)]
    if tag == "circle":
        r = num("r")
        return [(ellipse_points(num("cx", 0.0), num("cy", 0.0), r, r), True)]
    if tag == "ellipse":
        return [(ellipse_points(num("cx", 0.0), num("cy", 0.0), num("rx"), num("ry")), True)]
    if tag == "path":
        return parse_path(a.get("d", ""))
    raise DrawingError(f"<{tag}> is not supported")


def read_drawing(path):
    """All shapes of one SVG drawing, in drawing order."""
    try:
        root = ET.parse(path).getroot()
    except (OSError, ET.ParseError) as e:
        raise DrawingError(f"{path}: {e}")
    if local(root.tag) != "svg" or numbers(root.get("viewBox")) != [0, 0, 100, 100]:
        raise DrawingError(f"{path}: the root must be <svg viewBox=\"0 0 100 100\">")
    shapes = []
    root_paint = dict(DEFAULT_PAINT)
    root_paint.update({k: v for k, v in root.attrib.items() if k in PAINT_ATTRS})

    def walk(node, paint, matrix):
        for child in node:
            tag = local(child.tag)
            if tag in ("title", "desc", "metadata"):
                continue
            if tag not in GEOMETRY_ATTRS:
                raise DrawingError(f"{path}: <{tag}> is not supported")
            unknown = set(child.attrib) - COMMON_ATTRS - GEOMETRY_ATTRS[tag]
            if unknown:
                raise DrawingError(f"{path}: <{tag}> has unsupported {', '.join(sorted(unknown))}")
            p = dict(paint)
            p.update({k: v.strip() for k, v in child.attrib.items() if k in PAINT_ATTRS})
            m = compose(matrix, parse_transform(child.get("transform")))
            if tag == "g":
                walk(child, p, m)
                continue
            for key in ("fill", "stroke"):
                if p[key].lower() in WHITE:
                    raise DrawingError(f"{path}: white {key}: a font glyph has only ink")
            if p["fill-rule"] != "nonzero":
                raise DrawingError(f"{path}: fill-rule {p['fill-rule']}: drawings have no holes")
            subpaths = [([apply(m, q) for q in pts], closed)
                        for pts, closed in element_subpaths(tag, child.attrib)]
            scale = math.sqrt(abs(m[0] * m[3] - m[1] * m[2]))
            shapes.append(Shape(subpaths, p, scale))

    walk(root, root_paint, IDENTITY)
    return shapes


# ---------------------------------------------------------------------------------------------
# Strokes to filled polygons

def sub(p, q):
    return (p[0] - q[0], p[1] - q[1])


def unit(v):
    n = math.hypot(v[0], v[1])
    return (v[0] / n, v[1] / n)


def normal(d):
    return (-d[1], d[0])


def cross(u, v):
    return u[0] * v[1] - u[1] * v[0]


def dot(u, v):
    return u[0] * v[0] + u[1] * v[1]


def circle_polygon(c, r):
    steps = max(12, int(math.ceil(2 * math.pi / segment_angle(r))))
    return [(c[0] + r * math.cos(2 * math.pi * i / steps), c[1] + r * math.sin(2 * math.pi * i / steps))
            for i in range(steps)]


def cap_points(p, d, n, h, cap, at_end):
    """Points between the two offset points of a line end, going round the end.

    p: end point, d: unit direction pointing out of the line, n: unit normal; the polygon runs
    from p + n h round to p - n h when at_end, the reverse at the start."""
    if cap == "round":
        steps = max(4, int(math.ceil(math.pi / segment_angle(h))))
        pts = []
        for i in range(1, steps):
            t = math.pi * i / steps
            # from +n through d to -n
            pts.append((p[0] + h * (n[0] * math.cos(t) + d[0] * math.sin(t)),
                        p[1] + h * (n[1] * math.cos(t) + d[1] * math.sin(t))))
        return pts if at_end else pts[::-1]
    if cap == "square":
        a = (p[0] + h * (n[0] + d[0]), p[1] + h * (n[1] + d[1]))
        b = (p[0] + h * (-n[0] + d[0]), p[1] + h * (-n[1] + d[1]))
        return [a, b] if at_end else [b, a]
    return []


def clean(points, closed):
    out = []
    for p in points:
        if not out or math.dist(p, out[-1]) > 1e-6:
            out.append(p)
    if closed and len(out) > 1 and math.dist(out[0], out[-1]) <= 1e-6:
        out.pop()
    return out


def dash(points, closed, pattern, offset):
    """Splits a polyline into the dashes of a dash pattern (a list of lengths)."""
    if closed:
        points = points + [points[0]]
    if len(pattern) % 2:
        pattern = pattern * 2
    total = sum(pattern)
    if total <= 0:
        return [(points, False)]
    pos = offset % total
    k = 0
    while pos > pattern[k] or (pos == pattern[k] and pattern[k] > 0):
        pos -= pattern[k]
        k = (k + 1) % len(pattern)
    left = pattern[k] - pos
    dashes, current = [], [points[0]] if k % 2 == 0 else None
    for a, b in zip(points, points[1:]):
        seg = math.dist(a, b)
        done = 0.0
        while seg - done > left:
            done += left
            t = done / seg
            q = (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t)
            if current is not None:
                current.append(q)
                dashes.append((current, False))
                current = None
            else:
                current = [q]
            k = (k + 1) % len(pattern)
            left = pattern[k]
        left -= seg - done
        if current is not None:
            current.append(b)
    if current is not None and len(current) > 1:
        dashes.append((current, False))
    return dashes


class Stroker:
    """Collects the filled polygons of one stroke style. A polyline is cut at its sharp corners;
    each smooth stretch becomes one band polygon (offset on both sides, with the caps), each
    sharp corner one join polygon. A closed smooth line (a circle) is cut in three bands."""

    def __init__(self, width, cap, join, miterlimit):
        self.h = width / 2
        self.cap = cap
        self.join = join
        self.miterlimit = miterlimit
        self.polygons = []

    def stroke(self, points, closed):
        pts = clean(points, closed)
        h = self.h
        if len(pts) == 1 or (closed and len(pts) == 2):
            if self.cap == "round" and len(pts) == 1:
                self.polygons.append(circle_polygon(pts[0], h))
            elif len(pts) == 2:
                self.stroke(pts, False)
            return
        if len(pts) < 2:
            return
        n = len(pts)
        nseg = n if closed else n - 1
        dirs = [unit(sub(pts[(i + 1) % n], pts[i])) for i in range(nseg)]

        def seg_in(j):
            return dirs[(j - 1) % n] if closed else (dirs[j - 1] if j > 0 else None)

        def seg_out(j):
            return dirs[j] if (closed or j < n - 1) else None

        sharp = set()
        for j in range(n):
            a, b = seg_in(j), seg_out(j)
            if a and b and math.acos(max(-1.0, min(1.0, dot(a, b)))) > SHARP_TURN:
                sharp.add(j)
        if closed:
            cuts = sorted(sharp)
            smooth_cuts = set()
            if not cuts:
                cuts = sorted({0, n // 3, (2 * n) // 3})
                smooth_cuts = set(cuts)
            spans = []
            for k, c in enumerate(cuts):
                nxt = cuts[(k + 1) % len(cuts)]
                length = (nxt - c) % n or n
                spans.append([(c + i) % n for i in range(length + 1)])
        else:
            cuts = [0] + sorted(sharp) + [n - 1]
            smooth_cuts = set()
            spans = [list(range(cuts[k], cuts[k + 1] + 1)) for k in range(len(cuts) - 1)]

        for span in spans:
            self.band(pts, span, seg_in, seg_out, smooth_cuts, closed, n)
        for j in sorted(sharp):
            self.join_piece(pts[j], seg_in(j), seg_out(j))

    def offset_normal(self, j, seg_in, seg_out, first, last, smooth_cuts):
        """Normal (scaled for a mitre) used at vertex j of a band."""
        a, b = seg_in(j), seg_out(j)
        smooth = j in smooth_cuts or not (first or last)
        if smooth and a and b:
            m = unit((a[0] + b[0], a[1] + b[1]))
            nm = normal(m)
            scale = 1.0 / max(0.5, dot(nm, normal(a)))
            return (nm[0] * scale, nm[1] * scale)
        d = b if first else a
        if d is None:
            d = a or b
        return normal(d)

    def band(self, pts, span, seg_in, seg_out, smooth_cuts, closed, n):
        h = self.h
        left, right = [], []
        for k, j in enumerate(span):
            nm = self.offset_normal(j, seg_in, seg_out, k == 0, k == len(span) - 1, smooth_cuts)
            p = pts[j]
            left.append((p[0] + nm[0] * h, p[1] + nm[1] * h))
            right.append((p[0] - nm[0] * h, p[1] - nm[1] * h))
        if self.folds(pts, span, left, right):
            self.segment_band(pts, span, closed, n)
            return
        poly = list(left)
        end, start = span[-1], span[0]
        if not closed and end == n - 1:
            d = seg_in(end)
            poly += cap_points(pts[end], d, normal(d), h, self.cap, True)
        poly += right[::-1]
        if not closed and start == 0:
            d = seg_out(start)
            poly += cap_points(pts[start], (-d[0], -d[1]), normal(d), h, self.cap, False)
        self.polygons.append(poly)

    @staticmethod
    def folds(pts, span, left, right):
        """True when a curve bends tighter than half the stroke: an offset line runs backwards."""
        for k in range(len(span) - 1):
            d = sub(pts[span[k + 1]], pts[span[k]])
            if dot(sub(left[k + 1], left[k]), d) < 0 or dot(sub(right[k + 1], right[k]), d) < 0:
                return True
        return False

    def segment_band(self, pts, span, closed, n):
        """A band as one quadrilateral per segment with a round piece at every vertex: slower to
        draw but exact for curves of any tightness."""
        h = self.h
        for k in range(len(span) - 1):
            p, q = pts[span[k]], pts[span[k + 1]]
            d = unit(sub(q, p))
            nm = normal(d)
            if not closed and span[k] == 0 and self.cap == "square":
                p = (p[0] - d[0] * h, p[1] - d[1] * h)
            if not closed and span[k + 1] == n - 1 and self.cap == "square":
                q = (q[0] + d[0] * h, q[1] + d[1] * h)
            self.polygons.append([(p[0] + nm[0] * h, p[1] + nm[1] * h), (q[0] + nm[0] * h, q[1] + nm[1] * h),
                                  (q[0] - nm[0] * h, q[1] - nm[1] * h), (p[0] - nm[0] * h, p[1] - nm[1] * h)])
        for k, j in enumerate(span):
            end = not closed and j in (0, n - 1)
            if (0 < k < len(span) - 1) or (end and self.cap == "round") or (closed and k == 0):
                self.polygons.append(circle_polygon(pts[j], h))

    def join_piece(self, p, a, b):
        h = self.h
        if self.join == "round":
            self.polygons.append(circle_polygon(p, h))
            return
        side = -1.0 if cross(a, b) > 0 else 1.0
        na, nb = normal(a), normal(b)
        pa = (p[0] + side * na[0] * h, p[1] + side * na[1] * h)
        pb = (p[0] + side * nb[0] * h, p[1] + side * nb[1] * h)
        cos_half = math.sqrt(max(0.0, (1 + dot(na, nb)) / 2))
        if self.join == "miter" and cos_half > 1e-6 and 1 / cos_half <= self.miterlimit:
            m = unit((side * (na[0] + nb[0]), side * (na[1] + nb[1])))
            length = h / cos_half
            self.polygons.append([p, pa, (p[0] + m[0] * length, p[1] + m[1] * length), pb])
        else:
            self.polygons.append([p, pa, pb])


def shape_polygons(shape):
    """Filled polygons of one shape, in SVG coordinates."""
    polygons = []
    paint = shape.paint
    if paint["fill"].lower() not in NO_INK:
        for pts, _closed in shape.subpaths:
            pts = clean(pts, True)
            if len(pts) >= 3:
                polygons.append(pts)
    if paint["stroke"].lower() not in NO_INK:
        width = float(paint["stroke-width"]) * shape.scale
        if width <= 0:
            return polygons
        st = Stroker(width, paint["stroke-linecap"], paint["stroke-linejoin"],
                     float(paint["stroke-miterlimit"]))
        pattern = [] if paint["stroke-dasharray"] == "none" else \
            [v * shape.scale for v in numbers(paint["stroke-dasharray"])]
        for pts, closed in shape.subpaths:
            if pattern and sum(pattern) > 0:
                for piece, _ in dash(clean(pts, closed), closed, pattern,
                                     float(paint["stroke-dashoffset"]) * shape.scale):
                    st.stroke(piece, False)
            else:
                st.stroke(pts, closed)
        polygons += st.polygons
    return polygons


# ---------------------------------------------------------------------------------------------
# Glyph outlines

def signed_area(poly):
    return sum(poly[i][0] * poly[(i + 1) % len(poly)][1] - poly[(i + 1) % len(poly)][0] * poly[i][1]
               for i in range(len(poly))) / 2


def glyph_contours(symbols_dir, source, rotate, cache):
    """Integer font-unit contours of a drawing turned by `rotate` degrees, all clockwise."""
    if source not in cache:
        path = symbol_svg.source_path(symbols_dir, source)
        cache[source] = [p for shape in read_drawing(path) for p in shape_polygons(shape)]
    polygons = cache[source]
    m = rotation(rotate, 50.0, 50.0)
    contours = []
    for poly in polygons:
        pts = []
        for q in poly:
            x, y = apply(m, q)
            fp = (int(round(ORIGIN_X + x * SCALE)), int(round(ORIGIN_Y - y * SCALE)))
            if not pts or fp != pts[-1]:
                pts.append(fp)
        while len(pts) > 1 and pts[0] == pts[-1]:
            pts.pop()
        if len(pts) < 3:
            continue
        area = signed_area(pts)
        if abs(area) < 1.0:
            continue
        if area > 0:            # TrueType ink runs clockwise (y upward)
            pts.reverse()
        contours.append(pts)
    return contours


def make_glyph(contours):
    pen = TTGlyphPen(None)
    for pts in contours:
        pen.moveTo(pts[0])
        for p in pts[1:]:
            pen.lineTo(p)
        pen.closePath()
    glyph = pen.glyph()
    if contours:
        # pieces overlap by design; tell rasterisers that care
        glyph.flags[0] |= flagOverlapSimple
    return glyph


def notdef_contours():
    outer = [(100, 0), (100, 700), (500, 700), (500, 0)]
    inner = [(150, 50), (450, 50), (450, 650), (150, 650)]
    return [outer, inner]


def glyph_name(code):
    return f"sym{code:03d}"


def build(symbols_dir, out_path, report=print):
    rows = symbol_svg.read_code_table(symbols_dir)
    rows.sort(key=lambda r: r.code)
    cache, glyphs = {}, {}
    glyphs[".notdef"] = make_glyph(notdef_contours())
    glyphs["space"] = make_glyph([])
    for r in rows:
        contours = glyph_contours(symbols_dir, r.source, r.rotate, cache)
        if not contours:
            raise DrawingError(f"code {r.code} ({r.name}): the drawing {r.source} has no ink")
        for pts in contours:
            for x, y in pts:
                if not (0 <= x <= ADVANCE and DESCENDER <= y <= ASCENDER):
                    raise DrawingError(f"code {r.code} ({r.name}): the drawing {r.source} turned "
                                       f"{r.rotate} degrees leaves the em box at ({x}, {y})")
        glyphs[glyph_name(r.code)] = make_glyph(contours)
    order = [".notdef", "space"] + [glyph_name(r.code) for r in rows]

    fb = FontBuilder(UNITS_PER_EM, isTTF=True)
    fb.updateHead(created=FIXED_TIMESTAMP, modified=FIXED_TIMESTAMP, fontRevision=1.0)
    fb.setupGlyphOrder(order)
    unicode_map = {0x20: "space"}
    unicode_map.update({r.code: glyph_name(r.code) for r in rows})
    subtables = []
    for plat_enc, base in (((3, 0), 0xF000), ((3, 1), 0x0000)):
        st = CmapSubtable.newSubtable(4)
        st.platformID, st.platEncID = plat_enc
        st.language = 0
        st.cmap = {base + code: name for code, name in unicode_map.items()}
        subtables.append(st)
    cmap = newTable("cmap")
    cmap.tableVersion = 0
    cmap.tables = subtables
    fb.font["cmap"] = cmap
    fb.setupGlyf(glyphs)
    metrics = {}
    for name in order:
        g = glyphs[name]
        metrics[name] = (ADVANCE, getattr(g, "xMin", 0) if g.numberOfContours else 0)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENDER, descent=DESCENDER, lineGap=0)
    names = {1: FAMILY, 2: "Regular", 3: f"{FAMILY}-Regular-1.000", 4: FAMILY, 5: VERSION,
             6: FAMILY}
    name_table = newTable("name")
    name_table.names = []
    for name_id, text in names.items():
        name_table.setName(text, name_id, 1, 0, 0)
        name_table.setName(text, name_id, 3, 0, 0x409)
        name_table.setName(text, name_id, 3, 1, 0x409)
    fb.font["name"] = name_table
    fb.setupOS2(usWeightClass=400, fsSelection=0x40, achVendID="NONE", fsType=0,
                sTypoAscender=ASCENDER, sTypoDescender=DESCENDER, sTypoLineGap=0,
                usWinAscent=ASCENDER, usWinDescent=-DESCENDER,
                usFirstCharIndex=0x20, usLastCharIndex=0xF000 + max(unicode_map),
                ulCodePageRange1=(1 << 0) | (1 << 31), ulCodePageRange2=0,
                ulUnicodeRange1=0b11, ulUnicodeRange2=1 << (60 - 32), ulUnicodeRange3=0,
                ulUnicodeRange4=0, sxHeight=500, sCapHeight=700, usDefaultChar=0,
                usBreakChar=0x20, usMaxContext=0)
    fb.setupPost(keepGlyphNames=True)
    gasp = newTable("gasp")
    gasp.version = 1
    gasp.gaspRange = {0xFFFF: 0x000A}     # smooth at every size, no grid fitting needed
    fb.font["gasp"] = gasp
    fb.font.recalcTimestamp = False
    os.makedirs(os.path.dirname(os.path.abspath(out_path)), exist_ok=True)
    tmp = out_path + ".tmp"
    fb.save(tmp)
    os.replace(tmp, out_path)
    report(f"{os.path.basename(out_path)}: {len(rows)} symbols from "
           f"{len({r.source for r in rows})} drawings")


def main():
    ap = argparse.ArgumentParser(description="Builds the symbol font from data/symbols.")
    ap.add_argument("--data", required=True, help="the folder with codes.tsv and glyphs/")
    ap.add_argument("--out", required=True, help="the font file to write")
    args = ap.parse_args()
    try:
        build(args.data, args.out)
    except (DrawingError, symbol_svg.TableError, OSError) as e:
        sys.exit(f"build_font.py: {e}")


if __name__ == "__main__":
    main()
