#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""One sentence from window_bench's JSON: the time of a show and the share
of a loop spent polling for events.

usage: window_line.py FILE.json
"""
import json
import sys

runs = {r["name"]: r for r in json.load(open(sys.argv[1]))["benchmarks"]}
per_show = runs["show"]["per_show"] * 1000.0
polling = runs["polling"]["poll_percent"]
print(f"Window (build/bench/app/window_bench, offscreen): a show takes {per_show:.3f} ms "
      f"(copy handed to the window, repainted); polling for the window's commands takes {polling:.2f}% "
      "of a loop that never shows.")
