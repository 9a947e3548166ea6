// Error reports: one message, the right text and the line counted from 0.
#include <gtest/gtest.h>

#include "run_helpers.h"

namespace korvane::testing {
namespace {

TEST(Errors, LinesCountFromZero) {
    ProgramRun r;
    EXPECT_EQ(r.run("main() {\ny = 1;\n}"), RUN_ERROR);
    EXPECT_EQ(r.bridge.messages, (std::vector<std::string>{"not a variable or function in line 1\n"}));
    EXPECT_EQ(r.interp.error_line(), 1);
}

TEST(Errors, AnErrorOnALineEndReportsTheNextLine) {
    ProgramRun after_semicolon;
    after_semicolon.run("int x;\nmain() {\nx = 1 / 0;\n}");
    EXPECT_EQ(after_semicolon.message(), "division by zero in line 3\n");
    // The string literal's missing quote is found on the CR that ends line 1.
    ProgramRun r;
    r.run("main() {\nputs(\"open\n);\n}");
    EXPECT_EQ(r.message(), "syntax error in line 2\n");
}

TEST(Errors, EveryRaisableErrorHasItsMessage) {
    const struct {
        const char* program;
        const char* message;
    } cases[] = {
        {"int x;\nmain() { x = ; }", "syntax error"},
        {"main() { int x; x = \n\n 1; }", "syntax error"},
        {"int x;\nmain() { x = (1; }", "parentheses expected"},
        {"main() { do { } x; }", "while expected"},
        {"main() { puts(1); }", "closing quote expected"},
        {"main() {", "unbalanced braces"},
        {"main() { f(); }\nf { }", "not a variable or function"},
        {"main() { int x; x = 'a; }", "closing quote expected"},
        {"int x;\nmain() { for (x = 0; x < 1 x++) { } }", "semicolon expected"},
        {"main() { int a; a = \"this string literal is much too long to fit into the token text of the "
         "scanner at all\"; }",
         "syntax error"},
    };
    for (const auto& c : cases) {
        ProgramRun r;
        r.run(c.program);
        EXPECT_EQ(r.result, RUN_ERROR) << c.program;
        const std::string m = r.message();
        EXPECT_EQ(m.substr(0, m.find(" in line")), c.message) << c.program;
    }
}

TEST(Errors, TheTableStillWorksAfterAnError) {
    ProgramRun r;
    r.run("main() { x = 1; }");
    EXPECT_EQ(r.result, RUN_ERROR);
    r.bridge.messages.clear();
    EXPECT_EQ(r.run("int x;\nmain() { x = 2; }"), RUN_OK);
    EXPECT_EQ(r.global("x"), 2);
    EXPECT_EQ(r.interp.error_line(), -1);
}

TEST(Errors, DeepNestingRunsWithinTheStackAndIsReportedBeyondIt) {
    const std::string parens(100000, '(');
    ProgramRun p;
    p.run("int x;\nmain() { x = " + parens + "1; }");
    EXPECT_EQ(p.result, RUN_ERROR);
    EXPECT_EQ(p.message(), "program nested too deeply in line 1\n");
    std::string ifs;
    for (int i = 0; i < 5000; ++i) ifs += "if (1) ";
    ProgramRun s;
    s.run("int x;\nmain() { " + ifs + "x = 1; }");
    EXPECT_EQ(s.result, RUN_OK) << s.message();
    EXPECT_EQ(s.global("x"), 1);
    for (int i = 0; i < 200000; ++i) ifs += "if (1) ";
    ProgramRun deep;
    deep.run("int x;\nmain() { " + ifs + "x = 1; }");
    EXPECT_EQ(deep.message(), "program nested too deeply in line 1\n");
}

}  // namespace
}  // namespace korvane::testing
