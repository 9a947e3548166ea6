#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Markdown table from the hyperfine JSON files that scripts/bench leaves.

usage: table.py DIR PROGRAM...
       table.py --mean FILE     one file's mean in milliseconds
DIR holds PROGRAM.TOOL.json for TOOL in ours, python3, lua, c; a missing
file shows as a dash. Times are hyperfine's mean, in milliseconds.
"""
import json
import os
import sys

TOOLS = ["ours", "python3", "lua", "c"]


def mean_ms(path):
    try:
        with open(path) as f:
            return json.load(f)["results"][0]["mean"] * 1000.0
    except (OSError, KeyError, IndexError, ValueError):
        return None


def ms(v):
    if v is None:
        return "–"
    return f"{v:.1f}" if v < 100 else f"{v:.0f}"


def ratio(a, b):
    if a is None or b is None or b <= 0:
        return "–"
    r = a / b
    if r >= 10:
        return f"{r:.0f}×"
    return f"{r:.2f}×" if r >= 0.1 else f"{r:.2g}×"


def main():
    if sys.argv[1] == "--mean":
        print(ms(mean_ms(sys.argv[2])))
        return
    out_dir, programs = sys.argv[1], sys.argv[2:]
    print("| program | ours (ms) | python3 (ms) | lua5.4 (ms) | C (ms) | ours/python3 | ours/lua | ours/C |")
    print("| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: |")
    for name in programs:
        t = {tool: mean_ms(os.path.join(out_dir, f"{name}.{tool}.json")) for tool in TOOLS}
        cells = [ms(t[tool]) for tool in TOOLS]
        cells += [ratio(t["ours"], t[peer]) for peer in ("python3", "lua", "c")]
        print(f"| {name} | " + " | ".join(cells) + " |")


if __name__ == "__main__":
    main()
