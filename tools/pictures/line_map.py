# SPDX-License-Identifier: GPL-3.0-or-later
"""Map excerpts of the description lines (I pictures, 97 x 72): the feature as the ISOM map shows
it, with the purple control circle centred on the control site.

Drawn with the ISOM kit (isom_draw, isom_styles), so inks and line weights are those of the
map-symbol pictures. The layout (line_layout) is in units of 0.25 map millimetres: the control
circle, 5 mm across, has a radius of 10 units.
"""
import random

import isom_draw as D
import isom_styles as S
import line_layout as L

WIDTH, HEIGHT = 97, 72
PIXELS_PER_MM = 10.0
UNIT_MM = 0.25
CX, CY = WIDTH / 2, HEIGHT / 2
CIRCLE_MM = 5.0


def px(p):
    k = PIXELS_PER_MM * UNIT_MM
    return (CX + p[0] * k, CY - p[1] * k)


def pxs(points):
    return [px(p) for p in points]


def units(v):
    return v * PIXELS_PER_MM * UNIT_MM


def smooth_px(points):
    return D.smooth(pxs(points), steps=8) if len(points) > 2 else pxs(points)


# ---------------------------------------------------------------------------------------------
# Context

def _contours_across(c, seed, ys=(-11.0, 11.5)):
    """Gentle slope: contours running east-west above and below the site."""
    for i, y in enumerate(ys):
        rng = random.Random(seed + i)
        pts = [(-22.0, y + rng.uniform(-1, 1)), (-8.0, y + rng.uniform(-1.5, 1.5)),
               (6.0, y + rng.uniform(-1.5, 1.5)), (22.0, y + rng.uniform(-1, 1))]
        S.contour(c, smooth_px(pts))


def _ground(c, lay):
    if lay.line.kind in L.PARK_KINDS:
        # a park: lawn with paved ways
        D.fill_rect(c, 0, 0, WIDTH, HEIGHT, "yellow", "yellow")
        return
    if lay.ground == "open":
        D.fill_rect(c, 0, 0, WIDTH, HEIGHT, "yellow", "yellow")
        if lay.line.kind == "forestcorner":
            return
        # a corner of forest keeps the excerpt readable as a map
        forest = D.smooth([(WIDTH - 22, -2), (WIDTH - 14, 10), (WIDTH + 2, 14)], steps=6)
        D.fill(c, forest + [(WIDTH + 2, -2)], "white", "white_over_yellow")


# ---------------------------------------------------------------------------------------------
# Features

def _point(c, it, lay):
    x, y = px(it.at)
    kind = it.kind
    if kind == "boulder":
        S.boulder(c, x, y, 0.6 if it.h >= 2 else 0.45)
    elif kind == "cluster":
        S.boulder_cluster(c, x, y, 0.9)
    elif kind == "pillar":
        pts = [(-0.5, -0.35), (0.1, -0.55), (0.55, -0.1), (0.35, 0.5), (-0.3, 0.45), (-0.6, 0.05)]
        D.fill(c, [(x + c.mm(a), y + c.mm(b)) for a, b in pts], "black", "black")
    elif kind == "knoll":
        S.knoll(c, x, y, 0.6)
    elif kind == "tree":
        S.large_tree(c, x, y, 0.9)
    elif kind == "pylon":
        pass  # drawn with the power line through it, below
    elif kind == "tower":
        S.high_tower(c, x, y)
    elif kind == "platform":
        S.small_tower(c, x, y)
    elif kind == "cairn":
        S.cairn(c, x, y)
    elif kind == "fodder":
        S.fodder_rack(c, x, y)
    elif kind in ("well", "tank"):
        S.well(c, x, y)
    elif kind == "anthill":
        S.cross_mark(c, x, y, "brown", "brown_point", 0.9)
    elif kind == "vegfeature":
        S.cross_mark(c, x, y, "green", "green_point", 0.9, mask_mm=0.18)
    elif kind in ("monument", "specialx"):
        S.cross_mark(c, x, y, "black", "black", 0.8, D.W["black_point_line"])
    elif kind == "specialo":
        D.ring(c, x, y, 0.8, D.W["black_point_line"], "black", "black")
    elif kind == "cave":
        # the rocky pit's V points into the cave, here into the slope to the north
        w, h = c.mm(0.7 - 0.16), c.mm(0.8 - 0.16)
        D.stroke(c, [(x - w / 2, y + h / 2), (x, y - h / 2), (x + w / 2, y + h / 2)], "black",
                 0.16, "black", join="miter")
    else:
        raise ValueError(kind)


def _sunk(c, it, lay):
    x, y = px(it.at)
    kind = it.kind
    rocky = lay.line.yes("rocky")
    if kind == "pit":
        ink, layer = ("black", "black") if rocky else ("brown", "brown_point")
        # a deep pit looks like any other on the map: E 8.3 Deep tells what the map does not
        S.v_mark(c, x, y, ink, layer, 0.75, 0.85)
    elif kind == "waterhole":
        S.v_mark(c, x, y, "blue", "blue_point", 0.75, 0.85)
    elif kind == "smalldep":
        S.u_mark(c, x, y, "brown", "brown_point", 0.9, 0.45, D.W["point_line"])
    elif kind == "spring":
        S.u_mark(c, x, y, "blue", "blue_point", 0.9, 0.45, D.W["point_line"], angle=180)
    elif kind == "depression":
        rx, ry = (units(it.r), units(it.r) * 0.55) if it.long else (units(it.r), units(it.r) * 0.8)
        ring = D.blob(x, y, rx, ry, 0.08, 7)
        S.contour(c, ring)
        # slope tags point downhill, into the depression
        for k in range(4):
            S.slope_tag(c, ring, D.length(ring) * (k + 0.3) / 4, side=-1)
        # sand in a depression is not on the map: that is what E 8.8 Sandy tells
    elif kind == "quarry":
        r = units(it.r)
        # the quarry face: a cliff along the rim, open to the south, tags down into the hole
        rim = D.arc(x, y, r, r * 0.75, 115, 425, 40)
        S.cliff(c, rim, side=-1, tag_mm=0.35)
    else:
        raise ValueError(kind)


AREA_INK = {"open": "yellow", "clearing": "yellow", "thicket": "green60", "barerock": "grey35"}


def _area(c, it, lay, rng):
    poly = pxs(it.poly)
    kind = it.kind
    if kind in AREA_INK:
        D.fill(c, poly, AREA_INK[kind], AREA_INK[kind])
    elif kind == "marsh":
        if lay.line.yes("open"):
            D.fill(c, poly, "yellow50", "yellow50")     # an open marsh: rough open land
        else:
            D.fill(c, poly, "white", "white_over_yellow")
        S.marsh(c, poly)
    elif kind == "firm":
        D.fill(c, poly, "white", "white_mask")
    elif kind == "copse":
        D.fill(c, poly, "white", "white_over_yellow")
    elif kind == "pond":
        S.shallow_water(c, poly)
    elif kind == "lake":
        S.lake(c, poly)
    elif kind == "sandy":
        S.sandy_ground(c, poly)
    elif kind == "paved":
        S.paved(c, poly)
    elif kind == "boulderfield":
        S.boulder_field(c, poly, rng, 1.0, 1.1)
    elif kind == "building":
        S.building(c, poly)
    elif kind == "ruin":
        # undergrowth in a ruin is not on the map: that is what E 8.4 Overgrown tells
        S.ruin(c, poly)
    elif kind == "semiopen":
        D.fill(c, poly, "yellow", "yellow")
        S.tree_dots(c, poly, "white", "white_over_yellow", 0.4, 0.7)
    elif kind == "brokenground":
        S.broken_ground(c, poly, rng)
    elif kind == "stony":
        S.stony_ground(c, poly, rng, 0.2, 0.53)
    elif kind == "oob":
        S.forbidden_area(c, poly)
    elif kind == "canopy":
        S.paved(c, pxs([(-14.0, -9.0), (16.0, -9.0), (16.0, 7.0), (-14.0, 7.0)]), edge=False)
        S.building(c, pxs([(-8.0, 5.0), (9.0, 5.0), (9.0, 13.0), (-8.0, 13.0)]))
        S.canopy(c, poly)
    elif kind == "forestcorner":
        D.fill(c, poly, "white", "white_over_yellow")
    elif kind == "charcoal":
        S.cross_mark(c, CX, CY, "brown", "brown_point", 0.9)
    else:
        raise ValueError(kind)


def _linear(c, it, lay):
    kind = it.kind
    pts = smooth_px(it.pts)
    ruined = lay.line.yes("ruined") and it.main
    if kind == "path":
        S.footpath(c, pts)
    elif kind == "road":
        S.road(c, pts)
    elif kind == "railway":
        S.railway(c, pts)
    elif kind == "stream":
        S.watercourse(c, pts)
    elif kind == "ditch":
        S.watercourse(c, pts, dash=True)
    elif kind == "narrowmarsh":
        S.narrow_marsh(c, pts, 0.3, 0.55)
    elif kind == "fence":
        S.fence(c, pts, side=1, dashed=ruined)
    elif kind == "wall":
        if ruined:
            S.ruined_wall(c, pts)
        else:
            S.wall(c, pts, 0.45, 1.4)
    elif kind == "earthwall":
        if ruined:
            S.ruined_earth_wall(c, pts)
        else:
            S.earth_wall(c, pts, 0.5, 1.6)
    elif kind == "gully":
        if lay.line.yes("small"):
            S.small_erosion_gully(c, pts, 0.3, 0.55)
        else:
            S.erosion_gully(c, pts[::-1], 0.1, 0.5, 0.3)
    elif kind == "pipeline":
        S.line_feature(c, pts)
    elif kind == "powerline":
        total = D.length(pts)
        S.power_line(c, pts, [total * 0.15, total * 0.85])
    elif kind == "vegboundary":
        S.vegetation_boundary(c, pts, 0.26, 0.5)
    elif kind == "cliff":
        S.cliff(c, pts, side=-1, tag_mm=0.4 if it.h >= 3 else 0.32)
    elif kind == "trench":
        S.trench(c, pts)
    elif kind == "linthicket":
        D.stroke(c, pts, "green", 0.6, "green", cap="round")
    elif kind == "ride":
        S.ride(c, pts)
    elif kind == "stairway":
        S.footpath(c, smooth_px([(0.0, -L.REACH), (0.0, it.pts[0][1])]))
        S.stairway(c, pts)
        S.footpath(c, smooth_px([(0.0, it.pts[-1][1]), (1.0, L.REACH)]))
    elif kind == "bank":
        S.earth_bank(c, pts, side=-1)
    else:
        raise ValueError(kind)


def _relief(c, it, lay):
    x, y = px(it.at)
    r = units(it.r)
    if it.kind == "hill":
        if it.h >= 4:
            S.contour(c, D.blob(x, y, r * 0.45, r * 0.38, 0.1, 21))
            S.contour(c, D.blob(x, y + 1, r * 1.05, r * 0.9, 0.08, 22))
            S.contour(c, D.blob(x, y + 2, r * 1.8, r * 1.55, 0.06, 23))
        else:
            S.form_line(c, D.blob(x, y, r * 0.55, r * 0.45, 0.1, 24))
            S.contour(c, D.blob(x, y + 2, r * 1.4, r * 1.2, 0.08, 25))
    elif it.kind in L.SLOPE_KINDS:
        _slope(c, it)
    else:  # saddle: two tops, the contour between them pinched at the site
        for sx in (-1, 1):
            S.contour(c, D.blob(x + sx * units(9.5), y, units(4.5), units(3.5), 0.1, 30 + sx))
        waist = [(x - 60, y - 20), (x - 25, y - 12), (x, y - 5), (x + 25, y - 12), (x + 60, y - 20)]
        S.contour(c, D.smooth(waist, steps=8))
        top = [(x - 60, y + 20), (x - 25, y + 12), (x, y + 5), (x + 25, y + 12), (x + 60, y + 20)]
        S.contour(c, D.smooth(top, steps=8))


def _slope(c, it):
    """Contours of a slope rising to the north, every 6 units (1.5 mm), with the site between
    two of them. Slope lines on the lower side of the contours in a re-entrant show which way
    the ground falls; elsewhere an index contour's upright value does (its top is uphill)."""
    xs = [-22.0 + i for i in range(45)]
    lines = []
    for k in range(-5, 6):
        h = 6.0 * k - 3.0
        lines.append((h, [px((x, L.level_y(it, h, x))) for x in xs]))
    for h, pts in lines:
        if it.kind != "reentrant" and h == min(h for h, _ in lines
                                               if L.level_y(it, h, 0.0) > -13.0):
            continue
        S.contour(c, pts)
    if it.kind == "reentrant":
        for h, pts in lines:
            if L.level_y(it, h, 0.0) - h > 2.0:
                S.slope_tag(c, pts, D.length(pts[:23]), side=-1)
    else:
        # the lowest contour in sight carries the value
        h_low = min(h for h, _ in lines if L.level_y(it, h, 0.0) > -13.0)
        pts = dict(lines)[h_low]
        label_h = c.mm(D.W["digit_height_spot"])
        at = D.length(pts) * 0.8
        width = D.figures_width("40", label_h)
        S.contour(c, pts, index=True, gaps=[(at - width / 2 - 2, at + width / 2 + 2)])
        (lx, ly), _ = D.at(pts, at)
        D.figures(c, lx, ly - label_h / 2, "40", D.W["digit_height_spot"], "brown", "brown",
                  anchor="middle")


def _bridge(c, lay):
    stream = smooth_px(lay.items[0].pts)
    road = smooth_px(lay.items[1].pts)
    S.watercourse(c, stream)
    S.footpath(c, road)
    mid = D.length(road) / 2
    S.bridge(c, road, mid - c.mm(0.9), mid + c.mm(0.9), c.mm(0.35))


def _passage(c, lay):
    # two impassable rock faces with their tags falling into the gap between them
    for it in lay.items:
        pts = smooth_px(it.pts)
        west = it.pts[0][0] < 0
        S.cliff(c, pts if west else pts[::-1], impassable=True, side=-1, tag_mm=0.35)


def _tunnel(c, lay):
    path, road = lay.items[0], lay.items[1]
    S.road(c, smooth_px(road.pts))
    way = smooth_px(path.pts)
    S.footpath(c, way)
    # the tunnel marks stand either side of the path where it passes under the road
    under = px((0.0, (road.pts[0][1] + road.pts[-1][1]) / 2))[1]
    mid = min(range(len(way)), key=lambda i: abs(way[i][1] - under))
    along = D.length(way[:mid + 1])
    S.bridge(c, way, along - c.mm(0.8), along + c.mm(0.8), c.mm(0.3))


def _crossing_point(c, lay):
    fence = smooth_px(lay.items[0].pts)
    mid = D.length(fence) / 2
    gap = c.mm(0.35)
    for piece in S._open_gaps(fence, [(mid - gap, mid + gap)]):
        S.fence(c, piece, side=1)
    S.crossing_marks(c, fence, mid, 0.8, 1.2)
    S.footpath(c, smooth_px(lay.items[1].pts))


# ---------------------------------------------------------------------------------------------

def draw(lay):
    c = D.Canvas(WIDTH, HEIGHT, PIXELS_PER_MM)
    D.paper(c)
    rng = random.Random(lay.line.number)
    _ground(c, lay)
    kind = lay.line.kind
    if kind in L.POINT_KINDS or kind in L.SUNK_KINDS or kind in ("bridge", "crossing", "passage",
                                                                 "charcoal"):
        if not lay.line.yes("slope"):
            _contours_across(c, lay.line.number)
    if lay.line.yes("slope"):
        _contours_across(c, lay.line.number, ys=(-6.0, 5.0, 16.0))
    if kind in ("cliff", "bank") or (kind in L.LINE_KINDS and kind not in ("gully", "stairway")):
        _contours_across(c, lay.line.number, ys=(-12.0, 12.5))
    if kind == "stairway":
        # the steps climb a steep bank: contours close together across them
        _contours_across(c, lay.line.number, ys=(1.5, 5.0, 8.5, 12.0))
    if kind == "barerock":
        # bare rock lies on the ground's shape: the contours run on across the grey
        _contours_across(c, lay.line.number, ys=(-3.0, -8.5))
    if kind == "ride":
        # a ride is a line through thicker forest
        D.fill_rect(c, 0, 0, WIDTH, HEIGHT, "green30", "green30")
    if kind in ("bridge",):
        _bridge(c, lay)
    elif kind == "crossing":
        _crossing_point(c, lay)
    elif kind == "passage":
        _passage(c, lay)
    elif kind == "tunnel":
        _tunnel(c, lay)
    else:
        for it in lay.items:
            if isinstance(it, L.Point):
                _point(c, it, lay)
            elif isinstance(it, L.Sunk):
                _sunk(c, it, lay)
            elif isinstance(it, L.Area):
                _area(c, it, lay, rng)
            elif isinstance(it, L.Linear):
                _linear(c, it, lay)
            elif isinstance(it, L.Relief):
                _relief(c, it, lay)
    if kind == "pylon":
        # the pylon is where the bars of a power line cross it
        line = pxs([(-L.REACH * 2, -3.0), (L.REACH * 2, 3.0)])
        S.power_line(c, line, [D.length(line) / 2])
    S.control_circle(c, CX, CY, CIRCLE_MM)
    return c.svg()
