// SPDX-License-Identifier: GPL-3.0-or-later
// Programs built to break an interpreter: huge, deep or endless. Each must
// end in a result or an error report.
#include <gtest/gtest.h>

#include <string>

#include "language.h"
#include "run_helpers.h"
#include "state.h"

namespace korvane::testing {
namespace {

TEST(HostilePrograms, AMegabyteProgramRuns) {
    std::string text = "int x;\r\nf(int n) { return n + 1; }\r\nmain() {\r\n";
    while (text.size() < 1000000) text += "x = f(x); /* keep going */\r\n";
    text += "}\r\n";
    ProgramRun r;
    EXPECT_EQ(r.interp.run_text(text), RUN_OK);
    EXPECT_GT(r.global("x"), 30000);
}

TEST(HostilePrograms, ATenThousandCharacterTokenIsASyntaxError) {
    for (const std::string& token :
         {std::string(10000, 'a'), std::string(10000, '7'), "\"" + std::string(10000, 's') + "\""}) {
        expect_error("main() {\nx = " + token + ";\n}\n", "syntax error", 1);
    }
}

TEST(HostilePrograms, AMillionRecursiveCallsStopAtTheCallLimit) {
    ProgramRun r;
    r.run("int depth;\nf(int n) { depth = n; if (n < 1000000) f(n + 1); }\nmain() { f(1); }\n");
    EXPECT_EQ(r.result, RUN_ERROR);
    EXPECT_EQ(r.message(), "too many nested function calls in line 1\n");
    EXPECT_EQ(r.global("depth"), kMaxCalls - 1);
}

// The outline walks statements on the native stack: deep text must not overflow it.
TEST(HostilePrograms, AHundredThousandNestedStatementsAreOutlined) {
    std::string text = "main() {\r\n";
    for (int i = 0; i < 100000; ++i) text += "if (1) while (1) ";
    text += "x = 1;\r\n}\r\n";
    EXPECT_TRUE(outline_program(text).warnings.empty());
}

TEST(HostilePrograms, UnclosedEverything) {
    for (const char* text : {"main() { while (1) { ", "main() { for (;", "main() { if (1", "main() { \"",
                             "main() { x = '", "main() { /* ", "main() { f(", "main(", "main() { do {"}) {
        ProgramRun r;
        r.interp.set_step_limit(100000);
        const RunResult result = r.run(text);
        EXPECT_TRUE(result == RUN_ERROR || result == RUN_NO_MAIN) << text;
    }
}

}  // namespace
}  // namespace korvane::testing
