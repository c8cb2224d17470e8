#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the layering of src/ against the table src/layers.txt (a folder, then the folders it may include).

The build already refuses an include of a folder the table does not allow: each layer is a library that sees only
the headers of the layers below it. This checks the same table for what the build cannot see:

- an include by a relative path ("../dialogs/X.h"), which reaches any folder;
- a forward declaration of a class that a folder it may not include defines (a lower layer naming a higher one's
  class, to be handed one through a pointer);
- the table itself: a folder names only folders listed before it.

Also: a class or struct is defined in one header only (two types of one name in one program break it at run time,
silently). Only app/main.cpp and tests include app/. Exits non-zero and names every fault.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
# a definition at namespace level: "class Name" or "struct Name", then a base list or its body
DEFINITION = re.compile(r"^(?:class|struct)\s+(\w+)(?:\s+final)?\s*(?::[^;{]*)?\{?\s*$", re.MULTILINE)
# a forward declaration at namespace level: "class Name;"
DECLARATION = re.compile(r"^(?:class|struct)\s+(\w+)\s*;", re.MULTILINE)

# Forward declarations against the table that are known and wait for their fix (none today).
KNOWN_DECLARATIONS: set = set()


def read_table(path: pathlib.Path):
    """The layers in order, each with the set of folders it may include; faults of the table itself."""
    allowed, faults = {}, []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        words = line.split()
        if not words or line.startswith("#"):
            continue
        folder, below = words[0], words[1:]
        for other in below:
            if other not in allowed:
                faults.append(f"{path.name}:{number}: {folder} names {other}, which is not listed before it")
        allowed[folder] = set(below)
    return allowed, faults


def line_of(text: str, offset: int) -> int:
    return text.count("\n", 0, offset) + 1


def sources(src: pathlib.Path, allowed):
    for path in sorted(src.rglob("*")):
        if path.suffix in (".cpp", ".h") and path.relative_to(src).parts[0] in allowed:
            yield path, path.relative_to(src).parts[0], path.read_text(encoding="utf-8", errors="replace")


def included_folder(src: pathlib.Path, path: pathlib.Path, name: str):
    """The folder of src/ that an include names: beside the including file first, then from src/."""
    beside = (path.parent / name).resolve()
    target = beside if beside.exists() else (src / name).resolve()
    try:
        return target.relative_to(src.resolve()).parts[0]
    except ValueError:
        return None


def include_faults(src: pathlib.Path, allowed):
    for path, folder, text in sources(src, allowed):
        for match in INCLUDE.finditer(text):
            target = included_folder(src, path, match.group(1))
            if target in allowed and target != folder and target not in allowed[folder]:
                yield f"{path.relative_to(src.parent)}:{line_of(text, match.start())}: {folder}/ includes {target}/"


def definitions(src: pathlib.Path):
    where = {}
    for path in sorted(src.rglob("*.h")):
        for match in DEFINITION.finditer(path.read_text(encoding="utf-8", errors="replace")):
            where.setdefault(match.group(1), set()).add(path.relative_to(src).as_posix())
    return where


def declaration_faults(src: pathlib.Path, allowed, where):
    for path, folder, text in sources(src, allowed):
        relative = path.relative_to(src).as_posix()
        for match in DECLARATION.finditer(text):
            name = match.group(1)
            for header in sorted(where.get(name, ())):
                target = header.split("/")[0]
                if (target in allowed and target != folder and target not in allowed[folder]
                        and (relative, name) not in KNOWN_DECLARATIONS):
                    yield (f"{path.relative_to(src.parent)}:{line_of(text, match.start())}: {folder}/ declares {name}"
                           f" of {target}/")


def duplicate_types(where):
    for name, paths in sorted(where.items()):
        if len(paths) > 1:
            yield f"{name} is defined in {', '.join('src/' + p for p in sorted(paths))}"


def main() -> int:
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent
    src = root / "src"
    allowed, found = read_table(src / "layers.txt")
    where = definitions(src)
    found += list(include_faults(src, allowed)) + list(declaration_faults(src, allowed, where))
    found += list(duplicate_types(where))
    for fault in found:
        print(fault)
    if found:
        print(f"{len(found)} fault(s) against the layering", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
