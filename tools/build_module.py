#!/usr/bin/env python3
"""Builds a language module quill.<code>: the string table, the six screen descriptions and the
message translations of one language, as a binary resource container with the files at its root.

With --override, the texts of a language's module folder take the place of the source's (see
data/text/README.md): strings.txt lines replace the string table's lines of the same id,
texts.tsv rows replace one text property of one widget of one screen. Nothing else changes, so
every id, widget, place and size stays the source's; an id, screen, widget or property the source
does not have is refused. The folder's messages.txt (the system's message texts and their
translations) goes into the module as it is; its qt.txt names the catalogue of Qt's own dialog
texts (qtbase_de) that --qt-translations holds, which goes in as qt.qm. The string table is
Latin-1, or UTF-8 behind the UTF-8 byte-order mark when a language needs a letter Latin-1 lacks."""
import argparse
import glob
import os
import re
import sys
import unicodedata
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
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
        # printable Latin-1, or a letter beyond it (the string table is then written in UTF-8)
        bad = [c for c in line if not (" " <= c <= "~" or "\xa0" <= c <= "\xff" or c == "\t"
                                       or (c > "\xff" and unicodedata.category(c).startswith("L")))]
        if bad:
            raise OverrideError(f"{path}:{n}: {bad[0]!r} is neither printable Latin-1 nor a letter")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return lines


def override_strings(source_text, override_path):
    """The string table source_text with the lines of the override file put in place."""
    lines = source_text.split("\n")
    index = {}
    for i, line in enumerate(lines):
        m = re.match(r"(\d+) ", line)
        if m:
            index.setdefault(m.group(1), i)
    for n, line in enumerate(read_lines(override_path), start=1):
        m = re.fullmatch(r"(\d+) (.+)", line)
        if not m:
            raise OverrideError(f"{override_path}:{n}: not '<id> <text>': {line!r}")
        if m.group(1) not in index:
            raise OverrideError(f"{override_path}:{n}: string {m.group(1)} is not in the table")
        lines[index[m.group(1)]] = line
    return "\n".join(lines)


def string_table_bytes(text):
    """The string table as the program reads it: Latin-1, or UTF-8 after the UTF-8 byte-order
    mark when a text has a letter Latin-1 lacks."""
    try:
        return text.encode("latin-1")
    except UnicodeEncodeError:
        return b"\xef\xbb\xbf" + text.encode("utf-8")


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
    strings = os.path.join(folder, STRINGS)
    if os.path.exists(strings):
        if STRINGS not in by_name:
            raise OverrideError(f"{folder}: the source has no {STRINGS}")
        with open(by_name[STRINGS], encoding="latin-1", newline="") as fh:
            changed[STRINGS] = override_strings(fh.read(), strings)
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
                fh.write(string_table_bytes(changed[name]) if name == STRINGS
                         else changed[name].encode("utf-8"))
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
    ap.add_argument("--source", required=True, help="folder with strings.txt, messages.txt and the .ui files")
    ap.add_argument("--work", required=True)
    ap.add_argument("--rcc", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--any", action="store_true", help="any files: do not require a string table")
    ap.add_argument("--override", help="folder with the module's own texts (strings.txt, texts.tsv, "
                                       "messages.txt, qt.txt)")
    ap.add_argument("--qt-translations", help="folder of Qt's translation catalogues")
    args = ap.parse_args()
    def container_name(path):
        # pictures sit in a container under their bare names ("V1", "B101")
        base, ext = os.path.splitext(os.path.basename(path))
        return base if args.any and ext.lower() in (".svg", ".png") else os.path.basename(path)

    entries = [(container_name(p), p) for p in sorted(glob.glob(os.path.join(args.source, "*")))
               if os.path.isfile(p)]
    if not args.any and not any(name == "strings.txt" for name, _ in entries):
        raise SystemExit(f"{args.source}: no strings.txt")
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
