#!/usr/bin/env python3
"""Checks the layering of src/: a folder includes only folders below it (and itself).

    platform <- content <- widgets, results <- game <- learning, print <- screens <- dialogs <- app

Folders on one level (widgets and results, learning and print) do not include each other. Only app/main.cpp and tests
may include app/. Exits non-zero and names every include against the order.
"""
import pathlib
import re
import sys

LEVELS = {
    "platform": 0,
    "content": 1,
    "widgets": 2,
    "results": 2,
    "game": 3,
    "learning": 4,
    "print": 4,
    "screens": 5,
    "dialogs": 6,
    "app": 7,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/[^"]+"', re.MULTILINE)


def violations(src: pathlib.Path):
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        folder = path.relative_to(src).parts[0]
        if folder not in LEVELS:
            continue
        for match in INCLUDE.finditer(path.read_text(encoding="utf-8", errors="replace")):
            target = match.group(1)
            if target not in LEVELS or target == folder:
                continue
            if LEVELS[target] >= LEVELS[folder]:
                line = path.read_text(encoding="utf-8", errors="replace").count("\n", 0, match.start()) + 1
                yield f"{path.relative_to(src.parent)}:{line}: {folder}/ includes {target}/"


def main() -> int:
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent
    found = list(violations(root / "src"))
    for v in found:
        print(v)
    if found:
        print(f"{len(found)} include(s) against the layering", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
