#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the map-symbol content: pictures, names, additional texts and the test catalogue.

    check_map_symbols.py --source <repository root> --pictures <folder with B*.svg>
                         [--language CODE]

Every ISOM 2017-2 map symbol (with the January 2024 additions) must have
  - a picture B<number>.svg (or .png) of 113 x 113 pixels,
  - a line "<number> <name>" in data/text/<code>/Symbols.<code>, with a name used by no other
    symbol,
  - a line "<number> <text>" in SymbolsAdd.<code>,
  - a row in data/maps/symbols.tsv, whose name is the English one, and a row in the glossary
    (data/text/glossary.tsv) whose name in the language is the one of Symbols.<code>,
and must appear in at least one test of TypesSym.<code> (English by default). Each test there is three lines
(number and name, remark, item line of N<number> values and {...} groups), has a test number
from 301 to 399 used once, at most 15 values and no symbol twice.

The 2024 sub-symbols 105.2 and 203.2 are numbered 1052 and 2032, since picture names and text
keys are whole numbers. Prints every problem found and exits with status 1 if there is any.
"""

import argparse
import os
import re
import sys

import content_files
import glossary as GLOSSARY

PICTURE_SIZE = 113
MAX_VALUES = 15
TEST_NUMBERS = range(301, 400)
MIN_TESTS = 10


def isom_numbers():
    """The numbers that must have a picture, texts and a test."""
    numbers = list(range(101, 116)) + [1052]
    numbers += list(range(201, 216)) + [2032]
    numbers += list(range(301, 314))
    numbers += list(range(401, 411)) + list(range(412, 420))      # 411 is vacant
    numbers += list(range(501, 533))
    numbers += list(range(601, 604))
    numbers += list(range(701, 714)) + [715]
    return numbers


class Report(content_files.Faults):
    @property
    def problems(self):
        return self.items


# ------------------------------------------------------------------------------------------
# Text files.

# Faults name a file by its path; a source may hold tabs; a number without a text, a blank line
# and blanks around a text are faults of their own; a value need not end at a blank.
STYLE = content_files.Style(
    controls=b"\t\n\r", blanks=" \t", keep_empty_groups=False,
    missing=None,
    unreadable=("{path}", "cannot read: {error}"),
    cr=("{path}", "has CR characters; the repository keeps LF line ends"),
    byte=("{path}", "has characters outside the code page or control bytes {bytes}"),
    blank_line=("{path}:{line}", "blank line"),
    form=("{path}:{line}", "expected '<number> <text>', got {text!r}"),
    checksum=None,
    twice=("{path}:{line}", "number {number} is listed twice"),
    no_text=("{path}:{line}", "number {number} has no text"),
    padded=("{path}:{line}", "text of {number} has blanks at its start or end"),
    no_number=("{where}", "'N' without a number at column {column}"),
    no_blank=None,
    closes_nothing=("{where}", "'}}' without '{{' at column {column}"),
    empty_group=("{where}", "empty group ending at column {column}"),
    stray=("{where}", "stray character {char!r} at column {column}"),
    not_closed=("{where}", "group not closed"))


def read_numbered(path, report):
    """{number: text} of a numbered text file ("<number> <text>" per line)."""
    entries = content_files.read_numbered(path, report, style=STYLE)
    return None if entries is None else {n: text for n, (text, _) in entries.items()}


def check_names(path, names, required, report):
    seen = {}
    for number, name in names.items():
        key = " ".join(name.lower().split())
        if key and key in seen:
            report(path, f"name {name!r} of {number} is also the name of {seen[key]}")
        seen.setdefault(key, number)
    check_coverage(path, names, required, report)


def check_coverage(path, entries, required, report):
    for number in required:
        if number not in entries:
            report(path, f"no line for {number}")
    for number in sorted(set(entries) - set(required)):
        report(path, f"{number} is not an ISOM map symbol of the list")


def read_table_names(path, report):
    """{number: name} of data/maps/symbols.tsv."""
    names = {}
    try:
        lines = open(path, encoding="ascii").read().split("\n")
    except (OSError, UnicodeDecodeError) as e:
        report(path, f"cannot read: {e}")
        return None
    header = None
    for i, line in enumerate(lines, 1):
        if not line.strip() or line.startswith("#"):
            continue
        cells = line.split("\t")
        if header is None:
            header = cells
            continue
        try:
            number = int(cells[0])
        except ValueError:
            report(f"{path}:{i}", f"first cell is not a number: {cells[0]!r}")
            continue
        names[number] = cells[1] if len(cells) > 1 else ""
    return names


# ------------------------------------------------------------------------------------------
# Pictures.

def check_pictures(folder, required, report):
    found = {}
    try:
        names = os.listdir(folder)
    except OSError as e:
        report(folder, f"cannot list: {e.strerror}")
        return found
    for name in names:
        m = re.fullmatch(r"B(\d+)\.(svg|png)", name, re.IGNORECASE)
        if m:
            found.setdefault(int(m.group(1)), os.path.join(folder, name))
    for number in required:
        path = found.get(number)
        if path is None:
            report(folder, f"no picture B{number}.svg")
            continue
        try:
            w, h = content_files.picture_size(path, strict=True)
        except (OSError, ValueError) as e:
            report(path, str(e))
            continue
        if (w, h) != (PICTURE_SIZE, PICTURE_SIZE):
            report(path, f"picture is {w:g} x {h:g}, not {PICTURE_SIZE} x {PICTURE_SIZE}")
    for number in sorted(set(found) - set(required)):
        report(found[number], f"picture for {number}, which is not in the list")
    return found


# ------------------------------------------------------------------------------------------
# Test catalogue.

class Test:
    def __init__(self, number, name, line):
        self.number = number
        self.name = name
        self.line = line
        self.slots = []     # one list of candidates per value: [v] for a value, [a, b] for a group


def parse_items(text, where, report):
    """Slots of an item line: N<number> values and {...} groups (groups may nest; a nested
    group's choice is a slot of its own)."""
    return content_files.parse_items(text, where, report, STYLE)


def read_catalogue(path, report):
    lines = content_files.read_lines(path, report, STYLE)
    if lines is None:
        return None
    if lines and lines[-1] == "":
        report(path, "ends with a line break; the file must end directly after the last item "
                     "line, or an empty test is read")
        lines = lines[:-1]
    tests = []
    i = 0
    while i < len(lines):
        if not lines[i].strip():
            i += 1
            continue
        head = lines[i]
        where = f"{path}:{i + 1}"
        m = re.fullmatch(r"(-?\d+)( .*)", head)
        if not m:
            report(where, f"expected '<test number> <test name>', got {head!r}")
            break
        test = Test(int(m.group(1)), m.group(2), i + 1)
        if not test.name.strip():
            report(where, f"test {test.number} has no name")
        if i + 2 >= len(lines):
            report(where, f"test {test.number} lacks its remark or item line")
            break
        test.slots = parse_items(lines[i + 2], f"{path}:{i + 3}", report)
        tests.append(test)
        i += 3
    return tests


def check_catalogue(path, tests, required, report):
    known = set(required)
    numbers = {}
    used = set()
    for t in tests:
        where = f"{path}:{t.line}"
        if t.number not in TEST_NUMBERS:
            report(where, f"test number {t.number} is outside {TEST_NUMBERS.start}.."
                          f"{TEST_NUMBERS.stop - 1}")
        if t.number in numbers:
            report(where, f"test number {t.number} is also used on line {numbers[t.number]}")
        numbers.setdefault(t.number, t.line)
        if not t.slots:
            report(where, f"test {t.number} has no values")
        if len(t.slots) > MAX_VALUES:
            report(where, f"test {t.number} has {len(t.slots)} values, more than {MAX_VALUES}")
        seen = set()
        for slot in t.slots:
            for value in slot:
                if value not in known:
                    report(where, f"test {t.number} names N{value}, which is not a map symbol "
                                  f"of the list")
                if value in seen:
                    report(where, f"test {t.number} holds N{value} twice")
                seen.add(value)
                used.add(value)
    if len(tests) < MIN_TESTS:
        report(path, f"only {len(tests)} tests; at least {MIN_TESTS} are expected")
    for number in required:
        if number not in used:
            report(path, f"symbol {number} is in no test")


# ------------------------------------------------------------------------------------------

def run(source, pictures, lang="eng"):
    report = Report()
    required = isom_numbers()
    text = content_files.text_dir(source, lang)

    check_pictures(pictures, required, report)

    names_path = os.path.join(text, f"Symbols.{lang}")
    names = read_numbered(names_path, report)
    if names is not None:
        check_names(names_path, names, required, report)

    add_path = os.path.join(text, f"SymbolsAdd.{lang}")
    add = read_numbered(add_path, report)
    if add is not None:
        check_coverage(add_path, add, required, report)

    table_path = os.path.join(source, "data", "maps", "symbols.tsv")
    table = read_table_names(table_path, report)
    if lang != "eng":
        try:
            table_path = "glossary.tsv"
            table = GLOSSARY.read(source).names("isom", lang)
        except (GLOSSARY.GlossaryError, KeyError, OSError) as e:
            report(table_path, f"cannot read: {e}")
            table = None
    if table is not None:
        check_coverage(table_path, table, required, report)
        if names is not None:
            for number in sorted(set(table) & set(names)):
                if table[number] != names[number]:
                    report(table_path, f"name of {number} is {table[number]!r} here but "
                                       f"{names[number]!r} in Symbols.{lang}")

    cat_path = os.path.join(text, f"TypesSym.{lang}")
    tests = read_catalogue(cat_path, report)
    if tests is not None:
        check_catalogue(cat_path, tests, required, report)
    return report.problems, len(required), (len(tests) if tests else 0)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--source", required=True, help="the repository's root")
    ap.add_argument("--pictures", required=True, help="folder holding the B*.svg pictures")
    ap.add_argument("--language", default="eng", help="the language whose texts are checked")
    args = ap.parse_args(argv)
    problems, symbols, tests = run(args.source, args.pictures, args.language)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        print(f"check_map_symbols: {len(problems)} problem(s)", file=sys.stderr)
        return 1
    print(f"check_map_symbols: {args.language}: {symbols} map symbols and {tests} tests are "
          f"complete")
    return 0


if __name__ == "__main__":
    sys.exit(main())
