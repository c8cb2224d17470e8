# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a Qt binary resource container (rcc -binary) whose files sit at the root under given names."""
import os
import subprocess
from xml.sax.saxutils import escape


def write_container(entries, work_dir, rcc, out_path):
    """entries: list of (name in the container, path of the file on disk)."""
    os.makedirs(work_dir, exist_ok=True)
    names = set()
    lines = ['<!DOCTYPE RCC><RCC version="1.0">', '<qresource prefix="/">']
    for name, path in sorted(entries):
        if name in names:
            raise SystemExit(f"two files for the container name {name}")
        names.add(name)
        lines.append(f'  <file alias="{escape(name)}">{escape(os.path.abspath(path))}</file>')
    lines += ['</qresource>', '</RCC>']
    qrc = os.path.join(work_dir, "container.qrc")
    with open(qrc, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    tmp = out_path + ".part"
    subprocess.run([rcc, "-binary", "-o", tmp, qrc], check=True)
    os.replace(tmp, out_path)
