# SPDX-License-Identifier: GPL-3.0-or-later
"""The glossary: data/text/glossary.tsv, one name per symbol in every language.

Every description symbol (by its code in data/symbols/codes.tsv) and every map symbol (by its
ISOM number, written as in data/maps/symbols.tsv) has one row. The content files take their names
from it: Legends.<code> and Symbols.<code> give exactly these names, and a whole description line
(Bitm1.<code>, 1000 and up) is read out with the name, or one of the short forms, of each of its
symbols; tools/check_languages.py holds them to it.

Columns (tab separated, header line first, '#' starts a comment line):
  kind             "code" (a description symbol) or "isom" (a map symbol)
  number           the code or the ISOM number
  <lang>           the name in that language, as the legend shows it
  <lang> short     the shorter forms a running text may use instead ("path" for "Track / path",
                   the stem "nördlich" for "Nördlicher"), separated by '|'; may be empty
A language is a pair of columns; every language folder of data/text has one.

Functions:
  read(root) -> Glossary; raises GlossaryError naming the line.
"""
import os
import re

KINDS = ("code", "isom")
FIXED = ("kind", "number")
SHORT = " short"


class GlossaryError(Exception):
    pass


class Glossary:
    def __init__(self, languages):
        self.languages = languages
        self.rows = {}          # (kind, number) -> {lang: (name, [short forms])}
        self.lines = {}         # (kind, number) -> line in the file

    def names(self, kind, language):
        """{number: name} of one kind of symbol in one language."""
        return {number: row[language][0] for (k, number), row in self.rows.items() if k == kind}

    def forms(self, kind, number, language):
        """The name and the short forms of one symbol, the name first."""
        name, shorts = self.rows[(kind, number)][language]
        return [name] + shorts


def path_of(root):
    return os.path.join(root, "data", "text", "glossary.tsv")


def read(root):
    path = path_of(root)
    with open(path, encoding="utf-8", newline="") as fh:
        text = fh.read()
    if "\r" in text:
        raise GlossaryError(f"{path}: CR in the file; the glossary keeps LF line ends")
    glossary = None
    for lineno, raw in enumerate(text.split("\n"), start=1):
        if not raw.strip() or raw.startswith("#"):
            continue
        cells = raw.split("\t")
        where = f"glossary.tsv:{lineno}"
        if glossary is None:
            languages = cells[len(FIXED)::2]
            shorts = cells[len(FIXED) + 1::2]
            if (tuple(cells[:len(FIXED)]) != FIXED or not languages
                    or shorts != [lang + SHORT for lang in languages]):
                raise GlossaryError(f"{where}: the header must be kind, number and for each "
                                    f"language '<code>' and '<code> short' (tab separated)")
            glossary = Glossary(languages)
            header = cells
            continue
        if len(cells) != len(header):
            raise GlossaryError(f"{where}: {len(cells)} cells, {len(header)} expected")
        kind, number = cells[0], cells[1]
        if kind not in KINDS:
            raise GlossaryError(f"{where}: kind {kind!r} is not one of {', '.join(KINDS)}")
        if not re.fullmatch(r"\d+", number):
            raise GlossaryError(f"{where}: number {number!r} is not a whole number")
        key = (kind, int(number))
        if key in glossary.rows:
            raise GlossaryError(f"{where}: {kind} {number} is also on line {glossary.lines[key]}")
        row = {}
        for i, language in enumerate(glossary.languages):
            name = cells[len(FIXED) + 2 * i].strip()
            shorts = [s.strip() for s in cells[len(FIXED) + 2 * i + 1].split("|") if s.strip()]
            if not name:
                raise GlossaryError(f"{where}: {kind} {number} has no name in {language}")
            row[language] = (name, shorts)
        glossary.rows[key] = row
        glossary.lines[key] = lineno
    if glossary is None:
        raise GlossaryError(f"{path}: empty glossary")
    return glossary
