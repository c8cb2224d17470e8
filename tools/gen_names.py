#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the symbol names of every language from the glossary.

    gen_names.py [REPO_ROOT]

data/text/glossary.tsv is the source: for every language folder data/text/<code>/ the names of
the description symbols become Legends.<code> and those of the map symbols Symbols.<code>, one
"<number> <name>" line a symbol in the glossary's order. The files keep LF line ends and get no
checksum line: the build adds it. The checkers (check_content.py, check_map_symbols.py) fail when
a file and the glossary disagree, so that a symbol is named the same in every text.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import content_files  # noqa: E402
import glossary as GLOSSARY  # noqa: E402

FILES = (("Legends", "code"), ("Symbols", "isom"))


def write(path, text):
    old = None
    if os.path.exists(path):
        with open(path, encoding="utf-8", newline="") as fh:
            old = fh.read()
    if text != old:
        with open(path, "w", encoding="utf-8", newline="\n") as fh:
            fh.write(text)
    return text != old


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(HERE)
    try:
        glossary = GLOSSARY.read(root)
    except (GLOSSARY.GlossaryError, OSError) as e:
        print(f"gen_names: {e}", file=sys.stderr)
        return 1
    changed = []
    for lang in content_files.languages(root):
        if lang not in glossary.languages:
            print(f"gen_names: the glossary has no columns for {lang}", file=sys.stderr)
            return 1
        for base, kind in FILES:
            order = sorted((line, number) for (k, number), line in glossary.lines.items()
                           if k == kind)
            names = glossary.names(kind, lang)
            text = "".join(f"{number} {names[number]}\n" for _, number in order)
            name = f"{base}.{lang}"
            if write(os.path.join(content_files.text_dir(root, lang), name), text):
                changed.append(name)
    print("gen_names: " + (f"rewrote {', '.join(changed)}" if changed else "names up to date"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
