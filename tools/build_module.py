#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds a language module quill.<code>: the string table, the six screen descriptions and the
message translations of one language, as a binary resource container with the files at its root.

The string table is the language's column of data/text/strings.tsv (--strings-table and
--language, written by tools/gen_strings.py: Latin-1, or UTF-8 behind the UTF-8 byte-order mark
when a language needs a letter Latin-1 lacks). With --override, the texts of a language's module
folder take the place of the source's (see data/text/README.md): texts.tsv rows replace one text
property of one widget of one screen. Nothing else changes, so every widget, place and size stays
the source's; a screen, widget or property the source does not have is refused. The folder's
messages.txt (the system's message texts and their translations) goes into the module as it is;
its qt.txt names the catalogue of Qt's own dialog texts (qtbase_de) that --qt-translations holds,
which goes in as qt.qm."""
import argparse
import glob
import os
import re
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen_strings  # noqa: E402
from rcc_container import write_container  # noqa: E402

STRINGS = "strings.txt"
SCREEN_TEXTS = "texts.tsv"
MESSAGES = "messages.txt"
QT_CATALOGUE = "qt.txt"
QT_TEXTS = "qt.qm"
SCREEN_TEXTS_HEADER = ("screen", "widget", "property", "text")


class OverrideError(Exception):
    pass


def read_lines(path):
    with open(path, encoding="utf-8", newline="") as fh:
        text = fh.read()
    if "\r" in text:
        raise OverrideError(f"{path}: CR in the file; the sources keep LF line ends")
    for n, line in enumerate(text.split("\n"), start=1):
        bad = gen_strings.unprintable(line.replace("\t", ""))
        if bad:
            raise OverrideError(f"{path}:{n}: {bad[0]!r} is neither printable Latin-1 nor a letter")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return lines


def override_screen(ui_text, screen, rows, where):
    """The screen description ui_text with the text properties of rows [(widget, property,
    text)] replaced."""
    root = ET.fromstring(ui_text)
    for widget_name, prop, text, at in rows:
        widget = root.find(f".//widget[@name='{widget_name}']")
        if widget is None:
            raise OverrideError(f"{where}:{at}: {screen} has no widget {widget_name}")
        item = re.fullmatch(r"item:(\d+)", prop)
        if item:
            items = widget.findall("item")
            if int(item.group(1)) >= len(items):
                raise OverrideError(f"{where}:{at}: {widget_name} has no {prop}")
            node = items[int(item.group(1))].find("property[@name='text']/string")
        else:
            node = widget.find(f"property[@name='{prop}']/string")
        if node is None:
            raise OverrideError(f"{where}:{at}: {widget_name} has no text property {prop}")
        node.text = text
    return '<?xml version="1.0" encoding="UTF-8"?>\n' + ET.tostring(root, encoding="unicode") + "\n"


def read_screen_texts(path):
    """{screen: [(widget, property, text, line)]} of texts.tsv."""
    lines = read_lines(path)
    if not lines or tuple(lines[0].split("\t")) != SCREEN_TEXTS_HEADER:
        raise OverrideError(f"{path}:1: the header must be {' '.join(SCREEN_TEXTS_HEADER)}")
    screens = {}
    for n, line in enumerate(lines[1:], start=2):
        cells = line.split("\t")
        if len(cells) != 4 or not all(cells):
            raise OverrideError(f"{path}:{n}: four cells expected: {line!r}")
        screens.setdefault(cells[0], []).append((cells[1], cells[2], cells[3], n))
    return screens


def apply_override(entries, folder, work):
    """entries [(name in the container, path)] with the override folder's texts put in place;
    the changed files are written into work."""
    os.makedirs(work, exist_ok=True)
    by_name = dict(entries)
    changed = {}
    if os.path.exists(os.path.join(folder, STRINGS)):
        raise OverrideError(f"{folder}: a module's strings are its column of data/text/strings.tsv, "
                            f"not {STRINGS}")
    texts = os.path.join(folder, SCREEN_TEXTS)
    if os.path.exists(texts):
        for screen, rows in read_screen_texts(texts).items():
            name = screen + ".ui"
            if name not in by_name:
                raise OverrideError(f"{texts}: the source has no screen {screen}")
            with open(by_name[name], encoding="utf-8") as fh:
                changed[name] = override_screen(fh.read(), screen, rows, texts)
    out = []
    for name, path in entries:
        if name in changed:
            path = os.path.join(work, "override-" + name)
            with open(path, "wb") as fh:
                fh.write(changed[name].encode("utf-8"))
        out.append((name, path))
    messages = os.path.join(folder, MESSAGES)
    if os.path.exists(messages):
        for n, line in enumerate(read_lines(messages), start=1):
            if len(line.split("\t")) != 2 or not all(line.split("\t")):
                raise OverrideError(f"{messages}:{n}: not '<message>TAB<translation>': {line!r}")
        out.append((MESSAGES, messages))
    return out


def qt_texts(folder, translations):
    """(qt.qm, path) of the Qt catalogue the folder's qt.txt names; None without a qt.txt."""
    named = os.path.join(folder, QT_CATALOGUE)
    if not os.path.exists(named):
        return None
    catalogue = "".join(read_lines(named)).strip()
    path = os.path.join(translations or "", catalogue + ".qm")
    if not re.fullmatch(r"[\w-]+", catalogue) or not os.path.isfile(path):
        raise OverrideError(f"{named}: no Qt catalogue {catalogue!r} in {translations} (Debian: "
                            f"qt6-translations-l10n)")
    return (QT_TEXTS, path)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--source", required=True, help="folder with the .ui files")
    ap.add_argument("--work", required=True)
    ap.add_argument("--rcc", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--any", action="store_true", help="any files: do not require a string table")
    ap.add_argument("--strings-table", help="data/text/strings.tsv, whose --language column "
                                            "becomes the module's strings.txt")
    ap.add_argument("--language", help="the language code of the module")
    ap.add_argument("--override", help="folder with the module's own texts (texts.tsv, "
                                       "messages.txt, qt.txt)")
    ap.add_argument("--qt-translations", help="folder of Qt's translation catalogues")
    args = ap.parse_args()
    def container_name(path):
        # pictures sit in a container under their bare names ("V1", "B101")
        base, ext = os.path.splitext(os.path.basename(path))
        return base if args.any and ext.lower() in (".svg", ".png") else os.path.basename(path)

    entries = [(container_name(p), p) for p in sorted(glob.glob(os.path.join(args.source, "*")))
               if os.path.isfile(p)]
    if bool(args.strings_table) != bool(args.language):
        ap.error("--strings-table and --language go together")
    try:
        if args.strings_table:
            path = os.path.join(args.work, STRINGS)
            os.makedirs(args.work, exist_ok=True)
            table = gen_strings.read(args.strings_table)
            with open(path, "wb") as fh:
                fh.write(gen_strings.module_table_bytes(table, args.language))
            entries = [e for e in entries if e[0] != STRINGS] + [(STRINGS, path)]
    except (gen_strings.TableError, OSError, UnicodeDecodeError) as e:
        raise SystemExit(f"build_module: {e}")
    if not args.any and not any(name == STRINGS for name, _ in entries):
        raise SystemExit(f"{args.source}: no {STRINGS} (give --strings-table and --language)")
    if args.override:
        try:
            entries = apply_override(entries, args.override, args.work)
            qt = qt_texts(args.override, args.qt_translations)
            if qt:
                entries.append(qt)
        except (OverrideError, ET.ParseError, OSError, UnicodeDecodeError) as e:
            raise SystemExit(f"build_module: {e}")
    write_container(entries, args.work, args.rcc, args.out)


if __name__ == "__main__":
    main()
