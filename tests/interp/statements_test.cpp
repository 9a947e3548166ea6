// SPDX-License-Identifier: GPL-3.0-or-later
// Statements and control flow: every branch and loop form, with the
// language's own block rules.
#include <gtest/gtest.h>

#include "run_helpers.h"

namespace korvane::testing {
namespace {

struct Case {
    const char* body;  // the statements of main
    int32_t x;         // the value of global x afterwards
};

int32_t x_after(const std::string& body) {
    ProgramRun r;
    r.run("int a, b, i, j, s, x;\nmain() {\n" + body + "\n}\n");
    EXPECT_EQ(r.result, RUN_OK) << body << " -> " << r.message();
    return r.global("x");
}

TEST(Statements, IfTakesExactlyOneBranch) {
    const Case cases[] = {
        {"a = 1; if (a > 0) x = 1; else x = 2;", 1},
        {"a = 0; if (a > 0) x = 1; else x = 2;", 2},
        {"a = 1; if (a > 0) { x = 1; } else { x = 2; }", 1},
        {"a = 0; if (a > 0) { x = 1; } else { x = 2; }", 2},
        {"a = 5; if a > 0 x = 7;", 7},
        {"a = 1; if (a) x = 1; else if (b) x = 2; else x = 3;", 1},
        {"b = 1; if (a) x = 1; else if (b) x = 2; else x = 3;", 2},
        {"if (a) x = 1; else if (b) x = 2; else x = 3;", 3},
        {"if (a) { x = 1; if (b) x = 2; } x = x + 10;", 10},
    };
    for (const Case& c : cases) EXPECT_EQ(x_after(c.body), c.x) << c.body;
}

TEST(Statements, LoopsRunTheirPasses) {
    const Case cases[] = {
        {"while (x < 3) x = x + 1;", 3},
        {"do { x = x + 1; } while (x < 10);", 10},
        {"for (i = 0; i < 3; i++) x = x + i;", 3},
        {"for (i = 0; i < 3; i++) x = x + i; x = x * 10 + i;", 33},
        {"for (i = 0; i < 0; i++) { x = 5; } x = x + 1;", 1},
        {"for (i = 0; i < 0; i++) { { x = 5; } } x = x + 1;", 1},
        {"for (i = 0; i < 4; i++) { for (j = 0; j < 3; j++) { x = x + 1; } }", 12},
        // Without braces the inner while makes one pass per outer pass.
        {"for (i = 0; i < 2; i++) while (x < 10) x = x + 1;", 2},
        {"for (i = 0; i < 2; i++) { while (x < 10) x = x + 1; }", 10},
        {"i = 3; while (i) { i = i - 1; x = x + 2; }", 6},
        {"i = -3; while (i) { i = i + 1; x = x + 2; }", 6},
    };
    for (const Case& c : cases) EXPECT_EQ(x_after(c.body), c.x) << c.body;
}

TEST(Statements, BreakAndContinueActInEveryLoop) {
    const Case cases[] = {
        {"for (i = 0; i < 5; i++) { if (i == 2) continue; x = x + i; }", 8},
        {"for (i = 0; i < 10; i++) { if (i == 3) break; x = x + 1; } x = x * 100 + i;", 303},
        {"for (i = 0; i < 10; i++) { x = x + 1; break; x = 50; } x = x + 10;", 11},
        {"while (1) { x = x + 1; if (x == 4) break; }", 4},
        {"i = 0; while (i < 5) { i++; if (i == 2) continue; x = x + i; }", 13},
        {"do { x = x + 1; if (x == 3) break; } while (x < 10); x = x * 10;", 30},
        {"i = 0; do { i++; if (i == 2) continue; x = x + i; } while (i < 4);", 8},
        {"for (i = 0; i < 3; i++) { for (j = 0; j < 10; j++) { if (j == 2) break; x = x + 1; } }", 6},
        {"for (i = 0; i < 3; i++) { if (i == 1) { continue; } x = x + 1; }", 2},
    };
    for (const Case& c : cases) EXPECT_EQ(x_after(c.body), c.x) << c.body;
}

TEST(Statements, BlocksAndStrayTokens) {
    const Case cases[] = {
        // An inner `{` opens no block: the next `}` ends main's body.
        {"x = 1; { x = 2; } x = 3;", 2},
        {"5; -x; \"text\"; x = 4;", 4},
        {"x = 1; ; ; x = x + 1;", 2},
        {"# x = 9; [", 9},
    };
    for (const Case& c : cases) EXPECT_EQ(x_after(c.body), c.x) << c.body;
}

TEST(Statements, ReturnEndsTheWholeCallFromAnyDepth) {
    ProgramRun r;
    r.run(
        "int x;\nf(int n) {\nint i;\nfor (i = 0; i < 10; i++) {\nif (i == n) { return i * 10; }\n}\n"
        "return 99;\n}\nmain() { x = f(3) + f(20); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("x"), 129);
    ProgramRun w;
    w.run("int x;\ng() { while (1) { do { return 7; } while (1); } }\nmain() { x = g(); }\n");
    ASSERT_EQ(w.result, RUN_OK) << w.message();
    EXPECT_EQ(w.global("x"), 7);
}

TEST(Statements, MalformedStatementsReportTheirError) {
    const struct {
        const char* body;
        const char* message;
        int line;
    } cases[] = {
        {"do i = i + 1; while (i < 10);", "while expected", 2},
        {"for (;;) x = 1;", "semicolon expected", 2},
        {"int i = 0;", "semicolon expected", 2},
        {"(x = 1);\nx = 2;", "semicolon expected", 2},
        {"x = 1\nx = 2;", "semicolon expected", 3},
        {"do { x = 1; } x = 2;", "while expected", 2},
        {"if (0) x = 1", "semicolon expected", 4},
    };
    for (const auto& c : cases)
        expect_error(std::string("int i, x;\nmain() {\n") + c.body + "\n}\n", c.message, c.line);
}

TEST(Statements, EndStopsTheProgramWithoutAMessage) {
    ProgramRun r;
    EXPECT_EQ(r.run("int x;\nmain() { x = 1; end; x = 2; }\n"), RUN_END);
    EXPECT_EQ(r.global("x"), 1);
    EXPECT_TRUE(r.bridge.messages.empty());
}

}  // namespace
}  // namespace korvane::testing
