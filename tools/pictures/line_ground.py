# SPDX-License-Identifier: GPL-3.0-or-later
"""Ground sketches of the description lines (N pictures, 190 x 80): the feature as a runner sees
it, from the south and a little above, with the orange-and-white flag where column G puts it.

The view looks north: east is to the right, north is away from the viewer (up the picture), and a
small arrow marked N in the top left corner says so. Heights are drawn upwards. Things further
north are drawn first, so a boulder hides the lower part of a flag on its north side.

The situation comes from line_layout (units, origin = the control site); each kind of feature has
a scale in pixels per unit chosen so that the feature fills the sketch.
"""
import math
import random

import isom_draw as D
import line_layout as L

WIDTH, HEIGHT = 190, 80
KY, KZ = 0.42, 0.9          # depth foreshortening and height per unit, relative to the scale
HORIZON = 15.0

SKY = "#E4F1FA"
FOREST_FLOOR = "#DCE7C3"
OPEN_LAND = "#EFE3A0"
FAR_TREES = "#7FA877"
CONIFER = "#3E7A3E"
BROADLEAF = "#5C9A48"
TRUNK = "#6D4C41"
ROCK = "#A9A9A6"
ROCK_DARK = "#6F6F6C"
ROCK_LIGHT = "#CFCFCB"
EARTH = "#A88457"
EARTH_DARK = "#6E5233"
GRASS_MOUND = "#B3C27A"
WATER = "#74BDE9"
WATER_DARK = "#3F8FC4"
MARSH = "#C3DDCB"
REED = "#5B8B4B"
PATH = "#C7A46A"
ROAD = "#A09E9A"
SAND = "#ECDCA4"
PAVED = "#BDB6AA"
WALL = "#A39A8B"
WALL_TOP = "#C9C1B3"
HOUSE_WALL = "#E4D2B4"
HOUSE_SHADE = "#C8B394"
ROOF = "#8D5A4A"
WOOD = "#7A5A3C"
METAL = "#5E6166"
LINE_INK = "#3A3A3A"
FLAG_ORANGE = "#FF7A00"
FLAG_POLE = "#505050"

SCALE = {
    "boulder": 13, "cluster": 13, "pillar": 10, "knoll": 9, "tree": 9, "pylon": 5.5,
    "tower": 5, "platform": 11, "cairn": 16, "fodder": 14, "well": 16,
    "pit": 14, "smalldep": 12, "waterhole": 15, "depression": 10, "quarry": 8, "spring": 9,
    "relief": 5.2, "line": 5.6, "cliff": 6.2, "area": 5.6, "bridge": 8, "crossing": 7,
    "pipeline": 8, "building": 6.2, "ruin": 10,
    "anthill": 16, "tank": 13, "vegfeature": 12, "monument": 11, "specialx": 12, "specialo": 14,
    "cave": 9, "passage": 8, "tunnel": 6, "canopy": 7, "oob": 7, "charcoal": 11,
}
STONE = "#9A9A96"
SOIL = "#8A6A45"


def fmt(v):
    return D.fmt(v)


def poly_svg(points, fill, stroke="none", width=0.0, extra=""):
    d = D.path_data(points, True)
    s = f' stroke="{stroke}" stroke-width="{fmt(width)}" stroke-linejoin="round"' if stroke != "none" else ""
    return f'<path d="{d}" fill="{fill}"{s}{extra}/>'


def line_svg(points, stroke, width, cap="round", extra=""):
    return (f'<path d="{D.path_data(points)}" fill="none" stroke="{stroke}" '
            f'stroke-width="{fmt(width)}" stroke-linecap="{cap}" stroke-linejoin="round"{extra}/>')


def ellipse_svg(cx, cy, rx, ry, fill, stroke="none", width=0.0):
    s = f' stroke="{stroke}" stroke-width="{fmt(width)}"' if stroke != "none" else ""
    return (f'<ellipse cx="{fmt(cx)}" cy="{fmt(cy)}" rx="{fmt(max(rx, 0.1))}" '
            f'ry="{fmt(max(ry, 0.1))}" fill="{fill}"{s}/>')


class Sketch:
    def __init__(self, lay, scale, ground_y):
        self.lay = lay
        self.s = scale
        self.sx = scale         # pixels per unit across the view (east-west)
        self.ky = KY            # depth foreshortening
        self.gy = ground_y
        self.back = []          # sky, far trees, ground
        self.flat = []          # things lying on the ground
        self.items = []         # (depth, order, svg) for things that stand up
        self.top = []           # drawn last
        self.rng = random.Random(lay.line.number * 7 + 1)
        self.flag_at = None     # where the flag stands when the ground there is not level

    def P(self, x, y, z=0.0):
        return (WIDTH / 2 + self.sx * x, self.gy - self.s * self.ky * y - self.s * KZ * z)

    def Ps(self, pts, z=0.0):
        return [self.P(x, y, z) for x, y in pts]

    def stand(self, depth, svg):
        self.items.append((depth, len(self.items), svg))

    def svg(self):
        body = list(self.back) + list(self.flat)
        for _, _, s in sorted(self.items, key=lambda t: (-t[0], t[1])):
            body.append(s)
        body.extend(self.top)
        return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" '
                f'viewBox="0 0 {WIDTH} {HEIGHT}">\n' + "\n".join(body) + "\n</svg>\n")


# ---------------------------------------------------------------------------------------------
# Background, flag, north arrow

def background(sk, ground):
    floor = OPEN_LAND if ground == "open" else FOREST_FLOOR
    sk.back.append(f'<rect x="0" y="0" width="{WIDTH}" height="{HEIGHT}" fill="{floor}"/>')
    sk.back.append(f'<rect x="0" y="0" width="{WIDTH}" height="{fmt(HORIZON)}" fill="{SKY}"/>')
    rng = random.Random(sk.lay.line.number)
    x = -4.0
    crowns = []
    while x < WIDTH + 6:
        h = rng.uniform(7, 12) if ground == "forest" else rng.uniform(4, 7)
        w = rng.uniform(4, 7)
        crowns.append(poly_svg([(x - w, HORIZON + 2), (x, HORIZON + 2 - h), (x + w, HORIZON + 2)],
                               FAR_TREES))
        x += rng.uniform(5, 9) if ground == "forest" else rng.uniform(9, 22)
    sk.back.append(poly_svg([(0, HORIZON - 1), (WIDTH, HORIZON - 1), (WIDTH, HORIZON + 3),
                             (0, HORIZON + 3)], FAR_TREES))
    sk.back.extend(crowns)


def north_arrow(sk):
    x, y = 9.0, 5.0
    sk.top.append(poly_svg([(x - 7, 2), (x + 7, 2), (x + 7, 25), (x - 7, 25)], "#FFFFFF",
                           "#888888", 0.6, ' fill-opacity="0.8"'))
    sk.top.append(line_svg([(x, y + 18), (x, y + 8)], "#333333", 1.4))
    sk.top.append(poly_svg([(x, y + 5), (x + 3.2, y + 10), (x - 3.2, y + 10)], "#333333"))
    # the letter N
    sk.top.append(line_svg([(x - 2.5, y + 4), (x - 2.5, y - 2), (x + 2.5, y + 4), (x + 2.5, y - 2)],
                           "#333333", 1.1))


def flag_svg(sk, x, y, z=0.0, pole=None):
    """The control flag standing at (x, y, z): a stand with a square kite, white and orange."""
    bx, by = sk.P(x, y, z)
    if pole is None:
        pole = max(15.0, min(22.0, sk.s * 1.7))
    size = pole * 0.55
    top = by - pole
    out = [ellipse_svg(bx, by, size * 0.45, size * 0.12, "#000000\" fill-opacity=\"0.18")]
    out.append(line_svg([(bx, by), (bx, top)], FLAG_POLE, 1.3))
    kite = [(bx + 0.6, top), (bx + 0.6 + size, top), (bx + 0.6 + size, top + size),
            (bx + 0.6, top + size)]
    out.append(poly_svg(kite, "#FFFFFF", "#7A3A00", 0.6))
    out.append(poly_svg([kite[0], kite[1], kite[3]], FLAG_ORANGE))
    out.append(poly_svg(kite, "none", "#7A3A00", 0.6))
    return "".join(out)


def place_flag(sk, pole=None, depth_bias=0.0):
    x, y, z = sk.flag_at or sk.lay.flag
    sk.stand(y + depth_bias, flag_svg(sk, x, y, z, pole))


# ---------------------------------------------------------------------------------------------
# Trees, scattered trees

def tree_svg(sk, x, y, height_px, kind="conifer", z=0.0):
    bx, by = sk.P(x, y, z)
    h = height_px
    trunk = line_svg([(bx, by), (bx, by - h * 0.35)], TRUNK, max(1.2, h * 0.08), cap="butt")
    if kind == "conifer":
        w = h * 0.32
        crown = "".join(poly_svg([(bx - w * f, by - h * (0.2 + 0.25 * i)),
                                  (bx, by - h * (0.55 + 0.22 * i) - h * 0.1),
                                  (bx + w * f, by - h * (0.2 + 0.25 * i))], CONIFER)
                        for i, f in enumerate((1.0, 0.8, 0.6)))
    else:
        r = h * 0.3
        crown = "".join(ellipse_svg(bx + dx * r, by - h * 0.62 + dy * r, r * 0.75, r * 0.7,
                                    BROADLEAF)
                        for dx, dy in ((-0.5, 0.2), (0.5, 0.2), (0, -0.35), (0, 0.1)))
    return trunk + crown


def scatter_trees(sk, avoid, spacing=5.0, area=None, inside=False, min_y=-2.0, kind=None):
    """Trees on a jittered grid over the sketch, kept off `avoid` (list of (x, y, radius)) and,
    with an area, only outside it (or only inside with inside=True)."""
    rng = random.Random(sk.lay.line.number * 3 + 11)
    xs = (WIDTH / 2) / sk.s + 2
    y = min_y
    row = 0
    while sk.P(0, y)[1] > HORIZON + 6:
        x = -xs + (spacing / 2 if row % 2 else 0.0)
        while x < xs:
            px_, py_ = x + rng.uniform(-1, 1) * spacing * 0.3, y + rng.uniform(-1, 1) * spacing * 0.3
            ok = all(math.hypot(px_ - ax, py_ - ay) > ar for ax, ay, ar in avoid)
            if area is not None:
                ok = ok and (D.inside((px_, py_), area) == inside)
            if ok:
                h = min(28.0, max(12.0, sk.s * 3.2)) * rng.uniform(0.85, 1.1)
                k = kind or ("conifer" if rng.random() < 0.6 else "broad")
                sk.stand(py_, tree_svg(sk, px_, py_, h, k))
            x += spacing
        y += spacing * 0.8
        row += 1


# ---------------------------------------------------------------------------------------------
# Standing features

def dome(sk, x, y, r, h, fill, stroke, seed, lumpy=0.08, shadow=True):
    rng = random.Random(seed)
    bumps = [rng.uniform(-lumpy, lumpy) for _ in range(7)]
    top = []
    n = 24
    for i in range(n + 1):
        t = math.pi * i / n
        k = 1 + bumps[i % 7] * math.sin(t)
        top.append(sk.P(x + r * math.cos(t) * k, y, h * math.sin(t) ** 0.75 * (1 + bumps[(i + 3) % 7])))
    base = [sk.P(x + r * math.cos(t), y + r * math.sin(t) * 0.9) for t in
            [math.pi + math.pi * i / 12 for i in range(13)]]
    out = []
    if shadow:
        cx, cy = sk.P(x + r * 0.15, y - r * 0.1)
        out.append(ellipse_svg(cx, cy, r * sk.s * 1.1, r * sk.s * KY * 1.0,
                               "#000000\" fill-opacity=\"0.12"))
    out.append(poly_svg(top + base[1:-1], fill, stroke, 0.8))
    return "".join(out)


def boulder(sk, it, seed):
    x, y = it.at
    out = dome(sk, x, y, it.r, it.h, ROCK, ROCK_DARK, seed, 0.1)
    # a lit face and a crack
    hx, hy = sk.P(x - it.r * 0.35, y, it.h * 0.7)
    out += ellipse_svg(hx, hy, it.r * sk.s * 0.28, it.h * sk.s * KZ * 0.12, ROCK_LIGHT)
    out += line_svg([sk.P(x + it.r * 0.2, y, it.h * 0.8), sk.P(x + it.r * 0.3, y, it.h * 0.35),
                     sk.P(x + it.r * 0.15, y, 0.05)], ROCK_DARK, 0.7)
    sk.stand(y, out)


def knoll(sk, it, seed):
    x, y = it.at
    out = dome(sk, x, y, it.r, it.h * 1.9, GRASS_MOUND, "#7F8F4A", seed, 0.04)
    # a lighter upper slope gives the mound its roundness
    out += dome(sk, x - it.r * 0.12, y + 0.05, it.r * 0.55, it.h * 1.65, "#C5D28E", "none", seed,
                0.02, shadow=False)
    if sk.lay.line.yes("rocky") and it.main:
        rng = random.Random(seed)
        for _ in range(7):
            a = rng.uniform(0.15, 0.85) * math.pi
            rr = rng.uniform(0.2, 0.85)
            sx, sy = sk.P(x + it.r * rr * math.cos(a), y, it.h * 1.9 * (1 - rr * rr) ** 0.5 * 0.9)
            out += ellipse_svg(sx, sy, 2.6, 1.6, ROCK, ROCK_DARK, 0.5)
    sk.stand(y, out)


def pillar(sk, it, seed):
    x, y = it.at
    r, h = it.r, it.h
    rng = random.Random(seed)
    left = [sk.P(x - r * (1 - 0.3 * t) + rng.uniform(-0.1, 0.1), y, h * t) for t in
            (0, 0.25, 0.5, 0.75, 1.0)]
    right = [sk.P(x + r * (1 - 0.25 * t) + rng.uniform(-0.1, 0.1), y, h * t) for t in
             (1.0, 0.75, 0.5, 0.25, 0)]
    cx, cy = sk.P(x, y)
    out = ellipse_svg(cx + 2, cy, r * sk.s * 1.2, r * sk.s * KY, "#000000\" fill-opacity=\"0.12")
    out += poly_svg(left + right, ROCK, ROCK_DARK, 0.8)
    out += line_svg([sk.P(x + r * 0.2, y, h * 0.9), sk.P(x + r * 0.1, y, h * 0.5),
                     sk.P(x + r * 0.3, y, h * 0.15)], ROCK_DARK, 0.7)
    out += line_svg([sk.P(x - r * 0.4, y, h * 0.85), sk.P(x - r * 0.5, y, h * 0.45)], ROCK_LIGHT, 1.2)
    sk.stand(y, out)


def tree(sk, it, seed):
    x, y = it.at
    needle = sk.lay.line.yes("needle")
    bx, by = sk.P(x, y)
    h = it.h * sk.s * KZ * 0.82
    trunk = it.r * sk.s * 1.3          # a prominent tree has a stout trunk that can hide a flag
    out = ellipse_svg(bx + 2, by, 10, 3, "#000000\" fill-opacity=\"0.12")
    out += line_svg([(bx, by), (bx, by - h * (0.6 if needle else 0.45))], TRUNK, trunk, cap="butt")
    if needle:
        for i, f in enumerate((1.0, 0.78, 0.56)):
            w = h * 0.36 * f
            out += poly_svg([(bx - w, by - h * (0.5 + 0.17 * i)), (bx, by - h * (0.78 + 0.12 * i)),
                             (bx + w, by - h * (0.5 + 0.17 * i))], CONIFER)
    else:
        r = h * 0.3
        for dx, dy in ((-0.55, 0.15), (0.55, 0.15), (0, -0.4), (-0.25, -0.1), (0.3, -0.05)):
            out += ellipse_svg(bx + dx * r, by - h * 0.68 + dy * r, r * 0.78, r * 0.68, BROADLEAF,
                               "#3F7A32", 0.5)
    sk.stand(y, out)


def pylon(sk, it, seed):
    """A lattice pylon on four legs: the face towards the viewer and the face behind it are
    drawn at their own depths, so a flag north of the pylon stands behind both."""
    x, y = it.at
    h = it.h
    for face in (0.9, -0.9):
        out = ""
        for sx in (-1, 1):
            out += line_svg([sk.P(x + sx * 0.9, y + face), sk.P(x + sx * 0.2, y + face * 0.2, h)],
                            METAL, 1.4)
        for k in range(4):
            z0, z1 = h * k / 4, h * (k + 1) / 4
            w0, w1 = 0.9 - 0.7 * k / 4, 0.9 - 0.7 * (k + 1) / 4
            f0, f1 = face * (1 - 0.8 * k / 4), face * (1 - 0.8 * (k + 1) / 4)
            out += line_svg([sk.P(x - w0, y + f0, z0), sk.P(x + w1, y + f1, z1)], METAL, 0.6)
            out += line_svg([sk.P(x + w0, y + f0, z0), sk.P(x - w1, y + f1, z1)], METAL, 0.6)
        sk.stand(y + face, out)
    out = line_svg([sk.P(x - 2.2, y, h * 0.92), sk.P(x + 2.2, y, h * 0.92)], METAL, 1.4)
    for sx in (-1, 1):
        out += line_svg([sk.P(x + sx * 2.0, y, h * 0.9), sk.P(x + sx * 20, y - 2, h * 0.75)],
                        LINE_INK, 0.6)
    sk.top.append(out)


def tower(sk, it, seed):
    x, y = it.at
    h = it.h
    out = ""
    for sx in (-1, -0.35, 0.35, 1):
        out += line_svg([sk.P(x + sx * 1.2, y), sk.P(x + sx * 0.55, y, h * 0.85)], WOOD, 1.3)
    for k in range(1, 4):
        z = h * 0.85 * k / 4
        w = 1.2 - 0.65 * k / 4
        out += line_svg([sk.P(x - w, y, z), sk.P(x + w, y, z)], WOOD, 0.8)
    deck = [sk.P(x - 0.9, y, h * 0.85), sk.P(x + 0.9, y, h * 0.85), sk.P(x + 0.9, y, h),
            sk.P(x - 0.9, y, h)]
    out += poly_svg(deck, "#B08A5E", WOOD, 0.8)
    out += poly_svg([sk.P(x - 1.1, y, h), sk.P(x + 1.1, y, h), sk.P(x, y, h * 1.1)], ROOF)
    sk.stand(y, out)


def platform(sk, it, seed):
    x, y = it.at
    h = it.h
    out = ""
    for sx, sy in ((-1, 0.8), (1, 0.8)):
        out += line_svg([sk.P(x + sx * 1.1, y + sy), sk.P(x + sx * 0.7, y + sy * 0.6, h)], WOOD, 1.4)
    cab = [sk.P(x - 0.95, y, h), sk.P(x + 0.95, y, h), sk.P(x + 0.95, y, h + 1.3),
           sk.P(x - 0.95, y, h + 1.3)]
    front = ""
    for sx, sy in ((-1, -0.8), (1, -0.8)):
        front += line_svg([sk.P(x + sx * 1.1, y + sy), sk.P(x + sx * 0.75, y + sy * 0.6, h)], WOOD, 1.6)
    # ladder on the south side
    front += line_svg([sk.P(x - 0.3, y - 2.0), sk.P(x - 0.25, y - 0.7, h)], WOOD, 1.0)
    front += line_svg([sk.P(x + 0.3, y - 2.0), sk.P(x + 0.35, y - 0.7, h)], WOOD, 1.0)
    for k in range(1, 5):
        t = k / 5
        front += line_svg([sk.P(x - 0.3 + 0.05 * t, y - 2.0 + 1.3 * t, h * t),
                           sk.P(x + 0.3 + 0.05 * t, y - 2.0 + 1.3 * t, h * t)], WOOD, 0.7)
    roof = [sk.P(x - 1.2, y, h + 1.3), sk.P(x + 1.2, y, h + 1.3), sk.P(x, y, h + 2.0)]
    sk.stand(y + 0.8, out)
    sk.stand(y - 0.9, poly_svg(cab, "#A47A50", WOOD, 0.8) + poly_svg(roof, ROOF) + front)


def cairn(sk, it, seed):
    x, y = it.at
    out = ""
    rng = random.Random(seed)
    rows = ((4, 0.0), (3, 0.3), (2, 0.6), (1, 0.88))
    for n, z in rows:
        w = it.r * (1 - z * 0.7)
        for k in range(n):
            sx = x - w + (2 * w) * (k + 0.5) / n
            cx, cy = sk.P(sx + rng.uniform(-0.05, 0.05), y, z * it.h + 0.12)
            out += ellipse_svg(cx, cy, w * sk.s / n * 1.05, 0.2 * sk.s, ROCK, ROCK_DARK, 0.6)
    sk.stand(y, out)


def fodder(sk, it, seed):
    x, y = it.at
    out = ""
    for sx in (-1, 1):
        out += line_svg([sk.P(x + sx * 0.8, y), sk.P(x + sx * 0.8, y, 1.7)], WOOD, 1.6)
    out += poly_svg([sk.P(x - 0.8, y, 1.5), sk.P(x + 0.8, y, 1.5), sk.P(x + 0.5, y, 0.7),
                     sk.P(x - 0.5, y, 0.7)], "#C9B27A", WOOD, 0.8)
    for k in range(5):
        t = -0.6 + 1.2 * k / 4
        out += line_svg([sk.P(x + t, y, 1.5), sk.P(x + t * 0.62, y, 0.7)], WOOD, 0.6)
    out += poly_svg([sk.P(x - 1.1, y, 1.7), sk.P(x + 1.1, y, 1.7), sk.P(x, y, 2.3)], ROOF)
    sk.stand(y, out)


def well(sk, it, seed):
    x, y = it.at
    r, h = it.r, 0.8
    cx, cy = sk.P(x, y)
    tx, ty = sk.P(x, y, h)
    rx, ry = r * sk.s, r * sk.s * KY
    body = poly_svg([(cx - rx, ty), (cx - rx, cy), (cx + rx, cy), (cx + rx, ty)], WALL, WALL, 0.1)
    out = ellipse_svg(cx, cy, rx, ry, WALL, "#6F675C", 0.7) + body
    out += ellipse_svg(tx, ty, rx, ry, WALL_TOP, "#6F675C", 0.7)
    out += ellipse_svg(tx, ty, rx * 0.72, ry * 0.72, "#2E4D63")
    for sx in (-1, 1):
        out += line_svg([sk.P(x + sx * r * 0.9, y, h), sk.P(x + sx * r * 0.9, y, h + 1.6)], WOOD, 1.2)
    out += poly_svg([sk.P(x - r * 1.2, y, h + 1.5), sk.P(x + r * 1.2, y, h + 1.5),
                     sk.P(x, y, h + 2.3)], ROOF)
    sk.stand(y, out)


def anthill(sk, it, seed):
    x, y = it.at
    out = dome(sk, x, y, it.r, it.h, "#A07E55", "#6E5233", seed, 0.06)
    rng = random.Random(seed)
    for _ in range(30):
        a, rr = rng.uniform(0.1, 0.9) * math.pi, rng.uniform(0.05, 0.9)
        px_, py_ = sk.P(x + it.r * rr * math.cos(a), y, it.h * (1 - rr * rr) ** 0.5 * 0.9)
        out += ellipse_svg(px_, py_, 0.5, 0.4, "#5B4327")
    sk.stand(y, out)


def tank(sk, it, seed):
    """A water trough: a long box of concrete with water in it."""
    x, y = it.at
    w, d, h = it.r, it.r * 0.5, it.h
    top = [sk.P(x - w, y - d, h), sk.P(x + w, y - d, h), sk.P(x + w, y + d, h),
           sk.P(x - w, y + d, h)]
    front = [sk.P(x - w, y - d), sk.P(x + w, y - d), sk.P(x + w, y - d, h), sk.P(x - w, y - d, h)]
    inner = [sk.P(x - w * 0.85, y - d * 0.7, h), sk.P(x + w * 0.85, y - d * 0.7, h),
             sk.P(x + w * 0.85, y + d * 0.7, h), sk.P(x - w * 0.85, y + d * 0.7, h)]
    sk.stand(y, poly_svg(front, "#B7B3AA", "#6F6B63", 0.6) + poly_svg(top, "#D3D0C8", "#6F6B63", 0.6)
             + poly_svg(inner, WATER, WATER_DARK, 0.5))


def vegfeature(sk, it, seed):
    """An upturned root plate: the trunk lies on the ground going away, the plate of roots and
    earth stands up at its foot."""
    x, y = it.at
    r, h = it.r, it.h
    trunk = [sk.P(x - 0.25, y + 0.2, 0.5), sk.P(x + 0.6, y + 7.0, 0.4), sk.P(x + 1.1, y + 7.0, 0.4),
             sk.P(x + 0.35, y + 0.2, 0.5)]
    sk.stand(y + 3.5, poly_svg(trunk, "#8B6B4A", TRUNK, 0.6))
    cx, cy = sk.P(x, y, h * 0.5)
    out = ellipse_svg(cx, cy, r * sk.s, h * sk.s * KZ * 0.55, "#7A5A3A", "#4E3A26", 0.7)
    rng = random.Random(seed)
    for k in range(9):
        a = math.pi * 2 * k / 9 + rng.uniform(-0.2, 0.2)
        out += line_svg([(cx + math.cos(a) * r * sk.s * 0.6, cy + math.sin(a) * h * sk.s * KZ * 0.3),
                         (cx + math.cos(a) * r * sk.s * 1.25, cy + math.sin(a) * h * sk.s * KZ * 0.7)],
                        "#4E3A26", 0.9)
    sk.stand(y, out)


def monument(sk, it, seed):
    """A stone column on a pedestal."""
    x, y = it.at
    r, h = it.r, it.h
    base = [sk.P(x - r, y), sk.P(x + r, y), sk.P(x + r, y, h * 0.25), sk.P(x - r, y, h * 0.25)]
    shaft = [sk.P(x - r * 0.4, y, h * 0.25), sk.P(x + r * 0.4, y, h * 0.25),
             sk.P(x + r * 0.25, y, h * 0.95), sk.P(x, y, h), sk.P(x - r * 0.25, y, h * 0.95)]
    cx, cy = sk.P(x + 0.2, y - 0.1)
    sk.stand(y, ellipse_svg(cx, cy, r * sk.s * 1.3, r * sk.s * KY, "#000000\" fill-opacity=\"0.12")
             + poly_svg(base, "#B9B6AE", "#6F6B63", 0.6) + poly_svg(shaft, "#CFCCC4", "#6F6B63", 0.6))


def specialx(sk, it, seed):
    """An old farm cart: a wooden box on two wheels, its shaft on the ground."""
    x, y = it.at
    r, h = it.r, it.h
    box = [sk.P(x - r, y, h * 0.45), sk.P(x + r, y, h * 0.45), sk.P(x + r, y, h),
           sk.P(x - r, y, h)]
    out = poly_svg(box, "#A0784E", WOOD, 0.7)
    for k in range(1, 4):
        out += line_svg([sk.P(x - r, y, h * (0.45 + 0.55 * k / 4)), sk.P(x + r, y, h * (0.45 + 0.55 * k / 4))],
                        WOOD, 0.5)
    out += line_svg([sk.P(x + r, y, h * 0.5), sk.P(x + r * 2.2, y - 0.3)], WOOD, 1.2)
    for sx in (-0.5, 0.5):
        wx, wy = sk.P(x + sx * r, y, h * 0.3)
        out += ellipse_svg(wx, wy, h * 0.3 * sk.s * KZ, h * 0.3 * sk.s * KZ, "none", "#4E3A26", 1.2)
    sk.stand(y, out)


def specialo(sk, it, seed):
    """A ring of stones round an old fireplace, lying on the ground."""
    x, y = it.at
    out = ""
    cx, cy = sk.P(x, y)
    out += ellipse_svg(cx, cy, it.r * sk.s * 0.8, it.r * sk.s * KY * 0.8, "#5A5148")
    for k in range(14):
        a = 2 * math.pi * k / 14
        px_, py_ = sk.P(x + it.r * math.cos(a), y + it.r * math.sin(a), 0.1)
        out += ellipse_svg(px_, py_, 2.2, 1.4, STONE, ROCK_DARK, 0.5)
    sk.flat.append(out)


def cave(sk, it, seed):
    """A rock outcrop in the slope with the dark mouth of a cave in its south face."""
    x, y = it.at
    out = dome(sk, x, y + 0.8, it.r * 1.6, it.h, ROCK, ROCK_DARK, seed, 0.12)
    mx, my = sk.P(x, y - 0.2, it.h * 0.28)
    out += ellipse_svg(mx, my, it.r * sk.s * 0.45, it.h * sk.s * KZ * 0.3, "#2B2622")
    sk.stand(y + 0.8, out)


POINT_DRAW = {"boulder": boulder, "knoll": knoll, "pillar": pillar, "tree": tree,
              "pylon": pylon, "tower": tower, "platform": platform, "cairn": cairn,
              "fodder": fodder, "well": well, "anthill": anthill, "tank": tank,
              "vegfeature": vegfeature, "monument": monument, "specialx": specialx,
              "specialo": specialo, "cave": cave}


def point(sk, it, seed):
    if it.kind == "cluster":
        for k, (dx, dy, f) in enumerate(((-0.7, 0.5, 0.8), (0.6, 0.6, 0.7), (0.0, -0.3, 1.0),
                                         (-0.9, -0.5, 0.55))):
            sub = L.Point("boulder", (it.at[0] + dx * it.r * 0.7, it.at[1] + dy * it.r * 0.7),
                          it.r * 0.42 * f + 0.15, it.h * f, it.main)
            boulder(sk, sub, seed + k)
        return
    POINT_DRAW[it.kind](sk, it, seed)


# ---------------------------------------------------------------------------------------------
# Sunk features

def hole(sk, it, seed):
    x, y = it.at
    rx, ry = it.r * sk.s, it.r * sk.s * KY
    if it.long:
        ry *= 0.6
    cx, cy = sk.P(x, y)
    kind = it.kind
    out = []
    if kind in ("smalldep", "depression"):
        sandy = sk.lay.line.yes("sandy")
        out.append(ellipse_svg(cx, cy, rx * 1.08, ry * 1.08, "#C9D7A8" if not sandy else "#E6D39A"))
        out.append(ellipse_svg(cx, cy + ry * 0.12, rx * 0.8, ry * 0.7, "#B9C896" if not sandy else SAND))
        # the lit far slope
        out.append(poly_svg(_crescent(cx, cy, rx * 0.95, ry * 0.9, 0.5), "#E8EED5" if not sandy
                            else "#F5EAC2"))
        if sandy:
            rng = random.Random(seed)
            for _ in range(40):
                a, rr = rng.uniform(0, 2 * math.pi), rng.uniform(0, 0.8) ** 0.5
                out.append(ellipse_svg(cx + rx * rr * math.cos(a), cy + ry * rr * math.sin(a),
                                       0.5, 0.4, "#B89C5C"))
    elif kind in ("pit", "waterhole"):
        rocky = sk.lay.line.yes("rocky")
        rim = ROCK if rocky else EARTH
        out.append(ellipse_svg(cx, cy, rx * 1.25, ry * 1.3, rim))
        deep = sk.lay.line.yes("deep") and it.main
        out.append(ellipse_svg(cx, cy, rx, ry, "#3B2A1C" if deep else "#5A4330"))
        out.append(poly_svg(_crescent(cx, cy, rx, ry, 0.55), "#8A6A48" if not rocky else ROCK_DARK))
        if kind == "waterhole":
            out.append(ellipse_svg(cx, cy + ry * 0.25, rx * 0.7, ry * 0.55, WATER, WATER_DARK, 0.6))
        if rocky:
            rng = random.Random(seed)
            for k in range(9):
                a = 2 * math.pi * k / 9 + rng.uniform(-0.2, 0.2)
                out.append(ellipse_svg(cx + rx * 1.15 * math.cos(a), cy + ry * 1.2 * math.sin(a),
                                       2.4, 1.5, ROCK_LIGHT, ROCK_DARK, 0.5))
    elif kind == "quarry":
        out.append(ellipse_svg(cx, cy, rx * 1.06, ry * 1.1, EARTH))
        out.append(ellipse_svg(cx, cy, rx, ry, SAND))
        # the quarry face: the far wall seen from the south, with the rim above it
        face = [(cx - rx + rx * (1 - math.cos(t)), cy - ry * math.sin(t))
                for t in [math.pi * i / 24 for i in range(25)]]
        depth = it.depth * sk.s * KZ * 0.55
        wall = face + [(px_, py_ + depth * math.sin(math.pi * i / 24))
                       for i, (px_, py_) in reversed(list(enumerate(face)))]
        out.append(poly_svg(wall, ROCK, ROCK_DARK, 0.7))
        for i in range(3, 22, 3):
            px_, py_ = face[i]
            out.append(line_svg([(px_, py_ + 1), (px_ + 1, py_ + depth * math.sin(math.pi * i / 24) - 1)],
                                ROCK_DARK, 0.6))
    elif kind == "spring":
        out.append(ellipse_svg(cx, cy, rx * 1.4, ry * 1.5, EARTH))
        out.append(ellipse_svg(cx, cy, rx, ry, WATER, WATER_DARK, 0.6))
    sk.flat.append("".join(out))


def _crescent(cx, cy, rx, ry, thick):
    """The far half of an ellipse's inside: the slope of a hole that faces the viewer."""
    outer = [(cx + rx * math.cos(t), cy + ry * math.sin(t)) for t in
             [math.pi + math.pi * i / 20 for i in range(21)]]
    inner = [(cx + rx * 0.92 * math.cos(t), cy - ry * (1 - thick) + ry * thick * 0.9 * math.sin(t))
             for t in [2 * math.pi - math.pi * i / 20 for i in range(21)]]
    return outer + inner


# ---------------------------------------------------------------------------------------------
# Areas

def area(sk, it, seed):
    kind = it.kind
    pts = sk.Ps(it.poly)
    rng = random.Random(seed)
    if kind in ("open", "clearing"):
        sk.flat.append(poly_svg(pts, OPEN_LAND))
    elif kind == "marsh":
        sk.flat.append(poly_svg(pts, MARSH))
        sk.flat.append(_reeds(sk, it.poly, rng))
    elif kind == "firm":
        sk.flat.append(poly_svg(pts, "#CFDDA0", "#9FB26A", 0.6))
    elif kind in ("pond", "lake"):
        sk.flat.append(poly_svg(pts, WATER, WATER_DARK, 1.0))
        sk.flat.append(_ripples(sk, it.poly, rng))
    elif kind == "barerock":
        sk.flat.append(poly_svg(pts, ROCK_LIGHT, ROCK_DARK, 0.6))
        for p, q in _random_cracks(it.poly, rng, 10):
            sk.flat.append(line_svg(sk.Ps([p, q]), ROCK_DARK, 0.6))
    elif kind == "sandy":
        sk.flat.append(poly_svg(pts, SAND))
        for x, y in D.scatter(it.poly, 0.9, rng):
            px_, py_ = sk.P(x, y)
            sk.flat.append(ellipse_svg(px_, py_, 0.5, 0.35, "#B89C5C"))
    elif kind == "paved":
        sk.flat.append(poly_svg(pts, PAVED, "#7E776C", 0.8))
        for k in range(-3, 4):
            x = k * 1.6
            seg = D.clip_segment((x, -20), (x + 0.8, 20), it.poly)
            for p, q in seg:
                sk.flat.append(line_svg(sk.Ps([p, q]), "#F2F0EA", 0.6))
    elif kind == "boulderfield":
        for k, (x, y) in enumerate(D.scatter(it.poly, 1.9, rng, margin_px=0.4)):
            r = rng.uniform(0.35, 0.7)
            boulder(sk, L.Point("boulder", (x, y), r, r * 0.9), seed + k)
    elif kind == "thicket":
        sk.flat.append(poly_svg(pts, "#6F9B52"))
        pts_in = D.lattice(it.poly, 1.25, 0) + [p for p in it.poly[::3]]
        for k, (x, y) in enumerate(pts_in):
            bx, by = sk.P(x, y, it.h * rng.uniform(0.6, 0.9))
            r = sk.s * rng.uniform(0.85, 1.15)
            sk.stand(y, ellipse_svg(bx, by + r * 0.3, r, r * 0.75, ["#4E7F3A", "#5E9146", "#45733A"][k % 3],
                                    "#355E2A", 0.4))
    elif kind == "copse":
        fx, fy, _ = sk.lay.flag
        for k, (x, y) in enumerate(D.scatter(it.poly, 2.6, rng, margin_px=0.6)):
            if abs(x - fx) < 1.8 and y < fy + 1.0:
                continue        # leave the view onto the flag open
            sk.stand(y, tree_svg(sk, x, y, 30 * rng.uniform(0.85, 1.1), "broad"))
    elif kind == "building":
        building(sk, it)
    elif kind == "ruin":
        ruin(sk, it, rng)
    elif kind in ("semiopen", "forestcorner"):
        if kind == "semiopen":
            sk.flat.append(poly_svg(pts, OPEN_LAND))
    elif kind == "brokenground":
        for x, y in D.scatter(it.poly, 1.3, rng, margin_px=0.3):
            bx, by = sk.P(x, y)
            pit = rng.random() < 0.4
            sk.flat.append(ellipse_svg(bx, by, sk.s * 0.55, sk.s * 0.22,
                                       "#9E8A5E" if pit else "#C2CE98", "#8A7A52", 0.4))
    elif kind == "stony":
        for x, y in D.scatter(it.poly, 0.8, rng, margin_px=0.2):
            bx, by = sk.P(x, y)
            sk.flat.append(ellipse_svg(bx, by, rng.uniform(0.9, 1.6), rng.uniform(0.6, 1.0), STONE,
                                       ROCK_DARK, 0.3))
    elif kind == "oob":
        flower_bed(sk, it, rng)
    elif kind == "canopy":
        canopy(sk, it)
    elif kind == "charcoal":
        sk.flat.append(poly_svg(pts, "#6B5B4B", "#4A3D30", 0.7))
        inner = D.blob(0, 0, 1.9, 1.5, 0.05, seed)
        sk.flat.append(poly_svg(sk.Ps(inner), "#4D4238"))
    else:
        raise ValueError(kind)


def flower_bed(sk, it, rng):
    """A bed of flowers with a low kerb: out of bounds."""
    sk.flat.append(poly_svg(sk.Ps(it.poly), "#7C5A3A", "#B8B2A6", 1.6))
    for x, y in D.scatter(it.poly, 0.55, rng, margin_px=0.3):
        bx, by = sk.P(x, y)
        colour = ("#D7263D", "#F2C14E", "#F78154", "#B370B0")[rng.randrange(4)]
        sk.stand(y, line_svg([(bx, by), (bx, by - 2.2)], "#4F7A3A", 0.6) +
                 ellipse_svg(bx, by - 2.6, 1.1, 0.9, colour))


def canopy(sk, it):
    """A roof on four pillars over paved ground: you can run under it."""
    xs = [p[0] for p in it.poly]
    ys = [p[1] for p in it.poly]
    x0, x1, y0, y1 = min(xs), max(xs), min(ys), max(ys)
    sk.flat.append(poly_svg(sk.Ps([(x0 - 3, y0 - 3), (x1 + 3, y0 - 3), (x1 + 3, y1 + 3),
                                   (x0 - 3, y1 + 3)]), PAVED, "#7E776C", 0.6))
    for px_, py_ in ((x0, y1), (x1, y1), (x0, y0), (x1, y0)):
        sk.stand(py_, line_svg([sk.P(px_, py_), sk.P(px_, py_, it.h)], "#8C8880", 2.2, cap="butt"))
    roof = sk.Ps([(x0 - 0.4, y0 - 0.4), (x1 + 0.4, y0 - 0.4), (x1 + 0.4, y1 + 0.4),
                  (x0 - 0.4, y1 + 0.4)], it.h)
    edge = [sk.P(x0 - 0.4, y0 - 0.4, it.h), sk.P(x1 + 0.4, y0 - 0.4, it.h),
            sk.P(x1 + 0.4, y0 - 0.4, it.h - 0.35), sk.P(x0 - 0.4, y0 - 0.4, it.h - 0.35)]
    # the roof is drawn see-through, so that what stands under it stays in sight
    sk.top.append(poly_svg(roof, "#9DA3A8", "#5E6166", 0.6, ' fill-opacity="0.45"')
                  + poly_svg(edge, "#7D8389", "#5E6166", 0.6))


def _reeds(sk, poly, rng):
    out = []
    for x, y in D.scatter(poly, 1.6, rng, margin_px=0.3):
        bx, by = sk.P(x, y)
        for dx in (-1.6, 0, 1.6):
            out.append(line_svg([(bx + dx * 0.4, by), (bx + dx, by - 4.5)], REED, 0.7))
    for x, y in D.scatter(poly, 4.0, rng, margin_px=1.0):
        bx, by = sk.P(x, y)
        out.append(ellipse_svg(bx, by + 1, 3.0, 0.9, "#9CCBE3"))
    return "".join(out)


def _ripples(sk, poly, rng):
    out = []
    for x, y in D.scatter(poly, 3.0, rng, margin_px=0.8):
        bx, by = sk.P(x, y)
        out.append(line_svg([(bx - 3, by), (bx + 3, by)], "#B6DDF4", 0.7))
    return "".join(out)


def _random_cracks(poly, rng, n):
    out = []
    for x, y in D.scatter(poly, 2.5, rng, margin_px=0.5)[:n]:
        a = rng.uniform(0, math.pi)
        out.append(((x, y), (x + math.cos(a) * 1.2, y + math.sin(a) * 1.2)))
    return out


def _wall_depth(p, q, x):
    """How far north a wall is where it passes x (or at its nearest end): what a flag at x must
    be compared with to tell whether it stands in front of the wall or behind it."""
    (x0, y0), (x1, y1) = p, q
    if abs(x1 - x0) < 1e-9:
        return (y0 + y1) / 2
    t = max(0.0, min(1.0, (x - x0) / (x1 - x0)))
    return y0 + (y1 - y0) * t


def building(sk, it):
    """An upright block on its ground outline: each wall that faces the viewer is drawn at its own
    depth (so a flag in an inner corner stands in front of the walls behind it), the roof last."""
    poly = it.poly
    n = len(poly)
    ccw = sum(poly[i][0] * poly[(i + 1) % n][1] - poly[(i + 1) % n][0] * poly[i][1]
              for i in range(n)) > 0
    nearest = min(p[1] for p in poly)
    for i in range(n):
        p, q = poly[i], poly[(i + 1) % n]
        ex, ey = q[0] - p[0], q[1] - p[1]
        nx, ny = (ey, -ex) if ccw else (-ey, ex)        # outward normal (x east, y north)
        if ny >= 0:
            continue                                    # faces north, away from the viewer
        colour = HOUSE_WALL if abs(nx) < abs(ny) else HOUSE_SHADE
        quad = [sk.P(*p), sk.P(*q), sk.P(q[0], q[1], it.h), sk.P(p[0], p[1], it.h)]
        sk.stand(_wall_depth(p, q, sk.lay.flag[0]), poly_svg(quad, colour, "#4F3A30", 0.7))
    sk.stand(nearest - 0.01, poly_svg(sk.Ps(poly, it.h), ROOF, "#4F3A30", 0.7))


def ruin(sk, it, rng):
    n = len(it.poly)
    overgrown = sk.lay.line.yes("overgrown")
    if overgrown:
        sk.flat.append(poly_svg(sk.Ps(it.poly), "#A9C27F"))
    for i in range(n):
        p, q = it.poly[i], it.poly[(i + 1) % n]
        length = math.dist(p, q)
        steps = max(2, int(length / 0.9))
        for k in range(steps):
            if rng.random() < 0.22:
                continue            # a gap in the broken wall
            a = (p[0] + (q[0] - p[0]) * k / steps, p[1] + (q[1] - p[1]) * k / steps)
            b = (p[0] + (q[0] - p[0]) * (k + 1) / steps, p[1] + (q[1] - p[1]) * (k + 1) / steps)
            h = it.h * rng.uniform(0.45, 1.0)
            quad = [sk.P(*a), sk.P(*b), sk.P(b[0], b[1], h), sk.P(a[0], a[1], h)]
            sk.stand((a[1] + b[1]) / 2, poly_svg(quad, WALL, "#6F675C", 0.6))
    if overgrown:
        for x, y in D.scatter(it.poly, 1.6, rng):
            bx, by = sk.P(x, y, 0.5)
            sk.stand(y, ellipse_svg(bx, by, sk.s * 0.7, sk.s * 0.5, "#5E9146", "#355E2A", 0.4))


# ---------------------------------------------------------------------------------------------
# Line features

def band(sk, pts, width, z=0.0):
    """A strip of the given width (units) along a line, as a screen polygon."""
    dense = D.smooth(pts, steps=8) if len(pts) > 2 else pts
    left = D.offset(dense, width / 2)
    right = D.offset(dense, -width / 2)
    return sk.Ps(left, z) + sk.Ps(right[::-1], z), dense


def linear(sk, it, seed):
    kind = it.kind
    ruined = sk.lay.line.yes("ruined") and it.main
    rng = random.Random(seed)
    if kind == "path":
        poly, _ = band(sk, it.pts, 1.0)
        sk.flat.append(poly_svg(poly, PATH, "#A9844C", 0.5))
    elif kind == "road":
        poly, dense = band(sk, it.pts, 3.2)
        sk.flat.append(poly_svg(poly, ROAD, "#6E6C68", 0.8))
        sk.flat.append(line_svg(sk.Ps(dense), "#F4F2EC", 0.8, extra=' stroke-dasharray="4 4"'))
    elif kind == "railway":
        poly, dense = band(sk, it.pts, 2.6)
        sk.flat.append(poly_svg(poly, "#B5A992"))
        for (x, y), t in D.stations(dense, 0.9):
            n = D.normal(t)
            sk.flat.append(line_svg(sk.Ps([(x - n[0] * 1.0, y - n[1] * 1.0),
                                           (x + n[0] * 1.0, y + n[1] * 1.0)]), "#6D5440", 1.1))
        for off in (0.55, -0.55):
            sk.flat.append(line_svg(sk.Ps(D.offset(dense, off)), "#4A4A4A", 0.9))
    elif kind in ("stream", "ditch"):
        w = 1.3 if kind == "stream" else 0.8
        poly, dense = band(sk, it.pts, w + 0.5)
        sk.flat.append(poly_svg(poly, "#8C7A52" if kind == "ditch" else "#9AAF78"))
        poly, dense = band(sk, it.pts, w)
        sk.flat.append(poly_svg(poly, WATER, WATER_DARK, 0.5))
    elif kind == "narrowmarsh":
        poly, dense = band(sk, it.pts, 2.2)
        sk.flat.append(poly_svg(poly, MARSH))
        for (x, y), _ in D.stations(dense, 1.1):
            bx, by = sk.P(x + rng.uniform(-0.5, 0.5), y)
            sk.flat.append(line_svg([(bx - 1, by), (bx - 2, by - 4)], REED, 0.7)
                           + line_svg([(bx + 1, by), (bx + 2, by - 4)], REED, 0.7))
    elif kind == "gully":
        w = 0.7 if sk.lay.line.yes("small") else 1.4
        poly, dense = band(sk, it.pts, w * 1.5)
        sk.flat.append(poly_svg(poly, "#B79B6E"))
        poly, dense = band(sk, it.pts, w * 0.7)
        sk.flat.append(poly_svg(poly, EARTH_DARK))
    elif kind == "fence":
        fence(sk, it.pts, ruined, rng)
    elif kind == "wall":
        wall(sk, it.pts, 0.5 if ruined else 1.0, ruined, rng)
    elif kind == "earthwall":
        earth_wall(sk, it.pts, 0.45 if ruined else 0.9, ruined, rng)
    elif kind == "pipeline":
        pipeline(sk, it.pts)
    elif kind == "powerline":
        power_line(sk, it.pts)
    elif kind == "vegboundary":
        pass                    # the boundary is where the open land (an area) ends
    elif kind in ("cliff", "bank"):
        face(sk, it, kind)
    elif kind == "trench":
        poly, _ = band(sk, it.pts, 2.0)
        sk.flat.append(poly_svg(poly, "#A08A66"))
        poly, _ = band(sk, it.pts, 1.3)
        sk.flat.append(poly_svg(poly, "#4A3A2A", ROCK_DARK, 0.6))
    elif kind == "linthicket":
        dense = D.smooth(it.pts, steps=8) if len(it.pts) > 2 else it.pts
        for k, ((x, y), _) in enumerate(D.stations(dense, 0.9, start=0.0, end_margin=0.2)):
            bx, by = sk.P(x, y, 0.7)
            r = sk.s * rng.uniform(0.8, 1.05)
            sk.stand(y, ellipse_svg(bx, by, r, r * 0.8, ["#4E7F3A", "#5E9146", "#45733A"][k % 3],
                                    "#355E2A", 0.4))
    elif kind == "ride":
        poly, _ = band(sk, it.pts, 3.0)
        sk.flat.append(poly_svg(poly, "#E5EDCF"))
    elif kind == "stairway":
        stairway(sk, it)
    else:
        raise ValueError(kind)


def stairway(sk, it):
    """Steps climbing a grassy bank to the north, from its foot at the first point."""
    (xa, ya), (xb, yb) = it.pts[0], it.pts[-1]
    rise = 4.0
    n = 12
    low = min(ya, yb)
    bank = [sk.P(-20, low + 1.0), sk.P(20, low + 1.0), sk.P(20, low + 13.0, rise),
            sk.P(-20, low + 13.0, rise)]
    sk.flat.append(poly_svg(bank, "#CBD9A4") + poly_svg([sk.P(-20, low + 13.0, rise), sk.P(20, low + 13.0, rise),
                                                          (WIDTH + 2, HORIZON + 3), (-2, HORIZON + 3)],
                                                         "#DCE7C3"))
    out = ""
    for k in range(n):
        y0 = low + 1.0 + 12.0 * k / n
        y1 = low + 1.0 + 12.0 * (k + 1) / n
        z0, z1 = rise * k / n, rise * (k + 1) / n
        riser = [sk.P(-1.3, y0, z0), sk.P(1.3, y0, z0), sk.P(1.3, y0, z1), sk.P(-1.3, y0, z1)]
        tread = [sk.P(-1.3, y0, z1), sk.P(1.3, y0, z1), sk.P(1.3, y1, z1), sk.P(-1.3, y1, z1)]
        out += poly_svg(riser, "#A9A49A", "#6F6B63", 0.4) + poly_svg(tread, "#CFCBC2", "#6F6B63", 0.4)
    sk.stand(low + 1.0, out)
    for y0, y1 in ((low - 12.0, low + 1.0), (low + 13.0, low + 20.0)):
        z = 0.0 if y1 <= low + 1.0 else rise
        poly = sk.Ps([(-0.9, y0), (0.9, y0), (0.9, y1), (-0.9, y1)], z)
        sk.flat.append(poly_svg(poly, PAVED, "#7E776C", 0.5))


def fence(sk, pts, ruined, rng):
    dense = D.smooth(pts, steps=8) if len(pts) > 2 else pts
    posts = D.stations(dense, 2.0, start=0.0, end_margin=0.0)
    prev = None
    for k, ((x, y), _) in enumerate(posts):
        lean = rng.uniform(-0.35, 0.35) if ruined else 0.0
        top = 0.7 if ruined and k % 3 == 1 else 1.3
        sk.stand(y, line_svg([sk.P(x, y), sk.P(x + lean, y, top)], WOOD, 1.4))
        if prev is not None and not (ruined and k % 2 == 0):
            for z in (0.6, 1.15):
                sk.stand((y + prev[1]) / 2 + 0.01,
                         line_svg([sk.P(prev[0], prev[1], z), sk.P(x, y, z)], "#5A5A5A", 0.6))
        prev = (x, y)


def wall(sk, pts, h, ruined, rng):
    dense = D.smooth(pts, steps=6) if len(pts) > 2 else pts
    pieces = D.stations(dense, 0.8, start=0.0, end_margin=0.0)
    for k in range(len(pieces) - 1):
        if ruined and rng.random() < 0.3:
            continue
        (a, _), (b, _) = pieces[k], pieces[k + 1]
        hh = h * (rng.uniform(0.5, 1.0) if ruined else 1.0)
        quad = [sk.P(*a), sk.P(*b), sk.P(b[0], b[1], hh), sk.P(a[0], a[1], hh)]
        ex, ey = b[0] - a[0], b[1] - a[1]
        n = math.hypot(ex, ey) or 1.0
        nx, ny = -ey / n * 0.5, ex / n * 0.5
        if ny < 0:
            nx, ny = -nx, -ny       # the top's far edge lies to the north
        top = [sk.P(a[0], a[1], hh), sk.P(b[0], b[1], hh), sk.P(b[0] + nx, b[1] + ny, hh),
               sk.P(a[0] + nx, a[1] + ny, hh)]
        sk.stand((a[1] + b[1]) / 2, poly_svg(quad, WALL, "#6F675C", 0.5) +
                 poly_svg(top, WALL_TOP, "#6F675C", 0.5))


def earth_wall(sk, pts, h, ruined, rng):
    dense = D.smooth(pts, steps=6) if len(pts) > 2 else pts
    pieces = D.stations(dense, 0.7, start=0.0, end_margin=0.0)
    for k in range(len(pieces) - 1):
        if ruined and (k // 3) % 3 == 2:
            continue
        (a, ta), (b, tb) = pieces[k], pieces[k + 1]
        na, nb = D.normal(ta), D.normal(tb)
        # the side of the mound that faces the viewer (south)
        sa = 1 if na[1] < 0 else -1
        sb = 1 if nb[1] < 0 else -1
        fa = (a[0] + na[0] * 1.1 * sa, a[1] + na[1] * 1.1 * sa)
        fb = (b[0] + nb[0] * 1.1 * sb, b[1] + nb[1] * 1.1 * sb)
        ba = (a[0] - na[0] * 1.1 * sa, a[1] - na[1] * 1.1 * sa)
        bb = (b[0] - nb[0] * 1.1 * sb, b[1] - nb[1] * 1.1 * sb)
        back = [sk.P(*ba), sk.P(*bb), sk.P(b[0], b[1], h), sk.P(a[0], a[1], h)]
        front = [sk.P(*fa), sk.P(*fb), sk.P(b[0], b[1], h), sk.P(a[0], a[1], h)]
        sk.stand((a[1] + b[1]) / 2, poly_svg(back, "#C2C98C") + poly_svg(front, "#98A35E")
                 + line_svg([sk.P(a[0], a[1], h), sk.P(b[0], b[1], h)], "#6F7A3E", 0.6))


def pipeline(sk, pts):
    z = 2.2
    dense = D.smooth(pts, steps=6) if len(pts) > 2 else pts
    for (x, y), _ in D.stations(dense, 3.4, start=1.2):
        sk.stand(y + 0.2, line_svg([sk.P(x, y), sk.P(x, y, z)], METAL, 1.6))
    sk.stand(0.05, line_svg(sk.Ps(dense, z), "#7D8289", sk.s * 0.55, cap="butt")
             + line_svg([(p[0], p[1] - sk.s * 0.12) for p in sk.Ps(dense, z)], "#AEB3B9",
                        sk.s * 0.14, cap="butt"))


def power_line(sk, pts):
    dense = D.smooth(pts, steps=6) if len(pts) > 2 else pts
    total = D.length(dense)
    poles = [D.at(dense, total * f)[0] for f in (0.25, 0.75)]
    z = 7.0
    for x, y in poles:
        sk.stand(y, line_svg([sk.P(x, y), sk.P(x, y, z)], WOOD, 2.0)
                 + line_svg([sk.P(x - 1.2, y, z - 0.3), sk.P(x + 1.2, y, z - 0.3)], WOOD, 1.4))
    ends = [D.at(dense, 0)[0]] + poles + [D.at(dense, total)[0]]
    for off in (-1.0, 1.0):
        for a, b in zip(ends, ends[1:]):
            mid = ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2)
            wire = [sk.P(a[0] + off, a[1], z - 0.3), sk.P(mid[0] + off, mid[1], z - 1.3),
                    sk.P(b[0] + off, b[1], z - 0.3)]
            sk.top.append(line_svg(D.smooth(wire, steps=6), LINE_INK, 0.6))


def face(sk, it, kind):
    """A cliff or earth bank along the line, its face towards the viewer, the high ground behind."""
    pts = D.smooth(it.pts, steps=6) if len(it.pts) > 2 else it.pts
    total = D.length(pts)
    taper = 2.5
    tops, bases = [], []
    for i in range(41):
        (x, y), _ = D.at(pts, total * i / 40)
        d = min(total * i / 40, total - total * i / 40)
        f = min(1.0, d / taper) if (it.main and sk.lay.line.flag == "end:W") or not it.main else 1.0
        if it.main and sk.lay.line.flag == "end:W" and i > 20:
            f = 1.0
        h = it.h * f * (1 + 0.06 * math.sin(i * 1.7))
        lean = 0.6 if kind == "bank" else 0.15
        tops.append(sk.P(x, y + lean, h))
        bases.append(sk.P(x, y))
    rock = kind == "cliff"
    plateau = tops + [(tops[-1][0], HORIZON + 3), (tops[0][0], HORIZON + 3)]
    sk.flat.append(poly_svg(plateau, "#D3DFB4" if sk.lay.ground == "forest" else "#E8DC9A"))
    parts = []
    parts.append(poly_svg(tops + bases[::-1], ROCK if rock else "#B89466",
                          ROCK_DARK if rock else EARTH_DARK, 0.7))
    for i in range(2, 40, 3):
        if rock:
            parts.append(line_svg([tops[i], (bases[i][0] + 1, (tops[i][1] + bases[i][1]) / 2 + 1),
                                   (bases[i][0] - 0.5, bases[i][1] - 1)], ROCK_DARK, 0.6))
        else:
            parts.append(line_svg([tops[i], bases[i]], "#8E6E45", 0.5))
    parts.append(line_svg(tops, "#5E5E5A" if rock else "#6E5233", 1.0))
    y_mid = sum(p[1] for p in it.pts) / len(it.pts)
    sk.stand(y_mid - 0.5, "".join(parts))


# ---------------------------------------------------------------------------------------------
# Relief

def relief(sk, it, seed):
    if it.kind == "hill":
        hill(sk, it)
    elif it.kind in L.SLOPE_KINDS:
        slope(sk, it)
    else:
        saddle(sk, it)


def _profile(sk, y, xs, zs, fill, stroke):
    """A ridge seen from the south whose slopes run down out of the picture towards the viewer."""
    top = [sk.P(x, y, z) for x, z in zip(xs, zs)]
    base = [(top[-1][0], HEIGHT + 2), (top[0][0], HEIGHT + 2)]
    return poly_svg(top + base, fill, stroke, 0.8)


def hill(sk, it):
    x0, y0 = it.at
    r, h = it.r * 1.1, it.h
    out = dome(sk, x0, y0, r, h, "#C3D39A", "#8EA060", 5, 0.02, shadow=False)
    # level lines round the slope, as contours would run
    for k in (0.33, 0.66):
        rr = r * (1 - k) ** 0.6
        arc = [sk.P(x0 + rr * math.cos(t), y0 - rr * math.sin(t) * 0.9, h * k)
               for t in [math.pi * i / 20 for i in range(21)]]
        out += line_svg(arc, "#A2B574", 0.8)
    sk.stand(y0 + r * 0.5, out)


def height_at(it, x, y):
    """The height (as in line_layout.level_y) of the slope at (x, y)."""
    lo, hi = -80.0, 80.0
    for _ in range(40):
        mid = (lo + hi) / 2
        if L.level_y(it, mid, x) < y:
            lo = mid
        else:
            hi = mid
    return (lo + hi) / 2


# A slope landform is seen from low down at the foot of its hill: the flat ground in front is
# foreshortened, the hillside stands up to its crest, which curves down at either side against the
# sky, so that the reader sees which way is up; the whole landform is in sight, so the flag's
# place in it (lower or upper part, foot) shows. The view is drawn wider than deep, so that the
# bends of the level lines show.
SLOPE_SCALE = 2.0       # pixels per unit up the slope and in height
SLOPE_SX = 4.2          # pixels per unit across the slope
SLOPE_KY = 0.36         # foreshortening of the ground, seen from low down
SLOPE_GRADE = 0.5       # height per unit of the hillside's height scale
SHELF_GRADE = 0.08      # the same across a terrace's shelf
SLOPE_BEND = 2.4        # the sketch bends the level lines this much more than the map
SLOPE_ROUND = 20.0      # how far (units) the crest comes down towards the viewer at either side
SLOPE_FOOT_PX = 70.0    # where the foot of the hillside is drawn
LEVEL_STEP = 2.0        # height between two level lines
HILLSIDE = ("#CCDBA8", "#D5E2B4")
LEVEL_LINE = "#B39B6C"


def _hillside(it):
    """The heights (foot, crest) of the hillside the landform lies in."""
    if it.kind == "terrace":
        low, high = L.terrace_shelf(it)
        return low - 10.0, high + 10.0
    return it.at[1] - it.r, it.at[1] + 4.0


def _z(it, h):
    """Height of the ground above the flat land in front, at the level line of height h."""
    foot, crest = _hillside(it)
    h = min(max(h, foot), crest)
    z = (h - foot) * SLOPE_GRADE
    if it.kind == "terrace":
        low, high = L.terrace_shelf(it)
        z -= max(0.0, min(h, high) - low) * (SLOPE_GRADE - SHELF_GRADE)
    return z


def _plan_y(it, h, x, reach):
    """Where the level line of height h runs at x in the sketch: as on the map, but rounding
    towards the viewer at either side the more the higher it is, as on the face of a hill."""
    foot, crest = _hillside(it)
    up = min(max((h - foot) / (crest - foot), 0.0), 1.0)
    return L.level_y(it, h, x) - SLOPE_ROUND * up * (x / reach) ** 2


def slope(sk, it):
    """A hill's face rising to the north, seen from its foot: level lines across it show the
    landform (bending uphill into a re-entrant, downhill round a spur, parting round the shelf of
    a terrace); the floor of a re-entrant, the back of a spur or the shelf of a terrace is tinted,
    trees stand on the crest against the sky and on the flat ground in front."""
    if it.kind != "terrace":
        it = L.Relief(it.kind, it.at, it.r, it.h * SLOPE_BEND)
    foot, crest = _hillside(it)
    sk.s, sk.sx, sk.ky = SLOPE_SCALE, SLOPE_SX, SLOPE_KY
    sk.gy = SLOPE_FOOT_PX + sk.s * sk.ky * L.level_y(it, foot, 0.0)
    reach = WIDTH / 2 / sk.sx + 1.0
    xs = [-reach + 2 * reach * i / 60 for i in range(61)]

    def level(h, along=xs):
        return [sk.P(x, _plan_y(it, h, x, reach), _z(it, h)) for x in along]

    def height(x, y):
        lo, hi = foot - 40.0, crest + 40.0
        for _ in range(40):
            mid = (lo + hi) / 2
            if _plan_y(it, mid, x, reach) < y:
                lo = mid
            else:
                hi = mid
        return (lo + hi) / 2

    def ground(x, y):
        return _z(it, height(x, y))

    heights = []
    h = foot
    while h < crest - 1e-6:
        heights.append(h)
        h += LEVEL_STEP
    heights.append(crest)
    rows = [level(h) for h in heights]
    out = []
    for k in range(len(rows) - 1):
        out.append(poly_svg(rows[k] + rows[k + 1][::-1], HILLSIDE[k % 2]))
    if it.kind == "terrace":
        low, high = L.terrace_shelf(it)
        out.append(poly_svg(level(low) + level(high)[::-1], "#E9EFCF"))
    else:
        # the floor of the re-entrant or the back of the spur, from its lower end to its top
        top, low = it.at[1], it.at[1] - it.r
        hs = [low + (top - low) * i / 24 for i in range(25)]
        edge = [sk.P(-2.6, _plan_y(it, h, -2.6, reach), _z(it, h)) for h in hs]
        edge += [sk.P(2.6, _plan_y(it, h, 2.6, reach), _z(it, h)) for h in reversed(hs)]
        tint = "#AFC483" if it.kind == "reentrant" else "#E9EFCF"
        out.append(poly_svg(edge, tint, extra=' fill-opacity="0.8"'))
    for pts in rows:
        out.append(line_svg(pts, LEVEL_LINE, 0.6))
    # the sky down to the crest
    out.append(poly_svg([(-1.0, -1.0), (WIDTH + 1.0, -1.0)] + rows[-1][::-1], SKY))
    sk.flat.append("".join(out))
    if it.kind == "reentrant" and sk.lay.line.yes("marshy"):
        marshy_floor(sk, it, ground)
    x, y, _ = sk.lay.flag
    if it.kind == "terrace":
        sk.flag_at = (x, y, ground(x, y))
    else:
        # on the floor of the re-entrant or the back of the spur, at the height the site has on
        # the hillside: as far up the landform as the site is on the map
        h = y
        sk.flag_at = (x, _plan_y(it, h, x, reach), _z(it, h))
    rng = random.Random(sk.lay.line.number)
    # a forest on the crest, seen against the sky
    tx = -reach
    while tx < reach:
        kind = "conifer" if rng.random() < 0.6 else "broad"
        ty = _plan_y(it, crest, tx, reach) + 0.8
        sk.stand(ty, tree_svg(sk, tx, ty, rng.uniform(10, 14), kind, _z(it, crest)))
        tx += rng.uniform(2.2, 3.4)
    # trees on the hill's face away from the landform, and on the flat ground in front
    for sx in (-1, 1):
        for k, up in enumerate((0.3, 0.6)):
            h = foot + (crest - foot) * up
            tx = sx * (14.0 + 3.0 * k)
            ty = _plan_y(it, h, tx, reach)
            sk.stand(ty, tree_svg(sk, tx, ty, 14, "conifer" if k % 2 else "broad", _z(it, h)))
        ty = L.level_y(it, foot, 0.0) - 4.0
        sk.stand(ty, tree_svg(sk, sx * 19.0, ty, 20, "broad" if sx < 0 else "conifer"))


def marshy_floor(sk, it, ground):
    """Wet ground with reeds along the floor of a re-entrant."""
    rng = random.Random(sk.lay.line.number)
    out = []
    top = it.at[1]
    y = top - it.r + 2.0
    while y < top - 3.0:
        for _ in range(3):
            x = rng.uniform(-1.6, 1.6)
            bx, by = sk.P(x, y, ground(x, y))
            out.append(ellipse_svg(bx, by + 0.5, 3.2, 1.0, "#9CCBE3"))
            for dx in (-1.4, 0, 1.4):
                out.append(line_svg([(bx + dx * 0.4, by), (bx + dx, by - 4.0)], REED, 0.7))
        y += 1.4
    sk.flat.append("".join(out))


def saddle(sk, it):
    xs = [-18 + 36 * i / 60 for i in range(61)]
    # two tops 17 units apart; the ridge between them dips to the saddle
    zs = [0.9 + sum(5.0 * math.exp(-((x - top) / 4.5) ** 2) for top in (-8.5, 8.5)) for x in xs]
    sk.stand(2.0, _profile(sk, 2.0, xs, zs, "#C3D39A", "#8EA060"))
    # the flag stands on the ridge at its lowest point
    sk.flag_at = (0.0, 2.0, min(zs[25:36]))


# ---------------------------------------------------------------------------------------------

def bridge(sk, lay):
    stream, path = lay.items[0], lay.items[1]
    linear(sk, stream, 1)
    deck_z = 2.4
    left = [p for p in D.smooth(path.pts, steps=6) if p[0] < -2.2]
    right = [p for p in D.smooth(path.pts, steps=6) if p[0] > 2.2]
    for part in (left, right):
        poly, _ = band(sk, part, 1.2)
        sk.flat.append(poly_svg(poly, PATH, "#A9844C", 0.5))
    deck = [sk.P(-2.6, -0.8, deck_z), sk.P(2.6, -0.8, deck_z), sk.P(2.6, 0.8, deck_z),
            sk.P(-2.6, 0.8, deck_z)]
    front = [sk.P(-2.6, -0.8, deck_z), sk.P(2.6, -0.8, deck_z), sk.P(2.6, -0.8, deck_z - 0.45),
             sk.P(-2.6, -0.8, deck_z - 0.45)]
    svg = ""
    for sx in (-2.4, 2.4):
        svg += poly_svg([sk.P(sx - 0.3, -0.8), sk.P(sx + 0.3, -0.8), sk.P(sx + 0.3, -0.8, deck_z),
                         sk.P(sx - 0.3, -0.8, deck_z)], "#8F7B66", WOOD, 0.5)
    svg += poly_svg(deck, "#B89A78", WOOD, 0.6) + poly_svg(front, "#8F7157", WOOD, 0.6)
    svg += line_svg([sk.P(-2.6, -0.8, deck_z + 0.9), sk.P(2.6, -0.8, deck_z + 0.9)], WOOD, 1.0)
    for sx in (-2.5, 0, 2.5):
        svg += line_svg([sk.P(sx, -0.8, deck_z), sk.P(sx, -0.8, deck_z + 0.9)], WOOD, 1.0)
    # the ramps up to the deck
    for sx in (-1, 1):
        svg += poly_svg([sk.P(sx * 2.6, -0.8, deck_z), sk.P(sx * 4.5, -0.7, 0),
                         sk.P(sx * 4.5, 0.7, 0), sk.P(sx * 2.6, 0.8, deck_z)], "#B89A78", WOOD, 0.5)
    sk.stand(-0.9, svg)


def crossing_point(sk, lay):
    fence_line, path = lay.items[0], lay.items[1]
    linear(sk, path, 2)
    left = [p for p in fence_line.pts if p[0] < 0] + [(-1.3, -0.05)]
    right = [(1.3, 0.05)] + [p for p in fence_line.pts if p[0] > 0]
    rng = random.Random(3)
    fence(sk, left, False, rng)
    fence(sk, right, False, rng)
    # a stile: two steps over the gap
    svg = ""
    for sx in (-1.3, 1.3):
        svg += line_svg([sk.P(sx, 0), sk.P(sx, 0, 1.5)], WOOD, 2.0)
    for z, dy in ((0.45, -0.7), (0.9, -0.35)):
        svg += poly_svg([sk.P(-1.0, dy - 0.25, z), sk.P(1.0, dy - 0.25, z), sk.P(1.0, dy + 0.25, z),
                         sk.P(-1.0, dy + 0.25, z)], "#B08A5E", WOOD, 0.6)
    sk.stand(0.0, svg)


def passage(sk, lay):
    """Two rock walls facing each other across a narrow gap that runs away from the viewer."""
    for it in lay.items:
        sx = 1 if it.pts[0][0] > 0 else -1
        inner = 1.6 * sx
        outer = 5.0 * sx
        near, far, h = -7.0, 7.0, it.h
        face = [sk.P(inner, near), sk.P(inner, far), sk.P(inner, far, h), sk.P(inner, near, h)]
        end = [sk.P(inner, near), sk.P(outer, near), sk.P(outer, near, h * 0.8), sk.P(inner, near, h)]
        top = [sk.P(inner, near, h), sk.P(inner, far, h), sk.P(outer, far, h * 0.8),
               sk.P(outer, near, h * 0.8)]
        out = poly_svg(face, ROCK_DARK, "#505050", 0.6) + poly_svg(top, ROCK_LIGHT, ROCK_DARK, 0.6)
        out += poly_svg(end, ROCK, ROCK_DARK, 0.7)
        for k in range(1, 5):
            px_, py_ = sk.P(inner + (outer - inner) * k / 5, near, h * 0.9)
            out += line_svg([(px_, py_ + 2), (px_ + 1, py_ + sk.s * KZ * h * 0.6)], ROCK_DARK, 0.6)
        sk.stand(near - 0.05, out)


def tunnel(sk, lay):
    """A path running north into a tunnel under a road on an embankment."""
    path, road = lay.items[0], lay.items[1]
    yc = (road.pts[0][1] + road.pts[-1][1]) / 2
    h = 2.4
    south, north = yc - 2.5, yc + 2.5
    poly, _ = band(sk, [(0.3, -L.REACH), (0.0, south)], 1.2)
    sk.flat.append(poly_svg(poly, PATH, "#A9844C", 0.5))
    slope = [sk.P(-20, south), sk.P(20, south), sk.P(20, south + 1.2, h), sk.P(-20, south + 1.2, h)]
    crown = [sk.P(-20, south + 1.2, h), sk.P(20, south + 1.2, h), sk.P(20, north, h),
             sk.P(-20, north, h)]
    out = poly_svg(slope, "#B9C88E", "#8EA060", 0.6) + poly_svg(crown, ROAD, "#6E6C68", 0.6)
    out += line_svg([sk.P(-20, yc, h), sk.P(20, yc, h)], "#F4F2EC", 0.8, extra=' stroke-dasharray="4 4"')
    portal = [sk.P(-1.3, south), sk.P(-1.3, south, h * 0.6)]
    portal += [sk.P(1.3 * math.cos(math.pi * (1 - k / 10)), south, h * 0.6 + 0.5 * math.sin(math.pi * k / 10))
               for k in range(11)]
    portal += [sk.P(1.3, south)]
    wall = [sk.P(-2.2, south), sk.P(2.2, south), sk.P(2.2, south, h * 0.95), sk.P(-2.2, south, h * 0.95)]
    out += poly_svg(wall, "#B7B3AA", "#6F6B63", 0.6) + poly_svg(portal, "#2E2A26")
    sk.stand(south - 0.05, out)


def draw(lay):
    kind = lay.line.kind
    scale_key = kind
    if kind in L.LINE_KINDS and kind not in ("cliff", "bank", "pipeline"):
        scale_key = "line"
    elif kind in ("cliff", "bank"):
        scale_key = "cliff"
    elif kind in L.AREA_KINDS and kind not in ("building", "ruin", "canopy", "oob", "charcoal"):
        scale_key = "area"
    elif kind in L.RELIEF_KINDS:
        scale_key = "relief"
    s = SCALE[scale_key]
    if kind in L.POINT_KINDS and lay.line.param("twin"):
        s *= 0.72
    if kind in ("pillar", "tower", "pylon", "tree", "platform", "cliff", "bank", "hill", "saddle"):
        gy = 68.0
    elif kind in L.AREA_KINDS or kind in L.LINE_KINDS or kind in L.SLOPE_KINDS:
        gy = 54.0
    else:
        gy = 60.0
    if kind in L.SLOPE_KINDS:
        gy = 50.0
    # keep the nearest feature (a twin in front) inside the picture
    near = [it.at[1] - it.r for it in lay.items if isinstance(it, (L.Point, L.Sunk))]
    if near:
        gy = min(gy, HEIGHT - 5 + min(near) * s * KY)
    sk = Sketch(lay, s, gy)
    background(sk, lay.ground)
    seed = lay.line.number
    fx, fy, fz = lay.flag
    avoid = [(fx, fy, 3.0)]
    if kind == "bridge":
        bridge(sk, lay)
    elif kind == "crossing":
        crossing_point(sk, lay)
    elif kind == "passage":
        passage(sk, lay)
    elif kind == "tunnel":
        tunnel(sk, lay)
    else:
        for k, it in enumerate(lay.items):
            if isinstance(it, L.Point):
                point(sk, it, seed + k)
                avoid.append((it.at[0], it.at[1], it.r + 2.5))
            elif isinstance(it, L.Sunk):
                hole(sk, it, seed + k)
            elif isinstance(it, L.Area):
                area(sk, it, seed + k)
            elif isinstance(it, L.Linear):
                linear(sk, it, seed + k)
            elif isinstance(it, L.Relief):
                relief(sk, it, seed + k)
    # trees around features in the forest, kept off the feature and the flag
    if kind in ("open", "clearing"):
        poly = next(it.poly for it in lay.items if isinstance(it, L.Area))
        scatter_trees(sk, avoid, 4.5, poly, inside=False, min_y=-3.0)
    elif kind == "vegboundary":
        poly = next(it.poly for it in lay.items if isinstance(it, L.Area))
        scatter_trees(sk, avoid + [(0.0, 0.0, 2.5)], 4.0, poly, inside=False, min_y=-1.0)
    elif kind == "copse":
        pass
    elif kind == "forestcorner":
        poly = next(it.poly for it in lay.items if isinstance(it, L.Area))
        scatter_trees(sk, avoid, 3.2, poly, inside=True, min_y=-2.0)
    elif kind == "semiopen":
        poly = next(it.poly for it in lay.items if isinstance(it, L.Area))
        scatter_trees(sk, avoid, 8.0, poly, inside=True, min_y=-2.0)
        scatter_trees(sk, avoid, 4.0, poly, inside=False, min_y=-2.0)
    elif kind in ("brokenground", "stony", "charcoal") or (kind == "marsh" and lay.line.yes("open")):
        poly = next(it.poly for it in lay.items if isinstance(it, L.Area))
        clear = [(0.0, 0.0, 6.0)] if kind == "charcoal" else []
        scatter_trees(sk, avoid + clear, 4.5, poly, inside=False, min_y=-3.0)
    elif kind in ("ride", "passage", "trench", "linthicket"):
        # trees on either side, kept off the line feature
        keep_off = 2.4 if kind != "passage" else 5.5
        along = [p for it in lay.items if isinstance(it, L.Linear) for p in D.smooth(it.pts, steps=4)]
        scatter_trees(sk, avoid + [(x, y, keep_off) for x, y in along], 4.5, min_y=-3.0)
    elif lay.ground == "forest" and kind in L.POINT_KINDS | L.SUNK_KINDS:
        reach = max((getattr(it, "r", 0) for it in lay.items), default=1)
        scatter_trees(sk, avoid + [(0.0, 0.0, reach + 3.0)], 5.5 / (s / 10), min_y=3.0)
    beneath = lay.beneath
    pole = None
    if beneath:
        clearance = {"bridge": 2.0, "pipeline": 2.2, "platform": 3.5, "canopy": 3.0}[kind] * sk.s * KZ
        pole = clearance * 0.8
    depth_bias = 0.02 if beneath else 0.0
    if kind == "pipeline":
        depth_bias = 0.1
    if kind == "bridge":
        depth_bias = 0.0
    place_flag(sk, pole, depth_bias)
    north_arrow(sk)
    return sk.svg()
