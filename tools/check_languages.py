#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that every language has what English has, and the glossary.

    check_languages.py --source REPO_ROOT

Every folder data/text/<code>/ is a language; English (eng) is the reference. The check fails
(exit status 1, one line per fault) when
  - the glossary (data/text/glossary.tsv) cannot be read, lacks the columns of a language folder
    or has columns without one, lacks a description symbol of data/symbols/codes.tsv or a map
    symbol of data/maps/symbols.tsv (or names one they do not have), gives an English name other
    than theirs, or gives two symbols of one kind the same name in a language;
  - a language lacks a content file English has, or has one English has not;
  - a numbered text file (Legends, LegendsAdd, Bitm1, Bitm1Add, Symbols, SymbolsAdd, legtab) of a
    language lacks a number the English one has, or has one it has not;
  - a catalogue (types, TypesLeg, TypesSym) of a language has other test numbers than the
    English one, in another order, or a test whose item line differs from the English one: only
    the names and remarks are the language's own;
  - the string table (data/text/strings.tsv) cannot be read, lacks the column of a language
    folder or has a column without one, or a language has no text for a string English has, one
    for a string English has not, or other placeholders (%1, %2 ...) than the English text;
  - a language's module (module/texts.tsv) translates other screen texts than the English
    module lists;
  - a language other than English lacks module/messages.txt or the translation of a message of
    the program (src/platform/AppError.h), translates a text the program never shows, or changes
    the placeholders (%s, %d) of a message;
  - a whole description line (Bitm1, 1000 and up) does not name each of its symbols as the
    glossary does (its name or one of its short forms), in any language.
"""
import argparse
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "pictures"))

import content_files  # noqa: E402
import gen_strings  # noqa: E402
import glossary as GLOSSARY  # noqa: E402
import line_table  # noqa: E402
import symbol_svg  # noqa: E402
from content_files import ENGLISH, Faults  # noqa: E402

NUMBERED = ("Legends", "LegendsAdd", "Bitm1", "Bitm1Add", "Symbols", "SymbolsAdd", "legtab")
CATALOGUES = ("types", "TypesLeg", "TypesSym")
MODULE = "module"
STRING_TABLE = "strings.tsv"
SCREEN_TEXTS = "texts.tsv"
MESSAGES = "messages.txt"
PLACEHOLDER = re.compile(r"%[sd]")
STRING_PLACEHOLDER = re.compile(r"%\d+")
# the module's tables are tab separated
TABBED = content_files.Style(controls=b"\t\n")


# ---------------------------------------------------------------------------------------------
# The glossary

def check_glossary(root, languages, faults):
    """The glossary, or None when it cannot be read."""
    try:
        glossary = GLOSSARY.read(root)
        rows = symbol_svg.read_code_table(os.path.join(root, "data", "symbols"))
    except (GLOSSARY.GlossaryError, symbol_svg.TableError, OSError) as e:
        faults("glossary.tsv", str(e))
        return None
    for lang in languages:
        if lang not in glossary.languages:
            faults("glossary.tsv", f"no columns '{lang}' and '{lang} short' for data/text/{lang}")
    for lang in glossary.languages:
        if lang not in languages:
            faults("glossary.tsv", f"columns for {lang}, but there is no data/text/{lang}")
    reference = {"code": {r.code: r.name for r in rows},
                 "isom": map_symbol_names(os.path.join(root, "data", "maps", "symbols.tsv"))}
    source = {"code": "codes.tsv", "isom": "symbols.tsv"}
    for kind, names in reference.items():
        english = glossary.names(kind, ENGLISH) if ENGLISH in glossary.languages else {}
        for number, name in sorted(names.items()):
            if number not in english:
                faults("glossary.tsv", f"no row for {kind} {number} ({name})")
            elif english[number] != name:
                faults(f"glossary.tsv:{glossary.lines[(kind, number)]}",
                       f"the English name of {kind} {number} is {english[number]!r}, "
                       f"{source[kind]} says {name!r}")
        for number in sorted(set(english) - set(names)):
            faults(f"glossary.tsv:{glossary.lines[(kind, number)]}",
                   f"{kind} {number} is not in {source[kind]}")
        for lang in glossary.languages:
            seen = {}
            for number, name in sorted(glossary.names(kind, lang).items()):
                key = name.lower()
                if key in seen:
                    faults(f"glossary.tsv:{glossary.lines[(kind, number)]}",
                           f"{lang} name {name!r} of {kind} {number} is also the name of "
                           f"{kind} {seen[key]}")
                seen.setdefault(key, number)
    return glossary


def map_symbol_names(path):
    names = {}
    header = None
    with open(path, encoding="utf-8") as fh:
        for line in fh.read().split("\n"):
            if not line.strip() or line.startswith("#"):
                continue
            if header is None:
                header = line
                continue
            cells = line.split("\t")
            names[int(cells[0])] = cells[1]
    return names


# ---------------------------------------------------------------------------------------------
# One language against English

def content_files_of(folder, lang):
    suffix = "." + lang
    return sorted(name[:-len(suffix)] for name in os.listdir(folder)
                  if name.endswith(suffix) and os.path.isfile(os.path.join(folder, name)))


def check_files(root, lang, faults):
    english = set(content_files_of(content_files.text_dir(root, ENGLISH), ENGLISH))
    own = set(content_files_of(content_files.text_dir(root, lang), lang))
    for base in sorted(english - own):
        faults(f"{lang}/{base}.{lang}", f"missing; English has {base}.{ENGLISH}")
    for base in sorted(own - english):
        faults(f"{lang}/{base}.{lang}", f"English has no {base}.{ENGLISH}")


def numbered(root, lang, base, faults):
    path = os.path.join(content_files.text_dir(root, lang), f"{base}.{lang}")
    if not os.path.exists(path):
        return None
    return content_files.read_numbered(path, faults)


def check_numbers(root, lang, faults):
    for base in NUMBERED:
        english = numbered(root, ENGLISH, base, Faults())
        own = numbered(root, lang, base, faults)
        if english is None or own is None:
            continue
        name = f"{base}.{lang}"
        for number in sorted(set(english) - set(own)):
            faults(name, f"no line for {number}; {base}.{ENGLISH} has one")
        for number in sorted(set(own) - set(english)):
            faults(f"{name}:{own[number][1]}", f"{number} is not in {base}.{ENGLISH}")


def catalogue(root, lang, base, faults):
    path = os.path.join(content_files.text_dir(root, lang), f"{base}.{lang}")
    if not os.path.exists(path):
        return None
    lines = content_files.read_lines(path, faults)
    if lines is None:
        return None
    while lines and not lines[-1].strip():
        lines.pop()
    tests = []
    for first in range(0, len(lines) - 2, 3):
        m = re.match(r"(\d+)", lines[first])
        tests.append((int(m.group(1)) if m else None, lines[first + 2].strip(), first + 1))
    return tests


def check_catalogues(root, lang, faults):
    for base in CATALOGUES:
        english = catalogue(root, ENGLISH, base, Faults())
        own = catalogue(root, lang, base, faults)
        if english is None or own is None:
            continue
        name = f"{base}.{lang}"
        if [t[0] for t in own] != [t[0] for t in english]:
            faults(name, f"test numbers {[t[0] for t in own]} are not those of {base}.{ENGLISH} "
                         f"{[t[0] for t in english]}, in their order")
        values = {number: items for number, items, _ in english}
        for number, items, line in own:
            if number in values and items != values[number]:
                faults(f"{name}:{line + 2}", f"the values of test {number} differ from "
                                             f"{base}.{ENGLISH}'s")


# ---------------------------------------------------------------------------------------------
# The string table: one column per language

def check_strings(root, languages, faults):
    try:
        table = gen_strings.read(os.path.join(content_files.text_root(root), STRING_TABLE))
    except (gen_strings.TableError, OSError, UnicodeDecodeError) as e:
        faults(STRING_TABLE, str(e))
        return
    for lang in languages:
        if lang not in table.languages:
            faults(STRING_TABLE, f"no column '{lang}' for data/text/{lang}")
    for lang in table.languages:
        if lang not in languages:
            faults(STRING_TABLE, f"a column for {lang}, but there is no data/text/{lang}")
    for row in table.rows:
        english = row.texts[ENGLISH]
        for lang in table.languages:
            own = row.texts[lang]
            where = f"{STRING_TABLE}:{row.line}"
            if english and not own:
                faults(where, f"no {lang} text for string {row.id}; English has one")
            elif own and not english:
                faults(where, f"a {lang} text for string {row.id}, which English keeps built in")
            elif sorted(STRING_PLACEHOLDER.findall(own)) != sorted(STRING_PLACEHOLDER.findall(english)):
                faults(where, f"the {lang} text of string {row.id} has the placeholders "
                              f"{sorted(STRING_PLACEHOLDER.findall(own))}, English "
                              f"{sorted(STRING_PLACEHOLDER.findall(english))}")


def screen_texts(root, lang, faults):
    """The (screen, widget, property) of module/texts.tsv."""
    path = os.path.join(content_files.text_dir(root, lang), MODULE, SCREEN_TEXTS)
    if not os.path.exists(path):
        faults(f"{lang}/{MODULE}/{SCREEN_TEXTS}", "missing")
        return None
    lines = content_files.read_lines(path, faults, TABBED)
    if lines is None:
        return None
    keys = {}
    for n, line in enumerate(lines[1:], start=2):
        if line:
            keys.setdefault("/".join(line.split("\t")[:3]), n)
    return keys


def check_module(root, lang, faults):
    english = screen_texts(root, ENGLISH, Faults())
    own = screen_texts(root, lang, faults)
    if english is None or own is None:
        return
    where = f"{lang}/{MODULE}/{SCREEN_TEXTS}"
    for key in sorted(set(english) - set(own)):
        faults(where, f"no screen text {key}; the English module has it")
    for key in sorted(set(own) - set(english)):
        faults(f"{where}:{own[key]}", f"screen text {key} is not in the English module")


def program_messages(root):
    """The message texts of the program: the Msg:: texts of src/platform/AppError.h."""
    with open(os.path.join(root, "src", "platform", "AppError.h"), encoding="utf-8") as fh:
        header = fh.read()
    return re.findall(r'constexpr\s+char\s+\w+\[\]\s*=\s*"((?:[^"\\]|\\.)*)"', header)


def program_literals(root):
    """Every string literal of src/, for telling a text the program shows from a stale one."""
    literals = set()
    for folder, _, files in os.walk(os.path.join(root, "src")):
        for name in files:
            if name.endswith((".cpp", ".h")):
                with open(os.path.join(folder, name), encoding="utf-8") as fh:
                    literals.update(re.findall(r'"((?:[^"\\]|\\.)*)"', fh.read()))
    return literals


def check_messages(root, lang, messages, literals, faults):
    path = os.path.join(content_files.text_dir(root, lang), MODULE, MESSAGES)
    where = f"{lang}/{MODULE}/{MESSAGES}"
    if not os.path.exists(path):
        faults(where, "missing: the program's messages would stay English")
        return
    lines = content_files.read_lines(path, faults, TABBED)
    if lines is None:
        return
    translated = {}
    for n, line in enumerate(lines, start=1):
        if not line:
            continue
        cells = line.split("\t")
        if len(cells) != 2 or not all(cells):
            faults(f"{where}:{n}", f"not '<message>TAB<translation>': {line!r}")
            continue
        message, translation = cells
        translated[message] = n
        if message not in literals:
            faults(f"{where}:{n}", f"the program never shows {message!r}")
        if PLACEHOLDER.findall(message) != PLACEHOLDER.findall(translation):
            faults(f"{where}:{n}", f"the translation of {message!r} has the placeholders "
                                   f"{PLACEHOLDER.findall(translation)}, not "
                                   f"{PLACEHOLDER.findall(message)}")
    for message in messages:
        if message not in translated:
            faults(where, f"no translation of {message!r}")


# ---------------------------------------------------------------------------------------------
# Whole lines read with the glossary's names

def check_line_readings(root, lang, glossary, lines, rows, faults):
    texts = numbered(root, lang, "Bitm1", faults)
    if texts is None or glossary is None or lang not in glossary.languages:
        return
    by_iof, by_fvalue = line_table.symbol_maps(rows)
    for line in lines:
        if line.number not in texts:
            continue
        reading, at = texts[line.number]
        said = reading.lower()
        for column in line_table.CELL_COLUMNS:
            row = line_table.cell_row(line, column, by_iof, by_fvalue)
            if row is None or ("code", row.code) not in glossary.rows:
                continue
            forms = glossary.forms("code", row.code, lang)
            if not any(form.lower() in said for form in forms):
                faults(f"Bitm1.{lang}:{at}", f"line {line.number} {reading!r} does not name "
                                             f"column {column} as the glossary does: "
                                             f"{' | '.join(forms)}")


def run(root):
    faults = Faults()
    languages = content_files.languages(root)
    if ENGLISH not in languages:
        faults("data/text", f"no {ENGLISH} folder: English is the reference")
        return faults.items, languages
    glossary = check_glossary(root, languages, faults)
    check_strings(root, languages, faults)
    try:
        rows = symbol_svg.read_code_table(os.path.join(root, "data", "symbols"))
        lines = line_table.read_table(root, rows)
    except (symbol_svg.TableError, line_table.TableError, OSError) as e:
        faults("lines.tsv", str(e))
        rows, lines = [], []
    messages = program_messages(root)
    literals = program_literals(root)
    for lang in languages:
        check_line_readings(root, lang, glossary, lines, rows, faults)
        if lang == ENGLISH:
            continue
        check_files(root, lang, faults)
        check_numbers(root, lang, faults)
        check_catalogues(root, lang, faults)
        check_module(root, lang, faults)
        check_messages(root, lang, messages, literals, faults)
    return faults.items, languages


def main(argv=None):
    ap = argparse.ArgumentParser(description="Checks every language against English, and the "
                                             "glossary.")
    ap.add_argument("--source", required=True, help="the repository's root")
    args = ap.parse_args(argv)
    problems, languages = run(args.source)
    for p in problems:
        print(f"check_languages: {p}", file=sys.stderr)
    if problems:
        print(f"check_languages: {len(problems)} fault(s)", file=sys.stderr)
        return 1
    print(f"check_languages: {', '.join(languages)}: complete")
    return 0


if __name__ == "__main__":
    sys.exit(main())
