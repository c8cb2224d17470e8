# SPDX-License-Identifier: GPL-3.0-or-later
"""Where things are around a control: one layout per description line, shared by the map excerpt
(I picture) and the ground sketch (N picture), so the two show the same situation.

Coordinates are abstract units with x to the east and y to the north; the control site (the
centre of the control circle) is the origin and the circle's radius is 10 units. A layout holds
  items   the features: Point (stands up: boulder, knoll, tree ...), Sunk (pit, depression ...),
          Area (marsh, open land, building ...), Linear (path, fence, cliff ...), Relief (hill,
          re-entrant, saddle)
  flag    (x, y, z) where the flag stands; z > 0 is above the ground (on top of a cliff), z < 0
          below it (down in a pit)
  ground  "forest" or "open": what surrounds the feature

make_layout(line) builds it from the table row: the kind, the second feature, the flag word
(derived from columns F and G, see line_table.expected_flag) and the parameters.
"""
import math

import isom_draw as D

S2 = math.sqrt(0.5)
DIRV = {"N": (0.0, 1.0), "NE": (S2, S2), "E": (1.0, 0.0), "SE": (S2, -S2),
        "S": (0.0, -1.0), "SW": (-S2, -S2), "W": (-1.0, 0.0), "NW": (-S2, S2)}
REACH = 15.0      # lines and areas reach this far from the site, past the circle's edge

POINT_KINDS = {"boulder", "cluster", "pillar", "knoll", "tree", "pylon", "tower", "platform",
               "cairn", "fodder", "well", "anthill", "tank", "vegfeature", "monument",
               "specialx", "specialo", "cave"}
SUNK_KINDS = {"pit", "smalldep", "waterhole", "depression", "quarry", "spring"}
AREA_KINDS = {"marsh", "open", "clearing", "thicket", "copse", "barerock", "pond", "lake",
              "firm", "sandy", "paved", "boulderfield", "building", "ruin", "semiopen",
              "brokenground", "stony", "oob", "canopy", "forestcorner", "charcoal"}
LINE_KINDS = {"path", "road", "stream", "ditch", "narrowmarsh", "fence", "wall", "earthwall",
              "gully", "pipeline", "powerline", "railway", "vegboundary", "cliff", "bank",
              "trench", "linthicket", "ride", "stairway"}
RELIEF_KINDS = {"hill", "reentrant", "saddle", "spur", "terrace"}
# landforms of a slope that rises to the north (see level_y)
SLOPE_KINDS = {"reentrant", "spur", "terrace"}
SPECIAL_KINDS = {"bridge", "crossing", "passage", "tunnel"}
# kinds of a town park or a sprint area, drawn on a lawn rather than in forest
PARK_KINDS = {"oob", "canopy", "stairway"}
KINDS = POINT_KINDS | SUNK_KINDS | AREA_KINDS | LINE_KINDS | RELIEF_KINDS | SPECIAL_KINDS
# kinds drawn in open land rather than in forest
OPEN_GROUND = {"copse", "fence", "tree", "cairn", "pylon", "powerline", "road",
               "railway", "paved", "building", "tower", "well", "forestcorner", "tank",
               "tunnel"} | PARK_KINDS

# radius (units) of the standing features at which "side" puts the flag
POINT_RADIUS = {"boulder": 1.0, "cluster": 1.5, "pillar": 0.9, "knoll": 3.0, "tree": 0.5,
                "pylon": 0.9, "tower": 1.2, "platform": 1.2, "cairn": 0.7, "fodder": 1.0,
                "well": 0.8, "anthill": 0.8, "tank": 1.1, "vegfeature": 1.1, "monument": 0.8,
                "specialx": 1.2, "specialo": 1.1, "cave": 1.6}
POINT_HEIGHT = {"boulder": 1.0, "cluster": 1.0, "pillar": 5.0, "knoll": 1.2, "tree": 8.0,
                "pylon": 9.0, "tower": 10.0, "platform": 3.5, "cairn": 1.0, "fodder": 1.8,
                "well": 0.8, "anthill": 0.9, "tank": 0.9, "vegfeature": 1.8, "monument": 2.6,
                "specialx": 1.3, "specialo": 0.25, "cave": 2.6}
# flat point features: the flag of an empty column G stands in their middle
FLAT_POINTS = {"specialo"}
POINT_CLEARANCE = {"tree": 1.3, "pylon": 2.0}
SUNK_RADIUS = {"pit": 1.6, "smalldep": 2.2, "waterhole": 1.5, "depression": 3.6, "quarry": 5.0,
               "spring": 1.0}
AREA_RADIUS = {"marsh": 9.0, "open": 9.0, "clearing": 7.0, "thicket": 6.0, "copse": 5.0,
               "barerock": 7.0, "pond": 6.0, "lake": 9.0, "firm": 3.0, "sandy": 7.0,
               "paved": 6.0, "boulderfield": 8.0, "building": 5.0, "ruin": 3.5, "semiopen": 9.0,
               "brokenground": 8.0, "stony": 7.0, "oob": 4.0, "canopy": 4.5, "forestcorner": 9.0,
               "charcoal": 2.6}


class Point:
    def __init__(self, kind, at, r, h, main=True):
        self.kind, self.at, self.r, self.h, self.main = kind, at, r, h, main


class Sunk:
    def __init__(self, kind, at, r, depth, long=False, main=True):
        self.kind, self.at, self.r, self.depth, self.long, self.main = kind, at, r, depth, long, main


class Area:
    def __init__(self, kind, poly, h=0.0):
        self.kind, self.poly, self.h = kind, poly, h


class Linear:
    """A line feature along pts; `face` -1 for a cliff or bank whose drop faces right of the
    direction of travel (drawn west to east: the low side is south)."""

    def __init__(self, kind, pts, h=0.0, main=True):
        self.kind, self.pts, self.h, self.main = kind, pts, h, main


class Relief:
    """A landform drawn with contours. For a re-entrant or a spur `at` is (0, y) of its upper end
    (the head of a re-entrant, where a spur leaves the slope), `r` its length down the slope and
    `h` how far its contours bend (units). For a terrace `at` is (0, y) of the middle of the shelf,
    `r` the height the shelf takes up (one contour interval) and `h` how wide the shelf is across
    the slope in its middle (units); it narrows towards its ends, east and west."""

    def __init__(self, kind, at, r, h):
        self.kind, self.at, self.r, self.h = kind, at, r, h


SLOPE_WIDTH = 4.5       # half-width of the bend of a re-entrant's or a spur's contours
TERRACE_STEEP = 0.5     # units across the slope per unit of height above and below a terrace
TERRACE_LENGTH = 13.0   # how far east and west the shelf keeps its width


def _fade(v):
    return max(0.0, min(1.0, v))


def terrace_shelf(it):
    """The heights (low, high) between which a terrace's shelf lies."""
    return it.at[1] - it.r / 2, it.at[1] + it.r / 2


def level_y(it, h, x):
    """Where the level line of a slope landform runs at x: h is its height, as the place where
    it would cross the even slope (units north of the site; the ground rises to the north). A
    re-entrant bends the lines uphill between its mouth and its head, a spur downhill between
    its foot and its top; a terrace is a steep slope whose lines part round a level shelf, widest
    in the middle."""
    if it.kind == "terrace":
        low, high = terrace_shelf(it)
        narrow = it.r * TERRACE_STEEP
        width = narrow + (it.h - narrow) * math.exp(-(x / TERRACE_LENGTH) ** 4)
        if h <= low:
            return it.at[1] - width / 2 + (h - low) * TERRACE_STEEP
        if h >= high:
            return it.at[1] + width / 2 + (h - high) * TERRACE_STEEP
        return it.at[1] - width / 2 + (h - low) / it.r * width
    top = it.at[1]
    low = top - it.r
    # the bend grows and dies away over more than its own size, so no line crosses the next
    fade = it.h + 1.0
    amplitude = it.h * _fade((top - h) / fade) * _fade((h - low) / fade)
    bend = amplitude * math.exp(-(x / SLOPE_WIDTH) ** 2)
    return h + bend if it.kind == "reentrant" else h - bend


class Layout:
    def __init__(self, line):
        self.line = line
        self.items = []
        self.flag = (0.0, 0.0, 0.0)
        self.ground = "open" if line.kind in OPEN_GROUND else "forest"
        self.beneath = False      # the flag hangs under something (bridge, pipeline, platform)

    def add(self, item):
        self.items.append(item)
        return item


def rot(v, deg):
    """Turn a vector counter-clockwise (x east, y north) by deg degrees."""
    a = math.radians(deg)
    return (v[0] * math.cos(a) - v[1] * math.sin(a), v[0] * math.sin(a) + v[1] * math.cos(a))


def add(p, v, k=1.0):
    return (p[0] + v[0] * k, p[1] + v[1] * k)


def neg(v):
    return (-v[0], -v[1])


def blob(cx, cy, rx, ry, seed, wobble=0.12):
    return D.blob(cx, cy, rx, ry, wobble, seed)


def corner_arms(d, half_angle):
    """The two arms of a corner or tip that points to d, as unit vectors leaving the apex."""
    back = neg(d)
    return rot(back, half_angle), rot(back, -half_angle)


def wedge(d, half_angle, length):
    """Area filling the angle of a corner or tip at the origin that points to d."""
    a1, a2 = corner_arms(d, half_angle)
    back = neg(d)
    far1, far2 = add((0, 0), a1, length), add((0, 0), a2, length)
    return [(0.0, 0.0), far1, add(far1, back, length * 0.6), add(far2, back, length * 0.6), far2]


def concave_block(d, half):
    """An L-shaped block whose inner corner is at the origin and opens towards -d: the building
    around an inside corner pointing to d (the flag stands in the angle, outside the walls)."""
    a1, a2 = corner_arms(d, 45)

    def pt(p, q):
        return (a1[0] * p + a2[0] * q, a1[1] * p + a2[1] * q)
    # (p, q) are distances along the two arms; the open quadrant is p >= 0, q >= 0
    return [pt(0, 0), pt(half, 0), pt(half, -half), pt(-half, -half), pt(-half, half), pt(0, half)]


def twin_offsets(spec, spacing):
    """'S' -> [(0, -spacing)], 'E+W' -> two offsets."""
    out = []
    for part in filter(None, spec.split("+")):
        v = DIRV[part]
        out.append((v[0] * spacing, v[1] * spacing))
    return out


# ---------------------------------------------------------------------------------------------

def make_layout(line):
    kind = line.kind
    if kind not in KINDS:
        raise ValueError(f"line {line.number}: unknown kind {kind!r}")
    lay = Layout(line)
    what, direction = line.flag_parts()
    d = DIRV.get(direction) if direction else None
    if kind in POINT_KINDS:
        _point(lay, line, what, d)
    elif kind in SUNK_KINDS:
        _sunk(lay, line, what, d)
    elif kind in AREA_KINDS:
        _area(lay, line, what, d)
    elif kind in LINE_KINDS:
        _linear(lay, line, what, d)
    elif kind in RELIEF_KINDS:
        _relief(lay, line, what, d)
    else:
        _special(lay, line, what, d)
    return lay


def _point(lay, line, what, d):
    kind = line.kind
    r = POINT_RADIUS[kind]
    h = float(line.param("h", POINT_HEIGHT[kind]))
    if kind == "boulder":
        r = 0.7 + 0.25 * h
    if what == "between":
        h2 = float(line.param("h2", h))
        r2 = 0.7 + 0.25 * h2
        lay.add(Point(kind, (-1.2 - r, 0.0), r, h))
        lay.add(Point(line.second or kind, (1.2 + r2, 0.0), r2, h2))
        lay.flag = (0.0, 0.0, 0.0)
        return
    lay.add(Point(kind, (0.0, 0.0), r, h))
    for off in twin_offsets(line.param("twin", ""), 6.0):
        lay.add(Point(kind, off, r * 0.9, h * 0.9, main=False))
    if what in ("side", "foot") and d is not None:
        # a thin trunk or an open lattice hides little: the flag stands clear of it, so that on
        # the far side it is plainly behind the feature
        gap = POINT_CLEARANCE.get(kind, 0.45)
        lay.flag = (d[0] * (r + gap), d[1] * (r + gap), 0.0)
    elif what == "foot":
        lay.flag = (0.0, -(r + 0.45), 0.0)
    elif what == "top":
        lay.flag = (0.0, 0.0, h)
    elif what == "beneath":
        lay.flag = (0.0, 0.0, 0.0)
        lay.beneath = True
    elif what == "centre":
        if kind == "knoll":
            lay.flag = (0.0, 0.0, h)
        elif kind in FLAT_POINTS:
            lay.flag = (0.0, 0.0, 0.0)
        else:
            lay.flag = (0.25, -(r + 0.45), 0.0)
    else:
        raise ValueError(f"line {line.number}: flag {line.flag!r} does not fit a {kind}")


# sunk features drawn to scale: the circle is centred on the edge that column G names, where a
# pit or small depression (a point symbol) keeps it on the symbol
DRAWN_TO_SCALE = {"depression", "quarry"}


def _sunk(lay, line, what, d):
    kind = line.kind
    r = SUNK_RADIUS[kind]
    depth = {"pit": 1.5, "smalldep": 0.5, "waterhole": 0.8, "depression": 1.5, "quarry": 4.0,
             "spring": 0.3}[kind]
    if line.yes("deep"):
        depth *= 1.6
    lay.add(Sunk(kind, (0.0, 0.0), r, depth, long=line.yes("long")))
    for off in twin_offsets(line.param("twin", ""), 6.0):
        lay.add(Sunk(kind, off, r * 0.85, depth, main=False))
    if kind == "spring":
        lay.add(Linear("stream", [(0.0, -0.6), (1.5, -6.0), (-0.5, -11.0), (1.0, -REACH)]))
    if what == "edge" and d is not None:
        lay.flag = (d[0] * r, d[1] * r * (0.6 if lay.items[0].long else 1.0), 0.0)
        if kind in DRAWN_TO_SCALE:
            _centre_on_flag(lay)
    elif what == "centre":
        # in the bottom, drawn a little down into the hole
        lay.flag = (0.0, 0.0, -min(depth * 0.3, r * 0.35))
    else:
        raise ValueError(f"line {line.number}: flag {line.flag!r} does not fit a {kind}")


# small area features: drawn round the site like a point feature; the circle is centred on the
# feature itself, or on its edge or part where column G names one
SMALL_AREAS = {"clearing", "thicket", "pond", "barerock", "paved", "ruin", "building", "copse",
               "sandy", "firm", "oob", "canopy", "charcoal"}
# areas with straight sides and square corners
BLOCKS = {"building", "ruin", "canopy", "oob"}


def _area(lay, line, what, d):
    kind = line.kind
    R = AREA_RADIUS[kind]
    seed = line.number
    h = {"building": 4.0, "ruin": 0.9, "thicket": 1.8, "canopy": 3.0}.get(kind, 0.0)
    small = kind in SMALL_AREAS
    if kind == "forestcorner" and what == "centre":
        # the forest juts out into open land; the flag is at the very corner
        poly = wedge(DIRV[line.param("corner", "NE")], 45, REACH * 2.5)
        lay.flag = (0.0, 0.0, 0.0)
    elif kind in BLOCKS and what in ("centre", "side"):
        rx, ry = (R, R * 0.55) if line.yes("long") or kind == "ruin" else (R, R * 0.7)
        if what == "side" and d[0] and not d[1]:
            rx, ry = ry, rx
        poly = [(-rx, -ry), (rx, -ry), (rx, ry), (-rx, ry)]
        lay.flag = (0.0, 0.0, 0.0) if what == "centre" else _out_along(poly, d, 0.6)
        lay.beneath = kind == "canopy" and what == "centre"
    elif what == "centre":
        rx, ry = (R, R * 0.5) if line.yes("long") else (R, R * 0.8)
        poly = blob(0, 0, rx, ry, seed)
        lay.flag = (0.0, 0.0, 0.0)
    elif what == "edge" and small:
        poly = blob(0, 0, R, R * 0.8, seed, 0.08)
        poly = _moved(poly, _out_along(poly, d, 0.0))
        lay.flag = (0.0, 0.0, 0.0)
    elif what == "part" and small:
        poly = blob(0, 0, R, R * 0.8, seed, 0.08)
        poly = _moved(poly, (d[0] * R * 0.45, d[1] * R * 0.45 * 0.8))
        lay.flag = (0.0, 0.0, 0.0)
    elif what == "edge":
        poly = blob(-d[0] * R, -d[1] * R, R, R, seed, 0.08)
        poly = _through_origin(poly, d)
        lay.flag = (0.0, 0.0, 0.0)
    elif what == "part":
        poly = blob(-d[0] * R * 0.55, -d[1] * R * 0.55, R * 1.25, R * 1.1, seed, 0.08)
        lay.flag = (0.0, 0.0, 0.0)
    elif what in ("corner-in", "corner-out"):
        if kind in BLOCKS and what == "corner-in":
            poly = concave_block(d, R * 1.4)
        elif kind in BLOCKS:
            poly = wedge(d, 45, R * 1.6)
        else:
            poly = wedge(d, 45, REACH * 2.5)
        k = 1.3 if what == "corner-out" else -1.3
        lay.flag = (d[0] * k, d[1] * k, 0.0)
    elif what == "tip":
        poly = wedge(d, 17, REACH * 3.0)
        lay.flag = (-d[0] * 0.9, -d[1] * 0.9, 0.0)
    else:
        raise ValueError(f"line {line.number}: flag {line.flag!r} does not fit a {kind}")
    if kind == "firm":
        lay.add(Area("marsh", blob(0, 0, 12.0, 9.5, seed + 1, 0.08)))
    lay.add(Area(kind, poly, h))


def _moved(poly, site):
    """The outline moved so that the point `site` of it comes to the origin."""
    return [(x - site[0], y - site[1]) for x, y in poly]


def _centre_on_flag(lay):
    """Move the features so that the flag stands at the origin, the centre of the circle."""
    fx, fy, fz = lay.flag
    for it in lay.items:
        if isinstance(it, (Point, Sunk)):
            it.at = (it.at[0] - fx, it.at[1] - fy)
        elif isinstance(it, Area):
            it.poly = _moved(it.poly, (fx, fy))
        elif isinstance(it, Linear):
            it.pts = _moved(it.pts, (fx, fy))
    lay.flag = (0.0, 0.0, fz)


def _out_along(poly, d, beyond):
    """The point where a ray from the origin towards d leaves the outline, moved `beyond` further."""
    t = 0.0
    while D.inside((d[0] * (t + 0.05), d[1] * (t + 0.05)), poly) and t < 50:
        t += 0.05
    return (d[0] * (t + beyond), d[1] * (t + beyond), 0.0)


def _through_origin(poly, d):
    """Shift an outline along d so that its edge on side d passes through the origin."""
    best = max(poly, key=lambda p: p[0] * d[0] + p[1] * d[1])
    reach = best[0] * d[0] + best[1] * d[1]
    return [(x - d[0] * reach, y - d[1] * reach) for x, y in poly]


BEND = [(-REACH, -9.0), (-7.0, -3.0), (0.0, 0.0), (7.0, -3.0), (REACH, -9.0)]


def _linear(lay, line, what, d):
    kind, second = line.kind, line.second
    h = float(line.param("h", 2.0 if kind in ("cliff", "bank") else 1.0))
    main = None
    if what == "end":
        back = neg(d)
        side = rot(back, 90)
        main = [(0.0, 0.0), add(add((0, 0), back, 7.0), side, 1.2), add((0, 0), back, REACH * 1.3)]
        lay.flag = (d[0] * 0.6, d[1] * 0.6, 0.0)
    elif what == "bend":
        main = BEND
        lay.flag = (0.0, 0.8, 0.0)
    elif what == "side" and line.yes("bend"):
        main = BEND
        lay.flag = (d[0] * 1.0, d[1] * 1.0, 0.0)
    elif what == "side":
        across = rot(d, 90)
        main = [add((0, 0), across, REACH), add((0, 0), across, -REACH)]
        lay.flag = (d[0] * 0.9, d[1] * 0.9, 0.0)
    elif what in ("corner-in", "corner-out"):
        a1, a2 = corner_arms(d, 45)
        main = [add((0, 0), a1, REACH), (0.0, 0.0), add((0, 0), a2, REACH)]
        k = 1.3 if what == "corner-out" else -1.3
        lay.flag = (d[0] * k, d[1] * k, 0.0)
    elif what == "crossing":
        main = [(-REACH, -2.0), (REACH, 2.0)]
        lay.add(Linear(second, [(-3.0, -REACH), (3.0, REACH)], main=False))
        lay.flag = (1.3, -1.3, 0.0)
    elif what == "junction":
        if second == "building":
            lay.add(Area("building", [(-6.0, 0.0), (7.0, 0.0), (7.0, 8.0), (-6.0, 8.0)], 4.0))
            main = [(0.0, 0.0), (1.0, -7.0), (3.0, -REACH)]
            lay.flag = (1.0, -0.9, 0.0)
        elif kind == "vegboundary":
            main = [(0.5, REACH), (-0.8, 6.0), (0.0, 0.0), (1.0, -7.0), (0.0, -REACH)]
            lay.add(Area("open", [(-REACH - 3, REACH + 3)] + main + [(-REACH - 3, -REACH - 3)]))
            lay.add(Linear(second, [(0.0, 0.0), (-7.0, -2.0), (-REACH - 2, -3.0)], main=False))
            lay.flag = (0.9, -1.0, 0.0)
        elif line.param("twin") == "N":
            main = [(-1.0, -REACH), (0.0, 0.0), (0.5, 6.5), (1.0, REACH)]
            lay.add(Linear(second, [(0.0, 0.0), (7.0, -1.0), (REACH + 2, -2.0)], main=False))
            lay.add(Linear(second, [(0.5, 6.5), (-7.0, 8.0), (-REACH - 2, 9.0)], main=False))
            lay.flag = (-1.0, -0.9, 0.0)
        elif kind == "stream":
            main = [(-2.0, REACH), (1.0, 5.0), (0.0, 0.0), (-1.0, -7.0), (1.0, -REACH)]
            lay.add(Linear(second, [(0.0, 0.0), (-6.0, 2.0), (-REACH - 2, 3.0)], main=False))
            lay.flag = (1.0, -1.0, 0.0)
        else:
            main = [(-REACH, -1.0), (0.0, 0.0), (REACH, 1.5)]
            lay.add(Linear(second, [(0.0, 0.0), (1.5, 7.0), (3.5, REACH)], main=False))
            lay.flag = (1.2, -1.1, 0.0)
    elif what == "beneath":
        main = [(-REACH, -1.0), (REACH, 1.0)]
        lay.flag = (0.0, 0.0, 0.0)
        lay.beneath = True
    elif what in ("foot", "top") and kind == "stairway":
        # the steps climb the slope to the north; the site is at their lower or upper end
        if what == "foot":
            main = [(0.0, 0.0), (0.4, 7.0), (0.0, 14.0)]
            lay.flag = (-0.9, -0.6, 0.0)
        else:
            main = [(0.0, -14.0), (0.4, -7.0), (0.0, 0.0)]
            lay.flag = (-0.9, 0.6, h)
    elif what in ("foot-centre", "foot", "top") and kind in ("cliff", "bank"):
        main = [(-REACH, -0.5), (0.0, 0.0), (REACH, 0.8)]
        lay.flag = (0.0, -1.0, 0.0) if what != "top" else (0.0, 1.0, h)
        twin = line.param("twin")
        if twin:
            dy = -5.5 if twin == "lower" else 5.5
            lay.add(Linear(kind, [(-REACH, dy - 0.3), (-3.0, dy), (REACH * 0.6, dy + 0.8)],
                           h * 0.8, main=False))
    if main is None:
        raise ValueError(f"line {line.number}: flag {line.flag!r} does not fit a {kind}")
    lay.items.insert(0, Linear(kind, main, h))


def _relief(lay, line, what, d):
    kind = line.kind
    if kind == "hill":
        if what == "foot" and d is not None:
            lay.add(Relief("hill", (-d[0] * 8.5, -d[1] * 8.5), 8.0, 5.0))
            lay.flag = (d[0] * 0.3, d[1] * 0.3, 0.0)
        else:
            h = 2.0 if line.yes("low") else 5.0
            lay.add(Relief("hill", (0.0, 0.0), 8.0, h))
            lay.flag = (0.0, 0.0, h)
    elif kind in SLOPE_KINDS:
        # The circle is centred on the site: the feature is placed round it so that the site is
        # in the part that column G names (the upper part near the head of a re-entrant, the
        # foot at the lower end of a spur).
        if kind == "terrace":
            # the site in the middle of the shelf, between the two contours that part round it
            lay.add(Relief(kind, (0.0, 0.0), 6.0, 13.0))
        else:
            top = {"upper": 6.0, "lower": 20.0, "foot": 23.0}.get(what, 12.0)
            lay.add(Relief(kind, (0.0, top), 24.0, 3.5 if line.yes("shallow") else 7.0))
        lay.flag = (0.0, 0.0, 0.0)
    else:
        lay.add(Relief("saddle", (0.0, 0.0), 9.0, 4.0))
        lay.flag = (0.0, 0.0, 0.0)


def _special(lay, line, what, d):
    if line.kind == "bridge":
        lay.add(Linear("stream", [(-2.0, -REACH), (0.0, 0.0), (2.0, REACH)]))
        lay.add(Linear("path", [(-REACH, -1.0), (0.0, 0.0), (REACH, 1.0)], main=False))
        lay.flag = (0.3, -0.4, 0.0)
        lay.beneath = True
    elif line.kind == "passage":
        # two rock faces facing each other across a gap that runs north-south
        for sx in (-1, 1):
            lay.add(Linear("cliff", [(sx * 1.6, -7.0), (sx * 1.9, 0.0), (sx * 1.6, 7.0)], 3.0,
                           main=sx < 0))
        lay.flag = (0.0, -0.3, 0.0)
    elif line.kind == "tunnel":
        # a path passing under a road embankment from south to north; the site is at one end
        end = (d or DIRV["S"])[1]
        lay.add(Linear("path", [(0.3, -REACH), (0.0, 0.0), (-0.3, REACH)]))
        lay.add(Linear("road", [(-REACH, -end * 3.0 - 0.6), (REACH, -end * 3.0 + 0.6)],
                       main=False))
        lay.flag = (0.9, 0.0, 0.0)
    else:   # a crossing point: a gap with a stile in a fence, a path through it
        lay.add(Linear("fence", [(-REACH, -0.5), (REACH, 0.5)]))
        lay.add(Linear("path", [(-2.0, -REACH), (0.0, 0.0), (2.0, REACH)], main=False))
        lay.flag = (0.9, -0.8, 0.0)
