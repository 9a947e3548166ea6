#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Smoke test of the korvane-run command line: statuses, streams and files.
#   driver.sh KORVANE_RUN EXAMPLES_DIR VERSION
set -u
run=$1
examples=$2
version=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
passed=0

# check NAME EXPECTED_STATUS EXPECTED_STDOUT EXPECTED_STDERR_SUBSTRING -- COMMAND...
check() {
  local name=$1 status=$2 out=$3 err=$4
  shift 5
  "$@" >"$tmp/out" 2>"$tmp/err"
  local got=$?
  local err_ok=1  # an empty expectation means nothing on standard error
  if [ -z "$err" ]; then [ -s "$tmp/err" ] && err_ok=0; else grep -qF -- "$err" "$tmp/err" || err_ok=0; fi
  if [ "$got" != "$status" ] || [ "$(cat "$tmp/out")" != "$out" ] || [ $err_ok = 0 ]; then
    echo "FAIL $name: status $got (want $status)"
    echo "  stdout: $(cat "$tmp/out")"
    echo "  stderr: $(cat "$tmp/err")"
    failures=$((failures + 1))
  else
    echo "ok   $name"
    passed=$((passed + 1))
  fi
}

printf 'main() {\n  n = getnum();\n  print(n * 2);\n}\nint n;\n' >"$tmp/double.cg"
printf 'f() {\n}\n' >"$tmp/nomain.cg"
printf 'main() {\n  print(1);\n  x = ;\n}\n' >"$tmp/error.cg"
head -c 100 /dev/zero >"$tmp/short.pal"
printf 'main() {\n  while (1) {\n  }\n}\n' >"$tmp/loop.cg"
printf 'main() {\n  sleep(5000);\n  print(1);\n}\n' >"$tmp/sleepy.cg"
printf 'main() {\n  print(getche());\n}\n' >"$tmp/char.cg"

check "no arguments"        3 "" "usage: korvane-run" -- "$run"
check "help"                0 "usage: korvane-run PROGRAM.cg [options]" "" -- sh -c "'$run' --help | head -1"
check "version"             0 "korvane-run $version" "" -- "$run" --version
check "unknown option"      3 "" "unknown option --bmp" -- "$run" "$tmp/double.cg" --bmp x
check "unknown short flag"  3 "" "unknown option -o" -- "$run" "$tmp/double.cg" -o x.png
check "missing program"     3 "" "Cannot open file $tmp/none.cg" -- "$run" "$tmp/none.cg"
check "short palette"       3 "" "$tmp/short.pal" -- "$run" "$tmp/double.cg" --palette "$tmp/short.pal"
check "no main"             1 "" "Program Error! Can't find main()" -- "$run" "$tmp/nomain.cg"
check "error report"        2 "1 " "in line 2" -- "$run" "$tmp/error.cg"
check "stdin answer"        0 "42 " "" -- sh -c "echo 21 | '$run' '$tmp/double.cg'"
check "rejected answer"     2 "" "'abc' is not a valid integer value" -- sh -c "echo abc | '$run' '$tmp/double.cg'"
check "closed stdin"        0 "0 " "" -- sh -c "'$run' '$tmp/double.cg' </dev/null"
check "step bound"          2 "" "step limit reached in line 1" -- "$run" "$tmp/loop.cg" --max-steps 5000
check "time bound"          2 "" "time limit reached in line" -- "$run" "$tmp/loop.cg" --timeout 0.1
check "time bound in sleep" 2 "" "time limit reached in line 1" -- "$run" "$tmp/sleepy.cg" --timeout 0.3
# Without the bound the run would read the end of input after two seconds and print 0.
check "time bound in input" 2 "" "time limit reached in line 1" -- \
  sh -c "sleep 2 | '$run' '$tmp/double.cg' --timeout 0.3"
check "getche reads UTF-8"  0 "-23 " "" -- sh -c "printf '\\303\\251\\n' | '$run' '$tmp/char.cg'"
check "bad number"          3 "" "option --timeout needs a positive number" -- "$run" "$tmp/loop.cg" --timeout x
check "hello with pictures" 0 "Hello from Korvane!" "" -- \
  "$run" "$examples/hello.cg" --png "$tmp/h.png" --jpeg "$tmp/h.jpg" --frames "$tmp/frames"

# The pictures carry the right signatures; a program without show writes no frame.
file_check() {  # NAME TEST...
  local name=$1
  shift
  if "$@"; then passed=$((passed + 1)); else echo "FAIL $name"; failures=$((failures + 1)); fi
}
file_check "hello.png is a PNG" [ "$(head -c 8 "$tmp/h.png" | od -An -tx1 | tr -d ' ')" = "89504e470d0a1a0a" ]
file_check "hello.jpg is a JPEG" [ "$(head -c 3 "$tmp/h.jpg" | od -An -tx1 | tr -d ' ')" = "ffd8ff" ]
file_check "frames folder exists and is empty" [ -d "$tmp/frames" -a -z "$(ls "$tmp/frames")" ]

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
