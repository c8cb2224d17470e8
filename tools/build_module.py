#!/usr/bin/env python3
"""Builds a language module quill.<code>: the string table, the six screen descriptions and the
message translations of one language, as a binary resource container with the files at its root."""
import argparse
import glob
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from rcc_container import write_container  # noqa: E402


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--source", required=True, help="folder with strings.txt, messages.txt and the .ui files")
    ap.add_argument("--work", required=True)
    ap.add_argument("--rcc", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--any", action="store_true", help="any files: do not require a string table")
    args = ap.parse_args()
    def container_name(path):
        # pictures sit in a container under their bare names ("V1", "B101")
        base, ext = os.path.splitext(os.path.basename(path))
        return base if args.any and ext.lower() in (".svg", ".png") else os.path.basename(path)

    entries = [(container_name(p), p) for p in sorted(glob.glob(os.path.join(args.source, "*")))
               if os.path.isfile(p)]
    if not args.any and not any(name == "strings.txt" for name, _ in entries):
        raise SystemExit(f"{args.source}: no strings.txt")
    write_container(entries, args.work, args.rcc, args.out)


if __name__ == "__main__":
    main()
