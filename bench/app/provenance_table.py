#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Markdown table of drawing_bench's JSON: each drawing program's median time
with provenance off, on, and on with the first inspection after the run.

usage: provenance_table.py FILE.json
"""
import json
import sys


def medians(path):
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    out = {}
    for r in runs:
        if r.get("aggregate_name") != "median":
            continue
        # run_drawing/NAME[_inspected]/ARG_median
        _, name, arg = r["run_name"].split("/")
        inspected = name.endswith("_inspected")
        name = name.removesuffix("_inspected")
        column = "inspected" if inspected else ("on" if arg == "1" else "off")
        scale = {"ms": 1.0, "us": 1e-3, "ns": 1e-6}[r["time_unit"]]
        out.setdefault(name, {})[column] = r["real_time"] * scale
    return out


def main():
    table = medians(sys.argv[1])
    print("| program | off (ms) | on (ms) | on / off | on + first inspection (ms) |")
    print("| --- | ---: | ---: | ---: | ---: |")
    for name, t in table.items():
        off, on, seen = t.get("off"), t.get("on"), t.get("inspected")
        change = f"{(on / off - 1) * 100:+.0f}%" if off and on else "–"
        cell = lambda v: "–" if v is None else f"{v:.2f}"
        print(f"| {name} | {cell(off)} | {cell(on)} | {change} | {cell(seen)} |")


if __name__ == "__main__":
    main()
