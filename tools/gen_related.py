#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes Relations.txt: what the program knows of its symbols besides their names and
explanations, for the quick quiz to choose look-alike answers and to pair map symbols with the
description symbols that describe them.

    gen_related.py --source REPO_ROOT --out Relations.txt

The file is single-byte text with CR LF line ends, the same in every language; ';' starts a
comment line. One relation per line, tokens separated by one blank:

  column <code> <column> <iof>           a description symbol of the font: its column (C .. H, or
                                         S for the sheet's own marks) and its IOF number ('-'
                                         without one); directions of one symbol share the number
  group <isom> <group>                   a map symbol's group (landform, rock, water, vegetation,
                                         manmade, technical, course)
  line <number> <C> <D> <E> <F> <G> <H>  a whole line: the font code of each cell, 0 when empty
  described <isom> <code> ...            the description symbols that describe a map symbol

The pairs of `described` come from the English explanations of the map symbols
(data/text/eng/SymbolsAdd.eng): a sentence that begins "Described in column D by <number>" (or
"At a control it is given in column H by <number>") names them, each as its IOF number followed by
its name. Symbols of the other columns in such a sentence only qualify the feature ("1.14 Pit with
8.6 Rocky, stony") and are left out. A sentence that names examples ("by the landform it shapes,
e.g. 1.2 Spur") or the edges of an area ("Its edges are described ...") pairs nothing.
"""
import argparse
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "pictures"))

import content_files  # noqa: E402
import line_table  # noqa: E402
import symbol_svg  # noqa: E402

SHEET_COLUMN = "S"
# the sentences that say which description symbols describe a map symbol
DESCRIBED = re.compile(r"(?:^|(?<=\. ))(?:Described|At a control it is given) in column [DH] by "
                       r"(?=\d)(.*?)(?:\.(?= |$)|$)")
REFERENCE = re.compile(r"(?<![\d.])(\d{1,2}\.\d{1,2}) ")
LINKED_COLUMNS = ("D", "H")


class RelationError(Exception):
    pass


def map_groups(root):
    """{isom: group} of data/maps/symbols.tsv."""
    groups, header = {}, None
    with open(os.path.join(root, "data", "maps", "symbols.tsv"), encoding="utf-8") as fh:
        for line in fh.read().split("\n"):
            if not line.strip() or line.startswith("#"):
                continue
            cells = line.split("\t")
            if header is None:
                header = cells
                continue
            row = dict(zip(header, cells))
            groups[int(row["number"])] = row["group"]
    return groups


def described_by(text, rows):
    """The codes of the description symbols that a map symbol's explanation says describe it, in
    the order named."""
    by_iof = {}
    for r in rows:
        if r.column in LINKED_COLUMNS and not r.dir:
            by_iof.setdefault(r.iof, r)
    codes = []
    for sentence in DESCRIBED.finditer(text):
        said = sentence.group(1)
        for ref in REFERENCE.finditer(said):
            row = by_iof.get(ref.group(1))
            if row is not None and said[ref.end():].startswith(row.name) and row.code not in codes:
                codes.append(row.code)
    return codes


def relations(root):
    """The lines of Relations.txt, without line ends."""
    rows = symbol_svg.read_code_table(os.path.join(root, "data", "symbols"))
    out = ["; Relations between the symbols, made by tools/gen_related.py from data/: "
           "do not edit"]
    for r in sorted(rows, key=lambda r: r.code):
        column = SHEET_COLUMN if r.column == "sheet" else r.column
        out.append(f"column {r.code} {column} {r.iof or '-'}")
    groups = map_groups(root)
    for isom in sorted(groups):
        out.append(f"group {isom} {groups[isom]}")
    by_iof, by_fvalue = line_table.symbol_maps(rows)
    for line in line_table.read_table(root, rows):
        cells = []
        for column in line_table.CELL_COLUMNS:
            row = line_table.cell_row(line, column, by_iof, by_fvalue)
            cells.append(str(row.code) if row else "0")
        out.append(f"line {line.number} {' '.join(cells)}")
    faults = content_files.Faults()
    explanations = content_files.read_numbered(
        os.path.join(content_files.text_dir(root, content_files.ENGLISH), "SymbolsAdd.eng"), faults)
    if explanations is None or faults.items:
        raise RelationError("; ".join(faults.items) or "SymbolsAdd.eng cannot be read")
    for isom in sorted(groups):
        codes = described_by(explanations.get(isom, ("", 0))[0], rows)
        if codes:
            out.append(f"described {isom} {' '.join(str(c) for c in codes)}")
    return out


def main():
    ap = argparse.ArgumentParser(description="Writes Relations.txt for the quick quiz.")
    ap.add_argument("--source", required=True, help="the repository's root")
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    try:
        lines = relations(args.source)
    except (RelationError, symbol_svg.TableError, line_table.TableError, OSError) as e:
        raise SystemExit(f"gen_related: {e}")
    with open(args.out, "w", encoding="ascii", newline="") as fh:
        fh.write("".join(line + "\r\n" for line in lines))


if __name__ == "__main__":
    main()
