# SPDX-License-Identifier: GPL-3.0-or-later
"""Readers of the content files, shared by the content checkers.

tools/check_content.py, tools/check_lines.py and tools/check_map_symbols.py read the same kinds of
file and report what is wrong with them as faults(where, text):

  read_text / read_lines   a content source: UTF-8 within the code page, LF line ends;
  read_numbered            a numbered text file, "<number> <text>" a line, as
                           {number: (text, line)};
  catalogue_entries        a test catalogue's three-line entries (number and name, remark, item
                           line), with the checks of the file's form and of each heading;
  parse_items              a catalogue item line (N<number> values, {...} groups) as its slots,
                           one list of values a slot;
  picture_size             the width and height of an SVG or PNG picture;
  check_picture_size       a picture against its fixed size.

The checkers were written apart and word the same faults differently; their messages are part of
what they promise (tests and people look for them). So every fault is worded by a Style: WORDS
holds check_content.py's words, and a checker that words a fault otherwise, or does not look for
it at all (None), makes its own Style. A Style also holds the few rules in which the checkers
differ: the control bytes a source may hold, how a value follows 'N' on an item line, which
characters may stand between values, whether groups may nest and an empty group still takes a
place. Style() is check_content.py's.

The test scaffolding at the end serves the checkers' tests (tools/pictures/*_tests.py): a copy of
the content to break one thing in, and pictures drawn once for all cases.
"""
import atexit
import collections
import os
import re
import shutil
import tempfile
import unicodedata
import xml.etree.ElementTree as ET

# The reference language: every other language has the numbers, tests and ids it has.
ENGLISH = "eng"

# The pictures of a special or description row: the row (V), the sketch (I), the ground (N).
ROW_PICTURE_SIZES = {"V": (190, 80), "I": (97, 72), "N": (190, 80)}

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"

# How a fault is worded: (where, text), both formats of the fields named below; None for a check
# a checker does not make. Fields: path (as given) and name (its base name) of the file, line (a
# line number), text (that line), error (the system's reason), bytes (the bad bytes, in hex),
# number and first (a number and the line it was first on), where (given by the caller), column,
# char.
WORDS = {
    # read_text
    "missing": ("{path}", "missing"),                     # None: a missing file is unreadable
    "unreadable": ("{name}", "cannot read: {error}"),     # not a folder, no permission
    "cr": ("{name}", "has CR characters; sources keep LF line ends (the build writes CR LF)"),
    "byte": ("{name}:{line}", "a character outside the code page (printable Latin-1 or a letter)"),
    # read_numbered
    "blank_line": None,
    "form": ("{name}:{line}", "not '<number> <text>': {text!r}"),
    "checksum": ("{name}:{line}", "not '<number> <text>': {text!r} (the build adds the checksum "
                                  "line; the source has none)"),
    "twice": ("{name}:{line}", "number {number} is also on line {first}"),
    "no_text": None,
    "padded": None,
    # parse_items
    "no_number": ("{where}", "'N' at column {column} is not followed by a number"),
    "no_blank": ("{where}", "a blank must follow N{number} (column {column})"),
    "nested": None,
    "closes_nothing": ("{where}", "'}}' at column {column} closes no group"),
    "empty_group": ("{where}", "the group ending at column {column} offers no value"),
    "stray": ("{where}", "unexpected character {char!r} at column {column}"),
    "not_closed": ("{where}", "a group is not closed on its line"),
}


class Style:
    """One checker's words and rules for the readers.

    controls: the control bytes a source may hold besides printable ASCII.
    number: what follows 'N' on an item line, the value being its group 1.
    blanks: the characters an item line may hold between values; None for any white space.
    keep_empty_groups: an empty group still takes a place on the item line.
    words: the faults worded otherwise than in WORDS (a (where, text) pair, or None)."""

    def __init__(self, controls=b"\n\r", number=r"\s*(-?\d+)", blanks=None,
                 keep_empty_groups=True, **words):
        unknown = sorted(set(words) - set(WORDS))
        if unknown:
            raise TypeError(f"no such fault: {', '.join(unknown)}")
        self.controls = bytes(controls)
        self.number = number
        self.blanks = blanks
        self.keep_empty_groups = keep_empty_groups
        self.words = dict(WORDS, **words)

    def looks_for(self, kind):
        return self.words[kind] is not None

    def say(self, faults, kind, **fields):
        if self.words[kind] is not None:
            where, text = self.words[kind]
            faults(where.format(**fields), text.format(**fields))

    def is_blank(self, char):
        return char.isspace() if self.blanks is None else char in self.blanks


STYLE = Style()


class Faults:
    """Collects faults as 'where: text' lines, in the order they were found."""

    def __init__(self):
        self.items = []

    def __call__(self, where, text):
        self.items.append(f"{where}: {text}")


# ---------------------------------------------------------------------------------------------
# Languages

def text_root(root):
    return os.path.join(root, "data", "text")


def languages(root):
    """The language codes of the content: every folder of data/text, English first."""
    folder = text_root(root)
    codes = sorted(name for name in os.listdir(folder)
                   if os.path.isdir(os.path.join(folder, name)))
    return sorted(codes, key=lambda code: code != ENGLISH)


def text_dir(root, language):
    """data/text/<code>: the content sources of one language."""
    return os.path.join(text_root(root), language)


# ---------------------------------------------------------------------------------------------
# Text files

def in_code_page(char):
    """A character the content files can hold: printable Latin-1, or a letter Latin-1 lacks (the
    French oe ligature), for which the build writes the file in UTF-8. The codes 128-159 stay out:
    Latin-1 has only control characters there, other code pages put letters there; typographic
    quotes, dashes and the ellipsis are no letters and stay out too."""
    code = ord(char)
    return 32 <= code <= 126 or 160 <= code <= 255 or (
        code > 255 and unicodedata.category(char).startswith("L"))


def read_text(path, faults, style=STYLE):
    """A content source as text: UTF-8 whose characters the code page holds (and style.controls),
    with LF line ends; CR characters are reported and dropped. None when the file is missing or
    cannot be read."""
    file = {"path": path, "name": os.path.basename(path)}
    if style.looks_for("missing") and not os.path.exists(path):
        style.say(faults, "missing", **file)
        return None
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        style.say(faults, "unreadable", error=e.strerror, **file)
        return None
    if b"\r" in data:
        style.say(faults, "cr", **file)
    text = data.decode("utf-8", errors="replace")
    controls = style.controls.decode("latin-1")
    bad = [i for i, c in enumerate(text) if not in_code_page(c) and c not in controls]
    if bad:
        chars = sorted({text[i] for i in bad})
        style.say(faults, "byte", line=text[:bad[0]].count("\n") + 1,
                  bytes=[f"U+{ord(c):04X}" for c in chars], **file)
    return text.replace("\r", "")


def read_lines(path, faults, style=STYLE):
    """read_text split at the line ends (a final line end leaves an empty last line)."""
    text = read_text(path, faults, style)
    return None if text is None else text.split("\n")


def read_numbered(path, faults, first_line_counts=True, style=STYLE):
    """Numbered text lines ("<number> <text>") as {number: (text, line)}; a number given twice
    keeps its first line. With first_line_counts False the first line is a built file's checksum
    line and no entry. None when the file is missing or cannot be read."""
    lines = read_lines(path, faults, style)
    if lines is None:
        return None
    file = {"path": path, "name": os.path.basename(path)}
    if lines and lines[-1] == "":
        lines.pop()
    entries = {}
    for i, line in enumerate(lines, start=1):
        if i == 1 and not first_line_counts:
            continue
        at = dict(file, line=i, text=line)
        if not line.strip() and style.looks_for("blank_line"):
            style.say(faults, "blank_line", **at)
            continue
        m = re.fullmatch(r"(-?\d+)(?: (.*))?", line)
        if m and not m.group(2) and not style.looks_for("no_text"):
            m = None        # a number without a text is no entry at all
        if not m:
            checksum = i == 1 and line.strip().isdigit() and style.looks_for("checksum")
            style.say(faults, "checksum" if checksum else "form", **at)
            continue
        number, text = int(m.group(1)), m.group(2) or ""
        if number in entries:
            style.say(faults, "twice", number=number, first=entries[number][1], **at)
            continue
        if not text.strip():
            style.say(faults, "no_text", number=number, **at)
        elif text != text.strip():
            style.say(faults, "padded", number=number, **at)
        entries[number] = (text, i)
    return entries


# ---------------------------------------------------------------------------------------------
# Test catalogues

Entry = collections.namedtuple("Entry", "line number name remark items")


def catalogue_entries(path, faults, numbers, max_name, name_note="", empty_remark=False,
                      style=STYLE):
    """The entries of a test catalogue of three-line entries: '<test number> <name>', a remark,
    an item line. Checks at once that the file does not end with a line break (the reader would
    take an empty test) and holds whole entries; returns None when it cannot be read, else an
    iterator of Entry that checks each heading as it comes (numbers in range `numbers` and used
    once, names of at most max_name characters and used once in any letter case, with
    empty_remark a remark that is not empty). name_note ends the fault of a long name."""
    lines = read_lines(path, faults, style)
    if lines is None:
        return None
    name = os.path.basename(path)
    if lines[-1] == "":
        faults(name, "ends with a line break; the file must end right after the last item line")
        while lines and lines[-1] == "":
            lines.pop()
    if len(lines) % 3:
        faults(name, f"{len(lines)} lines: entries are three lines each")
    return _entries(lines, name, faults, numbers, max_name, name_note, empty_remark)


def _entries(lines, file, faults, numbers, max_name, name_note, empty_remark):
    seen_numbers, seen_names = {}, {}
    for first in range(0, len(lines) - len(lines) % 3, 3):
        head, remark, items = lines[first:first + 3]
        where = f"{file}:{first + 1}"
        m = re.fullmatch(r"(\d+) (\S.*)", head)
        if not m:
            faults(where, f"not '<test number> <name>': {head!r}")
            continue
        number, name = int(m.group(1)), m.group(2)
        if number not in numbers:
            faults(where, f"test number {number} is outside {numbers.start}-{numbers.stop - 1}")
        if number in seen_numbers:
            faults(where, f"test number {number} is also on line {seen_numbers[number]}")
        seen_numbers[number] = first + 1
        if len(name) > max_name:
            faults(where, f"test name {name!r} is longer than {max_name} characters{name_note}")
        if name.lower() in seen_names:
            faults(where, f"test name {name!r} is also on line {seen_names[name.lower()]}")
        seen_names[name.lower()] = first + 1
        if empty_remark and not remark.strip():
            faults(f"{file}:{first + 2}", "the remark line is empty")
        yield Entry(first + 1, number, name, remark, items)


def parse_items(line, where, faults, style=STYLE):
    """The slots of an item line, one list of values a slot: [v] for a value N<v>, the values of
    a group {...} for the group (a nested group, where the style allows it, is a slot of its own
    before its outer group). The reader takes a number up to the next blank or line end, so a
    number must end at a blank: 'N5}' would be read as '5}'."""
    slots, stack, pos = [], [], 0
    while pos < len(line):
        c = line[pos]
        pos += 1                # the column of c
        if c == "N":
            m = re.match(style.number, line[pos:])
            if not m:
                style.say(faults, "no_number", where=where, column=pos)
                continue
            pos += m.end()
            if pos < len(line) and not line[pos].isspace():
                style.say(faults, "no_blank", where=where, number=m.group(1), column=pos + 1)
            value = int(m.group(1))
            if stack:
                stack[-1].append(value)
            else:
                slots.append([value])
        elif c == "{":
            if stack and style.looks_for("nested"):
                style.say(faults, "nested", where=where, column=pos)
                stack.pop()     # the outer group starts again here
            stack.append([])
        elif c == "}":
            if not stack:
                style.say(faults, "closes_nothing", where=where, column=pos)
                continue
            values = stack.pop()
            if not values:
                style.say(faults, "empty_group", where=where, column=pos)
            if values or style.keep_empty_groups:
                slots.append(values)
        elif not style.is_blank(c):
            style.say(faults, "stray", where=where, char=c, column=pos)
    if stack:
        style.say(faults, "not_closed", where=where)
    return slots


# ---------------------------------------------------------------------------------------------
# Pictures

def picture_size(path, strict=False):
    """(width, height) of an SVG or PNG picture (by its name's ending).

    Loose (the default): whole pixels, truncated; a missing width or height is 0; an SVG that is
    not well-formed raises ET.ParseError. Strict: a PNG must have its signature; an SVG must be
    well-formed with an <svg> root, width and height in pixels that agree with its viewBox, and
    the sizes are not truncated. Raises ValueError when the size cannot be told, OSError when
    the file cannot be read."""
    if path.lower().endswith(".png"):
        with open(path, "rb") as f:
            head = f.read(24)
        if strict and (head[:8] != PNG_SIGNATURE or len(head) < 24):
            raise ValueError("not a PNG file")
        return int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big")
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError as e:
        if not strict:
            raise
        raise ValueError(f"not well-formed XML ({e})") from None
    if not strict:
        return tuple(int(float(root.get(k, "0"))) for k in ("width", "height"))
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


def check_picture_size(name, path, size, faults):
    """Reports the picture `name` at path when it cannot be read or is not of size (w, h)."""
    try:
        got = picture_size(path)
    except (ET.ParseError, OSError, ValueError) as e:
        faults(name, f"cannot be read: {e}")
        return
    if got != size:
        faults(name, f"is {got[0]} x {got[1]}, not {size[0]} x {size[1]}")


# ---------------------------------------------------------------------------------------------
# Test scaffolding

class DrawnOnce:
    """A scratch folder that draw(folder) fills at the first call, for all the tests of a run;
    removed when the program ends."""

    def __init__(self, prefix, draw):
        self.prefix = prefix
        self.draw = draw
        self.folder = None

    def __call__(self):
        if self.folder is None:
            folder = tempfile.mkdtemp(prefix=self.prefix)
            atexit.register(shutil.rmtree, folder, True)
            self.draw(folder)
            self.folder = folder
        return self.folder


class ContentCopy:
    """For a unittest.TestCase that breaks one thing in a copy of the content and expects a
    checker to name it: copy_content() copies parts of the repository into a scratch folder
    self.tmp (removed after the case), edit() changes one text there."""

    def copy_content(self, root, parts, prefix):
        """Copies each relative path in parts (a folder or a file) from root to self.tmp."""
        self.tmp = tempfile.mkdtemp(prefix=prefix)
        self.addCleanup(shutil.rmtree, self.tmp, True)
        for part in parts:
            source, target = os.path.join(root, part), os.path.join(self.tmp, part)
            if os.path.isdir(source):
                shutil.copytree(source, target)
            else:
                os.makedirs(os.path.dirname(target), exist_ok=True)
                shutil.copy(source, target)
        return self.tmp

    def text_path(self, name):
        """The copy of a source of data/text: "Legends.eng" is data/text/eng/Legends.eng,
        "eng/module/texts.tsv" that file of the language folder, "glossary.tsv" the file of
        data/text itself."""
        root = os.path.join(self.tmp, "data", "text")
        if "/" in name or os.path.exists(os.path.join(root, name)):
            return os.path.join(root, *name.split("/"))
        return os.path.join(root, name.rsplit(".", 1)[-1], name)

    def edit(self, name, old, new, count=1):
        """Replaces old (which must be there) by new in the content source `name` (see
        text_path), byte for byte."""
        path = self.text_path(name)
        with open(path, encoding="utf-8", newline="") as fh:
            text = fh.read()
        self.assertIn(old, text)
        with open(path, "w", encoding="utf-8", newline="") as fh:
            fh.write(text.replace(old, new, count))
