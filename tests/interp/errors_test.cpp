// SPDX-License-Identifier: GPL-3.0-or-later
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
    expect_error("int x;\nmain() {\nx = 'a\n;\n}", "closing quote expected", 3);
    // The string literal's missing quote is found on the CR that ends line 1.
    ProgramRun r;
    r.run("main() {\nputs(\"open\n);\n}");
    EXPECT_EQ(r.message(), "syntax error in line 2\n");
}

TEST(Errors, EveryRaisableErrorHasItsMessageAndLine) {
    const struct {
        std::string program;
        const char* message;
        int line;
    } cases[] = {
        {"int x;\nmain() { x = ; }", "syntax error", 1},
        // The comment hides the rest of its line, the value among it.
        {"int x;\nmain() { x = // 1;\n; }", "syntax error", 2},
        {"int x;\nmain() { x = (1; }", "parentheses expected", 1},
        {"main() { do { } x; }", "while expected", 0},
        {"main() { puts(1); }", "closing quote expected", 0},
        {"main() {", "unbalanced braces", 0},
        {"main() { f(); }\nf { }", "not a variable or function", 0},
        {"main() { int x; x = 'a; }", "closing quote expected", 0},
        {"int x;\nmain() { for (x = 0; x < 1 x++) { } }", "semicolon expected", 1},
        // 79 characters between the quotes fit the token; 80 do not.
        {"main() {\nputs(\"" + std::string(80, 's') + "\");\n}", "syntax error", 1},
        // A name of 32 characters is too long for the tables.
        {"int " + std::string(32, 'v') + ";\nmain() { }", "syntax error", 0},
        // Lines count from the second character: a line end that is the
        // first character is not counted.
        {"\nmain() {\nx = 1;\n}", "not a variable or function", 1},
        {"\n\nmain() { x = 1; }", "not a variable or function", 1},
        // The limits name the line of the token that raised them, even when
        // the scanner already stands on the line end after it.
        {"int x;\nmain() {\nx = 10 / 0;\n}", "division by zero", 2},
        {"int x;\nmain() {\nx = 10 % (5 - 5);\n}", "division by zero", 2},
        {"int x;\nmain() {\nx = rand(0);\n}", "division by zero", 2},
        // A built-in or a function assigned to is read as itself where no
        // variable of its name is declared.
        {"int x;\nmain() {\nx = putch --1;\n}", "syntax error", 2},
        {"int x;\nmain() {\nx = x += line = 3;\n}", "parentheses expected", 2},
        {"int x;\nf() { }\nmain() {\nf = 3;\n}", "parentheses expected", 3},
        // Else as a variable, the next such name as itself where none is.
        {"int x, putch;\nmain() {\nx = putch = 10 / 0;\n}", "division by zero", 2},
        {"int x;\nmain() {\nint clear;\nx = clear = putch = 3;\n}", "syntax error", 3},
        // Inside parentheses too, after a call: at the token after the name.
        {"int x;\nf() { return 1; }\nmain() {\nx = f() + (f\n= 2);\n}", "parentheses expected", 4},
        // After a call, the same: raised where the frames read the token, the
        // line where the scanner stands (after the `;` at a line end, the next).
        {"int x;\nf() { return 1; }\nmain() {\nx = f() + (2 * f();\n}", "parentheses expected", 4},
        {"int x;\nf() { return 1; }\nmain() {\nx = f() -\n; }", "syntax error", 4},
        {"int x;\nf() { return 1; }\nmain() { x = f() + 'a\n; }", "closing quote expected", 3},
        // `;` where a call's value begins is a 0, and the token after it ends
        // the call, even a `+`, so the `5` ends the statement; a built-in's
        // values end at its `)` or not at all.
        {"int x;\nf(int a) { return a; }\nmain() {\nx = f(; + 5) - 1;\n}", "semicolon expected", 3},
        {"int x;\nmain() {\nx = 2 * getpel(1 2);\n}", "parentheses expected", 2},
        // getpel and rand take any list of values, as the other built-ins do.
        {"int x;\nmain() {\nx = 1 + rand(1, 2, 3, 4, 5, 6, 7, 8, 9, 10\n, 11);\n}", "parameter error", 3},
        {"int x;\nmain() {\nx = getpel(3) + rand(0,\n5);\n}", "division by zero", 2},
        // textout and textstyle take any token as a separator, and want
        // their string after two; print writes before it finds no `)` or `;`.
        {"int x;\nmain() {\nx = 1 + textout(1, 2)\n* 3;\n}", "closing quote expected", 3},
        {"int x;\nmain() {\nx = textstyle(1 ; 2 ] \"s\"\n, 4);\n}", "parentheses expected", 3},
        {"int x;\nmain() {\nx = 5 / print(2)\n+ 1;\n}", "semicolon expected", 3},
        {"int x;\nmain() {\nx = 1 + print(3\n4);\n}", "parentheses expected", 3},
        {"int x;\nmain() {\nx = 1 + line(0, 0, 9;\n}", "parentheses expected", 3},
        // A built-in's name without its `(`: raised at the token after it
        // (after a `;` at a line's end, in the next line).
        {"int x;\nmain() {\nx = 2 * abs\n5;\n}", "parentheses expected", 3},
        {"int x;\nf() { return 1; }\nmain() {\nx = f() + sleep\n;\n}", "parentheses expected", 5},
        // A function's name without its `(` the same.
        {"int x;\nf() { return 1; }\nmain() {\nx = 2 * f\n- 1;\n}", "parentheses expected", 4},
        {"int x;\nf() { return 1; }\nmain() {\nx = 1;\nprint(x + f);\n}", "parentheses expected", 4},
        // A second comparison ends the operation, ++ after a number is a
        // comparison whose operand is due, and a step ends its value: what
        // waits for the value reads the token.
        {"int x;\nmain() {\nx = 3 < 4\n< 5;\n}", "semicolon expected", 3},
        {"int x;\nf(int a) { return a; }\nmain() {\nx = f(1 < 2 < 3\n) - 1;\n}", "semicolon expected", 3},
        {"int x;\nmain() {\nx = 2 ++\n;\n}", "syntax error", 4},
        {"int x, a;\nmain() {\nx = (a++\n+ 1);\n}", "parentheses expected", 3},
        // main's parentheses hold values, read as a call's before main's
        // parameters are: a name not there, then a type where a value is due.
        {"int x;\nf() { return 1; }\nmain(f(),\nq) { }", "not a variable or function", 3},
        {"main(\nint a) { }", "syntax error", 1},
        // Values all read, main's parameters are read from the same text.
        {"int x;\nf() { return 1; }\nmain(\nf() + getnum()) { }", "type specifier expected", 3},
        // A text that ends in getnum's `(`, the `'}'` closing main for the
        // loader, which then takes `getnum(` for a function: the built-in
        // is called, and the end is where a `;` is due.
        {"int x;\nmain() {\nx = '}' + getnum(", "semicolon expected", 2},
        // Its text runs to the end, a call's values ending there: the call
        // is entered, then the end is where a `;` is due.
        {"int x;\nf(int a) { return a; }\nmain() {\nx = f('}' + getnum(2,\n", "semicolon expected", 4},
        // putch's, clear's or setcolor's value a `)`, or a `;` where it
        // begins: what follows it wants a `;`, a statement run before too.
        {"int x;\nmain() {\nsetcolor\n) + 1;\n}", "semicolon expected", 3},
        {"int x, i;\nmain() {\nfor (i = 0; i < 2; i++) { if (i) clear ;\nx = 1; }\n}", "semicolon expected", 3},
        // The end of the text is no `;`, its line the one after a line end.
        {"int x;\nf() { return 1; }\nmain() {\nx = f() + '}'\n", "semicolon expected", 4},
        // A token the scanner refuses is read before the operators before it
        // are worked out: in main's values, which the loader passes over, and
        // after `'"'`, a string's quote to the loader, which takes the rest
        // of the line after `"//"` for a comment (a string cut by the line
        // end names the next line).
        {"int x;\nmain(x = 6 / 0\n" + std::string(80, 'w') + ") { }", "syntax error", 2},
        // A drawing call's name that names no variable, then a refused word
        // (the loader took `'"'` for a string's quote and `//` for a comment).
        {"int x;\nmain() {\nx = '\"'; puts(\"//\"); x = line " + std::string(80, 'w') + ";\n}", "syntax error", 2},
        // putch's value begins with it: the list that calls putch ends there.
        {"int x;\nmain() {\nx = '\"'; puts(\"//\"); x = x < putch " + std::string(80, 'w') + ";\n}", "syntax error", 2},
        {"int x;\nf() { return 1; }\nmain() {\nx = '\"'; puts(\"//\"); x = f() + 6 / 0 \"cut\n;\n}", "syntax error", 4},
    };
    for (const auto& c : cases) expect_error(c.program, c.message, c.line);
    ProgramRun longest;
    longest.run("main() {\nputs(\"" + std::string(79, 's') + "\");\n}");
    EXPECT_EQ(longest.result, RUN_OK) << longest.message();
    EXPECT_EQ(longest.bridge.output, std::vector<std::string>{std::string(79, 's')});
}

// What runs before an error is done: the call, and
// the assignment inside the parenthesis left open, stored before its `;`
// is found where a `)` is due; the assignment outside it never is. So too
// before a name not there (at a line's end it names the next line, as the
// scanner stands there): the assignments and steps inside before it, not
// those after it or outside, nor any (nor a call) when it is a variable
// assigned; a division by zero before it is raised first.
TEST(Errors, AnAssignmentInsideIsStoredBeforeAnOpenParenthesisIsReported) {
    const struct {
        const char* assignment;
        const char* message;
        std::vector<std::string> output;
        int a;
    } cases[] = {{"b = 9 + (a = 3 * f();", "parentheses expected in line 4\n", {"7 "}, 6},
                 {"b = 9 + (a = 3 * 2;", "parentheses expected in line 4\n", {}, 6},
                 {"b = 9 + (a = 3 * 2) +\nq\n;", "not a variable or function in line 5\n", {}, 6},
                 {"b = a += (a++) - (a -= 5) * \nq\n;", "not a variable or function in line 5\n", {}, -4},
                 {"b = (a = 3) / (b - b) * q;", "division by zero in line 3\n", {}, 3},
                 {"b = (a = 3) * \nq\n / (b - b) + (a = 4);", "not a variable or function in line 5\n", {}, 3},
                 {"\nq = (a = 2);", "not a variable or function in line 4\n", {}, 0},
                 {"b = \nq\n = (a = 2);", "not a variable or function in line 5\n", {}, 0},
                 {"q = (a = 2) + f();", "not a variable or function in line 3\n", {}, 0},
                 {"b = \nq\n -= (a = 2) * f();", "not a variable or function in line 5\n", {}, 0}};
    for (const auto& c : cases) {
        ProgramRun r;
        r.run(std::string("int a, b;\nf() { print(7); return 2; }\nmain() {\n") + c.assignment + "\n}");
        EXPECT_EQ(r.message(), c.message) << c.assignment;
        EXPECT_EQ(r.bridge.output, c.output) << c.assignment;
        EXPECT_EQ(r.global("a"), c.a) << c.assignment;
        EXPECT_EQ(r.global("b"), 0) << c.assignment;
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
    const std::string open(100000, '(');
    ProgramRun balanced;
    balanced.run("int x;\nmain() { x = " + open + "1" + std::string(100000, ')') + "; }");
    EXPECT_EQ(balanced.result, RUN_OK) << balanced.message();
    EXPECT_EQ(balanced.global("x"), 1);
    expect_error("int x;\nmain() { x = " + open + "1; }", "parentheses expected", 1);
    std::string ifs;
    for (int i = 0; i < 100000; ++i) ifs += "if (1) ";
    ProgramRun s;
    s.run("int x;\nmain() { " + ifs + "x = 1; }");
    EXPECT_EQ(s.result, RUN_OK) << s.message();
    EXPECT_EQ(s.global("x"), 1);
    // Past the budget, whatever the shape of the nesting, a report.
    for (const std::string& nested : {"x = " + open + "1; }", ifs + "x = 1; }"}) {
        ProgramRun small;
        small.interp.set_stack_budget(size_t{256} << 10);
        EXPECT_EQ(small.run("int x;\nmain() { " + nested), RUN_ERROR);
        EXPECT_EQ(small.bridge.messages, std::vector<std::string>{"program nested too deeply in line 1\n"});
    }
}

}  // namespace
}  // namespace korvane::testing
