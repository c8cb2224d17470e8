# SPDX-License-Identifier: GPL-3.0-or-later
"""The control-description symbols as data: the code table and the glyph drawings.

data/symbols/codes.tsv is the one list of every symbol of the font "PictorMarks"; each row names
the drawing in data/symbols/glyphs/<source>.svg it is made from and how far that drawing is turned.
The font builder, the content checker and the picture generators all read the symbols through
this module, so a fixed drawing fixes every font glyph and picture that shows it.

Functions:
  read_code_table(symbols_dir) -> list of GlyphRow
      Reads and validates codes.tsv: codes 33..255, unique, none of RESERVED_CODES; unique names;
      a known column; a rotation that is a multiple of 45. Raises TableError with the line number.
  rows_by_code(rows) / rows_by_iof(rows)
      Dictionaries code -> row and (iof, dir) -> row.
  source_path(symbols_dir, source) -> path of the drawing's SVG file.
  glyph_group(symbols_dir, row, x, y, size, colour="#000") -> str
      The drawing of one symbol as an SVG <g> element, turned as the row says and scaled so that
      its 100 x 100 box fills the square at (x, y) with side `size`; black ink becomes `colour`.
      For embedding a symbol in a generated picture.
  source_group(symbols_dir, source, x, y, size, rotate=0, colour="#000") -> str
      The same for a drawing named directly.

Drawings use a 100 x 100 box (viewBox "0 0 100 100", y downward). Turning is clockwise, in
degrees, about the centre (50, 50).
"""
import os
import re
import xml.etree.ElementTree as ET

SVG_NS = "http://www.w3.org/2000/svg"
TABLE_COLUMNS = ("code", "iof", "dir", "column", "source", "rotate", "name")
# Codes the font keeps free: the codes Windows code page 1252 leaves undefined (129, 141, 143,
# 144, 157), DEL, the no-break space and the soft hyphen; and 156, because Qt reads U+009C in a
# drawn string as the separator of text variants and draws nothing for it.
RESERVED_CODES = frozenset({127, 129, 141, 143, 144, 156, 157, 160, 173})
COLUMNS = ("C", "D", "E", "F", "G", "H", "sheet")
DIRECTIONS = ("N", "NE", "E", "SE", "S", "SW", "W", "NW")
INK = "#000"


class TableError(Exception):
    pass


class GlyphRow:
    __slots__ = ("code", "iof", "dir", "column", "source", "rotate", "name", "line")

    def __init__(self, code, iof, direction, column, source, rotate, name, line):
        self.code = code
        self.iof = iof
        self.dir = direction
        self.column = column
        self.source = source
        self.rotate = rotate
        self.name = name
        self.line = line

    def __repr__(self):
        return f"GlyphRow({self.code}, {self.iof!r}, {self.dir!r}, {self.name!r})"


def table_path(symbols_dir):
    return os.path.join(symbols_dir, "codes.tsv")


def source_path(symbols_dir, source):
    return os.path.join(symbols_dir, "glyphs", source + ".svg")


def read_code_table(symbols_dir):
    path = table_path(symbols_dir)
    with open(path, encoding="ascii", newline="") as f:
        text = f.read()
    if "\r" in text:
        raise TableError(f"{path}: CR in the file; the table is kept with LF line ends")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if not lines or tuple(lines[0].split("\t")) != TABLE_COLUMNS:
        raise TableError(f"{path}:1: the header must be {' '.join(TABLE_COLUMNS)} (tab separated)")
    rows, codes, names = [], {}, {}
    for number, line in enumerate(lines[1:], start=2):
        where = f"{path}:{number}"
        cells = line.split("\t")
        if len(cells) != len(TABLE_COLUMNS):
            raise TableError(f"{where}: {len(cells)} cells, {len(TABLE_COLUMNS)} expected")
        code_s, iof, direction, column, source, rotate_s, name = (c.strip() for c in cells)
        if not code_s.isdigit() or not 33 <= int(code_s) <= 255:
            raise TableError(f"{where}: code {code_s!r} is not a number from 33 to 255")
        code = int(code_s)
        if code in RESERVED_CODES:
            raise TableError(f"{where}: code {code} is kept spare")
        if code in codes:
            raise TableError(f"{where}: code {code} is also on line {codes[code]}")
        codes[code] = number
        if column not in COLUMNS:
            raise TableError(f"{where}: column {column!r} is not one of {', '.join(COLUMNS)}")
        if direction and direction not in DIRECTIONS:
            raise TableError(f"{where}: direction {direction!r} is not a compass point")
        if iof and not re.fullmatch(r"\d+\.\d+", iof):
            raise TableError(f"{where}: IOF number {iof!r} is not like 12.1")
        if not re.fullmatch(r"[a-z0-9][a-z0-9-]*", source):
            raise TableError(f"{where}: source {source!r} must be lower case letters, digits, '-'")
        if not re.fullmatch(r"-?\d+", rotate_s) or int(rotate_s) % 45:
            raise TableError(f"{where}: rotation {rotate_s!r} is not a multiple of 45 degrees")
        if not name or not all(32 <= ord(ch) < 127 for ch in name):
            raise TableError(f"{where}: the name must be plain ASCII text")
        if name.lower() in names:
            raise TableError(f"{where}: name {name!r} is also on line {names[name.lower()]}")
        names[name.lower()] = number
        rows.append(GlyphRow(code, iof, direction, column, source, int(rotate_s) % 360, name, number))
    return rows


def rows_by_code(rows):
    return {r.code: r for r in rows}


def rows_by_iof(rows):
    return {(r.iof, r.dir): r for r in rows}


def _local(tag):
    return tag.rsplit("}", 1)[-1]


def _strip_namespace(element):
    element.tag = _local(element.tag)
    for child in element:
        _strip_namespace(child)


_INK_RE = re.compile(r'"(#000|#000000|black)"')


def source_group(symbols_dir, source, x, y, size, rotate=0, colour=INK):
    root = ET.parse(source_path(symbols_dir, source)).getroot()
    inherited = " ".join(f'{k}="{v}"' for k, v in sorted(root.attrib.items())
                         if k.startswith(("fill", "stroke")))
    body = []
    for child in root:
        if _local(child.tag) in ("title", "desc", "metadata"):
            continue
        _strip_namespace(child)
        child.tail = None
        body.append(ET.tostring(child, encoding="unicode"))
    scale = size / 100.0
    transform = f"translate({x:g} {y:g}) scale({scale:g})"
    if rotate % 360:
        transform += f" rotate({rotate % 360} 50 50)"
    text = f'<g transform="{transform}" {inherited}>' + "".join(body) + "</g>"
    return _INK_RE.sub(f'"{colour}"', text)


def glyph_group(symbols_dir, row, x, y, size, colour=INK):
    return source_group(symbols_dir, row.source, x, y, size, row.rotate, colour)
