#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The course holds up: every model passes its exercise's visible checks
under --check and leaves exactly the accepted picture of every check, hidden
ones included (so the pictures are the models' own), and every starter
fails its visible checks.

    course.py RUNNER COURSE_DIR"""
import json
import os
import subprocess
import sys

runner, course = sys.argv[1], sys.argv[2]
failures = []


def run(*args):
    return subprocess.run([runner, *args], capture_output=True, text=True, timeout=60)


exercises = sorted(d for d in os.listdir(course) if os.path.exists(os.path.join(course, d, "exercise.json")))
if len(exercises) < 12:
    failures.append(f"{len(exercises)} exercises, not 12 or more")
for name in exercises:
    folder = os.path.join(course, name)
    with open(os.path.join(folder, "exercise.json"), encoding="utf-8") as f:
        spec = json.load(f)
    model, starter = os.path.join(folder, spec["model"]), os.path.join(folder, spec["starter"])
    passed = run(model, "--check", folder)
    if passed.returncode != 0 or "differs" in passed.stdout:
        failures.append(f"{name}: the model does not pass:\n{passed.stdout}{passed.stderr}")
    failed = run(starter, "--check", folder)
    if failed.returncode != 4:
        failures.append(f"{name}: the starter gives status {failed.returncode}, not 4:\n{failed.stdout}{failed.stderr}")
    checks = spec["checks"]
    if not any(c.get("visibility") == "hidden" for c in checks) or len(checks) < 2:
        failures.append(f"{name}: fewer than two checks, or none hidden")
    for check in checks:
        expected = check["expected"]
        command = [model, "--input", os.path.join(folder, check["input"]), "--expect",
                   os.path.join(folder, expected[0] if isinstance(expected, list) else expected)]
        if "seed" in check:
            command += ["--seed", str(check["seed"])]
        same = run(*command)
        if same.returncode != 0:
            failures.append(f"{name}: the model's picture for \"{check['name']}\" is not the accepted one "
                            f"(scripts/course makes them): {same.stderr}")
print("\n".join(failures) or f"{len(exercises)} exercises hold up")
sys.exit(1 if failures else 0)
