#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the symbol notation the program reads when it prints.

    build_notation.py --source REPO_ROOT --codes OUT/SymbolCodes.tsv --lines OUT/Lines.tsv

A coach writes a description sheet with the symbols' numbers as the whole-line table has them
(2.4, 12.1:E, 9.1:1.5); the program draws each from the symbol font by its character code. Two
plain tables (ASCII, tab separated, LF, a header line) carry what it needs:

  SymbolCodes.tsv  code, notation, column: every character of the font with the number a coach
                   writes for it (the IOF number, ':' and the compass point or the value of column
                   F) and its column C..H; the sheet's own marks have their word ("start",
                   "finish") and the column "sheet".
  Lines.tsv        number, C, D, E, F, G, H: the cells of every whole line in that notation, from
                   data/lines/lines.tsv.
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "pictures"))

import line_table  # noqa: E402
import symbol_svg  # noqa: E402

SHEET_PREFIX = "sheet-"


def notation(row):
    """The number a coach writes for a font character, or None when it has none."""
    if row.column == "sheet":
        return row.source[len(SHEET_PREFIX):] if row.source.startswith(SHEET_PREFIX) else None
    if row.iof.startswith("9."):
        value = line_table.f_value(row)
        return f"{row.iof}:{value}" if value is not None else row.iof
    return f"{row.iof}:{row.dir}" if row.dir else row.iof


def write(path, header, rows):
    text = "\t".join(header) + "\n" + "".join("\t".join(r) + "\n" for r in rows)
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="ascii", newline="") as fh:
        fh.write(text)
    os.replace(tmp, path)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--source", required=True, help="the repository's root")
    ap.add_argument("--codes", required=True, help="the code table to write")
    ap.add_argument("--lines", required=True, help="the table of whole lines to write")
    args = ap.parse_args(argv)
    try:
        rows = symbol_svg.read_code_table(os.path.join(args.source, "data", "symbols"))
        lines = line_table.read_table(args.source, rows)
    except (symbol_svg.TableError, line_table.TableError, OSError) as e:
        print(f"build_notation: {e}", file=sys.stderr)
        return 1
    seen = {}
    codes = []
    for row in rows:
        written = notation(row)
        if written is None:
            continue
        if written in seen:
            print(f"build_notation: codes {seen[written]} and {row.code} are both {written!r}",
                  file=sys.stderr)
            return 1
        seen[written] = row.code
        codes.append((str(row.code), written, row.column))
    write(args.codes, ("code", "notation", "column"), codes)
    write(args.lines, ("number",) + line_table.CELL_COLUMNS,
          [(str(line.number),) + tuple(line.cells[c] for c in line_table.CELL_COLUMNS)
           for line in lines])
    return 0


if __name__ == "__main__":
    sys.exit(main())
