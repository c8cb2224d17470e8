#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program's string table from its one source, data/text/strings.tsv: the enum of the string
ids (StringId::<name>), the built-in table and the table of each language module.

    gen_strings.py --table data/text/strings.tsv --header OUT/content/StringIds.h \
                   --builtin OUT/strings.txt

The table (see its head) has one row per string: id, name, the built-in text where it is not the
English one, then one column per language. The tables written are "<id> <text>" lines (LF) in the
table's order; the built-in one is Latin-1, a module's Latin-1 or, when a text has a letter
Latin-1 lacks, UTF-8 behind the UTF-8 byte-order mark. tools/build_module.py writes each module's
table with module_table_bytes()."""
import argparse
import os
import re
import sys
import unicodedata

ID = "id"
NAME = "name"
BUILTIN = "builtin"
FIXED_COLUMNS = (ID, NAME, BUILTIN)
ENGLISH = "eng"


class TableError(Exception):
    pass


class Row:
    def __init__(self, number, name, builtin, texts, line, comments):
        self.id = number
        self.name = name
        self.builtin = builtin
        self.texts = texts  # {language: text, empty when the language keeps the built-in text}
        self.line = line
        self.comments = comments  # the comment lines just above the row


class StringTable:
    def __init__(self, path, languages, rows):
        self.path = path
        self.languages = languages
        self.rows = rows

    def builtin_text(self, row):
        return row.builtin or row.texts.get(ENGLISH, "")

    def text(self, row, language):
        return row.texts.get(language) or self.builtin_text(row)


def unprintable(text):
    """The characters of text that are neither printable Latin-1 nor a letter."""
    return [c for c in text if not (" " <= c <= "~" or "\xa0" <= c <= "\xff"
                                    or (c > "\xff" and unicodedata.category(c).startswith("L")))]


def read(path):
    """The table at path; TableError names the line of the first fault."""
    with open(path, encoding="utf-8", newline="") as fh:
        text = fh.read()
    if "\r" in text:
        raise TableError(f"{path}: CR in the file; the sources keep LF line ends")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    header = None
    rows, comments, ids, names = [], [], {}, {}
    for n, line in enumerate(lines, start=1):
        where = f"{path}:{n}"
        if not line:
            continue
        if line.startswith("#"):
            if header is not None:
                comments.append(line[1:].strip())
            continue
        cells = line.split("\t")
        if header is None:
            header = cells
            if tuple(cells[:3]) != FIXED_COLUMNS or len(cells) < 4 or cells[3] != ENGLISH:
                raise TableError(f"{where}: the header must be id, name, builtin, {ENGLISH} and "
                                 f"the other languages, tab separated")
            if len(set(cells)) != len(cells):
                raise TableError(f"{where}: a column named twice")
            continue
        if len(cells) != len(header):
            raise TableError(f"{where}: {len(header)} cells expected, {len(cells)} found")
        number, name, builtin = cells[:3]
        if not re.fullmatch(r"\d{1,5}", number) or int(number) > 65535:
            raise TableError(f"{where}: the id {number!r} is not a number from 0 to 65535")
        if number in ids:
            raise TableError(f"{where}: string {number} is also in line {ids[number]}")
        ids[number] = n
        if name:
            if not re.fullmatch(r"[A-Z][A-Za-z0-9]*", name):
                raise TableError(f"{where}: the name {name!r} is not a CamelCase name")
            if name in names:
                raise TableError(f"{where}: the name {name} is also in line {names[name]}")
            names[name] = n
        for cell in cells[2:]:
            bad = unprintable(cell)
            if bad:
                raise TableError(f"{where}: {bad[0]!r} is neither printable Latin-1 nor a letter")
        row = Row(int(number), name, builtin, dict(zip(header[3:], cells[3:])), n, comments)
        comments = []
        if not (builtin or row.texts[ENGLISH]):
            raise TableError(f"{where}: string {number} has no built-in text and no English one")
        rows.append(row)
    if header is None:
        raise TableError(f"{path}: no header line")
    return StringTable(path, header[3:], rows)


def encode(text):
    """A table as the program reads it: Latin-1, or UTF-8 after the UTF-8 byte-order mark when a
    text has a letter Latin-1 lacks."""
    try:
        return text.encode("latin-1")
    except UnicodeEncodeError:
        return b"\xef\xbb\xbf" + text.encode("utf-8")


def builtin_table_bytes(table):
    text = "".join(f"{row.id} {table.builtin_text(row)}\n" for row in table.rows)
    try:
        return text.encode("latin-1")
    except UnicodeEncodeError as e:
        raise TableError(f"{table.path}: the built-in texts must be Latin-1: {e}") from None


def module_table_bytes(table, language):
    """The string table of the module of `language`: its texts, the built-in ones where it has
    none."""
    if language not in table.languages:
        raise TableError(f"{table.path}: no column for the language {language}")
    return encode("".join(f"{row.id} {table.text(row, language)}\n" for row in table.rows))


def header_text(table):
    out = ["// Made by tools/gen_strings.py from data/text/strings.tsv: edit the table, not this file.",
           "#pragma once", "",
           "// The ids of the program's string table, which every language module carries.",
           "namespace StringId {", "enum : int {"]
    comments = []
    for row in table.rows:
        comments += row.comments
        if row.name:
            out += [f"    // {c}" if c else "    //" for c in comments]
            out.append(f"    {row.name} = {row.id},")
            comments = []
    out += ["};", "} // namespace StringId", ""]
    return "\n".join(out)


def write_if_changed(path, data):
    """Writes data to path unless the file holds it already (so that nothing is rebuilt for an
    unchanged header)."""
    try:
        with open(path, "rb") as fh:
            if fh.read() == data:
                return
    except OSError:
        pass
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as fh:
        fh.write(data)


def main(argv=None):
    ap = argparse.ArgumentParser(description="Writes the string ids' enum and the built-in "
                                             "string table from data/text/strings.tsv.")
    ap.add_argument("--table", required=True)
    ap.add_argument("--header", required=True)
    ap.add_argument("--builtin", required=True)
    args = ap.parse_args(argv)
    try:
        table = read(args.table)
        write_if_changed(args.header, header_text(table).encode("utf-8"))
        write_if_changed(args.builtin, builtin_table_bytes(table))
    except (TableError, OSError, UnicodeDecodeError) as e:
        print(f"gen_strings: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
