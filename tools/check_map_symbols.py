#!/usr/bin/env python3
"""Checks the map-symbol content: pictures, names, additional texts and the test catalogue.

    check_map_symbols.py --source <repository root> --pictures <folder with B*.svg>

Every ISOM 2017-2 map symbol (with the January 2024 additions) must have
  - a picture B<number>.svg (or .png) of 113 x 113 pixels,
  - a line "<number> <name>" in data/text/Symbols.eng, with a name used by no other symbol,
  - a line "<number> <text>" in data/text/SymbolsAdd.eng,
  - a row in data/maps/symbols.tsv with the same name,
and must appear in at least one test of data/text/TypesSym.eng. Each test there is three lines
(number and name, remark, item line of N<number> values and {...} groups), has a test number
from 301 to 399 used once, at most 15 values and no symbol twice.

The 2024 sub-symbols 105.2 and 203.2 are numbered 1052 and 2032, since picture names and text
keys are whole numbers. Prints every problem found and exits with status 1 if there is any.
"""

import argparse
import os
import re
import struct
import sys
import xml.etree.ElementTree as ET

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


class Report:
    def __init__(self):
        self.problems = []

    def __call__(self, where, message):
        self.problems.append(f"{where}: {message}")


# ------------------------------------------------------------------------------------------
# Text files.

def read_lines(path, report):
    """Lines of an LF text file in plain ASCII; None if it cannot be read."""
    try:
        data = open(path, "rb").read()
    except OSError as e:
        report(path, f"cannot read: {e.strerror}")
        return None
    if b"\r" in data:
        report(path, "has CR characters; the repository keeps LF line ends")
    bad = sorted({b for b in data if b > 126 or (b < 32 and b not in (9, 10, 13))})
    if bad:
        report(path, f"has non-ASCII or control bytes {[hex(b) for b in bad]}")
    return data.decode("latin-1").replace("\r", "").split("\n")


def read_numbered(path, report):
    """{number: text} of a numbered text file ("<number> <text>" per line)."""
    lines = read_lines(path, report)
    if lines is None:
        return None
    if lines and lines[-1] == "":
        lines = lines[:-1]
    entries = {}
    for i, line in enumerate(lines, 1):
        where = f"{path}:{i}"
        if not line.strip():
            report(where, "blank line")
            continue
        m = re.fullmatch(r"(-?\d+)(?: (.*))?", line)
        if not m:
            report(where, f"expected '<number> <text>', got {line!r}")
            continue
        number, text = int(m.group(1)), m.group(2) or ""
        if number in entries:
            report(where, f"number {number} is listed twice")
            continue
        if not text.strip():
            report(where, f"number {number} has no text")
        elif text != text.strip():
            report(where, f"text of {number} has blanks at its start or end")
        entries[number] = text
    return entries


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

def picture_size(path):
    """(width, height) of an SVG or PNG picture; raises ValueError when it cannot be told."""
    if path.lower().endswith(".png"):
        with open(path, "rb") as f:
            head = f.read(24)
        if head[:8] != b"\x89PNG\r\n\x1a\n":
            raise ValueError("not a PNG file")
        return struct.unpack(">II", head[16:24])
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError as e:
        raise ValueError(f"not well-formed XML ({e})") from None
    if not root.tag.endswith("svg"):
        raise ValueError("root element is not <svg>")

    def length(attr):
        value = root.get(attr)
        if value is None:
            raise ValueError(f"no {attr} attribute")
        m = re.fullmatch(r"\s*([0-9.]+)\s*(px)?\s*", value)
        if not m:
            raise ValueError(f"{attr}={value!r} is not a pixel size")
        return float(m.group(1))

    size = (length("width"), length("height"))
    box = root.get("viewBox")
    if box is not None:
        parts = [float(v) for v in box.replace(",", " ").split()]
        if len(parts) != 4 or (parts[2], parts[3]) != size:
            raise ValueError(f"viewBox {box!r} does not match width and height")
    return size


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
            w, h = picture_size(path)
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
    slots = []
    stack = []
    i = 0
    while i < len(text):
        ch = text[i]
        if ch == "N":
            m = re.match(r"N\s*(-?\d+)", text[i:])
            if not m:
                report(where, f"'N' without a number at column {i + 1}")
                i += 1
                continue
            value = int(m.group(1))
            if stack:
                stack[-1].append(value)
            else:
                slots.append([value])
            i += m.end()
            continue
        if ch == "{":
            stack.append([])
        elif ch == "}":
            if not stack:
                report(where, f"'}}' without '{{' at column {i + 1}")
            else:
                group = stack.pop()
                if not group:
                    report(where, f"empty group ending at column {i + 1}")
                else:
                    slots.append(group)
        elif ch not in " \t":
            report(where, f"stray character {ch!r} at column {i + 1}")
        i += 1
    if stack:
        report(where, "group not closed")
    return slots


def read_catalogue(path, report):
    lines = read_lines(path, report)
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

def run(source, pictures):
    report = Report()
    required = isom_numbers()
    text = os.path.join(source, "data", "text")

    check_pictures(pictures, required, report)

    names_path = os.path.join(text, "Symbols.eng")
    names = read_numbered(names_path, report)
    if names is not None:
        check_names(names_path, names, required, report)

    add_path = os.path.join(text, "SymbolsAdd.eng")
    add = read_numbered(add_path, report)
    if add is not None:
        check_coverage(add_path, add, required, report)

    table_path = os.path.join(source, "data", "maps", "symbols.tsv")
    table = read_table_names(table_path, report)
    if table is not None:
        check_coverage(table_path, table, required, report)
        if names is not None:
            for number in sorted(set(table) & set(names)):
                if table[number] != names[number]:
                    report(table_path, f"name of {number} is {table[number]!r} here but "
                                       f"{names[number]!r} in Symbols.eng")

    cat_path = os.path.join(text, "TypesSym.eng")
    tests = read_catalogue(cat_path, report)
    if tests is not None:
        check_catalogue(cat_path, tests, required, report)
    return report.problems, len(required), (len(tests) if tests else 0)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--source", required=True, help="the repository's root")
    ap.add_argument("--pictures", required=True, help="folder holding the B*.svg pictures")
    args = ap.parse_args(argv)
    problems, symbols, tests = run(args.source, args.pictures)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        print(f"check_map_symbols: {len(problems)} problem(s)", file=sys.stderr)
        return 1
    print(f"check_map_symbols: {symbols} map symbols and {tests} tests are complete")
    return 0


if __name__ == "__main__":
    sys.exit(main())
