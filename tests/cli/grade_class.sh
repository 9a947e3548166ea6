#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# korvane-grade on a generated class: every status, a crash and a stuck
# runner that never stop the others, a hint after the message, groups of
# identical canvases, and exercise folders it must refuse without leaving
# a report behind. The report stays in OUT for the browser test.
#   grade_class.sh KORVANE_GRADE KORVANE_RUN OUT
set -u
grade=$1 run=$2 out=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
passed=0
verdict() {  # NAME OK
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else echo "FAIL $1"; failures=$((failures + 1)); fi
}

# The exercise: a circle whose radius is the answer in input.txt.
ex=$tmp/circle
class=$tmp/class
mkdir -p "$ex" "$class"
correct='int r;\nmain() {\n  r = getnum();\n  clear(15);\n  circle(200, 200, r, 4);\n'
printf "$correct}\n" >"$class/alice.cg"
echo 100 >"$ex/input.txt"
"$run" "$class/alice.cg" --input "$ex/input.txt" --png "$ex/expected.png" || exit 1
printf '{"title": "Midpoint circle", "timeout": 2, "tolerance": 1, "seed": 7, "max_steps": 9000000000000000}\n' >"$ex/exercise.json"

printf "$correct  setcolor(4);\n  point(10, 10);\n}\n" >"$class/bob.cg"
printf "$correct  setcolor(4);\n  point(10, 10);\n  point(11, 10);\n}\n" >"$class/carol.cg"
printf "$correct  x = 1;\n}\n" >"$class/dave.cg"
printf 'main() {\n  while (1) { }\n}\n' >"$class/erin.cg"
printf 'draw() {\n  clear(15);\n}\n' >"$class/frank.cg"
ln -s nowhere.cg "$class/gina.cg"
printf 'main() {\n  clear(15);\n  circle(200, 200, 90, 4);\n}\n' >"$class/hal.cg"
cp "$class/hal.cg" "$class/ivy.cg"
mkdir "$class/jo" "$class/oli" "$class/<b>zed&"
cp "$class/alice.cg" "$class/jo/main.cg"
cp "$class/alice.cg" "$class/<b>zed&/circle.cg"
cp "$class/alice.cg" "$class/kim_crash.cg"
cp "$class/alice.cg" "$class/lou_stuck.cg"
cp "$class/alice.cg" "$class/max_hinted.cg"
printf 'main() {\n}\n\0' >"$class/ned.cg"

# A runner that crashes on one program, hangs on another and hints on a
# third, and is slow on alice's; the rest go to the real one. It logs each
# start, so the test sees the other slot go on while alice's run is slow.
fake=$tmp/fake-run
log=$tmp/starts.log
cat >"$fake" <<FAKE
#!/bin/sh
echo "start \$(basename "\$1")" >>"$log"
case "\$1" in
  */alice.cg) sleep 3; echo "end alice.cg" >>"$log" ;;
  *crash*) kill -SEGV \$\$ ;;
  *stuck*) echo \$\$ >"$tmp/stuck.pid"; exec sleep 60 ;;
  *hinted*) printf 'warning: line 0: point takes 2 values, not 3\nnot a variable or function in line 2\nhint: did you mean "point"?\n' >&2; exit 2 ;;
esac
exec "$run" "\$@"
FAKE
chmod +x "$fake"

rm -rf "$out"
"$grade" "$ex" "$class"/* --out "$out" --jobs 2 --runner "$fake" >"$tmp/stdout" 2>"$tmp/stderr"
verdict "report written: status 0, nothing on stderr" $([ $? = 0 ] && [ ! -s "$tmp/stderr" ]; echo $?)

# Seconds vary, and so do the steps of a run ended by its time limit (the
# exercise bounds steps far past it, so the endless loop meets the clock).
sed -E -e 's/,[^,]*$//' -e 's/^(erin,,time limit,.*,)[0-9]+$/\1STEPS/' "$out/results.csv" >"$tmp/got.csv"
cat >"$tmp/want.csv" <<'CSV'
student,id,status,score,max_score,check 1,pixels_off,message,line,steps
<b>zed&,,pass,1,1,pass,0,,,8
alice,,pass,1,1,pass,0,,,8
bob,,pass,1,1,pass,1,"1 pixel differs from expected.png, within x 10..10, y 10..10",,12
carol,,differs,0,1,differs,2,"2 pixels differ from expected.png, within x 10..11, y 10..10",,14
dave,,error,0,1,error,0,not a variable or function,5,8
erin,,time limit,0,1,time limit,160000,time limit reached,1,STEPS
frank,,no main,0,1,no main,,Program Error! Can't find main(),,0
gina,,unreadable,0,1,,,"a link, not a file",,
hal,,differs,0,1,differs,1072,"1072 pixels differ from expected.png, within x 100..300, y 100..300",,6
ivy,,differs,0,1,differs,1072,"1072 pixels differ from expected.png, within x 100..300, y 100..300",,6
jo,,pass,1,1,pass,0,,,8
kim_crash,,crashed,0,1,crashed,,korvane-run crashed: signal 11 (Segmentation fault),,
lou_stuck,,time limit,0,1,time limit,,still running well past the time limit; stopped,,
max_hinted,,error,0,1,error,,not a variable or function,2,
ned,,unreadable,0,1,unreadable,,The program contains a NUL byte at offset 11,,0
oli,,unreadable,0,1,,,no .cg file in the folder,,
CSV
diff -u "$tmp/want.csv" "$tmp/got.csv"
verdict "results.csv" $?
grep -qF '"hint": "did you mean \"point\"?"' "$out/grades.json"
verdict "the hint after the message reaches grades.json" $?
grep -qF 'Group 1: 2 students, differs: 1072 pixels differ from expected.png, within x 100..300, y 100..300<br><a href="#s-9">hal</a>, <a href="#s-10">ivy</a>' "$out/index.html"
verdict "hal and ivy form the one group" $?
grep -qF '<li><a href="#s-9">hal</a>, <a href="#s-10">ivy</a></li>' "$out/index.html"
verdict "hal and ivy handed in the same program" $?
! grep -qF '<b>zed' "$out/index.html" && grep -qF '&lt;b&gt;zed&amp;' "$out/index.html" && [ "$(tr -cd '\000' <"$out/index.html" | wc -c)" = 0 ]
verdict "names are escaped in the page, and no NUL byte reaches it" $?
cmp -s "$class/dave.cg" "$out/programs/5.txt"
verdict "each program is copied into the report" $?
grep -qF '<mark><span class="n">  5  </span>  x = 1;</mark>' "$out/index.html"
verdict "the program's lines are numbered from 0, the error's marked" $?
grep -q "16 submissions, 4 pass, 3 differs" "$tmp/stdout"
verdict "a summary on standard output" $?
during=$(sed -n '/^start alice.cg$/,/^end alice.cg$/p' "$log" | grep -c '^start')
verdict "runs start in the other slot while one is slow ($during)" $([ "$during" -ge 3 ]; echo $?)

# The exercise folder is refused with the file at fault named, and no report
# (nor a half one) is left.
refused() {  # NAME STDERR_PART
  local name=$1 part=$2
  rm -rf "$tmp/refused"
  "$grade" "$bad" "$class/alice.cg" --out "$tmp/refused/report" >/dev/null 2>"$tmp/err"
  local status=$?
  [ "$status" = 1 ] && grep -qF -- "$part" "$tmp/err" && [ -z "$(ls -A "$tmp/refused" 2>/dev/null)" ]
  verdict "$name (status $status: $(cat "$tmp/err"))" $?
}
bad=$tmp/bad
mkdir "$bad"
refused "no accepted picture" "$bad: no accepted picture (expected*.png)"
echo 'iVBORw0KGgoAAAANSUhEUgAAAAIAAAACCAMAAABFaP0WAAAABlBMVEUAAAD///+l2Z/dAAAADElEQVR4nGNgYARCAAAMAAMrY8tQAAAAAElFTkSuQmCC' |
  base64 -d >"$bad/expected.png"
refused "a picture of the wrong size" "$bad/expected.png is 2 x 2, not 400 x 400"
cp "$run" "$bad/expected.png"
refused "a picture that is no PNG" "$bad/expected.png"
cp "$ex/expected.png" "$bad/expected.png"
printf '{"timeout": 2,}' >"$bad/exercise.json"
refused "invalid JSON" "$bad/exercise.json: invalid JSON at byte"
printf '{"tolerence": 2}' >"$bad/exercise.json"
refused "a misspelt key" "$bad/exercise.json: unknown key \"tolerence\""

# Without --runner it finds the korvane-run beside it; an earlier report is
# replaced, a folder that is not one is never touched.
"$grade" "$ex" "$class/alice.cg" --out "$tmp/again" >/dev/null && "$grade" "$ex" "$class/bob.cg" --out "$tmp/again" >/dev/null
verdict "the runner beside it, an earlier report of as many replaced" \
  $([ "$(cut -d, -f1 "$tmp/again/results.csv" | tail -1)" = bob ] && [ -z "$(ls -A "$tmp" | grep '^\.')" ]; echo $?)
# With a second accepted picture, the nearest one counts.
cp -r "$ex" "$tmp/two"
"$run" "$class/hal.cg" --png "$tmp/two/expected-90.png" &&
  "$grade" "$tmp/two" "$class/hal.cg" "$class/carol.cg" --out "$tmp/two-report" >/dev/null
verdict "the nearest of two accepted pictures" \
  $(grep -q '^carol,,differs,0,1,differs,2,"2 pixels differ from expected.png,' "$tmp/two-report/results.csv" &&
    grep -q '^hal,,pass,1,1,pass,0,' "$tmp/two-report/results.csv" &&
    grep -q 'src="pictures/accepted-2.small.png"' "$tmp/two-report/index.html"; echo $?)
mkdir "$tmp/precious" && touch "$tmp/precious/thesis.txt"
"$grade" "$ex" "$class/alice.cg" --out "$tmp/precious" >/dev/null 2>&1
verdict "a folder that is not a report is left alone" $([ $? = 1 ] && [ "$(ls "$tmp/precious")" = thesis.txt ]; echo $?)

# A course's exercise: two checks (the second hidden, worth 2), circle
# forbidden, the program in a folder of several named by "file", a step
# bound that ends an endless loop whatever the machine's load.
sq=$tmp/square
kids=$tmp/kids
mkdir -p "$sq" "$kids"
model='int r;\nmain() {\n  r = getnum();\n  clear(15);\n  setcolor(4);\n  drawrect(200 - r, 200 - r, 200 + r, 200 + r);\n}\n'
printf "$model" >"$tmp/model.cg"
echo 50 >"$sq/small.txt"
echo 150 >"$sq/big.txt"
"$run" "$tmp/model.cg" --input "$sq/small.txt" --png "$sq/small.png" &&
  "$run" "$tmp/model.cg" --input "$sq/big.txt" --png "$sq/big.png" || exit 1
cat >"$sq/exercise.json" <<'JSON'
{"title": "Square", "forbid": ["circle"], "file": "square.cg", "max_steps": 200000,
 "checks": [{"name": "small", "input": "small.txt", "expected": "small.png"},
            {"name": "big", "input": "big.txt", "expected": ["small.png", "big.png"], "points": 2,
             "visibility": "hidden"}]}
JSON
printf "$model" >"$kids/ann.cg"
printf "// circle(1, 2, 3, 4) would be quicker\n$model" >"$kids/Lucas.cg"
printf "$model" | sed 's/  clear(15);/  Circle(200, 200, 5, 4);\n  clear(15);/' >"$kids/cid.cg"
printf "$model" | sed 's/  clear(15);/  r = getnum();\n  clear(15);/' >"$kids/dan.cg"
printf "$model" | sed 's/  clear(15);/  sleep(100000);\n  clear(15);/' >"$kids/eve.cg"
printf 'main() {\n  while (1) { }\n}\n' >"$kids/fay.cg"
printf "/* mine */\n$model" | sed 's/(15)/( 15 )/' >"$kids/Łukasz.cg"
printf "$model" >"$kids/zoe.cg"
mkdir "$kids/Gus Moe_12345_assignsubmission_file_" "$kids/hal"
printf "$model" >"$kids/Gus Moe_12345_assignsubmission_file_/Square.CG"
printf 'main() { }\n' >"$kids/Gus Moe_12345_assignsubmission_file_/notes.cg"
ln -s "$tmp/model.cg" "$kids/hal/square.cg"
"$grade" "$sq" "$kids"/* --out "$tmp/sq" --jobs 2 >"$tmp/stdout" 2>"$tmp/stderr"
verdict "a course's class graded: status 0" $?
cut -d, -f1-11 "$tmp/sq/results.csv" >"$tmp/got.csv"
cat >"$tmp/want.csv" <<'CSV'
student,id,status,score,max_score,small,big,pixels_off,message,line,steps
ann,,pass,3,3,pass,pass,0,,,20
cid,,forbidden,0,3,,,,forbidden built-in circle,3,
dan,,out of input,0,3,out of input,out of input,160000,asked for input 2 times; this check gives 1 answer,,8
eve,,pass,3,3,pass,pass,0,,,24
fay,,step limit,0,3,step limit,step limit,160000,step limit reached,1,400000
Gus Moe,12345,pass,3,3,pass,pass,0,,,20
hal,,unreadable,0,3,,,,"square.cg: a link, not a file",
Lucas,,pass,3,3,pass,pass,0,,,20
Łukasz,,pass,3,3,pass,pass,0,,,20
zoe,,pass,3,3,pass,pass,0,,,20
CSV
diff -u "$tmp/want.csv" "$tmp/got.csv"
verdict "scores, checks, forbidden, out of input, sleep, steps, ids and names sorted" $?
grep -qF '<li><a href="#s-1">ann</a>, <a href="#s-6">Gus Moe</a>, <a href="#s-8">Lucas</a>, <a href="#s-9">Łukasz</a>, <a href="#s-10">zoe</a></li>' "$tmp/sq/index.html"
verdict "programs the same but for comments and blanks are marked" $?
page=$tmp/sq/students/dan.html
grep -qF 'asked for input 2 times; this check gives 1 answer' "$page" && ! grep -qF '>big<' "$page" &&
  grep -qF '<p>1 more check will be shown later.</p>' "$page" && [ -f "$tmp/sq/students/Gus_Moe.html" ]
verdict "a student's page shows the visible checks only" $?

# One submission for Gradescope, a folder as Gradescope gives it.
mkdir -p "$tmp/autograder/submission" "$tmp/autograder/results"
cp "$kids/dan.cg" "$tmp/autograder/submission/square.cg"
printf 'notes\n' >"$tmp/autograder/submission/README.txt"
"$grade" "$sq" "$tmp/autograder/submission" --gradescope "$tmp/autograder/results/results.json" >"$tmp/stdout"
verdict "Gradescope's results written: status 0" $?
python3 - "$tmp/autograder/results/results.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))
assert r["score"] == 0 and r["visibility"] == "visible" and r["stdout_visibility"] == "hidden", r
assert isinstance(r["execution_time"], (int, float)), r
assert r["output"] == "Square: 0 of 1 visible check passed; 1 more check shown later", r["output"]
small, big = r["tests"]
assert (small["name"], small["number"], small["score"], small["max_score"], small["visibility"]) == \
    ("small", "1", 0, 1, "visible"), small
assert small["output"] == "out of input: asked for input 2 times; this check gives 1 answer", small
assert (big["name"], big["number"], big["max_score"], big["visibility"]) == ("big", "2", 2, "hidden"), big
PY
verdict "Gradescope's format, the hidden check marked" $?

# A late student graded again: merged with --update; without it the class
# report is not replaced by a smaller one.
cp "$kids/ann.cg" "$tmp/dan.cg"
"$grade" "$sq" "$tmp/dan.cg" --out "$tmp/sq" >/dev/null 2>"$tmp/err"
verdict "a smaller report refused without --update" $([ $? = 1 ] &&
  [ "$(cat "$tmp/err")" = "$tmp/sq holds a report of 10 submissions; grading 1 would replace it: add --update to merge them into it, or name another folder with --out" ] &&
  [ "$(wc -l <"$tmp/sq/results.csv")" = 11 ]; echo $?)
"$grade" "$sq" "$tmp/dan.cg" --out "$tmp/sq" --update >"$tmp/stdout"
verdict "merged with --update" $([ $? = 0 ] && [ "$(wc -l <"$tmp/sq/results.csv")" = 11 ] &&
  grep -q '^dan,,pass,3,3,' "$tmp/sq/results.csv" && grep -q '^cid,,forbidden,' "$tmp/sq/results.csv" &&
  grep -qF '10 submissions, 7 pass, 1 step limit, 1 forbidden, 1 unreadable (1 graded again or added)' "$tmp/stdout"; echo $?)

# Stopped while it waits for the runs, it leaves neither a report nor a run.
: >"$log"
"$grade" "$ex" "$class/lou_stuck.cg" --out "$tmp/stopped" --runner "$fake" >/dev/null 2>&1 &
grader=$!
for _ in $(seq 100); do grep -q stuck "$log" && break; sleep 0.1; done  # the run has started
kill -TERM "$grader"
wait "$grader"
verdict "a stopped grading leaves nothing" \
  $([ $? = 2 ] && [ ! -e "$tmp/stopped" ] && [ -z "$(ls -A "$tmp" | grep '^\.')" ] &&
    ! kill -0 "$(cat "$tmp/stuck.pid")" 2>/dev/null; echo $?)

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
