#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the whole description lines, the combination-test catalogue and the sheet walkthrough.

    check_lines.py --source REPO_ROOT --pictures DIR [--language CODE]

DIR holds the pictures tools/pictures/gen_lines.py drew; the texts checked are those of the
language (English by default, data/text/<code>/). The check fails (exit status 1, one line per
fault) when
  - data/lines/lines.tsv cannot be read: a cell names a symbol codes.tsv does not have, or one
    of the wrong column, a reading is used twice, a flag disagrees with columns F and G;
  - a symbol of columns C to H (by its IOF number, in any direction or value) is in no line;
  - a line's picture V, I or N is missing in DIR or not of its fixed size;
  - Bitm1 or Bitm1Add lacks a line's text, holds a number from 1000 up the table does not have,
    or (English) a text from 1000 up that is not the table's (run tools/gen_line_texts.py); or
    two lines of Bitm1 share a text;
  - types breaks the catalogue format (three-line entries, test numbers 201-299 unique,
    names of at most 24 characters, exactly 15 values, a blank before '}', no line break after
    the last item line), names a value without a text in Bitm1.eng, or holds two values that
    could show the same text;
  - legtab lacks one of the lines 1..29, or a quiz line 8..15 does not begin with its column
    letter and " - " (four characters the quiz cuts off) followed by the text.
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "pictures"))

import content_files  # noqa: E402
import line_table  # noqa: E402
import symbol_svg  # noqa: E402
from content_files import Faults, check_picture_size  # noqa: E402

PICTURE_SIZES = content_files.ROW_PICTURE_SIZES
TEST_NUMBERS = range(201, 300)
TEST_VALUES = 15
MAX_TEST_NAME = 24
WALKTHROUGH_STEPS = range(1, 30)
COLUMN_ITEMS = {8 + i: letter for i, letter in enumerate("ABCDEFGH")}
PREFIX_LENGTH = 4


# Sources hold no CR at all, a missing file is named by its name, a value follows 'N' at once
# and is not negative, groups do not nest.
STYLE = content_files.Style(
    controls=b"\n", number=r"(\d+)", keep_empty_groups=False,
    missing=("{name}", "missing"), checksum=None,
    nested=("{where}", "a group inside a group at column {column}"))


def read_numbered(path, faults):
    return content_files.read_numbered(path, faults, style=STYLE)


# ---------------------------------------------------------------------------------------------

def check_coverage(lines, rows, faults):
    """Every symbol of columns C..H, by IOF number, is used by at least one line."""
    used = {line_table.parse_cell(ln.cells[c])[0] for ln in lines for c in line_table.CELL_COLUMNS
            if ln.cells[c]}
    names = {}
    for r in rows:
        if r.column in line_table.CELL_COLUMNS:
            names.setdefault(r.iof, r.name)
    for iof in sorted(set(names) - used, key=lambda n: tuple(int(p) for p in n.split("."))):
        faults("lines.tsv", f"symbol {iof} ({names[iof]}) is in no line")


def check_pictures(lines, folder, faults):
    for line in lines:
        for prefix, size in PICTURE_SIZES.items():
            name = f"{prefix}{line.number}"
            path = os.path.join(folder, name + ".svg")
            if not os.path.exists(path):
                faults("pictures", f"{name} ({line.reading}) is missing in {folder}")
                continue
            check_picture_size(name, path, size, faults)


def check_texts(lines, text_dir, faults, lang="eng"):
    """Returns {number: text} of Bitm1, for the catalogue check. The English texts are the
    table's; the other languages' are their own (tools/check_languages.py holds their readings
    to the glossary)."""
    names = read_numbered(os.path.join(text_dir, f"Bitm1.{lang}"), faults) or {}
    additions = read_numbered(os.path.join(text_dir, f"Bitm1Add.{lang}"), faults) or {}
    by_number = {ln.number: ln for ln in lines}
    for file_name, entries, field in ((f"Bitm1.{lang}", names, "reading"),
                                      (f"Bitm1Add.{lang}", additions, "explanation")):
        for line in lines:
            if line.number not in entries:
                faults(file_name, f"no line {line.number} ({line.reading})"
                       + ("; run tools/gen_line_texts.py" if lang == "eng" else ""))
            elif lang == "eng" and entries[line.number][0] != getattr(line, field):
                faults(f"{file_name}:{entries[line.number][1]}",
                       f"the text of {line.number} is not the table's {field}; run "
                       f"tools/gen_line_texts.py")
        for number, (_, at) in sorted(entries.items()):
            if number >= line_table.FIRST_NUMBER and number not in by_number:
                faults(f"{file_name}:{at}", f"{number} is not a line of data/lines/lines.tsv")
    seen = {}
    for number, (text, at) in sorted(names.items(), key=lambda kv: kv[1][1]):
        key = text.strip().lower()
        if key in seen:
            faults(f"Bitm1.{lang}:{at}", f"text {text!r} is also used by {seen[key]}")
        else:
            seen[key] = number
    return {n: t for n, (t, _) in names.items()}


def check_catalogue(text_dir, texts, faults, lang="eng"):
    entries = content_files.catalogue_entries(
        os.path.join(text_dir, f"types.{lang}"), faults, TEST_NUMBERS, MAX_TEST_NAME,
        empty_remark=True, style=STYLE)
    if entries is None:
        return 0
    count = 0
    for entry in entries:
        count += 1
        item_where = f"types.{lang}:{entry.line + 2} (test {entry.number})"
        slots = content_files.parse_items(entry.items, item_where, faults, STYLE)
        if len(slots) != TEST_VALUES:
            faults(item_where, f"{len(slots)} values; a combination test fills all "
                               f"{TEST_VALUES} cells of its grid")
        shown = {}
        for index, slot in enumerate(slots, start=1):
            own = set()
            for v in slot:
                if v not in texts:
                    faults(item_where, f"N{v} has no text in Bitm1.{lang}")
                    continue
                key = texts[v].strip().lower()
                if key in own:
                    faults(item_where, f"a group offers the text {texts[v]!r} twice")
                own.add(key)
                if key in shown and shown[key] != index:
                    faults(item_where, f"values {shown[key]} and {index} can both show "
                                       f"{texts[v]!r}")
                shown.setdefault(key, index)
    return count


def check_walkthrough(text_dir, faults, lang="eng"):
    legtab = f"legtab.{lang}"
    entries = read_numbered(os.path.join(text_dir, legtab), faults)
    if entries is None:
        return
    for step in WALKTHROUGH_STEPS:
        if step not in entries:
            faults(legtab, f"no line {step}")
            continue
        text, at = entries[step]
        letter = COLUMN_ITEMS.get(step)
        if letter is None:
            continue
        head, rest = text[:PREFIX_LENGTH], text[PREFIX_LENGTH:]
        if head != f"{letter} - " or not rest.strip() or rest[0].isspace():
            faults(f"{legtab}:{at}", f"quiz line {step} must begin with '{letter} - ' (the "
                                       f"{PREFIX_LENGTH} characters the quiz removes) followed "
                                       f"by the text: {text!r}")
    for step, (_, at) in entries.items():
        if step not in WALKTHROUGH_STEPS:
            faults(f"{legtab}:{at}", f"step {step} is outside 1-{WALKTHROUGH_STEPS.stop - 1}")


def main(argv=None):
    ap = argparse.ArgumentParser(description="Checks the description lines, their pictures and "
                                             "texts, the combination tests and the walkthrough.")
    ap.add_argument("--source", required=True, help="the repository's root")
    ap.add_argument("--pictures", required=True, help="the folder gen_lines.py drew into")
    ap.add_argument("--language", default="eng", help="the language whose texts are checked")
    args = ap.parse_args(argv)
    faults = Faults()
    lang = args.language
    text_dir = content_files.text_dir(args.source, lang)
    try:
        rows = symbol_svg.read_code_table(os.path.join(args.source, "data", "symbols"))
        lines = line_table.read_table(args.source, rows)
    except (line_table.TableError, symbol_svg.TableError, OSError) as e:
        faults("lines.tsv", str(e))
        rows, lines = [], []
    if lines:
        check_coverage(lines, rows, faults)
    check_pictures(lines, args.pictures, faults)
    texts = check_texts(lines, text_dir, faults, lang)
    tests = check_catalogue(text_dir, texts, faults, lang)
    check_walkthrough(text_dir, faults, lang)
    for item in faults.items:
        print(f"check_lines: {item}", file=sys.stderr)
    if faults.items:
        print(f"check_lines: {len(faults.items)} fault(s)", file=sys.stderr)
        return 1
    print(f"check_lines: {lang}: {len(lines)} lines, {tests} combination tests, walkthrough: "
          f"all right")
    return 0


if __name__ == "__main__":
    sys.exit(main())
