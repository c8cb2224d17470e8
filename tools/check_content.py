#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the description content against the code table and the built symbol font.

    check_content.py --source REPO_ROOT --font Pictor07.TTF [--language CODE]

data/symbols/codes.tsv is the reference, and the glossary (data/text/glossary.tsv) gives each
symbol's name in the language checked (English by default; its texts are data/text/<code>/).
The check fails (exit status 1, one line per fault) when
  - the font lacks a code in its Unicode map (U+00NN) or its symbol map (U+F0NN), draws an empty
    glyph for it, or holds a glyph or a mapped code that the table does not have;
  - the font's names, metrics or code-page bits are not the ones the program relies on, or the
    font differs from a fresh build of the same sources (a stale or an unreproducible build);
  - a code has no line in Legends or LegendsAdd, a Legends text differs from the glossary's
    name, or two Legends lines share a text (a round judges a press by its text);
  - a special-instruction row (990-999) named in Bitm1 lacks its explanation in Bitm1Add
    or one of its pictures V, I, N (drawn by tools/pictures/gen_special.py or kept in
    data/pictures) is missing or not of its fixed size;
  - TypesLeg is not in the catalogue format (three-line entries, test numbers 101-199 unique,
    names of at most 24 characters, no line break after the last item line), names a value that
    has no text, holds more than 15 values or two values that could show the same text, or
    leaves a symbol or special row in no test;
  - a text of the language names a symbol by its number and a capitalised name other than the
    glossary's ("3.5 Ditch" where it says "Minor water channel, ditch"): one name per symbol.
Needs Python 3 and fontTools.
"""
import argparse
import glob
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "pictures"))
import symbol_svg  # noqa: E402
import glossary as GLOSSARY  # noqa: E402
from content_files import (Faults, catalogue_entries, check_picture_size,  # noqa: E402
                           parse_items, read_numbered, ROW_PICTURE_SIZES)

FAMILY = "PictorMarks"
MAX_TEST_VALUES = 15
MAX_TEST_NAME = 24
TEST_NUMBERS = range(101, 200)
PICTURE_NUMBERS = range(990, 1000)
PICTURE_SIZES = ROW_PICTURE_SIZES
# A symbol number in running text ("3.5", "12.10"), not part of a longer number ("105.2").
SYMBOL_NUMBER = re.compile(r"(?<![\w.])(\d{1,2}\.\d{1,2})(?![\w.])")


# ---------------------------------------------------------------------------------------------
# The font

def check_font(font_path, rows, symbols_dir, faults, rebuild=True):
    from fontTools.ttLib import TTFont
    name = os.path.basename(font_path)
    try:
        font = TTFont(font_path)
    except Exception as e:  # fontTools raises many kinds for a broken file
        faults(name, f"cannot be read: {e}")
        return
    codes = {r.code: r for r in rows}
    unicode_map = font["cmap"].getcmap(3, 1)
    symbol_map = font["cmap"].getcmap(3, 0)
    if unicode_map is None:
        faults(name, "no Unicode character map (3,1)")
    if symbol_map is None:
        faults(name, "no Windows symbol character map (3,0)")
    if unicode_map is None or symbol_map is None:
        return
    glyf = font["glyf"]
    reached = set()
    for r in rows:
        g1 = unicode_map.cmap.get(r.code)
        g0 = symbol_map.cmap.get(0xF000 + r.code)
        if g1 is None:
            faults(name, f"code {r.code} ({r.name}) is missing in the Unicode map")
        if g0 is None:
            faults(name, f"code {r.code} ({r.name}) is missing in the symbol map")
        if g1 and g0 and g1 != g0:
            faults(name, f"code {r.code} ({r.name}) leads to two different glyphs")
        for g in {g1, g0} - {None}:
            reached.add(g)
            if glyf[g].numberOfContours == 0:
                faults(name, f"code {r.code} ({r.name}) has an empty glyph")
    for table, base in ((unicode_map, 0), (symbol_map, 0xF000)):
        for u, g in sorted(table.cmap.items()):
            code = u - base
            if code != 32 and code not in codes:
                faults(name, f"U+{u:04X} maps to glyph {g}, but code {code} is not in codes.tsv")
    space = unicode_map.cmap.get(32)
    if space is None or glyf[space].numberOfContours != 0:
        faults(name, "code 32 must be a blank space")
    for g in font.getGlyphOrder():
        if g not in reached and g not in (".notdef", space):
            faults(name, f"glyph {g} has no code in codes.tsv")

    expect = [("head.unitsPerEm", font["head"].unitsPerEm, 1000),
              ("hhea.ascent", font["hhea"].ascent, 800), ("hhea.descent", font["hhea"].descent, -200),
              ("OS/2.sTypoAscender", font["OS/2"].sTypoAscender, 800),
              ("OS/2.sTypoDescender", font["OS/2"].sTypoDescender, -200),
              ("OS/2.usWinAscent", font["OS/2"].usWinAscent, 800),
              ("OS/2.usWinDescent", font["OS/2"].usWinDescent, 200)]
    for what, got, want in expect:
        if got != want:
            faults(name, f"{what} is {got}, not {want}")
    pages = font["OS/2"].ulCodePageRange1
    if not pages & 1 or not pages & (1 << 31):
        faults(name, f"ulCodePageRange1 0x{pages:08X} lacks bit 0 (Latin 1) or bit 31 (symbol)")
    for name_id in (1, 4, 6):
        records = [n for n in font["name"].names if n.nameID == name_id]
        if not records or any(n.toUnicode() != FAMILY for n in records):
            faults(name, f"name {name_id} is not {FAMILY!r} in every record")
    widths = {w for w, _ in font["hmtx"].metrics.values()}
    if widths != {1000}:
        faults(name, f"advance widths {sorted(widths)}; every glyph must be 1000 wide")
    for g in font.getGlyphOrder():
        glyph = glyf[g]
        if glyph.numberOfContours and (glyph.xMin < 0 or glyph.xMax > 1000
                                       or glyph.yMin < -200 or glyph.yMax > 800):
            faults(name, f"glyph {g} leaves the em box")
    font.close()

    if rebuild:
        builder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "build_font.py")
        with tempfile.TemporaryDirectory() as tmp:
            fresh = os.path.join(tmp, "Pictor07.TTF")
            run = subprocess.run([sys.executable, builder, "--data", symbols_dir, "--out", fresh],
                                 capture_output=True, text=True)
            if run.returncode:
                faults("build_font.py", run.stderr.strip() or "failed")
            elif open(fresh, "rb").read() != open(font_path, "rb").read():
                faults(name, "differs from a fresh build of data/symbols (stale, or the build "
                             "is not reproducible)")


def check_drawings(rows, symbols_dir, faults):
    used = {r.source for r in rows}
    for source in sorted(used):
        if not os.path.exists(symbol_svg.source_path(symbols_dir, source)):
            faults("codes.tsv", f"drawing glyphs/{source}.svg is missing")
    for path in sorted(glob.glob(os.path.join(symbols_dir, "glyphs", "*.svg"))):
        source = os.path.splitext(os.path.basename(path))[0]
        if source not in used:
            faults(f"glyphs/{source}.svg", "no code of codes.tsv uses this drawing")


# ---------------------------------------------------------------------------------------------
# Texts and pictures

def check_legends(rows, text_dir, faults, lang="eng", names=None):
    """names: {code: name} in the language; the code table's names when None."""
    names = names or {r.code: r.name for r in rows}
    legends_file, additions_file = f"Legends.{lang}", f"LegendsAdd.{lang}"
    legends = read_numbered(os.path.join(text_dir, legends_file), faults)
    additions = read_numbered(os.path.join(text_dir, additions_file), faults)
    texts = {}
    if legends is not None:
        codes = {r.code for r in rows}
        for r in rows:
            name = names.get(r.code, r.name)
            if r.code not in legends:
                faults(legends_file, f"no line for code {r.code} ({name})")
            elif legends[r.code][0] != name:
                faults(f"{legends_file}:{legends[r.code][1]}",
                       f"text {legends[r.code][0]!r} differs from the glossary's name {name!r}")
        seen = {}
        for number, (text, line) in sorted(legends.items(), key=lambda kv: kv[1][1]):
            if number not in codes:
                faults(f"{legends_file}:{line}", f"code {number} is not in codes.tsv")
            key = text.strip().lower()
            if key in seen:
                faults(f"{legends_file}:{line}", f"text {text!r} is also on line {seen[key]}")
            seen[key] = line
            texts[number] = text
    if additions is not None:
        for r in rows:
            if r.code not in additions:
                faults(additions_file, f"no line for code {r.code} ({names.get(r.code)})")
        for number, (_, line) in additions.items():
            if number not in {r.code for r in rows}:
                faults(f"{additions_file}:{line}", f"code {number} is not in codes.tsv")
    return texts


def row_pictures(root, tmp, faults):
    """The pictures the special rows can come from: data/pictures and those that
    tools/pictures/gen_special.py draws (run into the scratch folder tmp, as the library build
    runs it). Returns {name: path}."""
    pictures = {}
    folders = [os.path.join(root, "data", "pictures")]
    gen = os.path.join(root, "tools", "pictures", "gen_special.py")
    if os.path.exists(gen):
        run = subprocess.run([sys.executable, gen, root, tmp], capture_output=True, text=True)
        if run.returncode:
            faults("gen_special.py", run.stderr.strip() or "failed")
        folders.append(tmp)
    for folder in folders:
        for path in glob.glob(os.path.join(folder, "*")):
            base, ext = os.path.splitext(os.path.basename(path))
            if ext.lower() in (".svg", ".png"):
                pictures[base] = path
    return pictures


def check_special_rows(root, text_dir, faults, lang="eng"):
    names = read_numbered(os.path.join(text_dir, f"Bitm1.{lang}"), faults) or {}
    additions = read_numbered(os.path.join(text_dir, f"Bitm1Add.{lang}"), faults) or {}
    rows = {n: t for n, (t, _) in names.items() if n in PICTURE_NUMBERS}
    seen = {}
    for number, (text, line) in sorted(names.items()):
        key = text.strip().lower()
        if key in seen:
            faults(f"Bitm1.{lang}:{line}", f"text {text!r} is also used by {seen[key]}")
        seen[key] = number
    if rows:
        with tempfile.TemporaryDirectory(prefix="quill-pictures-") as tmp:
            check_row_pictures(rows, additions, row_pictures(root, tmp, faults), faults, lang)
    return rows


def check_row_pictures(rows, additions, pictures, faults, lang="eng"):
    for number in sorted(rows):
        if number not in additions:
            faults(f"Bitm1Add.{lang}", f"no line for {number} ({rows[number]})")
        for prefix, size in PICTURE_SIZES.items():
            pic = f"{prefix}{number}"
            if pic not in pictures:
                faults("pictures", f"{pic} ({rows[number]}) is neither drawn by gen_special.py "
                                   f"nor kept in data/pictures")
                continue
            check_picture_size(pic, pictures[pic], size, faults)


# ---------------------------------------------------------------------------------------------
# The test catalogue

def check_catalogue(text_dir, font_texts, picture_texts, codes, faults, lang="eng"):
    catalogue = f"TypesLeg.{lang}"
    entries = catalogue_entries(os.path.join(text_dir, catalogue), faults, TEST_NUMBERS,
                                MAX_TEST_NAME, "; the results file keeps 25 with the leading blank")
    if entries is None:
        return
    tested = set()
    for entry in entries:
        item_where = f"{catalogue}:{entry.line + 2} (test {entry.number})"
        slots = parse_items(entry.items, item_where, faults)
        if not slots:
            faults(item_where, "the test has no values")
        if len(slots) > MAX_TEST_VALUES:
            faults(item_where, f"{len(slots)} values, at most {MAX_TEST_VALUES}")
        slot_texts = []
        for slot in slots:
            texts = {}
            for v in slot:
                if v < 990:
                    text = font_texts.get(v) if v in codes else None
                    what = f"N{v}: code not in codes.tsv" if v not in codes else \
                        f"N{v}: no text in Legends.{lang}"
                else:
                    text = picture_texts.get(v)
                    what = f"N{v}: no picture row with a text in Bitm1.{lang}"
                if text is None:
                    faults(item_where, what)
                    continue
                tested.add(v)
                key = text.strip().lower()
                if key in texts:
                    faults(item_where, f"a group offers the text {text!r} twice")
                texts[key] = text
            slot_texts.append(texts)
        for i in range(len(slot_texts)):
            for j in range(i + 1, len(slot_texts)):
                same = set(slot_texts[i]) & set(slot_texts[j])
                if same:
                    t = slot_texts[i][sorted(same)[0]]
                    faults(item_where, f"values {i + 1} and {j + 1} can both show {t!r}")
    for code in sorted(codes):
        if code not in tested:
            faults(catalogue, f"code {code} ({font_texts.get(code, '?')}) is in no test")
    for number in sorted(picture_texts):
        if number not in tested:
            faults(catalogue, f"special row {number} ({picture_texts[number]}) is in no test")


# ---------------------------------------------------------------------------------------------
# One name per symbol

def reference_names(rows, forms=None):
    """{iof number: names a text may give after it}: the names (forms(code): the glossary's name
    and short forms in the language; the table's names when None); for a symbol drawn in several
    directions also its English name without the direction ("side", "corner (inside)"). The
    values of column F 9.x have no name of their own and are left out."""
    names = {}
    for r in rows:
        if not r.iof or r.iof.startswith("9."):
            continue
        accepted = names.setdefault(r.iof, [])
        accepted.extend(forms(r.code) if forms else [r.name])
        if r.dir and not forms:
            head, _, rest = r.name.partition(" ")
            if rest and head.lower().startswith(("north", "east", "south", "west")):
                accepted.append(rest)
    return names


def check_name_references(text_dir, rows, faults, lang="eng", forms=None):
    """Every "<number> <Name>" in the texts of the language gives the glossary's name (or a short
    form) of that symbol; forms as for reference_names."""
    names = reference_names(rows, forms)
    for path in sorted(glob.glob(os.path.join(text_dir, f"*.{lang}"))):
        file = os.path.basename(path)
        with open(path, encoding="utf-8", newline="") as fh:
            lines = fh.read().split("\n")
        for lineno, line in enumerate(lines, start=1):
            for m in SYMBOL_NUMBER.finditer(line):
                accepted = names.get(m.group(1))
                rest = line[m.end():]
                # a name starts with a capital: "3.5 Minor water channel, ditch", not "1.5 m"
                # or "8.6 it is"
                if accepted is None or not re.match(r" [^\W\d_]", rest) or not rest[1].isupper():
                    continue
                said = rest[1:].lower()
                if not any(said.startswith(n.lower()) for n in accepted):
                    found = re.match(r"[^.;:()]*", rest[1:]).group(0).strip()[:40]
                    faults(f"{file}:{lineno}", f"{m.group(1)} is called {found!r}; the "
                                               f"glossary's name is {accepted[0]!r}")


def main():
    ap = argparse.ArgumentParser(description="Checks the description content and the symbol font.")
    ap.add_argument("--source", required=True, help="the repository's root")
    ap.add_argument("--font", required=True, help="the built Pictor07.TTF")
    ap.add_argument("--no-rebuild", action="store_true",
                    help="skip comparing the font with a fresh build")
    ap.add_argument("--language", default="eng", help="the language whose texts are checked")
    args = ap.parse_args()
    faults = Faults()
    lang = args.language
    symbols_dir = os.path.join(args.source, "data", "symbols")
    text_dir = os.path.join(args.source, "data", "text", lang)
    try:
        rows = symbol_svg.read_code_table(symbols_dir)
        glossary = GLOSSARY.read(args.source)
        if lang not in glossary.languages:
            raise GLOSSARY.GlossaryError(f"glossary.tsv has no column {lang}")
    except (symbol_svg.TableError, GLOSSARY.GlossaryError, OSError) as e:
        print(f"check_content: {e}", file=sys.stderr)
        return 1
    names = glossary.names("code", lang)
    check_drawings(rows, symbols_dir, faults)
    if os.path.exists(args.font):
        check_font(args.font, rows, symbols_dir, faults, rebuild=not args.no_rebuild)
    else:
        faults(args.font, "missing")
    font_texts = check_legends(rows, text_dir, faults, lang, names)
    picture_texts = check_special_rows(args.source, text_dir, faults, lang)
    check_catalogue(text_dir, font_texts, picture_texts, {r.code for r in rows}, faults, lang)
    forms = None if lang == "eng" else \
        (lambda code: glossary.forms("code", code, lang) if ("code", code) in glossary.rows else [])
    check_name_references(text_dir, rows, faults, lang, forms)
    for line in faults.items:
        print(f"check_content: {line}", file=sys.stderr)
    if faults.items:
        print(f"check_content: {len(faults.items)} fault(s)", file=sys.stderr)
        return 1
    print(f"check_content: {lang}: {len(rows)} symbols, {len(picture_texts)} special rows: "
          f"all right")
    return 0


if __name__ == "__main__":
    sys.exit(main())
