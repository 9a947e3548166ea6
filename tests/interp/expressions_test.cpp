// SPDX-License-Identifier: GPL-3.0-or-later
// Expressions: the language's own precedence, wrap-around, character
// constants and assignments, checked through globals after a run.
#include <gtest/gtest.h>

#include "run_helpers.h"

namespace korvane::testing {
namespace {

struct Case {
    const char* expression;
    int32_t value;
};

int32_t value_of(const std::string& expression, const std::string& setup = "") {
    ProgramRun r;
    r.run("int r, a, b, c;\nmain() {\n" + setup + "r = " + expression + ";\n}\n");
    EXPECT_EQ(r.result, RUN_OK) << expression << " -> " << r.message();
    return r.global("r");
}

TEST(Expressions, OperatorsFollowTheLanguagesPrecedence) {
    const Case cases[] = {
        {"2 + 3 * 4", 14},
        {"(2 + 3) * 4", 20},
        {"1 | 2 * 3", 7},
        {"6 & 3 + 1", 3},
        {"7 / 2", 3},
        {"-7 / 2", -3},
        {"-7 % 2", -1},
        {"7 % -2", 1},
        {"10 - 3 - 2", 5},
        {"20 > 2 + 3 * 6", 0},
        {"1 + 2 * (3 - 1)", 5},
        {"2 * 3 % 4", 2},
        {"5 | 2", 7},
        {"6 & 3", 2},
        {"3 < 4", 1},
        {"4 <= 4", 1},
        {"5 > 6", 0},
        {"5 >= 6", 0},
        {"3 == 3", 1},
        {"3 != 3", 0},
        {"2 && 0", 0},
        {"2 && 3", 1},
        {"0 || 0", 0},
        {"0 || 7", 1},
        {"-(-1)", 1},
        {"+5", 5},
        {"(1 == 1) && (2 < 3)", 1},
        {"4294967297", 1},
        {"2147483647 + 1", -2147483647 - 1},
        {"65536 * 65536", 0},
        {"'A'", 65},
        {"'A' + 1", 66},
        {"' '", 32},
        {"'#'", 35},
        {"'!'", 33},
        {"'.'", 46},
        {"'_'", 95},
        {"''' ", 39},
        {"12ab", 12},
        {"0x1F", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(value_of(c.expression), c.value) << c.expression;
}

TEST(Expressions, BytesAboveAsciiAreSignedCharacters) { EXPECT_EQ(value_of("'\xe9'"), -23); }

TEST(Expressions, ComparisonBindsLooserThanArithmetic) {
    EXPECT_EQ(value_of("a & 1 == 0", "a = 6;\n"), 1);
    EXPECT_EQ(value_of("a & 1 == 0", "a = 7;\n"), 0);
}

TEST(Expressions, AssignmentsStoreAndYieldTheNewValue) {
    ProgramRun r;
    r.run(
        "int a, b, c, d;\nmain() {\na = 5; b = a++;\nc = 10; c += 2 * 3;\nd = c -= 1;\n"
        "a = b = 3;\n}\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("a"), 3);
    EXPECT_EQ(r.global("b"), 3);
    EXPECT_EQ(r.global("c"), 15);
    EXPECT_EQ(r.global("d"), 15);
    ProgramRun inc;
    inc.run("int a, b, c, d;\nmain() { a = 5; b = a++; c = 5; d = c--; }\n");
    EXPECT_EQ(inc.global("a"), 6);
    EXPECT_EQ(inc.global("b"), 6);
    EXPECT_EQ(inc.global("c"), 4);
    EXPECT_EQ(inc.global("d"), 4);
    ProgramRun chained;
    chained.run("int a, b;\nmain() { b = 1; a = b += 1; }\n");
    EXPECT_EQ(chained.global("a"), 2);
    EXPECT_EQ(chained.global("b"), 2);
}

TEST(Expressions, DivisionByZeroIsAnErrorAndTheMinimumWraps) {
    EXPECT_EQ(value_of("(-2147483647 - 1) / -1"), -2147483647 - 1);
    EXPECT_EQ(value_of("(-2147483647 - 1) % -1"), 0);
    // Raised where the operator is done, before the name after it is read.
    for (const char* text : {"1 / 0", "5 % (a - a)", "1 / a + q"}) {
        expect_error(std::string("int r, a;\nmain() {\nr = ") + text + "; \n}\n", "division by zero", 2);
    }
}

TEST(Expressions, MalformedExpressionsReportTheirError) {
    const struct {
        const char* statement;
        const char* message;
    } cases[] = {
        {"a < b < c;", "semicolon expected"},
        {"y = a++ + 1;", "semicolon expected"},
        {"a = - -1;", "syntax error"},
        {"y = --a;", "syntax error"},
        {"a = 'AB';", "closing quote expected"},
        {"q = 1;", "not a variable or function"},
        {"a = (1 + 2;", "parentheses expected"},
        {"a = 1 # 2;", "semicolon expected"},
        {"a = #;", "syntax error"},
        {"a = \"s\";", "syntax error"},
        {"a = if;", "syntax error"},
    };
    for (const auto& c : cases) {
        // A blank after the statement keeps scan_pos off the line end, which
        // would count as the next line.
        expect_error(std::string("int a, b, c, y;\nmain() {\n") + c.statement + " \n}\n", c.message, 2);
    }
}

TEST(Expressions, AVariableNamedLikeABuiltinCallsTheBuiltinWhenRead) {
    ProgramRun r;
    r.run("int abs, r;\nmain() { abs = 3; r = abs(-4); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("abs"), 3);
    EXPECT_EQ(r.global("r"), 4);
}

}  // namespace
}  // namespace korvane::testing
