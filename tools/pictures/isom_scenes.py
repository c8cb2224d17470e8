# SPDX-License-Identifier: GPL-3.0-or-later
"""Scenes: the small map excerpt drawn around each symbol.

A scene is a function (canvas, params, rng) that draws the symbol as it stands on a map, with the
context a reader needs to recognise it (contours around a knoll, a stream under a bridge, ...).
The table data/maps/symbols.tsv names the scene of each symbol and its parameters; SCENES maps
scene names to functions. The symbol itself is always near the middle of the picture.
"""

import math
import random

import isom_draw as D
import isom_styles as S

MID = 56.5


class Params:
    """The key=value parameters of one table row."""

    def __init__(self, text=""):
        self.values = {}
        for item in filter(None, (part.strip() for part in text.split(";"))):
            if "=" not in item:
                raise ValueError(f"parameter without '=': {item!r}")
            key, value = item.split("=", 1)
            self.values[key.strip()] = value.strip()
        self.used = set()

    def f(self, key, default):
        self.used.add(key)
        return float(self.values[key]) if key in self.values else default

    def s(self, key, default):
        self.used.add(key)
        return self.values.get(key, default)

    def flag(self, key):
        self.used.add(key)
        return self.values.get(key, "no") in ("yes", "1", "true")

    def unused(self):
        return sorted(set(self.values) - self.used)


# ------------------------------------------------------------------------------------------
# Context helpers.

def wavy(x0, y0, x1, y1, amp, seed, count=6):
    rng = random.Random(seed)
    pts = []
    for i in range(count + 1):
        t = i / count
        x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
        if 0 < i < count:
            d = math.hypot(x1 - x0, y1 - y0) or 1.0
            nx, ny = -(y1 - y0) / d, (x1 - x0) / d
            a = rng.uniform(-amp, amp)
            x, y = x + nx * a, y + ny * a
        pts.append((x, y))
    return D.smooth(pts)


def slope_context(c, seed=1):
    """Two contours passing the middle at a distance: a gentle slope."""
    S.contour(c, wavy(-5, 20, 118, 8, 4, seed))
    S.contour(c, wavy(-5, 104, 118, 93, 4, seed + 1))


def hill_context(c, seed=2):
    """Closed contours of a hill whose top is the middle of the picture."""
    S.contour(c, D.blob(MID, MID + 2, 33, 27, 0.12, seed))
    S.contour(c, D.blob(MID + 2, MID + 4, 58, 50, 0.1, seed + 1))


def open_context(c, seed=3):
    """Open land around the middle, forest in one corner."""
    D.fill_rect(c, 0, 0, c.w, c.h, "yellow", "yellow")
    forest = D.smooth([(70, -5), (84, 18), (104, 27), (118, 30), (118, -5)], steps=8)
    D.fill(c, forest + [(118, -5)], "white", "white_over_yellow")
    S.contour(c, wavy(-5, 100, 118, 92, 3, seed))


def marsh_context(c, seed=4):
    poly = D.blob(MID, MID, 50, 40, 0.15, seed)
    S.marsh(c, poly)


def path_context(c, seed=5):
    S.footpath(c, wavy(-5, 90, 118, 76, 5, seed))


CONTEXTS = {"slope": slope_context, "hill": hill_context, "open": open_context,
            "marsh": marsh_context, "path": path_context, "none": lambda c, seed=0: None}


def grounds(c, p, default):
    for name in p.s("ground", default).split("+"):
        CONTEXTS[name](c)


# ------------------------------------------------------------------------------------------
# Point symbols.

def scene_point(c, p, rng):
    grounds(c, p, "slope")
    x, y = MID, MID
    shape = p.s("shape", "")
    if shape == "knoll":
        S.knoll(c, x, y, p.f("dot", 0.5))
    elif shape == "elongated_knoll":
        S.elongated_knoll(c, x, y, p.f("angle", -25), p.f("long", 0.8), p.f("wide", 0.4))
    elif shape == "depression":
        S.u_mark(c, x, y, "brown", "brown_point", p.f("wide", 0.8), p.f("high", 0.4),
                 D.W["point_line"])
    elif shape == "pit":
        S.v_mark(c, x, y, "brown", "brown_point", p.f("wide", 0.7), p.f("high", 0.8))
    elif shape == "brown_x":
        S.cross_mark(c, x, y, "brown", "brown_point", p.f("size", 0.9))
    elif shape == "rocky_pit":
        S.v_mark(c, x, y, "black", "black", p.f("wide", 0.7), p.f("high", 0.8),
                 D.W["black_point_line"])
    elif shape == "dangerous_pit":
        D.dot(c, x, y, p.f("size", 0.9), "black", "black")
        S.v_mark(c, x, y + c.mm(0.03), "white", "white_top", 0.46, 0.46, 0.09)
    elif shape == "boulder":
        S.boulder(c, x, y, p.f("dot", 0.4))
    elif shape == "cluster":
        S.boulder_cluster(c, x, y, p.f("side", 0.8))
    elif shape == "waterhole":
        S.v_mark(c, x, y, "blue", "blue_point", p.f("wide", 0.7), p.f("high", 0.8))
    elif shape == "well":
        S.well(c, x, y, p.f("size", 0.8))
    elif shape == "water_star":
        S.star_mark(c, x, y, "blue", "blue_point", p.f("size", 0.9))
    elif shape == "large_tree":
        S.large_tree(c, x, y, p.f("size", 0.9))
    elif shape == "bush":
        S.bush(c, x, y, p.f("dot", 0.6), p.f("hole", 0.2))
    elif shape == "green_x":
        S.cross_mark(c, x, y, "green", "green_point", p.f("size", 0.9), mask_mm=0.18)
    elif shape == "high_tower":
        S.high_tower(c, x, y, p.f("dot", 0.8), p.f("size", 1.4))
    elif shape == "small_tower":
        S.small_tower(c, x, y, p.f("size", 1.0))
    elif shape == "cairn":
        S.cairn(c, x, y, p.f("size", 0.8))
    elif shape == "fodder_rack":
        S.fodder_rack(c, x, y, p.f("size", 0.82))
    elif shape == "black_ring":
        D.ring(c, x, y, p.f("size", 0.8), D.W["black_point_line"], "black", "black")
    elif shape == "black_x":
        S.cross_mark(c, x, y, "black", "black", p.f("size", 0.8), D.W["black_point_line"])
    else:
        raise ValueError(f"unknown point shape {shape!r}")


# ------------------------------------------------------------------------------------------
# Landforms.

def scene_contours(c, p, rng):
    S.contour(c, D.blob(52, 54, 17, 12, 0.15, 11))
    S.contour(c, D.blob(54, 58, 34, 27, 0.12, 12))
    S.contour(c, D.blob(57, 62, 52, 44, 0.1, 13))
    S.contour(c, D.blob(60, 66, 72, 62, 0.08, 14))


def scene_index_contour(c, p, rng):
    ys = [8, 33, 58, 84, 109]
    for i, y in enumerate(ys):
        line = wavy(-6, y + 3, 120, y - 3, 3.5, 20 + i)
        if i == 2:
            _labelled_index_contour(c, line, p.s("label", "60"))
        else:
            S.contour(c, line)


def _labelled_index_contour(c, line, label, at=0.5):
    h = c.mm(D.W["digit_height_spot"])
    wpx = D.figures_width(label, h)
    centre = D.length(line) * at
    (lx, ly), _ = D.at(line, centre)
    S.contour(c, line, index=True, gaps=[(centre - wpx / 2 - 3, centre + wpx / 2 + 3)])
    D.figures(c, lx, ly - h / 2, label, D.W["digit_height_spot"], "brown", "brown",
              anchor="middle")


def _spur(y, depth, width=60):
    return D.smooth([(-6, y - 4), (MID - width / 2, y + depth * 0.35), (MID, y + depth),
                     (MID + width / 2, y + depth * 0.35), (119, y - 4)])


def scene_form_line(c, p, rng):
    S.contour(c, _spur(4, 14))
    S.contour(c, _spur(78, 16))
    S.form_line(c, _spur(40, 26, 44))


def _slope_lines(c):
    S.contour(c, wavy(-5, 14, 118, 10, 3, 31))
    S.contour(c, wavy(-5, 104, 118, 100, 3, 32))


def scene_earth_bank(c, p, rng):
    _slope_lines(c)
    bank = D.smooth([(12, 66), (40, 50), (74, 52), (102, 64)])
    S.earth_bank(c, bank, side=-1, tag_mm=p.f("tag", 0.4))


def scene_earth_wall(c, p, rng):
    kind = p.s("kind", "wall")
    _slope_lines(c)
    line = D.smooth([(6, 82), (34, 64), (70, 52), (108, 34)])
    if kind == "wall":
        S.earth_wall(c, line, p.f("dot", 0.45), p.f("pitch", 2.0))
    elif kind == "retaining":
        S.retaining_earth_wall(c, line, side=-1, dot_mm=p.f("dot", 0.45),
                               pitch_mm=p.f("pitch", 1.0))
    else:
        S.ruined_earth_wall(c, line)


def _gully_slope(c, cross_x, seed=40):
    """Contours across the picture with their bends pointing upstream at cross_x."""
    lines = []
    for i, y in enumerate((16, 46, 76, 104)):
        pts = D.smooth([(-5, y + 6), (cross_x - 22, y + 4), (cross_x, y - 9),
                        (cross_x + 22, y + 4), (118, y + 7)])
        lines.append(pts)
    return lines


def scene_gully(c, p, rng):
    gully = D.smooth([(60, 14), (57, 40), (55, 70), (52, 100)])
    for line in _gully_slope(c, 57):
        # leave the contour open where the gully crosses it
        cut = _crossing_distance(line, gully)
        gap = c.mm(0.3)
        S.contour(c, line, gaps=[(cut - gap, cut + gap)] if cut is not None else ())
    if p.s("kind", "gully") == "gully":
        S.erosion_gully(c, gully)
    else:
        S.small_erosion_gully(c, gully, p.f("dot", 0.25), p.f("pitch", 0.45))


def _crossing_distance(line, other):
    run = 0.0
    for i in range(len(line) - 1):
        a, b = line[i], line[i + 1]
        for j in range(len(other) - 1):
            hit = _intersect(a, b, other[j], other[j + 1])
            if hit is not None:
                return run + hit * math.dist(a, b)
        run += math.dist(a, b)
    return None


def _intersect(a, b, p, q):
    (x1, y1), (x2, y2), (x3, y3), (x4, y4) = a, b, p, q
    den = (x1 - x2) * (y3 - y4) - (y1 - y2) * (x3 - x4)
    if abs(den) < 1e-12:
        return None
    t = ((x1 - x3) * (y3 - y4) - (y1 - y3) * (x3 - x4)) / den
    u = -((x1 - x2) * (y1 - y3) - (y1 - y2) * (x1 - x3)) / den
    return t if 0 <= t <= 1 and 0 <= u <= 1 else None


def scene_broken_ground(c, p, rng):
    S.contour(c, wavy(-5, 100, 118, 108, 3, 51))
    poly = D.blob(MID, 50, 42, 34, 0.2, int(p.f("seed", 52)))
    S.broken_ground(c, poly, rng, p.f("dot", 0.2), p.f("spacing", 0.53))


# ------------------------------------------------------------------------------------------
# Rock.

def scene_cliff(c, p, rng):
    """A cliff on a slope falling to the south. The impassable cliff's thick top line carries tags
    down to the foot of the face; the passable cliff is a thinner line without tags, its fall
    shown by the contours that close up beneath it."""
    impassable = p.flag("impassable")
    S.contour(c, wavy(-5, 14, 118, 20, 3, 61))
    S.contour(c, wavy(-5, 66, 118, 62, 3, 62))
    # the index contour's value stands upright: its top is on the higher side
    _labelled_index_contour(c, wavy(-5, 94, 118, 90, 2, 63), "50", at=0.5)
    line = D.smooth([(16, 50), (44, 40), (74, 44), (98, 36)])
    S.cliff(c, line, impassable=impassable, side=-1, tags_on=impassable)


def scene_gigantic(c, p, rng):
    slope_context(c, 71)
    pts = [(36, 46), (50, 36), (63, 40), (74, 38), (80, 52), (73, 62), (70, 72), (52, 74),
           (41, 66), (33, 57)]
    D.fill(c, pts, "black", "black")


def scene_boulder_field(c, p, rng):
    S.contour(c, wavy(-5, 12, 118, 6, 3, 81))
    poly = D.blob(MID, 60, 46, 38, 0.18, int(p.f("seed", 82)))
    S.boulder_field(c, poly, rng, p.f("spacing", 1.05))


def scene_stony(c, p, rng):
    S.contour(c, wavy(-5, 12, 118, 8, 3, 91))
    poly = D.blob(MID, 60, 46, 38, 0.18, int(p.f("seed", 92)))
    S.stony_ground(c, poly, rng, p.f("dot", 0.2), p.f("spacing", 0.53))


def scene_sandy(c, p, rng):
    S.contour(c, wavy(-5, 104, 118, 96, 3, 101))
    poly = D.blob(MID, 52, 46, 38, 0.16, 102)
    S.sandy_ground(c, poly, p.f("dot", 0.18), p.f("spacing", 0.42))


def scene_bare_rock(c, p, rng):
    """A grey patch of rock on a slope: the contours run on across it, brown printing above grey."""
    poly = D.blob(MID, 55, 40, 30, 0.25, 111)
    S.bare_rock(c, poly)
    for y0, y1, seed in ((34, 40, 112), (56, 60, 113), (78, 82, 114)):
        S.contour(c, wavy(-5, y0, 118, y1, 4, seed))


def scene_trench(c, p, rng):
    slope_context(c, 121)
    S.trench(c, D.smooth([(8, 70), (40, 58), (72, 58), (106, 42)]), p.f("line", 0.1),
             p.f("gap", 0.1))


# ------------------------------------------------------------------------------------------
# Water.

def scene_lake(c, p, rng):
    S.contour(c, wavy(-5, 14, 118, 8, 3, 131))
    stream = D.smooth([(78, 66), (92, 84), (100, 100), (106, 118)])
    S.watercourse(c, stream)
    poly = D.blob(50, 56, 36, 27, 0.16, 132)
    S.lake(c, poly, dominant=p.flag("dominant"))


def scene_pond(c, p, rng):
    slope_context(c, 141)
    poly = D.blob(MID, MID, 32, 24, 0.15, 142)
    S.shallow_water(c, poly, seasonal=p.flag("seasonal"))


def scene_stream(c, p, rng):
    kind = p.s("kind", "large")
    stream = D.smooth([(50, -4), (60, 24), (52, 52), (62, 82), (56, 118)])
    for line in _gully_slope(c, 58):
        S.contour(c, line)
    S.watercourse(c, stream, small=(kind == "small"), dash=(kind == "seasonal"))


def scene_marsh(c, p, rng):
    kind = p.s("kind", "marsh")
    S.contour(c, wavy(-5, 12, 118, 8, 3, 151))
    S.contour(c, wavy(-5, 106, 118, 102, 3, 152))
    poly = D.blob(MID, 58, 44, 30, 0.16, 153)
    S.marsh(c, poly, uncrossable=(kind == "uncrossable"), indistinct=(kind == "indistinct"))


def scene_narrow_marsh(c, p, rng):
    valley = D.smooth([(58, -4), (54, 30), (60, 64), (55, 118)])
    for line in _gully_slope(c, 56):
        S.contour(c, line)
    S.narrow_marsh(c, valley, p.f("dot", 0.25), p.f("pitch", 0.45))


def scene_spring(c, p, rng):
    for i, y in enumerate((30, 62, 94)):
        S.contour(c, D.smooth([(-5, y + 8), (34, y + 6), (MID, y - 12), (79, y + 6), (118, y + 8)]))
    x, y = MID, 40
    S.u_mark(c, x, y, "blue", "blue_point", p.f("wide", 0.9), p.f("high", 0.45),
             D.W["point_line"], angle=180)
    S.watercourse(c, D.smooth([(x, y + 1), (58, 64), (54, 90), (57, 118)]), small=True)


# ------------------------------------------------------------------------------------------
# Vegetation.

def _forest_around(c):
    S.contour(c, wavy(-5, 8, 118, 4, 2, 161))
    S.contour(c, wavy(-5, 108, 118, 104, 2, 162))


def scene_area(c, p, rng):
    """An area symbol in forest: a patch with a smooth irregular edge."""
    kind = p.s("fill", "")
    _forest_around(c)
    poly = D.blob(MID, MID, 46, 38, 0.15, int(p.f("seed", 171)))
    if kind == "yellow":
        D.fill(c, poly, "yellow", "yellow")
    elif kind == "yellow_trees":
        D.fill(c, poly, "yellow", "yellow")
        S.tree_dots(c, poly, p.s("dots", "white"), "white_over_yellow", p.f("dot", 0.4),
                    p.f("spacing", 0.7))
    elif kind == "yellow50":
        D.fill(c, poly, "yellow50", "yellow50")
    elif kind == "yellow50_trees":
        D.fill(c, poly, "yellow50", "yellow50")
        dots = p.s("dots", "white")
        S.tree_dots(c, poly, dots, "white_over_yellow" if dots == "white" else "green60",
                    p.f("dot", 0.5), p.f("spacing", 0.8))
    elif kind in ("green30", "green60", "green"):
        D.fill(c, poly, kind, kind)
    elif kind == "stripes":
        S.green_stripes(c, poly, p.f("width", 0.12), p.f("spacing", 0.84))
    else:
        raise ValueError(f"unknown area fill {kind!r}")
    if p.flag("path"):
        S.footpath(c, wavy(-5, 84, 118, 70, 5, 172))


def scene_forest(c, p, rng):
    D.fill(c, D.smooth([(-5, 34), (16, 30), (30, 14), (38, -5)], steps=8)
           + [(-5, -5)], "yellow", "yellow")
    D.fill(c, D.smooth([(118, 74), (100, 82), (90, 100), (86, 118)], steps=8)
           + [(118, 118)], "green30", "green30")
    S.footpath(c, D.smooth([(-5, 92), (30, 76), (60, 52), (90, 36), (118, 30)]))


def scene_field(c, p, rng):
    kind = p.s("kind", "cultivated")
    D.fill_rect(c, 0, 0, c.w, c.h, "yellow50", "yellow50")
    field = [(14, 16), (104, 8), (108, 94), (20, 104)]
    if kind == "cultivated":
        S.cultivated(c, field, p.f("dot", 0.2), p.f("spacing", 0.8))
    elif kind == "orchard":
        S.orchard(c, field, p.f("dot", 0.45), p.f("spacing", 0.8))
    elif kind == "vineyard":
        S.vineyard(c, field, p.f("width", 0.2), p.f("spacing", 0.75))
    S.road(c, D.smooth([(-5, 112), (60, 109), (118, 104)]))


def scene_cultivation_boundary(c, p, rng):
    left = [(-5, -5), (50, -5), (62, 118), (-5, 118)]
    right = [(50, -5), (118, -5), (118, 118), (62, 118)]
    S.cultivated(c, left)
    D.fill(c, right, "yellow", "yellow")
    stroke_line = [(50, -5), (56, 56), (62, 118)]
    D.stroke(c, stroke_line, "black", D.W["cultivation_boundary"], "black")


def scene_vegetation_boundary(c, p, rng):
    edge = D.smooth([(34, -5), (46, 30), (40, 62), (58, 92), (62, 118)])
    D.fill(c, [(-5, -5)] + edge + [(-5, 118)], "yellow", "yellow")
    S.vegetation_boundary(c, edge)
    S.contour(c, wavy(-5, 30, 118, 20, 3, 191))


# ------------------------------------------------------------------------------------------
# Man-made features.

def scene_paved(c, p, rng):
    S.road(c, D.smooth([(-5, 88), (40, 84), (70, 92), (118, 96)]))
    lot = [(30, 28), (88, 24), (92, 70), (34, 74)]
    S.paved(c, lot)
    S.building(c, [(60, 8), (84, 6), (85, 20), (61, 22)])


def scene_wide_road(c, p, rng):
    slope_context(c, 201)
    line = D.smooth([(-5, 78), (40, 62), (80, 50), (118, 30)])
    S.wide_road(c, line, p.f("width", 0.75))
    S.small_path(c, D.smooth([(46, 58), (40, 30), (28, -5)]))


def scene_road(c, p, rng):
    slope_context(c, 211)
    S.road(c, D.smooth([(-5, 76), (36, 62), (76, 56), (118, 40)]))
    S.footpath(c, D.smooth([(70, 57), (80, 84), (76, 118)]))


PATHS = {"track": S.vehicle_track, "footpath": S.footpath, "small": S.small_path,
         "faint": S.faint_path}


def scene_path(c, p, rng):
    slope_context(c, 221)
    line = D.smooth([(-5, 80), (30, 66), (62, 60), (90, 44), (118, 40)])
    PATHS[p.s("kind", "footpath")](c, line)


def scene_ride(c, p, rng):
    D.fill_rect(c, 0, 0, c.w, c.h, "green30", "green30")
    S.contour(c, wavy(-5, 16, 118, 12, 3, 231))
    S.ride(c, D.smooth([(-5, 92), (40, 70), (80, 50), (118, 28)]))


def scene_railway(c, p, rng):
    slope_context(c, 241)
    S.railway(c, D.smooth([(-5, 84), (40, 64), (80, 52), (118, 42)]))


def scene_power_line(c, p, rng):
    slope_context(c, 251)
    line = [(-5, 86), (118, 30)]
    total = D.length(line)
    pylons = [total * f for f in (0.2, 0.5, 0.8)]
    S.power_line(c, line, pylons, major=p.flag("major"))


def scene_bridge(c, p, rng):
    stream = D.smooth([(48, -5), (58, 30), (52, 70), (60, 118)])
    road = D.smooth([(-5, 60), (40, 56), (80, 54), (118, 50)])
    cut = _crossing_distance(stream, road)
    gap = c.mm(0.55)
    for piece in S._open_gaps(stream, [(cut - gap, cut + gap)]):
        S.watercourse(c, piece)
    S.vehicle_track(c, road)
    rcut = _crossing_distance(road, stream)
    S.bridge(c, road, rcut - c.mm(0.6), rcut + c.mm(0.6), c.mm(0.35))
    S.contour(c, wavy(-5, 20, 40, 12, 2, 261))
    S.contour(c, wavy(70, 12, 118, 18, 2, 262))


def scene_wall(c, p, rng):
    kind = p.s("kind", "wall")
    edge = D.smooth([(-5, 40), (30, 44), (62, 56), (84, 80), (96, 118)])
    D.fill(c, edge + [(118, 118), (118, -5), (-5, -5)], "yellow", "yellow")
    S.contour(c, wavy(-5, 98, 60, 108, 2, 271))
    if kind == "wall":
        S.wall(c, edge, p.f("dot", 0.4), p.f("pitch", 1.5))
    elif kind == "ruined":
        S.ruined_wall(c, edge)
    else:
        S.impassable_wall(c, edge, p.f("dot", 0.6), p.f("pitch", 3.0), start_mm=1.3)


def scene_fence(c, p, rng):
    kind = p.s("kind", "fence")
    corner = [(-5, 34), (70, 30), (78, 118)]
    D.fill(c, [(-5, 34), (70, 30), (78, 118), (-5, 118)], "yellow", "yellow")
    S.contour(c, wavy(84, -5, 108, 118, 3, 281))
    S.fence(c, corner, side=-1, dashed=(kind == "ruined"), impassable=(kind == "impassable"))


def scene_crossing_point(c, p, rng):
    D.fill(c, [(-5, 60), (118, 52), (118, 118), (-5, 118)], "yellow", "yellow")
    fence = [(-5, 60), (118, 52)]
    total = D.length(fence)
    mid = total / 2
    gap = c.mm(0.3)
    for piece in S._open_gaps(fence, [(mid - gap, mid + gap)]):
        S.fence(c, piece, side=1)
    S.crossing_marks(c, fence, mid)
    S.footpath(c, D.smooth([(44, -5), (54, 30), (MID, 56), (62, 84), (58, 118)]))


def scene_forbidden(c, p, rng):
    S.road(c, D.smooth([(-5, 100), (60, 96), (118, 104)]))
    area = [(18, 14), (96, 10), (100, 84), (22, 88)]
    S.forbidden_area(c, area)
    S.building(c, [(44, 34), (70, 32), (71, 54), (45, 56)])
    S.contour(c, wavy(-5, 4, 118, 2, 1, 291))


def scene_building(c, p, rng):
    S.road(c, D.smooth([(-5, 84), (50, 80), (118, 86)]))
    S.building(c, [(24, 26), (64, 20), (68, 48), (48, 51), (50, 66), (28, 69)])
    S.building(c, [(78, 36), (96, 34), (97, 56), (79, 58)])
    S.footpath(c, D.smooth([(40, 68), (42, 76), (40, 82)]))


def scene_canopy(c, p, rng):
    S.paved(c, [(6, 60), (108, 56), (110, 104), (8, 108)])
    S.building(c, [(18, 14), (62, 10), (64, 42), (20, 46)])
    S.canopy(c, [(46, 38), (98, 34), (100, 74), (48, 78)])


def scene_ruin(c, p, rng):
    slope_context(c, 301)
    S.ruin(c, D.rotate(D.rect(36, 40, 78, 72), -8, MID, MID))
    S.small_path(c, D.smooth([(-5, 88), (30, 80), (44, 74)]))


def scene_line_feature(c, p, rng):
    slope_context(c, 311)
    S.line_feature(c, D.smooth([(-5, 76), (40, 64), (80, 50), (118, 44)]),
                   impassable=p.flag("impassable"))


def scene_stairway(c, p, rng):
    for y in (40, 48, 56, 64, 72):
        S.contour(c, wavy(-5, y + 8, 118, y - 6, 1.5, 320 + y))
    S.footpath(c, D.smooth([(12, -5), (30, 14), (46, 30)]))
    S.stairway(c, [(46, 30), (66, 88)])
    S.footpath(c, D.smooth([(66, 88), (78, 102), (96, 118)]))


# ------------------------------------------------------------------------------------------
# Technical symbols.

def scene_north_lines(c, p, rng):
    D.fill(c, D.blob(80, 80, 38, 30, 0.15, 331), "yellow", "yellow")
    S.contour(c, wavy(-5, 30, 118, 16, 4, 332))
    S.contour(c, wavy(-5, 58, 60, 52, 3, 333))
    S.footpath(c, wavy(-5, 104, 118, 88, 4, 334))
    for x in (p.f("x1", 30), p.f("x2", 84)):
        S.north_line(c, x)


def scene_registration(c, p, rng):
    """A corner of the printed map with the mark outside the map frame."""
    fx, fy = 58, 58
    D.fill(c, [(fx, 84)] + D.smooth([(fx, 84), (78, 72), (98, 76), (118, 68)], steps=8)
           + [(118, 118), (fx, 118)], "yellow", "yellow")
    D.fill(c, [(fx, 104), (74, 100), (90, 108), (96, 118), (fx, 118)], "green30", "green30")
    S.contour(c, D.smooth([(fx, 70), (80, 64), (100, 66), (118, 60)]))
    D.stroke(c, [(fx, c.h), (fx, fy), (c.w, fy)], "black", 0.1, "black")
    S.registration_mark(c, 28, 28, p.f("size", 4.0))


def scene_spot_height(c, p, rng):
    S.contour(c, D.blob(MID - 6, MID + 6, 40, 32, 0.1, 351))
    S.contour(c, D.blob(MID - 4, MID + 8, 62, 54, 0.08, 352))
    x, y = 40, 62
    D.dot(c, x, y, p.f("dot", 0.3), "black", "black")
    D.figures(c, x + 7, y - c.mm(0.75), p.s("label", "127"), D.W["digit_height_spot"],
              "black", "black")


# ------------------------------------------------------------------------------------------
# Course overprint.

def scene_start(c, p, rng):
    S.footpath(c, D.smooth([(-5, 92), (30, 76), (50, 66), (80, 60), (118, 62)]))
    S.small_path(c, D.smooth([(50, 66), (48, 90), (40, 118)]))
    slope = wavy(-5, 20, 118, 14, 3, 361)
    S.contour(c, slope)
    centre = (50, 66)
    target = (118, -8)
    R = S.start_triangle(c, centre[0], centre[1], target, p.f("side", 6.0))
    S.course_leg(c, centre, target, R, 0)


def scene_map_issue(c, p, rng):
    S.footpath(c, D.smooth([(-5, 104), (30, 86), (60, 62), (90, 36), (118, 20)]))
    route = D.smooth([(14, 98), (30, 86), (60, 62), (80, 45)])
    S.marked_route(c, route)
    (x, y), t = D.at(route, 0)
    S.map_issue_bar(c, x, y, math.degrees(math.atan2(t[1], t[0])) + 90)
    S.start_triangle(c, 96, 30, (140, -20), 6.0)


def scene_control(c, p, rng):
    slope_context(c, 371)
    S.boulder(c, MID, MID, 0.4)
    r = c.mm(p.f("diam", 5.0)) / 2
    S.control_circle(c, MID, MID, p.f("diam", 5.0))
    S.course_leg(c, (MID, MID), (-20, 140), r, 0)


def scene_control_number(c, p, rng):
    cx, cy = 40, 70
    S.contour(c, wavy(-5, 30, 118, 22, 3, 381))
    S.knoll(c, cx, cy)
    S.control_circle(c, cx, cy, 5.0)
    D.figures(c, 66, 12, p.s("label", "12"), D.W["digit_height_control"], "purple",
              "purple_low", weight=0.085)


def scene_course_line(c, p, rng):
    a, b = (26, 88), (88, 26)
    S.contour(c, wavy(-5, 60, 118, 80, 4, 391))
    S.boulder(c, *a, 0.4)
    S.knoll(c, *b)
    r = c.mm(5.0) / 2
    S.control_circle(c, *a, 5.0)
    S.control_circle(c, *b, 5.0)
    S.course_leg(c, a, b, r, r)


def scene_finish(c, p, rng):
    centre = (64, 46)
    R = S.finish(c, *centre, p.f("inner", 4.0), p.f("outer", 6.0))
    S.footpath(c, D.smooth([(-5, 106), (26, 90), (48, 64)]))
    last = (-10, 130)
    S.course_leg(c, last, centre, c.mm(2.5), R)
    S.control_circle(c, *last, 5.0)


def scene_marked_route(c, p, rng):
    path = D.smooth([(-5, 96), (28, 80), (54, 60), (76, 52), (118, 24)])
    S.footpath(c, path)
    S.marked_route(c, D.offset(path, c.mm(0.6)))
    S.contour(c, wavy(-5, 30, 118, 10, 3, 401))


def scene_oob_boundary(c, p, rng):
    edge = D.smooth([(-5, 66), (40, 58), (78, 62), (118, 52)])
    D.fill(c, edge + [(118, 118), (-5, 118)], "yellow", "yellow")
    S.contour(c, wavy(-5, 18, 118, 10, 3, 411))
    S.oob_boundary(c, edge)


def scene_oob_area(c, p, rng):
    S.road(c, D.smooth([(-5, 100), (60, 96), (118, 104)]))
    field = [(14, 14), (98, 10), (102, 84), (18, 88)]
    D.fill(c, field, "yellow", "yellow")
    S.oob_area(c, field, p.s("edge", "solid"), p.f("width", 0.2), p.f("spacing", 1.2))


def scene_course_crossing(c, p, rng):
    fence = D.smooth([(-5, 62), (40, 58), (80, 56), (118, 50)])
    D.fill(c, fence + [(118, -5), (-5, -5)], "yellow", "yellow")
    S.fence(c, fence, side=1, impassable=True)
    x, y = MID, 57
    S.crossing_arcs(c, x, y, -85)
    h = c.mm(1.5) + c.mm(0.6)
    D.stroke(c, [(x - 6, -5), (x - 1.5, y - h)], "purple", D.W["course"], "purple_low")
    D.stroke(c, [(x + 1.5, y + h), (x + 8, 118)], "purple", D.W["course"], "purple_low")


def scene_oob_route(c, p, rng):
    road = D.smooth([(-5, 82), (40, 64), (80, 52), (118, 46)])
    S.road(c, road)
    S.footpath(c, D.smooth([(50, 61), (44, 30), (50, -5)]))
    S.oob_route(c, road, p.f("size", 3.0), p.f("pitch", 4.5), start_mm=2.6)


def scene_first_aid(c, p, rng):
    S.road(c, D.smooth([(-5, 90), (60, 86), (118, 92)]))
    S.building(c, [(14, 50), (40, 48), (41, 72), (15, 74)])
    S.first_aid(c, 74, 52, p.f("size", 4.0), p.f("arm", 1.33))


def scene_refreshment(c, p, rng):
    S.footpath(c, D.smooth([(-5, 96), (50, 88), (118, 94)]))
    S.contour(c, wavy(-5, 14, 118, 8, 3, 421))
    S.refreshment(c, MID, 50)


def scene_map_exchange(c, p, rng):
    centre = (46, 68)
    nxt = (126, -8)
    S.contour(c, wavy(-5, 24, 118, 36, 3, 431))
    S.knoll(c, *centre)
    R = S.map_exchange(c, *centre, nxt, p.f("diam", 6.0))
    S.course_leg(c, centre, nxt, R, c.mm(2.5))
    S.control_circle(c, *nxt, 5.0)


SCENES = {name[len("scene_"):]: fn for name, fn in globals().items()
          if name.startswith("scene_") and callable(fn)}
