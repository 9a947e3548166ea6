// SPDX-License-Identifier: GPL-3.0-or-later
// Where a run pauses, and what a pause shows of the calls and variables.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string_view>
#include <utility>

#include "random_programs.h"
#include "run_helpers.h"

namespace korvane::testing {
namespace {

// Records every pause and answers with the scripted commands, then with `rest`.
struct ScriptedHost : PauseHost {
    std::vector<PauseCommand> script;
    PauseCommand rest{PauseCommand::STEP_INTO};
    std::vector<PauseSnapshot> pauses;
    std::vector<std::string> lines;  // the program's lines, to quote ranges

    PauseCommand pause(const PauseSnapshot& at) override {
        pauses.push_back(at);
        if (pauses.size() <= script.size()) return script[pauses.size() - 1];
        return rest;
    }
    // "depth:text" of each pause, the text being the range on its lines.
    std::string trail() const {
        std::string out;
        for (const PauseSnapshot& p : pauses) {
            std::string text;
            for (int l = p.range.line; l <= p.range.end_line; ++l) {
                const std::string& whole = lines[static_cast<size_t>(l)];
                const size_t from = l == p.range.line ? static_cast<size_t>(p.range.column) : 0;
                const size_t to = l == p.range.end_line ? static_cast<size_t>(p.range.end_column) : whole.size();
                text += (l == p.range.line ? "" : " ") + whole.substr(from, to - from);
            }
            out += (out.empty() ? "" : " | ") + std::to_string(p.depth) + ":" + text;
        }
        return out;
    }
};

struct Trail {
    const char* program;
    std::vector<int> breakpoints;
    PauseCommand start;
    PauseCommand rest;
    const char* trail;
};

std::string trail_of(const Trail& t) {
    ProgramRun r;
    ScriptedHost host;
    std::istringstream in(t.program);
    for (std::string line; std::getline(in, line);) host.lines.push_back(line);
    host.rest = t.rest;
    r.interp.set_pause_host(&host);
    r.interp.set_breakpoints(t.breakpoints);
    r.interp.set_start_command(t.start);
    EXPECT_EQ(r.run(t.program), RUN_OK) << t.program << " -> " << r.message();
    return host.trail();
}

constexpr PauseCommand kInto{PauseCommand::STEP_INTO};
constexpr PauseCommand kOver{PauseCommand::STEP_OVER};
constexpr PauseCommand kGo{PauseCommand::CONTINUE};

TEST(Pauses, StepsStopBeforeEachStatementAndHeaderPart) {
    const Trail cases[] = {
        {"main() {\n  int x;\n  if (x > 0) x = 1; else x = 2;\n  if (x) { x = 3; } else { x = 4; }\n}\n",
         {},
         kInto,
         kInto,
         "1:int x; | 1:if (x > 0) | 1:x = 2; | 1:if (x) | 1:x = 3;"},
        {"main() {\n  int i, x;\n  for (i = 0; i < 2; i++)\n    x = x + i;\n}\n",
         {},
         kInto,
         kInto,
         "1:int i, x; | 1:for (i = 0; | 1:i < 2 | 1:x = x + i; | 1:i++ | 1:i < 2 | 1:x = x + i; | 1:i++ | 1:i < 2"},
        {"main() {\n  int x;\n  while (x < 2) x++;\n  do {\n    x--;\n  } while (x > 0);\n}\n",
         {},
         kInto,
         kInto,
         "1:int x; | 1:while (x < 2) | 1:x++; | 1:while (x < 2) | 1:x++; | 1:while (x < 2) | 1:do | 1:x--; | "
         "1:while (x > 0) | 1:x--; | 1:while (x > 0)"},
        // A call in an expression: into its statements, or over them.
        {"f(int n) {\n  return n * 2;\n}\nmain() {\n  int x;\n  x = f(1) + f(2);\n}\n",
         {},
         kInto,
         kInto,
         "1:int x; | 1:x = f(1) + f(2); | 2:return n * 2; | 2:return n * 2;"},
        {"f(int n) {\n  return n * 2;\n}\nmain() {\n  int x;\n  x = f(1) + f(2);\n}\n",
         {},
         kInto,
         kOver,
         "1:int x; | 1:x = f(1) + f(2);"},
        // A breakpoint stops once each time the run comes to its line.
        {"main() {\n  int i, x;\n  for (i = 0; i < 3; i++) {\n    x = x + i; x++;\n  }\n}\n",
         {3},
         kGo,
         kGo,
         "1:x = x + i; | 1:x = x + i; | 1:x = x + i;"},
        {"main() {\n  int i, x;\n  for (i = 0; i < 2; i++) {\n    x = x + i;\n  }\n}\n",
         {2},
         kGo,
         kGo,
         "1:for (i = 0; | 1:i++ | 1:i++"},
        {"main() {\n  int x;\n  x = 2; while (x) x--;\n}\n", {2}, kGo, kGo, "1:x = 2; | 1:while (x) | 1:while (x)"},
    };
    for (const Trail& t : cases) EXPECT_EQ(trail_of(t), t.trail) << t.program;
}

TEST(Pauses, StepOutAndRunToLineFollowTheCalls) {
    const char* program =
        "f(int n) {\n  n = n + 1;\n  return n * 2;\n}\nmain() {\n  int x;\n  x = f(1);\n  x = x + 1;\n  x = f(x);\n}\n";
    ProgramRun r;
    ScriptedHost host;
    host.script = {kInto, kInto, {PauseCommand::STEP_OUT}, {PauseCommand::RUN_TO_LINE, 2}, kGo};
    r.interp.set_pause_host(&host);
    r.interp.set_start_command(kInto);
    ASSERT_EQ(r.run(program), RUN_OK) << r.message();
    std::vector<std::pair<int, int>> seen;  // (line, depth)
    for (const PauseSnapshot& p : host.pauses) seen.emplace_back(p.line, p.depth);
    // int x; x = f(1); n = n + 1; out to x = x + 1; on to the return of the second call.
    const std::vector<std::pair<int, int>> expected{{5, 1}, {6, 1}, {1, 2}, {7, 1}, {2, 2}};
    ASSERT_EQ(seen, expected);
    EXPECT_EQ(host.pauses[3].reason, PauseReason::OUT);
    EXPECT_EQ(host.pauses[4].reason, PauseReason::STEP);
    EXPECT_EQ(host.pauses[4].calls[0].locals, (std::vector<NamedValue>{{"n", 6}}));
}

TEST(Pauses, ARecursiveFillShowsEachCallWithItsOwnLocals) {
    const char* program =
        "int painted;\n"
        "fill(int x, int y) {\n"
        "  int left;\n"
        "  left = 3 - x;\n"
        "  if (left < 0) return 0;\n"
        "  point(x, y);\n"
        "  painted = painted + 1;\n"
        "  fill(x + 1, y);\n"
        "}\n"
        "main() {\n"
        "  int x;\n"
        "  x = 7;\n"
        "  int x;\n"
        "  x = 8;\n"
        "  fill(0, 9, 99);\n"
        "}\n";
    ProgramRun r;
    ScriptedHost host;
    host.rest = kGo;
    r.interp.set_pause_host(&host);
    r.interp.set_breakpoints({5});
    ASSERT_EQ(r.run(program), RUN_OK) << r.message();
    ASSERT_EQ(host.pauses.size(), 4u);
    const PauseSnapshot& deepest = host.pauses[3];
    EXPECT_EQ(deepest.reason, PauseReason::BREAKPOINT);
    EXPECT_EQ(deepest.line, 5);
    EXPECT_EQ(deepest.depth, 5);
    EXPECT_EQ(deepest.globals, (std::vector<NamedValue>{{"painted", 3}}));
    ASSERT_EQ(deepest.calls.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        const CallSnapshot& call = deepest.calls[static_cast<size_t>(i)];
        EXPECT_EQ(call.function, "fill");
        EXPECT_EQ(call.called_from, i == 3 ? 14 : 7);
        // The unnamed fourth argument of the first call is no variable.
        EXPECT_EQ(call.locals, (std::vector<NamedValue>{{"x", 3 - i}, {"y", 9}, {"left", i}}));
    }
    // The second `int x` hides the first.
    EXPECT_EQ(deepest.calls[4].function, "main");
    EXPECT_EQ(deepest.calls[4].called_from, -1);
    EXPECT_EQ(deepest.calls[4].locals, (std::vector<NamedValue>{{"x", 8}}));
}

// A front end that cannot block (the page without shared memory): every
// other time it is asked anything (an answer, a poll, a traced drawing
// call, a pause) it says "not yet", from its first question or its
// second, and the run is resumed until it ends. Blocking or not, the run
// must be the same.
enum class Host { BLOCKS, WAITS_FIRST, WAITS_SECOND };

struct WaitingFrontEnd : RecordingBridge, PauseHost {
    bool waits = false;
    bool due = false;  // the last question was answered with "not yet"
    int waited = 0;
    std::vector<PauseCommand> script;
    PauseCommand rest{PauseCommand::STEP_INTO};
    std::vector<std::string> pauses;

    bool not_yet() {
        if (!waits) return false;
        due = !due;
        waited += due ? 1 : 0;
        return due;
    }
    int32_t bridge_getnum() override {
        if (not_yet()) throw InputWaits{};
        return RecordingBridge::bridge_getnum();
    }
    int8_t bridge_getche() override {
        if (not_yet()) throw InputWaits{};
        return RecordingBridge::bridge_getche();
    }
    int bridge_poll() override { return not_yet() ? POLL_YIELD : RecordingBridge::bridge_poll(); }
    bool bridge_traces_drawing() const override { return true; }
    int bridge_before_draw(int32_t, const char*) override { return not_yet() ? POLL_YIELD : 0; }
    PauseCommand pause(const PauseSnapshot& at) override {
        if (not_yet()) return {PauseCommand::WAIT};
        const size_t n = pauses.size();
        int32_t sum = 0;
        for (const NamedValue& v : at.globals) sum += v.value;
        pauses.push_back(std::string(pause_reason_name(at.reason)) + "@" + std::to_string(at.line) + ":" +
                         std::to_string(at.range.column) + " globals " + std::to_string(sum));
        return n < script.size() ? script[n] : rest;
    }
    bool watched_pixel_changed() override { return true; }
};

struct Resumed {
    std::string program;
    std::vector<std::string> answers;
    PauseCommand start;
    std::vector<PauseCommand> script;
    PauseCommand rest;
    bool watch = false;
    uint64_t step_limit = kTestStepLimit;
};

std::string run_through(const Resumed& t, Host host, int& waited) {
    WaitingFrontEnd front;
    front.waits = host != Host::BLOCKS;
    front.due = host == Host::WAITS_SECOND;
    front.answers.assign(t.answers.begin(), t.answers.end());
    front.script = t.script;
    front.rest = t.rest;
    Interpreter interp(front);
    interp.set_step_limit(t.step_limit);
    interp.set_pause_host(&front);
    interp.set_start_command(t.start);
    interp.set_pixel_watch(t.watch);
    RunResult result = interp.run_text(crlf(t.program));
    for (int turns = 0; result == RUN_WAITING && turns < 100000; ++turns) result = interp.resume();
    waited = front.waited;
    std::string out = "result " + std::to_string(result) + " steps " + std::to_string(interp.steps_taken());
    for (const auto* list : {&front.output, &front.calls, &front.messages, &front.pauses})
        for (const std::string& item : *list) out += " | " + item;
    return out;
}

TEST(Pauses, ARunThatWaitsForItsHostGoesOnAsOneThatBlocks) {
    const PauseCommand draw{PauseCommand::NEXT_DRAWING_CALL};
    const Resumed cases[] = {
        // Answers inside expressions, after a call's value and a sign.
        {"int x, y;\nf(int n) { return n + 1; }\nmain() {\n  x = f(2) * -getnum() + 1;\n  y = getche();\n"
         "  print(x); print(y);\n  if (getnum() > 3) puts(\"big\");\n}\n",
         {"5", "A", "7"},
         kGo,
         {},
         kGo},
        // Steps into header parts, a call and a do loop; polls of a long loop, a sleep.
        {"int s;\ng(int n) { return n * 2; }\nmain() {\n  int i;\n  for (i = 0; i < 2; i++) s = s + g(i);\n"
         "  do { s--; } while (s > 1);\n  sleep(5);\n  for (i = 0; i < 30000; i++) s = s + i % 3;\n  print(s);\n}\n",
         {},
         kInto,
         {kInto, kInto, kInto, kInto, kInto, kInto, kInto, kInto, kInto, kInto, kInto, kInto},
         kGo},
        // Before and after each drawing call; clear's value survives a pause
        // after it, with its `(` or without.
        {"int x;\nmain() {\n  x = clear(3) + 1;\n  line(0, 0, x, x); point(x, 1);\n  x = 2 * clear x - 1;\n"
         "  print(x);\n}\n",
         {},
         draw,
         {},
         draw,
         true},
        // A built-in's values whose calls step, wait for answers and draw
        // while the built-in waits for them; a pixel pause after its values.
        {"int x;\nf(int n) { x = x + n; line(n, 0, n, 9); return n * 2 + getnum(); }\nmain() {\n"
         "  print(f(2) + 1);\n  line(f(1), x, f(3) * 2, 9);\n  putch(f(30) + x) + 1;\n  print(x);\n}\n",
         {"5", "6", "7", "8"},
         kInto,
         {},
         draw,
         true},
        // Answers read beside calls, in and out of their values, signed.
        {"int x;\nf(int n) { return n + getnum(); }\nmain() {\n  x = getnum() * f(2) - -getche();\n"
         "  print(x);\n  print(f(getnum()) + getche());\n}\n",
         {"5", "6", "A", "7", "8", "B"},
         kGo,
         {},
         kGo},
        // Halt given at a pause ends the run as it does when blocking.
        {"int x;\nmain() {\n  x = 1;\n  x = 2;\n  x = 3;\n}\n", {}, kInto, {kInto, {PauseCommand::HALT}}, kGo},
        // Built-in statements that stop at their name: a drawing call whose
        // values call functions (which draw and wait for answers), answers
        // read by statements, one whose value goes on into an operation, one
        // named as a variable is.
        {"int x, point;\nf(int n) { x = x + n; return n * 3; }\ng(int n) { point(n, x); return n + getnum(); }\n"
         "main() {\n  line(f(1), 0, g(2), 9);\n  getnum();\n  getche() * f(2);\n  x = x + getnum();\n"
         "  print(x);\n}\n",
         {"5", "6", "A", "7"},
         draw,
         {},
         draw,
         true},
        // Built-ins inside expressions stop at their name: assigned, in a
        // parenthesis, an argument, a condition, signed, returned (the
        // statement after the `return` never runs).
        {"int x, y;\nh(int n) { return n * 2; }\nr(int n) { return clear(n); x = 99; }\nmain() {\n"
         "  x = line(1, 2, 3, 4) + r(3);\n  y = h(point(5, 6)) + (fline(x, 0, 0, x)) - getnum();\n"
         "  if (xline(0, x, y, 0) == 0) print(x * 10 + y);\n  print(-getnum() + 1);\n}\n",
         {"4", "8"},
         draw,
         {},
         draw,
         true},
        // A drawing call after a pending operator: its value 0 is divided by
        // (with no pixel pause after it, which would go on on the frames).
        {"int a;\nmain() {\n  a = 4;\n  a / line(a, 0, 0, a);\n  print(a);\n}\n", {}, draw, {}, draw},
        // Pixel pauses alone, after drawing statements and after a drawing
        // call whose value is divided by.
        {"int a;\nmain() {\n  a = 4;\n  line(a, 0, 0, a); point(1, a);\n  a / line(a, 0, 0, a);\n  print(a);\n}\n",
         {},
         kGo,
         {},
         kGo,
         true},
        // Drawing calls, show and sleep inside expressions the item list
        // holds, with calls and without, signed, in a return and a
        // condition: a pause before each drawing call, and after it.
        {"int x, y;\nmain() {\n  x = 2 * show() + line(1, 2, 3, 4) - 5;\n  y = -sleep(x + 3) - point(x, 7) * 2;\n"
         "  print(x * 10 + y);\n}\n",
         {},
         draw,
         {},
         draw,
         true},
        {"int n;\nd(int k) { return k + point(k, n) * 0 - line(0, 0, k, k); }\nmain() {\n"
         "  while (n < 2 + show()) n = n + d(n + 1);\n  print(n);\n}\n",
         {},
         draw,
         {},
         draw,
         true},
        // Pixel pauses alone, after drawing calls inside a drawing call's values.
        {"int a;\nf(int n) { a = a + n; return n + 1; }\nmain() {\n  a = line(f(1), 0, point(2, f(3)), 9) + 5;\n"
         "  print(a - fillrect(a, 1, 2, f(a), 7));\n}\n",
         {},
         kGo,
         {},
         kGo,
         true},
        // textout and textstyle inside expressions, with calls and without,
        // signed: a pause before textout and after it; print and puts beside.
        {"int x, y;\nf(int n) { return n + 1; }\nmain() {\n  x = 2 * textout(f(3), 4, \"ab\") + 5;\n"
         "  y = -textstyle(1, x, \"s\") - textout(x, 9, \"c\") * 2 + print(x);\n  x = x - puts(\"hi\");\n"
         "  print(x * 10 + y);\n}\n",
         {},
         draw,
         {},
         draw,
         true},
        // What follows a drawing statement's `)`: calls that draw and wait
        // for answers, drawing calls, after a pause after the statement's.
        {"int x;\nf(int n) { x = x + n; point(n, x); return n + getnum(); }\nmain() {\n"
         "  line(1, 2, 3, 4) + f(2) * line(x, 0, 0, x) - 1;\n  point(x, 1) < f(3);\n  print(x);\n}\n",
         {"5", "6"},
         draw,
         {},
         draw,
         true},
        // A name not there after a drawing call and an answer.
        {"int x;\nmain() {\n  x = line(1, 2, 3, 4) + getnum() * q;\n}\n", {"5"}, draw, {}, draw, true},
        // main's values, before its parameters are read: a call that draws
        // and waits for an answer, then an answer and a drawing call.
        {"int x;\nf(int n) { x = x + n; point(n, x); return n + getnum(); }\n"
         "main(f(2) * -getnum() + line(x, 0, 0, x), print(x)) { }\n",
         {"5", "6"},
         draw,
         {},
         draw,
         true},
        // Answers read by expressions without calls where statements begin:
        // a loop's condition with an assignment inside, an assignment, a
        // condition, a built-in statement's value, a return, what follows
        // a built-in statement's `)`.
        {"int a, k, x;\nr() { return getnum() - 3; }\nmain() {\n  while ((k = getche()) != 'q') a = a + k;\n"
         "  x = getche() - '0';\n  if (getnum() > 3) print(x * 10 + a);\n  print(-getnum() * 2);\n  print(r());\n"
         "  getnum() * 2 - getche() + 1;\n  print(a);\n}\n",
         {"A", "q", "5", "7", "8", "9", "4", "B"},
         kGo,
         {},
         kGo},
    };
    // Each waiting from the first question or the second as it ran blocking.
    for (const Resumed& t : cases) {
        int blocked = 0, waited = 0;
        const std::string expected = run_through(t, Host::BLOCKS, blocked);
        for (const Host host : {Host::WAITS_FIRST, Host::WAITS_SECOND}) {
            EXPECT_EQ(run_through(t, host, waited), expected) << t.program;
            EXPECT_GE(waited, host == Host::WAITS_FIRST ? 2 : 1) << t.program;
        }
        EXPECT_EQ(blocked, 0);
    }
    // Each pinned output by the one case whose program holds `part`, so a
    // row added anywhere moves none.
    const auto pinned = [&cases](std::string_view part) -> const Resumed& {
        const auto holds = [part](const Resumed& t) { return t.program.find(part) != std::string::npos; };
        EXPECT_EQ(std::count_if(std::begin(cases), std::end(cases), holds), 1) << part;
        const Resumed* found = std::find_if(std::begin(cases), std::end(cases), holds);
        return found != std::end(cases) ? *found : cases[0];
    };
    int waited = 0;
    EXPECT_EQ(run_through(pinned("x = f(2) * -getnum() + 1"), Host::BLOCKS, waited),
              "result 0 steps 15 | -14  | 65  | big");
    // clear takes `(3) + 1` as its value and gives it: x is 4 after the pause that follows clear;
    // then clear takes `x - 1` and x is 2 * 3.
    EXPECT_EQ(
        run_through(pinned("x = 2 * clear x - 1"), Host::BLOCKS, waited),
        "result 0 steps 12 | 6  | clear(4) | line(0,0,4,4) | point(4,1) | clear(3) | drawing call@2:6 globals 0 | "
        "pixel@2:6 globals 0 | drawing call@3:2 globals 4 | pixel@3:2 globals 4 | drawing call@3:20 globals 4 | "
        "pixel@3:20 globals 4 | drawing call@4:10 globals 4 | pixel@4:10 globals 4");
    // 5 * (2 + 6) + 'A', then 7 + 8 + 'B'.
    EXPECT_EQ(run_through(pinned("x = getnum() * f(2) - -getche()"), Host::BLOCKS, waited),
              "result 0 steps 12 | 105  | 81 ");
    // putch takes `(f(30) + x) + 1`: 68 + 36 + 1 is 'i'; the line's pixel pause follows both calls of its values.
    EXPECT_EQ(run_through(pinned("line(n, 0, n, 9); return n * 2 + getnum()"), Host::BLOCKS, waited),
              "result 0 steps 34 | 10  | i | 36  | line(2,0,2,9) | line(1,0,1,9) | line(3,0,3,9) | line(8,3,26,9) | "
              "line(30,0,30,9) | into@3:2 globals 0 | drawing call@1:22 globals 2 | pixel@1:22 globals 2 | "
              "drawing call@4:2 globals 2 | drawing call@1:22 globals 3 | pixel@1:22 globals 3 | "
              "drawing call@1:22 globals 6 | pixel@1:22 globals 6 | pixel@4:2 globals 6 | "
              "drawing call@1:22 globals 36 | pixel@1:22 globals 36");
    // line(3, 0, 2 + 5, 9); 'A' * f(2) is dropped; x is 1 + 2 + 7. The line
    // pauses before its values, the point in g before its own.
    EXPECT_EQ(run_through(pinned("int x, point;"), Host::BLOCKS, waited),
              "result 0 steps 24 | 10  | point(2,1) | line(3,0,7,9) | drawing call@4:2 globals 0 | "
              "drawing call@2:11 globals 1 | pixel@2:11 globals 1 | pixel@4:2 globals 1");
    // x is 0 + clear(3), y is 0 + 0 - 4; then -8 + 1.
    EXPECT_EQ(run_through(pinned("r(int n) { return clear(n); x = 99; }"), Host::BLOCKS, waited),
              "result 0 steps 15 | 26  | -7  | line(1,2,3,4) | clear(3) | point(5,6) | fline(3,0,0,3) | "
              "xline(0,3,-4,0) | drawing call@4:6 globals 0 | pixel@4:6 globals 0 | drawing call@2:18 globals 0 | "
              "pixel@2:18 globals 0 | drawing call@5:8 globals 3 | pixel@5:8 globals 3 | drawing call@5:24 globals 3 | "
              "pixel@5:24 globals 3 | drawing call@6:6 globals -1 | pixel@6:6 globals -1");
    // x is 2 * 0 + 0 - 5, y is -0 - 0 * 2; each call pauses before it draws and after.
    EXPECT_EQ(
        run_through(pinned("x = 2 * show() + line(1, 2, 3, 4) - 5"), Host::BLOCKS, waited),
        "result 0 steps 8 | -50  | show | line(1,2,3,4) | sleep(-2) | point(-5,7) | drawing call@2:19 globals 0 | "
        "pixel@2:19 globals 0 | drawing call@3:22 globals -5 | pixel@3:22 globals -5");
    // f(1) and f(3) add 4 to a before the point, then a is 5; f(5) adds 5 before the fillrect.
    EXPECT_EQ(run_through(pinned("a = line(f(1), 0, point(2, f(3)), 9) + 5"), Host::BLOCKS, waited),
              "result 0 steps 18 | 5  | point(2,4) | line(2,0,0,9) | fillrect(5,1,2,6) | pixel@3:20 globals 4 | "
              "pixel@3:6 globals 4 | pixel@4:12 globals 10");
    EXPECT_EQ(run_through(pinned("a = 4;\n  a / line"), Host::BLOCKS, waited),
              "result 2 steps 4 | line(4,0,0,4) | division by zero in line 3\n | drawing call@3:6 globals 4");
    // 'A' ends the loop's first pass; x is '5' - '0'; 7 > 3, 5 * 10 + 65; -8 * 2; 9 - 3.
    EXPECT_EQ(run_through(pinned("while ((k = getche()) != 'q')"), Host::BLOCKS, waited),
              "result 0 steps 20 | 115  | -16  | 6  | 65 ");
    // The rest by a digest (64-bit FNV-1a) of what they gave when a second
    // evaluator, token by token, still ran every expression.
    const std::pair<std::string_view, uint64_t> digests[] = {{"for (i = 0; i < 30000; i++)", 0x6c72a619a29714c5ull},
                                                             {"  x = 1;\n  x = 2;", 0x6900050cb44f3cebull},
                                                             {"line(a, 0, 0, a); point(1, a);", 0xa243a25babd160f4ull},
                                                             {"while (n < 2 + show())", 0xfa0c0d7b2f666a2bull},
                                                             {"x = x - puts(\"hi\")", 0xd6b0cd8ef1e4e00bull},
                                                             {"point(x, 1) < f(3)", 0x7e5c85ca8fe741e0ull},
                                                             {"getnum() * q", 0xb9b3452ea56cd42aull},
                                                             {"main(f(2) * -getnum()", 0x9a4eb62258577bdbull}};
    for (const auto& [part, digest] : digests) {
        uint64_t h = 14695981039346656037ull;
        for (const char c : run_through(pinned(part), Host::BLOCKS, waited))
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        EXPECT_EQ(h, digest) << part;
    }
}

// Mutated programs reach errors, stray tokens and endless loops in every
// place a run can stop; stepped into, every statement and header part is a pause.
TEST(Pauses, RandomProgramsThatWaitForTheirHostEndAsWhenItBlocks) {
    std::mt19937 rng(20261210);
    for (int i = 0; i < 600; ++i) {
        Resumed t{
            random_program(rng, i), std::vector<std::string>(50, "7"), i % 2 ? kInto : kGo, {}, kInto, false, 2000};
        int waited = 0;
        const std::string expected = run_through(t, Host::BLOCKS, waited);
        for (const Host host : {Host::WAITS_FIRST, Host::WAITS_SECOND})
            ASSERT_EQ(run_through(t, host, waited), expected) << t.program;
    }
}

}  // namespace
}  // namespace korvane::testing
