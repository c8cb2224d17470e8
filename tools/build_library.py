#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds the picture library Bitm1.dll.

Pictures come from two places: files in data/pictures (the file name without its extension is
the picture's name, e.g. V990.svg -> V990) and the generators tools/pictures/gen_*.py, each run as
`gen_x.py SOURCE_DIR OUT_DIR` and writing picture files into OUT_DIR under the same naming rule.
Every picture sits at the container's root under exactly its name, without an extension."""
import argparse
import glob
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from rcc_container import write_container  # noqa: E402

PICTURE_EXTENSIONS = (".svg", ".png")


def collect(folder):
    found = {}
    for path in sorted(glob.glob(os.path.join(folder, "*"))):
        base, ext = os.path.splitext(os.path.basename(path))
        if ext.lower() in PICTURE_EXTENSIONS:
            found[base] = path
    return found


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--source", required=True, help="the repository's root")
    ap.add_argument("--work", required=True)
    ap.add_argument("--rcc", required=True)
    ap.add_argument("--out", required=True)
    args = ap.parse_args()

    if os.path.isdir(args.work):
        shutil.rmtree(args.work)
    generated = os.path.join(args.work, "generated")
    os.makedirs(generated)

    pictures = collect(os.path.join(args.source, "data", "pictures"))
    for gen in sorted(glob.glob(os.path.join(args.source, "tools", "pictures", "gen_*.py"))):
        out = os.path.join(generated, os.path.splitext(os.path.basename(gen))[0])
        os.makedirs(out)
        subprocess.run([sys.executable, gen, args.source, out], check=True)
        for name, path in collect(out).items():
            if name in pictures:
                raise SystemExit(f"picture {name} is made twice ({pictures[name]} and {path})")
            pictures[name] = path

    write_container(list(pictures.items()), args.work, args.rcc, args.out)
    print(f"Bitm1.dll: {len(pictures)} pictures")


if __name__ == "__main__":
    main()
