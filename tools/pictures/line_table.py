# SPDX-License-Identifier: GPL-3.0-or-later
"""The table of whole description lines: data/lines/lines.tsv.

One row per line of the combination tests (picture numbers 1000 and up). The row gives the
symbols of columns C..H by IOF number, the line as a coach reads it aloud (the name in Bitm1.eng),
its explanation (Bitm1Add.eng) and what the picture generator needs for the map excerpt and the
ground sketch. Everything that shows a line (the texts, the V/I/N pictures, the checks) reads the
table through this module.

Columns (tab separated, header line first, '#' starts a comment line):
  number       1000, 1001, ... (unique)
  C .. H       an IOF number, with ':' and a compass point for a directional symbol (0.1:N,
               12.1:E) or a value for column F (9.1:1.5, 9.2:8x4, 9.3:1/2, 9.4:2/3); empty = empty
               cell. The symbol must be one the code table (data/symbols/codes.tsv) has.
  reading      the line read aloud, e.g. "Northern boulder, 1 m high, east side"
  explanation  how to read the line and where the flag is
  kind         the feature in column D as the pictures draw it (boulder, marsh, path, ...)
  second       the second feature (column E feature, or the other feature of "between")
  flag         where the flag is: centre, foot-centre, side:E, edge:SE, part:W, corner-in:E,
               corner-out:SW, tip:SW, end:N, foot:NE, foot, top, upper, lower, beneath, between,
               crossing, junction, bend. It must agree with columns F and G (see expected_flag).
  params       key=value pairs separated by ';' for the pictures (twin=S, h=2, ruined=yes, ...)

Functions:
  read_table(root, rows=None) -> list of Line; raises TableError naming the line.
  expected_flag(line) -> the flag that columns D, F and G give.
  cell_row(line, column, by_iof, by_fvalue) -> the GlyphRow of a cell, or None when empty.
"""
import os
import re

import symbol_svg

HEADER = ("number", "C", "D", "E", "F", "G", "H", "reading", "explanation", "kind", "second",
          "flag", "params")
CELL_COLUMNS = ("C", "D", "E", "F", "G", "H")
FIRST_NUMBER = 1000
DIRECTIONS = symbol_svg.DIRECTIONS

# Column G: IOF number -> flag word; the directional ones take the compass point after ':'.
G_FLAGS = {"12.1": "side", "12.2": "edge", "12.3": "part", "12.4": "corner-in",
           "12.5": "corner-out", "12.6": "tip", "12.7": "end", "12.8": "upper", "12.9": "lower",
           "12.10": "top", "12.11": "foot", "12.12": "foot", "12.13": "beneath",
           "12.14": "between"}
F_FLAGS = {"10.1": "crossing", "10.2": "junction", "11.1": "bend"}
# an empty column G puts the flag at the middle of the foot of these features
FOOT_WHEN_EMPTY = {"2.1"}
MAX_TEXT = 350
# column E holds an appearance, or the second feature of a crossing, junction or "between"
ALLOWED = {"C": {"C"}, "D": {"D"}, "E": {"D", "E"}, "F": {"F"}, "G": {"G"}, "H": {"H"}}


class TableError(Exception):
    pass


class Line:
    __slots__ = ("number", "cells", "reading", "explanation", "kind", "second", "flag",
                 "params", "line")

    def __init__(self, number, cells, reading, explanation, kind, second, flag, params, line):
        self.number = number
        self.cells = cells            # {"C": "0.1:N", "D": "2.4", ...}; "" for an empty cell
        self.reading = reading
        self.explanation = explanation
        self.kind = kind
        self.second = second
        self.flag = flag
        self.params = params          # dict
        self.line = line

    def param(self, key, default=None):
        return self.params.get(key, default)

    def yes(self, key):
        return self.params.get(key, "no") in ("yes", "1", "true")

    def flag_parts(self):
        """('side', 'E') or ('centre', None)."""
        if ":" in self.flag:
            what, direction = self.flag.split(":", 1)
            return what, direction
        return self.flag, None

    def __repr__(self):
        return f"Line({self.number}, {self.reading!r})"


def table_path(root):
    return os.path.join(root, "data", "lines", "lines.tsv")


def f_value(row):
    """The value a column F glyph shows, as written in the table: '1.5', '8x4', '1/2', '2/3'."""
    name = row.name
    m = re.fullmatch(r"([\d.]+) m high", name)
    if m:
        return m.group(1)
    m = re.fullmatch(r"([\d.]+) m x ([\d.]+) m in size", name)
    if m:
        return f"{m.group(1)}x{m.group(2)}"
    m = re.fullmatch(r"([\d.]+) m / ([\d.]+) m high on a slope", name)
    if m:
        return f"{m.group(1)}/{m.group(2)}"
    m = re.fullmatch(r"Two features, ([\d.]+) m and ([\d.]+) m high", name)
    if m:
        return f"{m.group(1)}/{m.group(2)}"
    return None


def symbol_maps(rows):
    """(iof, dir) -> row for C, D, E, G, H and the non-numeric F symbols; (iof, value) -> row for
    the numeric F symbols (9.x)."""
    by_iof, by_fvalue = {}, {}
    for r in rows:
        if r.column == "sheet":
            continue
        if r.iof.startswith("9."):
            value = f_value(r)
            if value is not None:
                by_fvalue[(r.iof, value)] = r
        else:
            by_iof[(r.iof, r.dir)] = r
    return by_iof, by_fvalue


def parse_cell(text):
    """'12.1:E' -> ('12.1', 'E'); '2.4' -> ('2.4', ''); '' -> None."""
    text = text.strip()
    if not text:
        return None
    iof, _, rest = text.partition(":")
    return iof, rest


def cell_row(line, column, by_iof, by_fvalue):
    cell = parse_cell(line.cells[column])
    if cell is None:
        return None
    iof, rest = cell
    if iof.startswith("9."):
        return by_fvalue.get((iof, rest))
    return by_iof.get((iof, rest))


def expected_flag(line):
    g = parse_cell(line.cells["G"])
    f = parse_cell(line.cells["F"])
    d = parse_cell(line.cells["D"])
    if g is not None:
        word = G_FLAGS.get(g[0])
        if word is None:
            return None
        return f"{word}:{g[1]}" if g[1] else word
    if f is not None and f[0] in F_FLAGS:
        return F_FLAGS[f[0]]
    if d is not None and d[0] in FOOT_WHEN_EMPTY:
        return "foot-centre"
    return "centre"


def parse_params(text, where):
    params = {}
    for item in filter(None, (p.strip() for p in text.split(";"))):
        if "=" not in item:
            raise TableError(f"{where}: parameter without '=': {item!r}")
        key, value = item.split("=", 1)
        params[key.strip()] = value.strip()
    return params


def read_table(root, rows=None):
    """The lines of the table, checked against the code table."""
    path = table_path(root)
    if rows is None:
        rows = symbol_svg.read_code_table(os.path.join(root, "data", "symbols"))
    by_iof, by_fvalue = symbol_maps(rows)
    with open(path, "rb") as fh:
        data = fh.read()
    if b"\r" in data:
        raise TableError(f"{path}: CR in the file; the table keeps LF line ends")
    try:
        text = data.decode("ascii")
    except UnicodeDecodeError as e:
        line = data[:e.start].count(b"\n") + 1
        raise TableError(f"{path}:{line}: a character outside plain ASCII") from None
    lines, header, seen = [], None, {}
    readings = {}
    for lineno, raw in enumerate(text.split("\n"), start=1):
        if not raw.strip() or raw.startswith("#"):
            continue
        cells = raw.split("\t")
        where = f"{path}:{lineno}"
        if header is None:
            if tuple(cells) != HEADER:
                raise TableError(f"{where}: the header must be {' '.join(HEADER)} (tab separated)")
            header = cells
            continue
        if len(cells) != len(HEADER):
            raise TableError(f"{where}: {len(cells)} cells, {len(HEADER)} expected")
        row = dict(zip(HEADER, cells))
        if not re.fullmatch(r"\d+", row["number"]) or int(row["number"]) < FIRST_NUMBER:
            raise TableError(f"{where}: number {row['number']!r} is not a whole number from "
                             f"{FIRST_NUMBER} up")
        number = int(row["number"])
        if number in seen:
            raise TableError(f"{where}: number {number} is also on line {seen[number]}")
        seen[number] = lineno
        line = Line(number, {c: row[c].strip() for c in CELL_COLUMNS}, row["reading"].strip(),
                    row["explanation"].strip(), row["kind"].strip(), row["second"].strip(),
                    row["flag"].strip(), parse_params(row["params"], where), lineno)
        for column in CELL_COLUMNS:
            if not line.cells[column]:
                continue
            r = cell_row(line, column, by_iof, by_fvalue)
            if r is None:
                raise TableError(f"{where}: column {column} {line.cells[column]!r} is no symbol "
                                 f"of codes.tsv")
            if r.column not in ALLOWED[column]:
                raise TableError(f"{where}: {line.cells[column]!r} ({r.name}) belongs in column "
                                 f"{r.column}, not {column}")
        if not line.cells["D"]:
            raise TableError(f"{where}: column D (the control feature) is empty")
        for what, value in (("reading", line.reading), ("explanation", line.explanation)):
            if not value:
                raise TableError(f"{where}: the {what} is empty")
            if len(value) > MAX_TEXT:
                raise TableError(f"{where}: the {what} is longer than {MAX_TEXT} characters")
        key = line.reading.lower()
        if key in readings:
            raise TableError(f"{where}: reading {line.reading!r} is also on line {readings[key]}")
        readings[key] = lineno
        if not line.kind:
            raise TableError(f"{where}: no kind")
        want = expected_flag(line)
        if line.flag != want:
            raise TableError(f"{where}: flag {line.flag!r} disagrees with columns D, F and G, "
                             f"which give {want!r}")
        lines.append(line)
    if header is None:
        raise TableError(f"{path}: empty table")
    return lines
