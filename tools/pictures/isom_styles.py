# SPDX-License-Identifier: GPL-3.0-or-later
"""How each ISOM map symbol is drawn: one function per symbol kind.

Line symbols take a polyline in pixels, area symbols a polygon, point symbols a centre. Sizes are
map millimetres (their defaults are the usual ISOM 2017-2 dimensions); the scene table in
data/maps/symbols.tsv may override them per picture. Layers follow the printing order of
isom_draw.LAYERS, so brown and black details stay visible over the course overprint.
"""

import math

from isom_draw import (W, arc, at, dot, fill, hatch, lattice, length, normal, offset,
                       ring, rotate, scatter, stations, stroke, sub)

# ------------------------------------------------------------------------------------------
# Landforms (brown).


def contour(c, pts, index=False, gaps=()):
    """Contour or index contour; `gaps` are (from, to) distances along the line left open."""
    width = W["index_contour"] if index else W["contour"]
    for piece in _open_gaps(pts, gaps):
        stroke(c, piece, "brown", width, "brown")


def _open_gaps(pts, gaps):
    if not gaps:
        return [pts]
    pieces = []
    d = 0.0
    for g0, g1 in sorted(gaps):
        part = sub(pts, d, g0)
        if len(part) > 1:
            pieces.append(part)
        d = g1
    part = sub(pts, d, length(pts))
    if len(part) > 1:
        pieces.append(part)
    return pieces


def slope_tag(c, pts, dist, side=1, ink="brown"):
    """Slope line on a contour, on the downhill side."""
    (x, y), t = at(pts, dist)
    nx, ny = normal(t)
    L = c.mm(0.4)
    stroke(c, [(x, y), (x + nx * L * side, y + ny * L * side)], ink, W["contour"], "brown")


def form_line(c, pts):
    stroke(c, pts, "brown", W["form_line"], "brown", dash_mm=(2.0, 0.25))


def tags(c, pts, pitch_mm, tag_mm, tag_width_mm, ink, layer, side=1, line_width_mm=0.0,
         lean_deg=0.0, start_mm=None):
    """Short strokes leaving a line on one side (side=1 left of the direction, -1 right)."""
    start = None if start_mm is None else c.mm(start_mm)
    half = c.mm(line_width_mm) / 2
    for (x, y), t in stations(pts, c.mm(pitch_mm), start=start):
        nx, ny = normal(t)
        nx, ny = nx * side, ny * side
        if lean_deg:
            a = math.radians(lean_deg)
            nx, ny = nx * math.cos(a) - ny * math.sin(a), nx * math.sin(a) + ny * math.cos(a)
        x0, y0 = x + nx * half * 0.5, y + ny * half * 0.5
        L = c.mm(tag_mm) + half
        stroke(c, [(x0, y0), (x + nx * L, y + ny * L)], ink, tag_width_mm, layer)


def earth_bank(c, pts, side=1, tag_mm=0.4, pitch_mm=0.5):
    stroke(c, pts, "brown", W["earth_bank"], "brown")
    tags(c, pts, pitch_mm, tag_mm, W["earth_bank_tag"], "brown", "brown", side=side,
         line_width_mm=W["earth_bank"])


def earth_wall(c, pts, dot_mm=0.45, pitch_mm=2.0):
    stroke(c, pts, "brown", W["earth_wall"], "brown")
    for (x, y), _ in stations(pts, c.mm(pitch_mm)):
        dot(c, x, y, dot_mm, "brown", "brown")


def retaining_earth_wall(c, pts, side=1, dot_mm=0.45, pitch_mm=1.0):
    """Earth-wall line with half dots on the lower side."""
    stroke(c, pts, "brown", W["earth_wall"], "brown")
    r = c.mm(dot_mm) / 2
    for (x, y), t in stations(pts, c.mm(pitch_mm)):
        nx, ny = normal(t)
        nx, ny = nx * side, ny * side
        ang = math.degrees(math.atan2(t[1], t[0]))
        half = arc(0, 0, r, r, 0, 180 if side < 0 else -180, 10)
        half = rotate(half, ang)
        shift = c.mm(W["earth_wall"]) * 0.3
        poly = [(x + px + nx * shift, y + py + ny * shift) for px, py in half]
        fill(c, poly, "brown", "brown")


def dashed_with_dots(c, pts, ink, layer, width_mm, dash_mm, gap_mm, dot_mm):
    stroke(c, pts, ink, width_mm, layer, dash_mm=(dash_mm, gap_mm))
    pitch = c.mm(dash_mm + gap_mm)
    for (x, y), _ in stations(pts, pitch, start=c.mm(dash_mm) / 2, end_margin=c.mm(dash_mm) / 2):
        dot(c, x, y, dot_mm, ink, layer)


def ruined_earth_wall(c, pts):
    dashed_with_dots(c, pts, "brown", "brown", W["earth_wall"], 1.7, 0.25, 0.4)


def erosion_gully(c, pts, head_mm=0.1, widest_mm=0.6, foot_mm=0.3):
    """Tapered brown line: pointed at the head (first point), widest two thirds down."""
    total = length(pts)
    left, right = [], []
    steps = 24
    for i in range(steps + 1):
        d = total * i / steps
        f = i / steps
        if f < 0.65:
            w = head_mm + (widest_mm - head_mm) * (f / 0.65)
        else:
            w = widest_mm + (foot_mm - widest_mm) * ((f - 0.65) / 0.35)
        (x, y), t = at(pts, d)
        nx, ny = normal(t)
        h = c.mm(w) / 2
        left.append((x + nx * h, y + ny * h))
        right.append((x - nx * h, y - ny * h))
    fill(c, left + right[::-1], "brown", "brown")


def small_erosion_gully(c, pts, dot_mm=0.25, pitch_mm=0.45):
    for (x, y), _ in stations(pts, c.mm(pitch_mm), start=c.mm(dot_mm) / 2,
                              end_margin=c.mm(dot_mm) / 2):
        dot(c, x, y, dot_mm, "brown", "brown")


def knoll(c, x, y, dot_mm=0.5):
    dot(c, x, y, dot_mm, "brown", "brown_point")


def elongated_knoll(c, x, y, angle=0.0, long_mm=0.8, wide_mm=0.4):
    a, b = c.mm(long_mm) / 2, c.mm(wide_mm) / 2
    pts = [(a * math.cos(t) * (1 - 0.12 * math.sin(t) ** 2),
            b * math.sin(t)) for t in [2 * math.pi * i / 32 for i in range(32)]]
    fill(c, [(x + px, y + py) for px, py in rotate(pts, angle)], "brown", "brown_point")


def u_mark(c, x, y, ink, layer, wide_mm, high_mm, line_mm, angle=0.0):
    """Half-ellipse opening towards `angle` (0 = opening north): depression, spring."""
    rx = (c.mm(wide_mm) - c.mm(line_mm)) / 2
    ry = c.mm(high_mm) - c.mm(line_mm) / 2
    pts = arc(0, -ry / 2, rx, ry, 0, 180, 18)
    pts = rotate(pts, angle)
    stroke(c, [(x + px, y + py) for px, py in pts], ink, line_mm, layer)


def v_mark(c, x, y, ink, layer, wide_mm=0.7, high_mm=0.8, line_mm=W["point_line"]):
    """V open to the north (pit, rocky pit, waterhole); x, y is its centre."""
    w, h = c.mm(wide_mm) - c.mm(line_mm), c.mm(high_mm) - c.mm(line_mm)
    pts = [(x - w / 2, y - h / 2), (x, y + h / 2), (x + w / 2, y - h / 2)]
    stroke(c, pts, ink, line_mm, layer, join="miter")


def cross_mark(c, x, y, ink, layer, size_mm=0.9, line_mm=W["point_line"], mask_mm=0.0,
               mask_layer="white_mask"):
    h = (c.mm(size_mm) - c.mm(line_mm)) / 2
    arms = [[(x - h, y - h), (x + h, y + h)], [(x - h, y + h), (x + h, y - h)]]
    if mask_mm:
        for a in arms:
            stroke(c, a, "white", line_mm + 2 * mask_mm, mask_layer, cap="square")
    for a in arms:
        stroke(c, a, ink, line_mm, layer)


def star_mark(c, x, y, ink, layer, size_mm=0.9, line_mm=0.16, rays=5):
    r = (c.mm(size_mm) - c.mm(line_mm)) / 2
    for i in range(rays):
        a = math.radians(-90 + 360 * i / rays)
        stroke(c, [(x, y), (x + r * math.cos(a), y + r * math.sin(a))], ink, line_mm, layer,
               cap="round")


def broken_ground(c, poly, rng, dot_mm=0.2, spacing_mm=0.53):
    for x, y in scatter(poly, c.mm(spacing_mm), rng):
        dot(c, x, y, dot_mm, "brown", "brown")


# ------------------------------------------------------------------------------------------
# Rock and boulders (black, grey).

def cliff(c, pts, impassable=False, side=1, tag_mm=None, pitch_mm=0.5, tags_on=True):
    """Cliff top line with tags down the face. An impassable cliff's tags show the face's full
    extent; a passable cliff needs tags only where the contours do not show which way it falls."""
    width = W["cliff_impassable"] if impassable else W["cliff"]
    stroke(c, pts, "black", width, "black")
    if tags_on:
        t = tag_mm if tag_mm is not None else (0.6 if impassable else 0.32)
        tags(c, pts, pitch_mm, t, W["cliff_tag"], "black", "black", side=side,
             line_width_mm=width, start_mm=pitch_mm * 0.6)


def boulder(c, x, y, dot_mm=0.4):
    dot(c, x, y, dot_mm, "black", "black")


def boulder_triangle(side_ratio=(0.8, 0.6, 0.5)):
    """Triangle with sides in the ratio 8 : 6 : 5 around its centroid (map mm)."""
    a, b, cc = side_ratio
    cx = (a * a + b * b - cc * cc) / (2 * a)
    cy = math.sqrt(max(b * b - cx * cx, 0.0))
    pts = [(0.0, 0.0), (a, 0.0), (cx, -cy)]
    gx, gy = (a + cx) / 3, -cy / 3
    return [(x - gx, y - gy) for x, y in pts]


def boulder_field(c, poly, rng, spacing_mm=1.05, size=1.0):
    tri = boulder_triangle()
    for x, y in scatter(poly, c.mm(spacing_mm), rng, margin_px=c.mm(0.25)):
        pts = rotate([(px * size, py * size) for px, py in tri], rng.uniform(0, 360))
        fill(c, [(x + c.mm(px), y + c.mm(py)) for px, py in pts], "black", "black")


def boulder_cluster(c, x, y, side_mm=0.8):
    s = c.mm(side_mm)
    h = s * math.sqrt(3) / 2
    fill(c, [(x, y - 2 * h / 3), (x + s / 2, y + h / 3), (x - s / 2, y + h / 3)],
         "black", "black")


def stony_ground(c, poly, rng, dot_mm, spacing_mm):
    for x, y in scatter(poly, c.mm(spacing_mm), rng):
        dot(c, x, y, dot_mm, "black", "black")


def bare_rock(c, poly):
    fill(c, poly, "grey35", "grey35")


def sandy_ground(c, poly, dot_mm=0.18, spacing_mm=0.42):
    fill(c, poly, "yellow50", "yellow50")
    for x, y in lattice(poly, c.mm(spacing_mm), 45):
        dot(c, x, y, dot_mm, "black", "black_screen")


def trench(c, pts, line_mm=0.1, gap_mm=0.1):
    """Rocky or dug trench: two thin parallel lines with a narrow gap between them."""
    half = c.mm(gap_mm + line_mm) / 2
    for side in (1, -1):
        stroke(c, offset(pts, side * half), "black", line_mm, "black")


# ------------------------------------------------------------------------------------------
# Water and marsh (blue).

def lake(c, poly, dominant=False, edge=True):
    fill(c, poly, "blue70" if dominant else "blue", "blue_area")
    if edge:
        stroke(c, poly, "black", W["water_edge"], "black", closed=True)


def shallow_water(c, poly, seasonal=False):
    fill(c, poly, "blue50", "blue50")
    stroke(c, poly, "blue", W["shallow_edge"], "blue", closed=True,
           dash_mm=(1.0, 0.25) if seasonal else None)


def watercourse(c, pts, small=False, dash=False):
    width = W["small_watercourse"] if small or dash else W["watercourse"]
    stroke(c, pts, "blue", width, "blue", dash_mm=(1.25, 0.25) if dash else None)


def marsh(c, poly, uncrossable=False, indistinct=False):
    if uncrossable:
        hatch(c, poly, 0, 0.5, W["uncrossable_marsh_line"], "blue", "blue")
        stroke(c, poly, "black", W["water_edge"], "black", closed=True)
    elif indistinct:
        hatch(c, poly, 0, 0.3, W["marsh_line"], "blue", "blue", dash_mm=(1.6, 0.55),
              stagger_mm=0.7)
    else:
        hatch(c, poly, 0, 0.3, W["marsh_line"], "blue", "blue")


def narrow_marsh(c, pts, dot_mm=0.25, pitch_mm=0.45):
    for (x, y), _ in stations(pts, c.mm(pitch_mm), start=c.mm(dot_mm) / 2,
                              end_margin=c.mm(dot_mm) / 2):
        dot(c, x, y, dot_mm, "blue", "blue")


# ------------------------------------------------------------------------------------------
# Vegetation (yellow, white, green).

def tree_dots(c, poly, ink, layer, dot_mm, spacing_mm):
    """Regular dots on a 45 degree lattice: scattered trees as holes in yellow."""
    for x, y in lattice(poly, c.mm(spacing_mm), 45, margin_px=c.mm(dot_mm) * 0.6):
        dot(c, x, y, dot_mm, ink, layer)


def green_stripes(c, poly, width_mm, spacing_mm):
    hatch(c, poly, 90, spacing_mm, width_mm, "green", "green")


def cultivated(c, poly, dot_mm=0.2, spacing_mm=0.8):
    fill(c, poly, "yellow", "yellow")
    for x, y in lattice(poly, c.mm(spacing_mm), 0, margin_px=c.mm(0.2)):
        dot(c, x, y, dot_mm, "black", "black_screen")


def orchard(c, poly, dot_mm=0.45, spacing_mm=0.8, angle=20.0, base="yellow"):
    fill(c, poly, base, base)
    for x, y in lattice(poly, c.mm(spacing_mm), angle, margin_px=c.mm(0.25)):
        dot(c, x, y, dot_mm, "green", "green")


def vineyard(c, poly, width_mm=0.16, spacing_mm=0.75, angle=-20.0, base="yellow"):
    fill(c, poly, base, base)
    hatch(c, poly, angle, spacing_mm, width_mm, "green", "green", dash_mm=(2.4, 0.3),
          stagger_mm=0.9)


def vegetation_boundary(c, pts, dot_mm=0.22, pitch_mm=0.42):
    for (x, y), _ in stations(pts, c.mm(pitch_mm)):
        dot(c, x, y, dot_mm, "black", "black")


def large_tree(c, x, y, size_mm=0.9, line_mm=0.18):
    ring(c, x, y, size_mm + 0.4, 0.2 + line_mm, "white", "white_mask")
    ring(c, x, y, size_mm, line_mm, "green", "green_point")


def bush(c, x, y, dot_mm=0.6, hole_mm=0.2):
    """A green dot with a small white centre, which tells it from the brown knoll dot (109) also
    for readers who do not see colours well."""
    dot(c, x, y, dot_mm, "green", "green_point")
    dot(c, x, y, hole_mm, "white", "green_point")


def well(c, x, y, size_mm=0.8, line_mm=W["point_line"]):
    """Well, fountain or water tank: a blue square outline (outer size size_mm)."""
    h = (c.mm(size_mm) - c.mm(line_mm)) / 2
    stroke(c, [(x - h, y - h), (x + h, y - h), (x + h, y + h), (x - h, y + h)], "blue", line_mm,
           "blue_point", closed=True, join="miter")


# ------------------------------------------------------------------------------------------
# Man-made features (black, brown screens, grey).

def wide_road(c, pts, width_mm=0.75):
    half = (c.mm(width_mm) - c.mm(W["road_edge"])) / 2
    stroke(c, pts, "brown50", 0, "road_fill", width_px=2 * half)
    for side in (1, -1):
        stroke(c, offset(pts, side * half), "black", W["road_edge"], "road_edge")


def road(c, pts):
    stroke(c, pts, "black", W["road"], "black")


def vehicle_track(c, pts):
    stroke(c, pts, "black", W["track"], "black", dash_mm=(3.0, 0.25))


def footpath(c, pts):
    stroke(c, pts, "black", W["footpath"], "black", dash_mm=(2.0, 0.25))


def small_path(c, pts):
    stroke(c, pts, "black", W["small_path"], "black", dash_mm=(1.0, 0.25))


def faint_path(c, pts):
    stroke(c, pts, "black", W["small_path"], "black", dash_mm=(1.0, 0.25, 1.0, 0.9))


def ride(c, pts, band="white", band_layer="white_over_green"):
    if band:
        stroke(c, pts, band, W["ride_band"], band_layer)
    stroke(c, pts, "black", W["ride"], "black", dash_mm=(2.0, 0.25))


def railway(c, pts, width_mm=0.5, dash_mm=1.3):
    stroke(c, pts, "black", width_mm, "black")
    stroke(c, pts, "white", width_mm - 0.2, "white_top", dash_mm=(dash_mm, dash_mm),
           dash_offset_mm=dash_mm / 2)


def power_line(c, pts, pylons, bar_mm=0.75, major=False, gap_mm=0.5):
    """Single or double line with bars across at the pylons (distances in px along the line)."""
    if major:
        half = c.mm(gap_mm) / 2
        for side in (1, -1):
            stroke(c, offset(pts, side * half), "black", W["power_line"], "black")
        bar = c.mm(gap_mm) + c.mm(0.35)
    else:
        stroke(c, pts, "black", W["power_line"], "black")
        bar = c.mm(bar_mm)
    for d in pylons:
        (x, y), t = at(pts, d)
        nx, ny = normal(t)
        stroke(c, [(x - nx * bar / 2, y - ny * bar / 2), (x + nx * bar / 2, y + ny * bar / 2)],
               "black", 0.2 if not major else 0.25, "black")


def bridge(c, pts, d0, d1, gap_px, ink="black", layer="black", splay_mm=0.3):
    """Bridge marks beside a line between the distances d0 and d1 along it."""
    for side in (1, -1):
        edge = offset(sub(pts, d0, d1), side * gap_px)
        (xs, ys), ts = at(edge, 0)
        (xe, ye), te = at(edge, length(edge))
        nx, ny = normal(ts)
        s = c.mm(splay_mm)
        head = [(xs - ts[0] * s + nx * side * s, ys - ts[1] * s + ny * side * s)]
        nx2, ny2 = normal(te)
        tail = [(xe + te[0] * s + nx2 * side * s, ye + te[1] * s + ny2 * side * s)]
        stroke(c, head + edge + tail, ink, 0.18, layer)


def wall(c, pts, dot_mm=0.4, pitch_mm=1.5):
    stroke(c, pts, "black", W["wall"], "black")
    for (x, y), _ in stations(pts, c.mm(pitch_mm)):
        dot(c, x, y, dot_mm, "black", "black")


def ruined_wall(c, pts):
    dashed_with_dots(c, pts, "black", "black", W["wall"], 1.7, 0.25, 0.4)


def impassable_wall(c, pts, dot_mm=0.6, pitch_mm=3.0, pair_mm=0.8, start_mm=None):
    """Thick line with pairs of large dots: each pair `pair_mm` apart (centre to centre), a pair
    every `pitch_mm`, the first `start_mm` from the start (half a pitch by default)."""
    stroke(c, pts, "black", W["impassable_wall"], "black")
    half = c.mm(pair_mm) / 2
    start = None if start_mm is None else c.mm(start_mm)
    for (x, y), t in stations(pts, c.mm(pitch_mm), start=start):
        for k in (-1, 1):
            dot(c, x + t[0] * half * k, y + t[1] * half * k, dot_mm, "black", "black")


def fence(c, pts, side=1, dashed=False, impassable=False, pitch_mm=1.6):
    """Fence line with tags on one side leaning 60 degrees to the line; the impassable fence is
    thicker and carries its tags in pairs (0.6 mm apart, a pair every 2.5 mm)."""
    width = W["impassable_fence"] if impassable else W["fence"]
    stroke(c, pts, "black", width, "black", dash_mm=(1.7, 0.25) if dashed else None)
    if impassable:
        for shift in (-0.3, 0.3):
            tags(c, pts, 2.5, 0.5, 0.14, "black", "black", side=side, line_width_mm=width,
                 lean_deg=-30 * side, start_mm=1.25 + shift)
        return
    tag_start = pitch_mm / 2 if not dashed else 0.85
    tags(c, pts, 1.95 if dashed else pitch_mm, 0.4, 0.14, "black", "black", side=side,
         line_width_mm=width, lean_deg=-30 * side, start_mm=tag_start)


def crossing_marks(c, pts, dist, gap_mm=0.6, long_mm=1.0, line_mm=0.18):
    """Two short bars across a wall or fence, either side of a gap centred at `dist`."""
    for d in (dist - c.mm(gap_mm) / 2, dist + c.mm(gap_mm) / 2):
        (x, y), t = at(pts, d)
        nx, ny = normal(t)
        h = c.mm(long_mm) / 2
        stroke(c, [(x - nx * h, y - ny * h), (x + nx * h, y + ny * h)], "black", line_mm, "black")


def line_feature(c, pts, impassable=False, pitch_mm=2.0):
    """Line with chevrons across it every `pitch_mm`, their points forward along the line; the
    impassable line is thicker and carries its chevrons in pairs 0.6 mm apart."""
    width = W["impassable_line_feature"] if impassable else W["line_feature"]
    stroke(c, pts, "black", width, "black")
    arm = c.mm(0.58 if impassable else 0.5) * math.sqrt(0.5)
    shifts = (-0.3, 0.3) if impassable else (0.0,)
    for (x, y), t in stations(pts, c.mm(pitch_mm)):
        nx, ny = normal(t)
        for shift in shifts:
            ax, ay = x + t[0] * c.mm(shift), y + t[1] * c.mm(shift)
            chevron = [(ax - t[0] * arm + nx * arm, ay - t[1] * arm + ny * arm), (ax, ay),
                       (ax - t[0] * arm - nx * arm, ay - t[1] * arm - ny * arm)]
            stroke(c, chevron, "black", 0.14, "black", join="miter")


def building(c, poly, large=False):
    if large:
        fill(c, poly, "grey50", "grey50")
        stroke(c, poly, "black", W["area_edge"], "black", closed=True)
    else:
        fill(c, poly, "black", "black")


def canopy(c, poly):
    fill(c, poly, "grey20", "grey20")
    stroke(c, poly, "black", W["area_edge"], "black", closed=True)


def paved(c, poly, edge=True):
    fill(c, poly, "brown50", "brown50")
    if edge:
        stroke(c, poly, "black", W["area_edge"], "black", closed=True)


def forbidden_area(c, poly, edge=True):
    fill(c, poly, "olive", "olive")
    if edge:
        stroke(c, poly, "black", W["oob_edge"], "black", closed=True)


def ruin(c, poly):
    stroke(c, poly, "black", 0.2, "black", closed=True, dash_mm=(0.6, 0.25), join="miter")


def high_tower(c, x, y, dot_mm=0.8, size_mm=1.4, line_mm=0.16):
    """High tower: a dot with a cross through it, the arms `size_mm` from end to end."""
    h = c.mm(size_mm) / 2
    stroke(c, [(x - h, y), (x + h, y)], "black", line_mm, "black")
    stroke(c, [(x, y - h), (x, y + h)], "black", line_mm, "black")
    dot(c, x, y, dot_mm, "black", "black")


def small_tower(c, x, y, size_mm=1.0, line_mm=0.16):
    """Small tower: a T, the bar `size_mm` wide on a stem 0.9 mm long; the symbol's place is a
    third of the way down the stem."""
    half = c.mm(size_mm) / 2
    top, foot = y - c.mm(0.3), y + c.mm(0.6)
    stroke(c, [(x - half, top), (x + half, top)], "black", line_mm, "black")
    stroke(c, [(x, top), (x, foot)], "black", line_mm, "black")


def cairn(c, x, y, size_mm=0.8, line_mm=0.16, centre_mm=0.14):
    ring(c, x, y, size_mm, line_mm, "black", "black")
    dot(c, x, y, centre_mm, "black", "black")


def fodder_rack(c, x, y, size_mm=0.82, line_mm=0.16):
    """Fodder rack: a stem `size_mm` long with a flat chevron on its top pointing up (arms 0.82 mm
    apart at their ends); the symbol's place is the centre of the figure."""
    top, foot = y - c.mm(size_mm) * 0.33, y + c.mm(size_mm) * 0.67
    dx, dy = c.mm(0.41), c.mm(0.24)
    stroke(c, [(x - dx, top + dy), (x, top), (x + dx, top + dy)], "black", line_mm, "black",
           join="miter")
    stroke(c, [(x, top), (x, foot)], "black", line_mm, "black")


def stairway(c, pts, width_mm=0.55, step_mm=0.3):
    half = c.mm(width_mm) / 2
    for side in (1, -1):
        stroke(c, offset(pts, side * half), "black", 0.1, "black")
    for (x, y), t in stations(pts, c.mm(step_mm), start=0, end_margin=0):
        nx, ny = normal(t)
        stroke(c, [(x - nx * half, y - ny * half), (x + nx * half, y + ny * half)], "black",
               0.1, "black")


# ------------------------------------------------------------------------------------------
# Course overprint (purple).

def control_circle(c, x, y, diam_mm=5.0, gaps=(), layer="purple_low"):
    """Control circle (centre-line diameter); `gaps` are (from, to) angles left open."""
    r = c.mm(diam_mm) / 2
    if not gaps:
        stroke(c, arc(x, y, r, r, 0, 360, 60)[:-1], "purple", W["course"], layer, closed=True)
        return
    spans = _arc_spans(gaps)
    for a0, a1 in spans:
        stroke(c, arc(x, y, r, r, a0, a1, max(4, int((a1 - a0) / 6))), "purple",
               W["course"], layer)


def _arc_spans(gaps):
    if not gaps:
        return [(0, 360)]
    gaps = sorted(gaps)
    spans = []
    start = gaps[-1][1] - 360
    for g0, g1 in gaps:
        spans.append((start, g0))
        start = g1
    return [s for s in spans if s[1] > s[0]]


def course_leg(c, p0, p1, r0, r1, gap_mm=0.5, layer="purple_low"):
    """Course line between two symbols of radius r0, r1 (px), with a gap at both ends."""
    d = math.dist(p0, p1)
    ux, uy = (p1[0] - p0[0]) / d, (p1[1] - p0[1]) / d
    g = c.mm(gap_mm)
    a = (p0[0] + ux * (r0 + g), p0[1] + uy * (r0 + g))
    b = (p1[0] - ux * (r1 + g), p1[1] - uy * (r1 + g))
    stroke(c, [a, b], "purple", W["course"], layer)


def start_triangle(c, x, y, towards, side_mm=6.0):
    """Start triangle centred on x, y with one corner pointing at `towards`."""
    s = c.mm(side_mm)
    R = s / math.sqrt(3)
    ang = math.degrees(math.atan2(towards[1] - y, towards[0] - x))
    pts = [(x + R * math.cos(math.radians(ang + k)), y + R * math.sin(math.radians(ang + k)))
           for k in (0, 120, 240)]
    stroke(c, pts, "purple", W["course"], "purple_low", closed=True, join="miter")
    return R


def finish(c, x, y, inner_mm=4.0, outer_mm=6.0):
    for dmm in (inner_mm, outer_mm):
        r = c.mm(dmm) / 2
        stroke(c, arc(x, y, r, r, 0, 360, 48), "purple", W["course"], "purple_low", closed=True)
    return c.mm(outer_mm) / 2


def marked_route(c, pts):
    stroke(c, pts, "purple", W["course"], "purple_up", dash_mm=(2.0, 0.5))


def oob_boundary(c, pts):
    stroke(c, pts, "purple", W["oob_boundary"], "purple_low")


def oob_area(c, poly, edge="solid", width_mm=0.2, spacing_mm=1.2):
    """Out-of-bounds area: purple cross-hatching at 45 degrees, with an optional edge line."""
    for angle in (45, -45):
        hatch(c, poly, angle, spacing_mm, width_mm, "purple", "purple_up")
    if edge == "solid":
        stroke(c, poly, "purple", 0.25, "purple_up", closed=True)
    elif edge == "dashed":
        stroke(c, poly, "purple", 0.25, "purple_up", closed=True, dash_mm=(2.0, 0.5))


def crossing_arcs(c, x, y, angle, long_mm=3.0, gap_mm=0.6):
    """Two purple lines curving outwards either side of x, y, along the direction `angle`."""
    half = c.mm(long_mm) / 2
    g = c.mm(gap_mm) / 2 + c.mm(W["course"]) / 2
    bow = c.mm(0.45)
    for side in (1, -1):
        pts = []
        for i in range(13):
            u = -half + 2 * half * i / 12
            v = side * (g + bow * (u / half) ** 2)
            pts.append((u, v))
        pts = rotate(pts, angle)
        stroke(c, [(x + px, y + py) for px, py in pts], "purple", W["course"], "purple_low")


def oob_route(c, pts, size_mm=3.0, pitch_mm=4.5, start_mm=None):
    h = (c.mm(size_mm) - c.mm(W["course"])) / 2
    start = c.mm(start_mm) if start_mm is not None else None
    for (x, y), _ in stations(pts, c.mm(pitch_mm), start=start):
        for a in ((-1, -1), (-1, 1)):
            stroke(c, [(x + a[0] * h, y + a[1] * h), (x - a[0] * h, y - a[1] * h)], "purple",
                   W["course"], "purple_up")


def first_aid(c, x, y, size_mm=4.0, arm_mm=1.33):
    s, t = c.mm(size_mm) / 2, c.mm(arm_mm) / 2
    pts = [(-t, -s), (t, -s), (t, -t), (s, -t), (s, t), (t, t), (t, s), (-t, s), (-t, t),
           (-s, t), (-s, -t), (-t, -t)]
    fill(c, [(x + px, y + py) for px, py in pts], "purple", "purple_low")


def refreshment(c, x, y, top_mm=3.5, base_mm=2.1, high_mm=3.5, line_mm=0.4):
    t = (c.mm(top_mm) - c.mm(line_mm)) / 2
    b = (c.mm(base_mm) - c.mm(line_mm)) / 2
    h = (c.mm(high_mm) - c.mm(line_mm)) / 2
    stroke(c, [(x - t, y - h), (x - b, y + h), (x + b, y + h), (x + t, y - h)], "purple",
           line_mm, "purple_low", join="miter")


def map_exchange(c, x, y, towards, diam_mm=6.0):
    """Circle with an inscribed triangle pointing at the next control."""
    r = c.mm(diam_mm) / 2
    stroke(c, arc(x, y, r, r, 0, 360, 48), "purple", W["course"], "purple_low", closed=True)
    ang = math.degrees(math.atan2(towards[1] - y, towards[0] - x))
    pts = [(x + r * math.cos(math.radians(ang + k)), y + r * math.sin(math.radians(ang + k)))
           for k in (0, 120, 240)]
    stroke(c, pts, "purple", W["course"], "purple_low", closed=True, join="miter")
    return r


def map_issue_bar(c, x, y, angle, long_mm=2.5, thick_mm=0.6):
    h = c.mm(long_mm) / 2
    a = math.radians(angle)
    dx, dy = math.cos(a) * h, math.sin(a) * h
    stroke(c, [(x - dx, y - dy), (x + dx, y + dy)], "purple", thick_mm, "purple_up")


# ------------------------------------------------------------------------------------------
# Technical symbols.

def north_line(c, x, ink="black", breaks=()):
    pts = [(x, 0), (x, c.h)]
    for piece in _open_gaps(pts, breaks):
        stroke(c, piece, ink, W["north_line"] if ink == "black" else 0.12, "black")


def registration_mark(c, x, y, size_mm=4.0, line_mm=0.1):
    """Cross in a circle, printed once in every ink; the black print lies on top."""
    r = c.mm(size_mm) / 2
    inks = [("yellow", "yellow", (1.2, 0.9)), ("green", "green", (-1.0, 1.1)),
            ("brown", "brown", (0.9, -1.1)), ("blue", "blue", (-1.1, -0.8)),
            ("purple", "purple_low", (0.5, 1.4)), ("black", "black", (0, 0))]
    for ink, layer, (dx, dy) in inks:
        cx, cy = x + dx, y + dy
        ring(c, cx, cy, size_mm * 0.62, line_mm, ink, layer)
        stroke(c, [(cx - r, cy), (cx + r, cy)], ink, line_mm, layer)
        stroke(c, [(cx, cy - r), (cx, cy + r)], ink, line_mm, layer)

