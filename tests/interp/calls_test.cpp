// SPDX-License-Identifier: GPL-3.0-or-later
// Functions, arguments, locals and scoping.
#include <gtest/gtest.h>

#include "run_helpers.h"
#include "state.h"

namespace korvane::testing {
namespace {

TEST(Calls, ArgumentsBindToParametersLeftToRight) {
    ProgramRun r;
    r.run("int x, y;\nf(int a, int b) { return a - b; }\nmain() { x = f(10, 3); y = f(f(9, 1), 2); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("x"), 7);
    EXPECT_EQ(r.global("y"), 6);
}

TEST(Calls, RecursionComputesFibonacci) {
    ProgramRun r;
    r.run(
        "int x;\nfib(int n) { if (n < 2) return n; return fib(n - 1) + fib(n - 2); }\n"
        "main() { x = fib(15); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("x"), 610);
}

TEST(Calls, ParametersAndLocalsHideGlobals) {
    ProgramRun r;
    r.run(
        "int a, seen;\nf(int a) { int b; b = a * 2; a = 0; return b; }\n"
        "main() { a = 5; seen = f(21); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("a"), 5);
    EXPECT_EQ(r.global("seen"), 42);
}

TEST(Calls, CallersLocalsAreInvisible) {
    expect_error("g() { x = 1; }\nmain() { int x; g(); }\n", "not a variable or function", 0);
}

TEST(Calls, ReturnValueCarriesOverWhenABodyReturnsNothing) {
    ProgramRun r;
    r.run("int x, y;\nset() { return 42; }\nnone() { }\nmain() { x = set(); y = none(); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("y"), 42);
}

TEST(Calls, LateDeclarationsHideEarlierOnesInTheSameCall) {
    ProgramRun r;
    r.run("int x, y;\nf(int a, int a) { return a; }\nmain() { int t; t = 1; int t; t = 2; x = t; y = f(1, 2); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("x"), 2);
    // The first parameter lies on top of the frame.
    EXPECT_EQ(r.global("y"), 1);
}

// A statement that begins with a built-in's name calls the built-in in
// each call, the one where a local of that name was declared as well.
TEST(Calls, ABuiltinsStatementRunsWhereALocalTakesItsName) {
    ProgramRun r;
    r.run(
        "int x;\nr(int k) {\n  if (k == 2) { int point; }\n  point(k, 5) == abs(x = x + 1);\n  return 0;\n}\n"
        "main() { r(1); r(2); r(3); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("x"), 3);
    EXPECT_EQ(r.bridge.calls, (std::vector<std::string>{"point(1,5)", "point(2,5)", "point(3,5)"}));
}

TEST(Calls, LimitsAreReportedNotOverrun) {
    const struct {
        const char* program;
        const char* message;
        int line;
    } cases[] = {
        {"f(int n) { int a, b, c, d, e, f, g, h, i, j, k, l, m, o, p, q, r, s, t, u; f(n + 1); }\n"
         "main() { f(0); }",
         "too many local variables", 0},
        {"f(int n) { return f(n + 1); }\nmain() { f(0); }", "too many nested function calls", 0},
        {"f(int a, b) { }\nmain() { f(1, 2); }", "type specifier expected", 0},
        {"main(int a) { }", "syntax error", 0},
        {"f(int a, int b) { }\nmain() { f(1); }", "parameter error", 0},
        {"f() { }\nmain() { f(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,"
         "27,28,29,30,31,32); }",
         "parameter error", 1},
        {"main() { g(1); }", "not a variable or function", 0},
        {"main() { f(1); }\nf(int a { }", "parentheses expected", 1},
        {"main() { int abcdefghijabcdefghijabcdefghijabc; }", "syntax error", 0},
    };
    for (const auto& c : cases) expect_error(c.program, c.message, c.line);
}

TEST(Calls, LocalsFillTheirTableAtTheLimit) {
    // A loop that declares a local on each pass fills the table in a
    // moment: a lookup does not walk all the locals.
    ProgramRun loop;
    loop.run("int n;\nmain() { for (n = 0; n < " + std::to_string(kMaxLocals + 1) + "; n++) { int t; } }\n");
    EXPECT_EQ(loop.message(), "too many local variables in line 1\n");
    // main's argument slot takes one entry.
    EXPECT_EQ(loop.global("n"), kMaxLocals - 1);
    ProgramRun r;
    r.run(
        "int depth;\n"
        "f(int n) {\ndepth = n;\nint a, b, c, d, e, f, g, h, i, j, k, l, m, o, p, q, r, s, t, u;\nf(n + 1);\n}\n"
        "main() { f(1); }\n");
    EXPECT_EQ(r.message(), "too many local variables in line 3\n");
    // main's argument slot, then 21 slots a call: the push that finds all
    // entries in use fails in the call after the last whole one.
    EXPECT_EQ(r.global("depth"), (kMaxLocals - 1) / 21 + 1);
}

TEST(Calls, ActiveCallsUpToTheLimitRun) {
    ProgramRun ok;
    ok.run("int depth;\nf(int n) { depth = n; if (n > 0) f(n - 1); }\nmain() { f(" + std::to_string(kMaxCalls - 2) +
           "); }\n");
    EXPECT_EQ(ok.result, RUN_OK) << ok.message();
    EXPECT_EQ(ok.global("depth"), 0);
    ProgramRun deep;
    deep.run("f(int n) { if (n > 0) f(n - 1); }\nmain() { f(" + std::to_string(kMaxCalls - 1) + "); }\n");
    EXPECT_EQ(deep.message(), "too many nested function calls in line 0\n");
    // The depth of a recursive 4-way fill of the whole canvas, two parameters and two locals a call.
    ProgramRun fill;
    fill.run(
        "int deepest;\nf(int x, int y) { int a, b; a = x; b = y; deepest = a;\n"
        "if (a < 160000) f(a + 1, b); }\nmain() { f(1, 0); }\n");
    EXPECT_EQ(fill.result, RUN_OK) << fill.message();
    EXPECT_EQ(fill.global("deepest"), 160000);
}

TEST(Calls, TenThousandCallsOfTwentyLocalsEachRun) {
    ProgramRun r;
    r.run(
        "int depth, sum;\n"
        "g(int n, int x) {\n"
        "int a, b, c, d, e, f, w, h, i, j, k, l, m, o, p, q, s, t, u, v;\n"
        "a = x; v = x + 1; depth = n;\n"
        "if (n > 0) g(n - 1, v);\n"
        "sum = sum + a;\n"
        "}\n"
        "main() { g(10000, 0); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("depth"), 0);
    EXPECT_EQ(r.global("sum"), 10000 * 10001 / 2);
}

}  // namespace
}  // namespace korvane::testing
