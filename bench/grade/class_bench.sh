#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times korvane-grade on a generated class: N submissions of a small
# midpoint-circle program (one in ten off by a pixel of radius), J runs at a
# time. Prints the wall time and the share of the job slots' time spent
# outside the runs (starting them, reading and comparing their canvases,
# writing the report).
#   bench/grade/class_bench.sh [GRADER] [N] [J]   (defaults: build/cli/korvane-grade 200 2)
set -euo pipefail
grader=${1:-build/cli/korvane-grade}
count=${2:-200}
jobs=${3:-2}
runner=$(dirname "$grader")/korvane-run
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

circle() {  # RADIUS
  cat <<EOF2
int x, y, d;
main() {
  clear(15);
  setcolor(4);
  x = 0;
  y = $1;
  d = 1 - $1;
  while (x <= y) {
    point(200 + x, 200 + y); point(200 - x, 200 + y); point(200 + x, 200 - y); point(200 - x, 200 - y);
    point(200 + y, 200 + x); point(200 - y, 200 + x); point(200 + y, 200 - x); point(200 - y, 200 - x);
    if (d < 0) {
      d = d + 2 * x + 3;
    } else {
      d = d + 2 * (x - y) + 5;
      y = y - 1;
    }
    x = x + 1;
  }
}
EOF2
}

mkdir "$tmp/exercise" "$tmp/class"
circle 150 >"$tmp/model.cg"
"$runner" "$tmp/model.cg" --png "$tmp/exercise/expected.png"
for i in $(seq -w 1 "$count"); do
  if [ $((10#$i % 10)) = 0 ]; then circle 151; else circle 150; fi >"$tmp/class/student$i.cg"
done

start=$(date +%s.%N)
"$grader" "$tmp/exercise" "$tmp/class"/*.cg --jobs "$jobs" --out "$tmp/report" >/dev/null
end=$(date +%s.%N)
# The last CSV field is each run's wall time.
runs=$(awk -F, 'NR > 1 { s += $NF } END { printf "%.3f", s }' "$tmp/report/results.csv")
awk -v start="$start" -v end="$end" -v runs="$runs" -v n="$count" -v j="$jobs" 'BEGIN {
  wall = end - start
  printf "korvane-grade, %d submissions of a %s, %d jobs: %.2f s (%.1f ms a submission); ", n, "midpoint circle", j, wall, 1000 * wall / n
  printf "runs %.2f s in all, so %.0f%% of the %d job slots'"'"' time is spent outside the runs\n", runs, 100 * (1 - runs / (j * wall)), j
}'
