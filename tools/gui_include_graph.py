#!/usr/bin/env python3
"""Prints which window-layer folders include which, as a Markdown table.

A row is a folder of src/*/gui; its cells count the #include lines of its
files that name a header of another folder's gui/ (core headers are left
out: every window folder may use the core library). Any cycle between the
folders is listed under the table.

    tools/gui_include_graph.py [SRC]     (default: src beside this script)
"""
import itertools
import pathlib
import re
import sys

src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent / "src")
folders = sorted(p.parent.name for p in src.glob("*/gui"))
include = re.compile(r'^\s*#\s*include\s+"([a-z]+)/gui/[^"]+"', re.M)
edges = {a: {b: 0 for b in folders} for a in folders}
for a in folders:
    for f in sorted((src / a / "gui").rglob("*")):
        if f.suffix in (".h", ".cpp"):
            for b in include.findall(f.read_text(errors="replace")):
                if b != a and b in edges[a]:
                    edges[a][b] += 1

print("| includes → | " + " | ".join(folders) + " |")
print("|---|" + "---|" * len(folders))
for a in folders:
    print(f"| **{a}/gui** | " + " | ".join("·" if a == b else (str(edges[a][b]) if edges[a][b] else "") for b in folders) + " |")

reach = {a: {b for b in folders if edges[a][b]} for a in folders}
for _ in folders:
    for a in folders:
        reach[a] |= set(itertools.chain.from_iterable(reach[b] for b in list(reach[a])))
cycles = sorted({tuple(sorted((a, b))) for a in folders for b in reach[a] if a in reach[b] and a != b})
print()
print("Cycles: " + (", ".join(f"{a} ↔ {b}" for a, b in cycles) if cycles else "none"))
