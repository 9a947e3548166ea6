// SPDX-License-Identifier: GPL-3.0-or-later
// Built-ins: how each reads its arguments and what it hands to the bridge.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "run_helpers.h"

namespace korvane::testing {
namespace {

using Calls = std::vector<std::string>;

Calls calls_of(const std::string& body) {
    ProgramRun r;
    r.run("int x, y;\nmain() {\n" + body + "\n}\n");
    EXPECT_EQ(r.result, RUN_OK) << body << " -> " << r.message();
    return r.bridge.calls;
}

TEST(Builtins, DrawingCallsHandOnTheirValuesInProgramOrder) {
    const struct {
        const char* body;
        Calls calls;
    } cases[] = {
        {"line(0, 0, 10, 10);", {"line(0,0,10,10)"}},
        {"Line(1, 2, 3, 4);", {"line(1,2,3,4)"}},
        {"xline(1,2,3,4); fline(5,6,7,8); dline(9,10,11,12);",
         {"xline(1,2,3,4)", "fline(5,6,7,8)", "dline(9,10,11,12)"}},
        {"point(10, 10); fpoint(3, 4);", {"point(10,10)", "fpoint(3,4)"}},
        {"circ2(5, 6, 7); fcirc2(1, 2, 3, 4);", {"circ2(5,6,7)", "fcirc2(1,2,3,4)"}},
        {"grid(5, 3, 2);", {"grid(5,3,2)"}},
        {"fillrect(1,2,3,4); drawrect(5,6,7,8); brect(1,2,3,4,5,6);",
         {"fillrect(1,2,3,4)", "drawrect(5,6,7,8)", "brect(1,2,3,4,5,6)"}},
        {"trifill(1,2,3,4,5,6,7,8);", {"trifill(1,2,3,4,5,6,7,8)"}},
        {"circle(1,2,3,4); xcircle(1,2,3,4); disk(1,2,3,4); bdisk(1,2,3,4,5);",
         {"circle(1,2,3,4)", "xcircle(1,2,3,4)", "disk(1,2,3,4)", "bdisk(1,2,3,4,5)"}},
        {"ellipse(1,2,3,4,5); xellipse(1,2,3,4,5); elldisk(1,2,3,4,5); ellbdisk(1,2,3,4,5,6);",
         {"ellipse(1,2,3,4,5)", "xellipse(1,2,3,4,5)", "elldisk(1,2,3,4,5)", "ellbdisk(1,2,3,4,5,6)"}},
        {"floodfill(1,2,3,4,5,6);", {"floodfill(1,2,3,4,5,6)"}},
        {"h_axis(1,2,3,4,5,6,7,8,9,10); v_axis(10,9,8,7,6,5,4,3,2,1,0,0);",
         {"h_axis(1,2,3,4,5,6,7,8,9,10)", "v_axis(10,9,8,7,6,5,4,3,2,1)"}},
        // Missing values are 0, never leftovers.
        {"line(7); circle();", {"line(7,0,0,0)", "circle(0,0,0,0)"}},
        {"x = 3; line(x * 2, x + 1, -x, abs(-x));", {"line(6,4,-3,3)"}},
        {"setcolor(301); point(10, 10);", {"setcolor(301)", "point(10,10)"}},
        {"setcolor 3; setcolor(2) + 1;", {"setcolor(3)", "setcolor(3)"}},
        {"clear(300); clear -1;", {"clear(300)", "clear(-1)"}},
        {"sleep(25); show();", {"sleep(25)", "show"}},
        {"textout(10, 20, \"label\"); textout(10; 20; \"label\");",
         {"textout(10,20,\"label\")", "textout(10,20,\"label\")"}},
        {"textstyle(3, 12, \"DejaVu Sans\");", {"textstyle(3,12,\"DejaVu Sans\")"}},
        {"x = getpel(3, 4);", {"getpel(3,4)"}},
    };
    for (const auto& c : cases) EXPECT_EQ(calls_of(c.body), c.calls) << c.body;
}

TEST(Builtins, ValuesOfTheComputingBuiltins) {
    ProgramRun r;
    r.run(
        "int a, b, c, d, e, f;\nmain() { a = abs(-5); b = abs(3 - 10) * 2; c = abs(-2147483647 - 1);\n"
        "d = setcolor(4) + 1; e = putch(66); f = clear(9); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("a"), 5);
    EXPECT_EQ(r.global("b"), 14);
    EXPECT_EQ(r.global("c"), -2147483647 - 1);
    EXPECT_EQ(r.global("d"), 5);
    EXPECT_EQ(r.global("e"), 66);
    EXPECT_EQ(r.global("f"), 9);
}

TEST(Builtins, OutputAddsOneLineEach) {
    ProgramRun r;
    r.run("main() { print(\"a\"); print(12); print(-3 * 2); puts(\"hi\") ; putch(65); putch(0); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.bridge.output, (std::vector<std::string>{"a", "12 ", "-6 ", "hi", "A", ""}));
}

TEST(Builtins, InputAnswersAndTheirRules) {
    ProgramRun r;
    r.bridge.answers = {"12", "", "xyz", "", "-7"};
    r.run(
        "int a, b, c, d, e;\nmain() { a = getnum(); b = getnum(); c = getche(); d = getche();\n"
        "e = getnum(whatever is here); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("a"), 12);
    EXPECT_EQ(r.global("b"), 0);
    EXPECT_EQ(r.global("c"), 'x');
    EXPECT_EQ(r.global("d"), 0);
    EXPECT_EQ(r.global("e"), -7);
    ProgramRun bad;
    bad.bridge.answers = {"abc"};
    EXPECT_EQ(bad.run("int a;\nmain() { a = getnum(); }\n"), RUN_ABORTED);
    EXPECT_EQ(bad.message(), "'abc' is not a valid integer value");
}

TEST(Builtins, RandomNumbersFollowTheGenerator) {
    ProgramRun r;
    r.run("int a, b, c, d;\nmain() { a = rand(32768); b = rand(32768); c = rand(6) + 1; d = rand(-5); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    // state 1 -> one seeding draw, then the program's draws.
    uint32_t state = 1;
    auto draw = [&state] {
        state = state * 22695477u + 1u;
        return static_cast<int32_t>((state >> 16) & 0x7fff);
    };
    draw();
    EXPECT_EQ(r.global("a"), draw());
    EXPECT_EQ(r.global("b"), draw());
    EXPECT_EQ(r.global("c"), draw() % 6 + 1);
    EXPECT_EQ(r.global("d"), draw() % -5);
    // A second run continues the sequence.
    r.run("int a;\nmain() { a = rand(32768); }\n");
    EXPECT_EQ(r.global("a"), draw());
    // rand(0) still draws, then reports.
    r.run("int a;\nmain() { a = rand(0); }\n");
    EXPECT_EQ(r.result, RUN_ERROR);
    EXPECT_EQ(r.message(), "division by zero in line 1\n");
    draw();
    r.run("int a;\nmain() { a = rand(32768); }\n");
    EXPECT_EQ(r.global("a"), draw());
}

TEST(Builtins, ArgumentShapesAreChecked) {
    const struct {
        const char* statement;
        const char* message;
    } cases[] = {
        {"puts(\"hi\") + 1;", "semicolon expected"},
        {"puts(5);", "closing quote expected"},
        {"puts \"a\";", "parentheses expected"},
        {"print(\"a\" 1);", "parentheses expected"},
        {"textout(10, 20, 5);", "closing quote expected"},
        {"textout 10;", "parentheses expected"},
        {"line(1, 2;", "parentheses expected"},
        {"line 1;", "parentheses expected"},
        {"line(1,2,3,4,5,6,7,8,9,10,11);", "parameter error"},
        {"h_axis(1,2,3,4,5,6,7,8,9,10,11);", "parameter error"},
        {"v_axis(1,2,3,4,5,6,7,8,9,10,11,12,13);", "parameter error"},
        {"abs 5;", "parentheses expected"},
    };
    for (const auto& c : cases) expect_error(std::string("int x;\nmain() {\n") + c.statement + " \n}\n", c.message, 2);
}

TEST(Builtins, HaltInShowOrAtAPollEndsTheRunAtItsLine) {
    ProgramRun shown;
    shown.bridge.halt_after_shows = 3;
    shown.run("int n;\nmain() {\nwhile (1) {\nn = n + 1;\nshow();\n}\n}\n");
    EXPECT_EQ(shown.result, RUN_ERROR);
    EXPECT_EQ(shown.message(), "user terminated program in line 4\n");
    EXPECT_EQ(shown.global("n"), 3);
    // One inside an expression: its name is marked, the line is its `)`'s,
    // and nothing after it is stored.
    ProgramRun inside;
    inside.bridge.halt_after_shows = 2;
    inside.run("int n;\nmain() {\nwhile (1)\nn = n + 2 * show(\n) + 1;\n}\n");
    EXPECT_EQ(inside.message(), "user terminated program in line 4\n");
    const TextPlace marked = inside.interp.error_details().token;
    EXPECT_EQ(std::make_tuple(marked.line, marked.column, marked.length), std::make_tuple(3, 12, 4));
    EXPECT_EQ(inside.global("n"), 1);
    ProgramRun polled;
    polled.bridge.halt_after_polls = 2;
    polled.run("int n;\nmain() {\nwhile (1)\nn = n + 1;\n}\n");
    EXPECT_EQ(polled.result, RUN_ERROR);
    // A poll every 4096 steps, two steps a pass: the second poll refuses an assignment.
    EXPECT_EQ(polled.message(), "user terminated program in line 2\n");
    EXPECT_EQ(polled.global("n"), 4095);
}

TEST(Builtins, AStepOrTimeLimitEndsAnEndlessLoop) {
    ProgramRun r;
    r.interp.set_step_limit(10000);
    r.run("main() {\nwhile (1) ;\n}\n");
    EXPECT_EQ(r.result, RUN_ERROR);
    EXPECT_EQ(r.message(), "step limit reached in line 1\n");
    // N steps run and the next is refused. The steps: main's `{`, then seven
    // a pass: while, {, n++, ;, print(n), ;, }. 16384 ends on a poll of the
    // bridge, where the limit is checked too; 8 and 5006 refuse the `while`
    // that a pass reads again, and the message names its line, not the next.
    const char* const line_of_step[] = {"2", "3", "4", "4", "5", "5", "6"};  // counted from 0
    for (const uint64_t limit : {3u, 4u, 6u, 8u, 5000u, 5006u, 16384u}) {
        ProgramRun counted;
        counted.interp.set_step_limit(limit);
        counted.run("int n;\nmain() {\nwhile (1)\n{\nn++;\nprint(n);\n}\n}\n");
        EXPECT_EQ(counted.result, RUN_ERROR);
        const uint64_t passes = (limit - 1) / 7, rest = (limit - 1) % 7;
        EXPECT_EQ(counted.message(), std::string("step limit reached in line ") + line_of_step[rest] + "\n") << limit;
        EXPECT_EQ(counted.bridge.output.size(), passes + (rest >= 5 ? 1 : 0)) << limit;
        EXPECT_EQ(counted.global("n"), static_cast<int32_t>(passes + (rest >= 3 ? 1 : 0))) << limit;
    }
    ProgramRun timed;
    timed.bridge.halt_after_polls = 3;
    timed.bridge.poll_answer = Bridge::POLL_TIME_UP;
    timed.run("main() {\nwhile (1) ;\n}\n");
    EXPECT_EQ(timed.message(), "time limit reached in line 1\n");
}

}  // namespace
}  // namespace korvane::testing

namespace korvane::testing {
namespace {

// Records the line and built-in of every drawing call; stops at a given one.
class TracingBridge : public RecordingBridge {
public:
    std::vector<std::string> traced;
    int stop_at = -1;
    bool bridge_traces_drawing() const override { return true; }
    int bridge_before_draw(int32_t line, const char* builtin) override {
        traced.push_back(std::to_string(line) + ":" + builtin);
        return static_cast<int>(traced.size()) == stop_at ? 1 : 0;
    }
};

TEST(Builtins, TracingNamesTheLineOfEveryDrawingCall) {
    TracingBridge bridge;
    Interpreter interp(bridge);
    interp.run_text(crlf("main() {\nsetcolor(2); clear(0);\nline(0, 0, 5, 5); x = 1;\n}\n"));
    // setcolor draws nothing; the failed assignment ends the run after line.
    EXPECT_EQ(bridge.traced, (std::vector<std::string>{"1:clear", "2:line"}));
    TracingBridge stopping;
    stopping.stop_at = 2;
    Interpreter second(stopping);
    EXPECT_EQ(second.run_text(crlf("main() {\npoint(1, 1);\npoint(2, 2);\npoint(3, 3);\n}\n")), RUN_ERROR);
    EXPECT_EQ(stopping.messages, (std::vector<std::string>{"user terminated program in line 2\n"}));
    EXPECT_EQ(stopping.calls, (std::vector<std::string>{"point(1,1)"}));
}

}  // namespace
}  // namespace korvane::testing
