#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the texts of the whole description lines into the picture texts.

    gen_line_texts.py [REPO_ROOT]

data/lines/lines.tsv is the source: its reading goes to data/text/eng/Bitm1.eng and its
explanation to data/text/eng/Bitm1Add.eng, as "<number> <text>" lines for the numbers 1000 and up
(the other languages translate them in their own folders). Lines below 1000 (the
special-instruction rows) are kept as they are; every line from 1000 up is replaced, so the texts
always say what the pictures (drawn from the same table) show. The files keep LF
line ends and get no checksum line: the build adds it.
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "pictures"))

import line_table  # noqa: E402

FIRST = line_table.FIRST_NUMBER


def merged(old_text, new_entries):
    """The file's lines below FIRST as they are, then the new entries in number order."""
    kept = []
    for line in old_text.split("\n"):
        if not line:
            continue
        m = re.match(r"(-?\d+) ", line)
        if m and int(m.group(1)) >= FIRST:
            continue
        kept.append(line)
    kept.extend(f"{number} {text}" for number, text in sorted(new_entries.items()))
    return "\n".join(kept) + "\n"


def update(path, entries):
    old = ""
    if os.path.exists(path):
        with open(path, encoding="ascii", newline="") as fh:
            old = fh.read()
    new = merged(old, entries)
    if new != old:
        with open(path, "w", encoding="ascii", newline="\n") as fh:
            fh.write(new)
    return new != old


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(HERE)
    try:
        lines = line_table.read_table(root)
    except line_table.TableError as e:
        print(f"gen_line_texts: {e}", file=sys.stderr)
        return 1
    text_dir = os.path.join(root, "data", "text", "eng")
    changed = []
    for name, field in (("Bitm1.eng", "reading"), ("Bitm1Add.eng", "explanation")):
        if update(os.path.join(text_dir, name), {ln.number: getattr(ln, field) for ln in lines}):
            changed.append(name)
    print(f"gen_line_texts: {len(lines)} lines; "
          + (f"rewrote {', '.join(changed)}" if changed else "texts already up to date"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
