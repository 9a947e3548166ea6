#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Gradescope bundle's run_autograder in a simulated /autograder: the
# program that draws the accepted picture gets full marks, one that draws
# another gets none, each in a results.json as Gradescope reads it.
#   gradescope_bundle.sh KORVANE-GRADE KORVANE-RUN SOURCE_DIR
set -euo pipefail
grade=$1 run=$2 source=$3
if ! grep -q -- '--gradescope' <<<"$("$grade" --help 2>&1)"; then
  echo "SKIPPED: korvane-grade has no --gradescope option yet"
  exit 77
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# grade_submission NAME PROGRAM: a fresh /autograder holding the exercise
# and PROGRAM as the student's upload, graded by the bundle's script.
grade_submission() {
  local root=$dir/$1
  mkdir -p "$root/source/exercise" "$root/submission"
  "$run" "$source/examples/circles.cg" --png "$root/source/exercise/expected.png" >/dev/null
  cp "$2" "$root/submission/"
  PATH=$(dirname "$grade"):$PATH KORVANE_AUTOGRADER=$root bash "$source/packaging/gradescope/run_autograder" >/dev/null
}
grade_submission right "$source/examples/circles.cg"
grade_submission wrong "$source/examples/lines.cg"

# check RESULTS EXPECTED_SCORE: the file's fields as Gradescope needs them.
check() {
  node -e '
    const r = JSON.parse(require("fs").readFileSync(process.argv[1], "utf8"));
    const want = Number(process.argv[2]);
    const fail = (what) => { console.error(process.argv[1] + ": " + what); process.exit(1); };
    if (!Array.isArray(r.tests) || r.tests.length === 0) fail("no tests");
    for (const t of r.tests)
      for (const key of ["name", "score", "max_score"])
        if (!(key in t)) fail("a test without " + key);
    const max = r.tests.reduce((sum, t) => sum + t.max_score, 0);
    if (!(max > 0)) fail("no points to get");
    if (r.score !== (want ? max : 0)) fail("score " + r.score + ", not " + (want ? max : 0));
    const sum = r.tests.reduce((s, t) => s + t.score, 0);
    if (sum !== r.score) fail("the tests score " + sum + ", the file " + r.score);
  ' "$1" "$2"
}
check "$dir/right/results/results.json" 1
check "$dir/wrong/results/results.json" 0
