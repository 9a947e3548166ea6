#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one example program through korvane-run and compares its standard
# output with the expected one; the example must end with status 0, report
# nothing on standard error and write its picture.
#   run_example.sh KORVANE_RUN PROGRAM.cg EXPECTED.out [INPUT]
set -u
run=$1 program=$2 expected=$3 input=${4:-/dev/null}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$run" "$program" --png "$tmp/picture.png" <"$input" >"$tmp/out" 2>"$tmp/err"
status=$?
if [ $status -ne 0 ] || [ -s "$tmp/err" ]; then
  echo "status $status, stderr:"; cat "$tmp/err"; exit 1
fi
diff -u "$expected" "$tmp/out" || exit 1
[ -s "$tmp/picture.png" ] || { echo "no picture written"; exit 1; }
