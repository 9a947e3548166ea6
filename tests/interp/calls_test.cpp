// Functions, arguments, locals and scoping.
#include <gtest/gtest.h>

#include "run_helpers.h"

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
    r.run("int x;\nfib(int n) { if (n < 2) return n; return fib(n - 1) + fib(n - 2); }\n"
          "main() { x = fib(15); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("x"), 610);
}

TEST(Calls, ParametersAndLocalsHideGlobals) {
    ProgramRun r;
    r.run("int a, seen;\nf(int a) { int b; b = a * 2; a = 0; return b; }\n"
          "main() { a = 5; seen = f(21); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("a"), 5);
    EXPECT_EQ(r.global("seen"), 42);
}

TEST(Calls, CallersLocalsAreInvisible) {
    ProgramRun r;
    r.run("g() { x = 1; }\nmain() { int x; g(); }\n");
    EXPECT_EQ(r.result, RUN_ERROR);
    EXPECT_EQ(r.message(), "not a variable or function in line 0\n");
}

TEST(Calls, ReturnValueCarriesOverWhenABodyReturnsNothing) {
    ProgramRun r;
    r.run("int x, y;\nset() { return 42; }\nnone() { }\nmain() { x = set(); y = none(); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("y"), 42);
}

TEST(Calls, LateDeclarationsHideEarlierOnesInTheSameCall) {
    ProgramRun r;
    r.run("int x;\nmain() { int t; t = 1; int t; t = 2; x = t; }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("x"), 2);
}

TEST(Calls, LimitsAreReportedNotOverrun) {
    const struct {
        const char* program;
        const char* message;
    } cases[] = {
        {"main() { int i; for (i = 0; i < 300; i++) { int t; } }", "too many local variables"},
        {"f(int n) { return f(n + 1); }\nmain() { f(0); }", "too many nested function calls"},
        {"f(int a, b) { }\nmain() { f(1, 2); }", "type specifier expected"},
        {"main(int a) { }", "syntax error"},
        {"f(int a, int b) { }\nmain() { f(1); }", "parameter error"},
        {"f() { }\nmain() { f(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,"
         "27,28,29,30,31,32); }",
         "parameter error"},
        {"main() { g(1); }", "not a variable or function"},
        {"main() { f(1); }\nf(int a { }", "parentheses expected"},
        {"main() { int abcdefghijabcdefghijabcdefghijabc; }", "syntax error"},
    };
    for (const auto& c : cases) {
        ProgramRun r;
        r.run(c.program);
        EXPECT_EQ(r.result, RUN_ERROR) << c.program;
        const std::string m = r.message();
        EXPECT_EQ(m.substr(0, m.find(" in line")), c.message) << c.program;
    }
}

TEST(Calls, TwoHundredLocalsIncludingMainsArgumentFillTheStack) {
    ProgramRun r;
    r.run("int n;\nmain() { for (n = 0; n < 300; n++) { int t; } }\n");
    ASSERT_EQ(r.result, RUN_ERROR);
    // main's argument slot takes one entry: the 200th push fails.
    EXPECT_EQ(r.global("n"), 199);
}

TEST(Calls, HundredActiveCallsIncludingMainAreAllowed) {
    ProgramRun ok;
    ok.run("int depth;\nf(int n) { if (n > 0) f(n - 1); }\nmain() { f(98); }\n");
    EXPECT_EQ(ok.result, RUN_OK) << ok.message();
    ProgramRun deep;
    deep.run("f(int n) { if (n > 0) f(n - 1); }\nmain() { f(99); }\n");
    EXPECT_EQ(deep.result, RUN_ERROR);
}

}  // namespace
}  // namespace korvane::testing
