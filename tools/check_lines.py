#!/usr/bin/env python3
"""Checks the whole description lines, the combination-test catalogue and the sheet walkthrough.

    check_lines.py --source REPO_ROOT --pictures DIR

DIR holds the pictures tools/pictures/gen_lines.py drew. The check fails (exit status 1, one line
per fault) when
  - data/lines/lines.tsv cannot be read: a cell names a symbol codes.tsv does not have, or one
    of the wrong column, a reading is used twice, a flag disagrees with columns F and G;
  - a line's picture V, I or N is missing in DIR or not of its fixed size;
  - Bitm1.eng or Bitm1Add.eng lacks a line's text, holds a text from 1000 up that is not the
    table's (run tools/gen_line_texts.py), or holds a number from 1000 up the table does not have;
    or two lines of Bitm1.eng share a text;
  - types.eng breaks the catalogue format (three-line entries, test numbers 201-299 unique,
    names of at most 24 characters, exactly 15 values, a blank before '}', no line break after
    the last item line), names a value without a text in Bitm1.eng, or holds two values that
    could show the same text;
  - legtab.eng lacks one of the lines 1..29, or a quiz line 8..15 does not begin with its column
    letter and " - " (four characters the quiz cuts off) followed by the text.
"""
import argparse
import os
import re
import sys
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "pictures"))

import line_table  # noqa: E402
import symbol_svg  # noqa: E402

PICTURE_SIZES = {"V": (190, 80), "I": (97, 72), "N": (190, 80)}
TEST_NUMBERS = range(201, 300)
TEST_VALUES = 15
MAX_TEST_NAME = 24
WALKTHROUGH_STEPS = range(1, 30)
COLUMN_ITEMS = {8 + i: letter for i, letter in enumerate("ABCDEFGH")}
PREFIX_LENGTH = 4


class Faults:
    def __init__(self):
        self.items = []

    def __call__(self, where, text):
        self.items.append(f"{where}: {text}")


def read_text(path, faults):
    """A content source as text: plain ASCII with LF line ends. None when missing."""
    name = os.path.basename(path)
    if not os.path.exists(path):
        faults(name, "missing")
        return None
    data = open(path, "rb").read()
    if b"\r" in data:
        faults(name, "has CR characters; sources keep LF line ends (the build writes CR LF)")
    bad = [i for i, b in enumerate(data) if b > 126 or (b < 32 and b != 10)]
    if bad:
        line = data[:bad[0]].count(b"\n") + 1
        faults(f"{name}:{line}", "a character outside plain ASCII")
    return data.decode("latin-1").replace("\r", "")


def read_numbered(path, faults):
    """{number: (text, line)} of a numbered text file."""
    text = read_text(path, faults)
    if text is None:
        return None
    name = os.path.basename(path)
    entries = {}
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    for i, line in enumerate(lines, start=1):
        m = re.fullmatch(r"(-?\d+) (.+)", line)
        if not m:
            faults(f"{name}:{i}", f"not '<number> <text>': {line!r}")
            continue
        number = int(m.group(1))
        if number in entries:
            faults(f"{name}:{i}", f"number {number} is also on line {entries[number][1]}")
            continue
        entries[number] = (m.group(2), i)
    return entries


def picture_size(path):
    root = ET.parse(path).getroot()
    return tuple(int(float(root.get(k, "0"))) for k in ("width", "height"))


# ---------------------------------------------------------------------------------------------

def check_pictures(lines, folder, faults):
    for line in lines:
        for prefix, size in PICTURE_SIZES.items():
            name = f"{prefix}{line.number}"
            path = os.path.join(folder, name + ".svg")
            if not os.path.exists(path):
                faults("pictures", f"{name} ({line.reading}) is missing in {folder}")
                continue
            try:
                got = picture_size(path)
            except (ET.ParseError, OSError, ValueError) as e:
                faults(name, f"cannot be read: {e}")
                continue
            if got != size:
                faults(name, f"is {got[0]} x {got[1]}, not {size[0]} x {size[1]}")


def check_texts(lines, text_dir, faults):
    """Returns {number: text} of Bitm1.eng, for the catalogue check."""
    names = read_numbered(os.path.join(text_dir, "Bitm1.eng"), faults) or {}
    additions = read_numbered(os.path.join(text_dir, "Bitm1Add.eng"), faults) or {}
    by_number = {ln.number: ln for ln in lines}
    for file_name, entries, field in (("Bitm1.eng", names, "reading"),
                                      ("Bitm1Add.eng", additions, "explanation")):
        for line in lines:
            if line.number not in entries:
                faults(file_name, f"no line {line.number} ({line.reading}); run "
                                  f"tools/gen_line_texts.py")
            elif entries[line.number][0] != getattr(line, field):
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
            faults(f"Bitm1.eng:{at}", f"text {text!r} is also used by {seen[key]}")
        else:
            seen[key] = number
    return {n: t for n, (t, _) in names.items()}


def parse_items(line, where, faults):
    """The slots of an item line: a list of value lists (a group offers several)."""
    slots, group, pos = [], None, 0
    while pos < len(line):
        c = line[pos]
        pos += 1
        if c == "N":
            m = re.match(r"(\d+)", line[pos:])
            if not m:
                faults(where, f"'N' at column {pos} is not followed by a number")
                continue
            pos += m.end()
            if pos < len(line) and not line[pos].isspace():
                faults(where, f"a blank must follow N{m.group(1)} (column {pos + 1})")
            value = int(m.group(1))
            if group is not None:
                group.append(value)
            else:
                slots.append([value])
        elif c == "{":
            if group is not None:
                faults(where, f"a group inside a group at column {pos}")
            group = []
        elif c == "}":
            if group is None:
                faults(where, f"'}}' at column {pos} closes no group")
                continue
            if not group:
                faults(where, f"the group ending at column {pos} offers no value")
            else:
                slots.append(group)
            group = None
        elif not c.isspace():
            faults(where, f"unexpected character {c!r} at column {pos}")
    if group is not None:
        faults(where, "a group is not closed on its line")
    return slots


def check_catalogue(text_dir, texts, faults):
    path = os.path.join(text_dir, "types.eng")
    text = read_text(path, faults)
    if text is None:
        return 0
    lines = text.split("\n")
    if lines[-1] == "":
        faults("types.eng", "ends with a line break; the file must end right after the last "
                            "item line")
        while lines and lines[-1] == "":
            lines.pop()
    if len(lines) % 3:
        faults("types.eng", f"{len(lines)} lines: entries are three lines each")
    numbers, names, count = {}, {}, 0
    for first in range(0, len(lines) - len(lines) % 3, 3):
        head, remark, items = lines[first:first + 3]
        where = f"types.eng:{first + 1}"
        m = re.fullmatch(r"(\d+) (\S.*)", head)
        if not m:
            faults(where, f"not '<test number> <name>': {head!r}")
            continue
        count += 1
        number, name = int(m.group(1)), m.group(2)
        if number not in TEST_NUMBERS:
            faults(where, f"test number {number} is outside {TEST_NUMBERS.start}-"
                          f"{TEST_NUMBERS.stop - 1}")
        if number in numbers:
            faults(where, f"test number {number} is also on line {numbers[number]}")
        numbers[number] = first + 1
        if len(name) > MAX_TEST_NAME:
            faults(where, f"test name {name!r} is longer than {MAX_TEST_NAME} characters")
        if name.lower() in names:
            faults(where, f"test name {name!r} is also on line {names[name.lower()]}")
        names[name.lower()] = first + 1
        if not remark.strip():
            faults(f"types.eng:{first + 2}", "the remark line is empty")
        item_where = f"types.eng:{first + 3} (test {number})"
        slots = parse_items(items, item_where, faults)
        if len(slots) != TEST_VALUES:
            faults(item_where, f"{len(slots)} values; a combination test fills all "
                               f"{TEST_VALUES} cells of its grid")
        shown = {}
        for index, slot in enumerate(slots, start=1):
            own = set()
            for v in slot:
                if v not in texts:
                    faults(item_where, f"N{v} has no text in Bitm1.eng")
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


def check_walkthrough(text_dir, faults):
    entries = read_numbered(os.path.join(text_dir, "legtab.eng"), faults)
    if entries is None:
        return
    for step in WALKTHROUGH_STEPS:
        if step not in entries:
            faults("legtab.eng", f"no line {step}")
            continue
        text, at = entries[step]
        letter = COLUMN_ITEMS.get(step)
        if letter is None:
            continue
        head, rest = text[:PREFIX_LENGTH], text[PREFIX_LENGTH:]
        if head != f"{letter} - " or not rest.strip() or rest[0].isspace():
            faults(f"legtab.eng:{at}", f"quiz line {step} must begin with '{letter} - ' (the "
                                       f"{PREFIX_LENGTH} characters the quiz removes) followed "
                                       f"by the text: {text!r}")
    for step, (_, at) in entries.items():
        if step not in WALKTHROUGH_STEPS:
            faults(f"legtab.eng:{at}", f"step {step} is outside 1-{WALKTHROUGH_STEPS.stop - 1}")


def main(argv=None):
    ap = argparse.ArgumentParser(description="Checks the description lines, their pictures and "
                                             "texts, the combination tests and the walkthrough.")
    ap.add_argument("--source", required=True, help="the repository's root")
    ap.add_argument("--pictures", required=True, help="the folder gen_lines.py drew into")
    args = ap.parse_args(argv)
    faults = Faults()
    text_dir = os.path.join(args.source, "data", "text")
    try:
        lines = line_table.read_table(args.source)
    except (line_table.TableError, symbol_svg.TableError, OSError) as e:
        faults("lines.tsv", str(e))
        lines = []
    check_pictures(lines, args.pictures, faults)
    texts = check_texts(lines, text_dir, faults)
    tests = check_catalogue(text_dir, texts, faults)
    check_walkthrough(text_dir, faults)
    for item in faults.items:
        print(f"check_lines: {item}", file=sys.stderr)
    if faults.items:
        print(f"check_lines: {len(faults.items)} fault(s)", file=sys.stderr)
        return 1
    print(f"check_lines: {len(lines)} lines, {tests} combination tests, walkthrough: all right")
    return 0


if __name__ == "__main__":
    sys.exit(main())
