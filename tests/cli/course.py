#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The course holds up: every model passes its exercise's visible checks
under --check and leaves exactly the accepted picture of every check, hidden
ones included (so the pictures are the models' own), and every starter
fails its visible checks. The students' edition of each (korvane-grade
--publish) holds the visible checks alone, without the model and the hidden
checks' files, and checks the model as the source folder does.

    course.py RUNNER GRADER COURSE_DIR"""
import concurrent.futures
import json
import os
import shutil
import subprocess
import sys
import tempfile

runner, grader, course = sys.argv[1], sys.argv[2], sys.argv[3]
failures = []
editions = tempfile.mkdtemp()


def run(*args):
    return subprocess.run([runner, *args], capture_output=True, text=True, timeout=60)


exercises = sorted(d for d in os.listdir(course) if os.path.exists(os.path.join(course, d, "exercise.json")))
if len(exercises) < 12:
    failures.append(f"{len(exercises)} exercises, not 12 or more")


def check(name):
    """What is wrong with one exercise."""
    found = []
    folder = os.path.join(course, name)
    with open(os.path.join(folder, "exercise.json"), encoding="utf-8") as f:
        settings = json.load(f)
    model, starter = os.path.join(folder, settings["model"]), os.path.join(folder, settings["starter"])
    passed = run(model, "--check", folder)
    if passed.returncode != 0 or "differs" in passed.stdout:
        found.append(f"{name}: the model does not pass:\n{passed.stdout}{passed.stderr}")
    failed = run(starter, "--check", folder)
    if failed.returncode != 4:
        found.append(f"{name}: the starter gives status {failed.returncode}, not 4:\n{failed.stdout}{failed.stderr}")
    checks = settings["checks"]
    if not any(c.get("visibility") == "hidden" for c in checks) or len(checks) < 2:
        found.append(f"{name}: fewer than two checks, or none hidden")
    # --check saw the visible checks' pictures, with no tolerance in the course.
    for hidden in (c for c in checks if c.get("visibility", "visible") != "visible"):
        expected = hidden["expected"]
        command = [model, "--input", os.path.join(folder, hidden["input"]), "--expect",
                   os.path.join(folder, expected[0] if isinstance(expected, list) else expected)]
        if "seed" in hidden:
            command += ["--seed", str(hidden["seed"])]
        same = run(*command)
        if same.returncode != 0:
            found.append(f"{name}: the model's picture for \"{hidden['name']}\" is not the accepted one "
                            f"(scripts/course makes them): {same.stderr}")
    edition = os.path.join(editions, name)
    published = subprocess.run([grader, "--publish", folder, edition], capture_output=True, text=True, timeout=60)
    visible = [c for c in checks if c.get("visibility", "visible") == "visible"]
    if published.returncode != 0:
        found.append(f"{name}: --publish gives status {published.returncode}: {published.stderr}")
        return found
    with open(os.path.join(edition, "exercise.json"), encoding="utf-8") as f:
        shown = json.load(f)
    hidden_files = {c["input"] for c in checks if c not in visible} | {c["expected"] for c in checks if c not in visible}
    left = sorted(set(os.listdir(edition)) & (hidden_files | {settings["model"]}))
    if "model" in shown or shown["checks"] != visible or left:
        found.append(f"{name}: the students' edition shows {left} or checks {shown.get('checks')}")
    # Word for word, "check N of M" included: the edition counts the checks it left out.
    if run(model, "--check", edition).stdout != passed.stdout:
        found.append(f"{name}: the students' edition does not check the model as the exercise does")
    return found


# Four at a time: each run is short, and starting them is most of the time.
with concurrent.futures.ThreadPoolExecutor(4) as pool:
    for found in pool.map(check, exercises):
        failures += found
again = subprocess.run([grader, "--publish", os.path.join(course, exercises[0]), os.path.join(editions, exercises[0])],
                       capture_output=True, text=True, timeout=60)
if again.returncode != 1 or not again.stderr.endswith("exists: the students' edition goes to a new folder\n"):
    failures.append(f"--publish over an existing folder gives status {again.returncode}: {again.stderr}")
shutil.rmtree(editions)
print("\n".join(failures) or f"{len(exercises)} exercises hold up")
sys.exit(1 if failures else 0)
