// SPDX-License-Identifier: GPL-3.0-or-later
// Where a run pauses, and what a pause shows of the calls and variables.
#include <gtest/gtest.h>

#include <sstream>

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

}  // namespace
}  // namespace korvane::testing
