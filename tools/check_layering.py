#!/usr/bin/env python3
"""Checks the layering of src/: a folder includes only folders below it (and itself).

    platform <- domain <- content <- widgets, results <- game <- learning, print <- screens <- dialogs <- app

Folders on one level (widgets and results, learning and print) do not include each other. Only app/main.cpp and tests
may include app/. Also: a class or struct is defined in one header only (two types of one name in one program break
it at run time, silently). Exits non-zero and names every include against the order and every type defined twice.
"""
import pathlib
import re
import sys

LEVELS = {
    "platform": 0,
    "domain": 1,
    "content": 2,
    "widgets": 3,
    "results": 3,
    "game": 4,
    "learning": 5,
    "print": 5,
    "screens": 6,
    "dialogs": 7,
    "app": 8,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/[^"]+"', re.MULTILINE)
# a definition at namespace level: "class Name" or "struct Name", then a base list or its body
DEFINITION = re.compile(r"^(?:class|struct)\s+(\w+)(?:\s+final)?\s*(?::[^;{]*)?\{?\s*$", re.MULTILINE)


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


def duplicate_types(src: pathlib.Path):
    where = {}
    for path in sorted(src.rglob("*.h")):
        for match in DEFINITION.finditer(path.read_text(encoding="utf-8", errors="replace")):
            where.setdefault(match.group(1), []).append(str(path.relative_to(src.parent)))
    for name, paths in sorted(where.items()):
        if len(set(paths)) > 1:
            yield f"{name} is defined in {', '.join(sorted(set(paths)))}"


def main() -> int:
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent
    found = list(violations(root / "src")) + list(duplicate_types(root / "src"))
    for v in found:
        print(v)
    if found:
        print(f"{len(found)} fault(s) against the layering", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
