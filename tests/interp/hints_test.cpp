// SPDX-License-Identifier: GPL-3.0-or-later
// Mistaken programs: the unchanged message and line, the place of the token
// where the error was found, and a hint that names the cause; warnings about
// the number of values a call gives.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "language.h"
#include "run_helpers.h"
#include "tokens.h"

namespace korvane::testing {
namespace {

struct Mistake {
    std::string program;
    const char* message;
    int line;    // of the message
    int column;  // of the token, on the token's line
    const char* hint_word;
    int token_line = -1;  // when it differs from the message's line
};

void expect_mistake(const Mistake& m, ProgramRun& r) {
    const ErrorDetails& d = r.interp.error_details();
    EXPECT_EQ(r.message(), std::string(m.message) + " in line " + std::to_string(m.line) + "\n") << m.program;
    EXPECT_EQ(d.message, m.message) << m.program;
    EXPECT_EQ(d.token.line, m.token_line >= 0 ? m.token_line : m.line) << m.program;
    EXPECT_EQ(d.token.column, m.column) << m.program;
    EXPECT_NE(d.hint.find(m.hint_word), std::string::npos) << m.program << "\nhint: " << d.hint;
}

TEST(Hints, EveryMistakeHasItsPlaceAndAHintThatNamesTheCause) {
    const Mistake mistakes[] = {
        {"main() {\n  pont(200, 200);\n}", "not a variable or function", 1, 2, "`point`"},
        // Columns count characters, not bytes.
        {"main() {\n  print(\"\xc3\xb1\xe2\x82\xac\xf0\x9f\x98\x80\"); pont(1, 2);\n}", "not a variable or function", 1,
         16, "`point`"},
        {"main() {\n  int count;\n  cuont = 1;\n}", "not a variable or function", 2, 2, "`count`"},
        {"f() { int a; }\nmain() {\n  a = 1;\n}", "not a variable or function", 2, 2, "visible"},
        {"main() {\n  int x;\n  x = 1\n  x = 2;\n}", "semicolon expected", 3, 2, "end of line 2"},
        {"main() {\n  int a, b;\n  if (a > 0 && b > 0) a = 1;\n}", "parentheses expected", 2, 12,
         "`(a > 0) && (b > 0)`"},
        {"main() {\n  int a;\n  if (a > 0 && a < 5 || a == 9) a = 1;\n}", "parentheses expected", 2, 12,
         "`((a > 0) && (a < 5)) || (a == 9)`"},
        {"main() {\n  float x;\n}", "not a variable or function", 1, 2, "`float`"},
        {"main() {\n  int a[10];\n  a[1] = 2;\n}", "not a variable or function", 2, 2, "arrays"},
        {"main() {\n  for (int i = 0; i < 3; i++) { }\n}", "syntax error", 1, 7, "int i;"},
        {"main() {\n  puts('hello');\n}", "closing quote expected", 1, 7, "\"hello\""},
        {"int main() {\n}", "semicolon expected", 0, 8, "`main()`"},
        // Found on the line end, the message names the next line.
        {"main() {\n  brect(1, 2, 3, 4, 5;\n}", "parentheses expected", 2, 21, "fill_colour, border_colour", 1},
        {"main() {\n  int d;\n  print(10 / d);\n}", "division by zero", 2, 11, "`d`"},
        {"main() {\n  print(rand(0));\n}", "division by zero", 1, 8, "rand(0)"},
        {"f(int n) { f(n + 1); }\nmain() {\n  f(0);\n}", "too many nested function calls", 0, 18,
         "The calls went 262144 deep, the last a call of `f`: a function that calls itself needs a case in which "
         "it returns without calling."},
        {"f(int n) { if (n > 0) f(n + 1); }\nmain() {\n  f(1);\n}", "too many nested function calls", 0, 29,
         "The calls went 262144 deep, the last a call of `f`: the recursion is deeper than the budget (262144 "
         "calls), or the case in which `f` returns without calling is never reached."},
        // Found at a local: the call is named, not the local.
        {"f(int n) {\n  int a, b, c, d, e, g, h, i, j, k, l, m, o, p, q, r, s, t, u, v, w;\n  f(n + 1);\n}\n"
         "main() {\n  f(0);\n}",
         "too many local variables", 1, 36, "deep, the last a call of `f`:"},
        {"main() {\n  int i;\n  while (1) {\n    i++;\n    show();\n  }\n}", "user terminated program", 4, 4,
         "line 2, after its body had started 3 times"},
        {"main() {\n  puts(\"open);\n}", "syntax error", 2, 7, "closing", 1},
        {"main() {\n  int x;\n  x = ;\n}", "syntax error", 3, 6, "Found `;`", 2},
        {"main() {\n  show();\n", "unbalanced braces", 2, 0, "line 0"},
        {"f(a) { }\nmain() {\n  f(1);\n}", "type specifier expected", 0, 2, "`int`"},
        {"main() {\n  int i;\n  do { i++; } (i < 3);\n}", "while expected", 2, 14, "Found `(`"},
        {"main() return", "no expression present", 0, 13, "the end of the program"},
        {"main() {\n  int a;\n  a = abs(1, 2);\n}", "semicolon expected", 2, 13, "abs(x)"},
        {"main() {\n  char s;\n  s = \"abc\";\n}", "syntax error", 2, 6, "one character", -1},
        {"f(int a, int b) { }\nmain() {\n  f(1);\n}", "parameter error", 0, 9, "`int b` gets none"},
        {"main() {\n  int n, i = 10;\n}", "semicolon expected", 1, 11,
         "A local cannot be given a value where it is declared: it starts at 0. Declare it (`int i;`) and assign "
         "its value in a statement: `i = 10;`."},
        {"int g = -5;\nmain() { }", "semicolon expected", 0, 9,
         "A global's value where it is declared is one number without a sign (`int g = 5;`) or one character "
         "(`char c = 'a';`), not `-5`. Assign it at the start of `main` instead: `g = -5;`."},
        // A name of 31 characters is declared; one more is refused.
        {"main() {\n  int abcdefghijabcdefghijabcdefghija;\n  int abcdefghijabcdefghijabcdefghijab;\n}", "syntax error",
         2, 6, "A declared name has at most 31 characters, and `abcdefghijabcdefghijabcdefghijab` has 32: shorten it."},
        {"main() {\n  int x;\n  x = 6 ^ 3;\n}", "semicolon expected", 2, 8,
         "There is no operator `^`: for a power multiply (`x * x`); the exclusive or of a and b is "
         "`(a | b) - (a & b)`."},
    };
    for (const Mistake& m : mistakes) {
        ProgramRun r;
        if (m.message == std::string("user terminated program")) r.bridge.halt_after_shows = 3;
        r.run(m.program);
        expect_mistake(m, r);
    }
}

TEST(Hints, EveryMessageInTheTableIsReportedByItsExample) {
    // Examples that stand for a limit (with "...") or a Halt need more than a run.
    std::set<std::string> reported;
    for (const MessageInfo& m : message_table()) {
        const std::string example = m.example;
        if (example.empty() || example.find("...") != std::string::npos) continue;
        // The fill needs a canvas: the runner's tests run it.
        if (example.find("floodfill") != std::string::npos) continue;
        ProgramRun r;
        r.bridge.halt_after_shows = 1;
        if (m.message == std::string("step limit reached")) r.interp.set_step_limit(100000);
        if (m.message == std::string("time limit reached")) {
            r.bridge.halt_after_polls = 1;
            r.bridge.poll_answer = Bridge::POLL_TIME_UP;
        }
        r.run(example);
        const std::string message = r.message();
        EXPECT_EQ(message.substr(0, message.find(" in line ")), m.message) << example;
        EXPECT_FALSE(r.interp.error_details().hint.empty()) << example;
    }
}

TEST(Hints, TheHelpsListOfMessagesIsWrittenFromTheTable) {
    std::ifstream in(KORVANE_SOURCE_DIR "/app/window/help_messages.txt", std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(written, messages_help_text()) << "run: build/tools/write_help_messages app/window/help_messages.txt";
    // The help states the limit of a name's length that the hint states.
    std::ifstream help(KORVANE_SOURCE_DIR "/app/window/korvane_help.txt", std::ios::binary);
    const std::string topics{std::istreambuf_iterator<char>(help), std::istreambuf_iterator<char>()};
    EXPECT_NE(topics.find("name has at most " + std::to_string(kNameSize - 1) + " characters"), std::string::npos);
}

TEST(Hints, CallsWithAnotherNumberOfValuesAreWarnedBeforeTheRun) {
    const ProgramOutline o =
        outline_program(crlf("f(int a, int b) { line(1, 2, 300); }\n"
                             "main() {\n  f(1, 2, 3);\n  point(1, 2);\n  brect(1, 2, 3, 4, 5, 6, 7);\n  show();\n"
                             "  putch('#');\n  abs(1, 2);\n}\n#include <stdio.h>"));
    // abs(1, 2) is an error of the run, not a warning.
    ASSERT_EQ(o.warnings.size(), 4u);
    EXPECT_EQ(o.warnings[0].place.line, 0);
    EXPECT_EQ(o.warnings[0].place.column, 18);
    EXPECT_EQ(o.warnings[0].signature, "line(x1, y1, x2, y2)");
    EXPECT_NE(o.warnings[0].text.find("missing ones are 0"), std::string::npos);
    EXPECT_EQ(o.warnings[1].place.line, 2);
    EXPECT_EQ(o.warnings[1].signature, "f(int a, int b)");
    EXPECT_NE(o.warnings[2].text.find("rest are ignored"), std::string::npos);
    EXPECT_EQ(o.warnings[3].place.line, 9);
    EXPECT_NE(o.warnings[3].text.find("`#include` is not needed"), std::string::npos);
    ASSERT_EQ(o.functions.size(), 2u);
    EXPECT_EQ(o.functions[0].parameters, (std::vector<std::string>{"int a", "int b"}));
    EXPECT_EQ(o.names, (std::vector<std::string>{"a", "b"}));
}

TEST(Hints, TextThatRunsOtherwiseThanItLooksIsWarnedBeforeTheRun) {
    struct Row {
        const char* program;
        int line, column;
        const char* text;
    };
    const Row rows[] = {
        {"main() {\n  int c;\n  if (c) print(1); print(2); else print(3);\n}", 2, 29,
         "This `else` belongs to no `if`, as the statement before it is not an `if`'s: it is passed over with its "
         "statement, which never runs. To run several statements under an `if`, put them in `{ }`."},
        {"main() {\n  int x;\n  ++x;\n}", 2, 2,
         "A statement cannot begin with `++`: it is passed over, and the run goes on at `x`."},
        {"main() {\n  print(1);\n  { print(2); }\n  print(3);\n}", 2, 2,
         "This `{` opens no block: a block opens only where a function's body or the statement of `if`, `else`, "
         "`for`, `while` or `do` begins. It is passed over, and the `}` in line 2 ends the block around it."},
        {"main() {\n  int x;\n  x = (3 + );\n}", 2, 11, "A value is missing between `+` and `)`: it is read as 0."},
        {"main() {\n  int i;\n  while (i = 5) i--;\n}", 2, 11,
         "`=` assigns: this condition stores a value in `i` and is true when that value is not 0. To compare, "
         "write `==`."},
        {"main() {\n  int a[10];\n}", 1, 6,
         "There are no arrays: `a[10]` is one name, and this declares a single variable of that name."},
        {"f(int n) { if (n) return 7; }\nmain() {\n  print(f(0));\n}", 0, 0,
         "`f` can reach its end without `return`, and its value is used in line 2: a call that ends so gives the "
         "value of the last `return` that ran, in whatever function."},
        {"main() {\n  print(0xF0F0);\n}", 1, 8,
         "`0xF0F0` is read as 0: a number is its leading decimal digits, and there are no hexadecimal numbers: "
         "write 61680."},
        {"main() {\n  print(1.5);\n}", 1, 8,
         "`1.5` is read as 1: every value is a whole number, and a number is its leading decimal digits."},
        {"main() {\n  print(12ab);\n}", 1, 8,
         "`12ab` is read as 12: a number is its leading decimal digits, and the rest is passed over."},
        {"main() {\n  print(2147483648);\n}", 1, 8,
         "`2147483648` is more than the largest int, 2147483647: it wraps round to -2147483648."},
    };
    for (const Row& row : rows) {
        const ProgramOutline o = outline_program(crlf(row.program));
        ASSERT_EQ(o.warnings.size(), 1u) << row.program;
        EXPECT_EQ(o.warnings[0].place.line, row.line) << row.program;
        EXPECT_EQ(o.warnings[0].place.column, row.column) << row.program;
        EXPECT_EQ(o.warnings[0].text, row.text) << row.program;
    }
    // What is written as it runs gets no warning: an else after the statement of its if, a block as a loop's
    // statement, a call whose value is dropped, returns on every path, `=` inside a comparison, the least int,
    // the largest int, an empty argument list, a step in parentheses.
    const ProgramOutline clean = outline_program(
        crlf("f(int n) { if (n) return 1; else { return 2; } }\ng() { while (1) { return 3; } }\nh(int n) { "
             "if (n) return 1; }\nmain() {\n  int c, x;\n  if (c) { x = 1; } else if (c) x = 2; else x = 3;\n"
             "  for (x = 0; x < 3; x++) { c = c + f(x) + g(); }\n  h(1);\n  while ((c = getnum()) != 0) { }\n"
             "  x = -2147483648 + 2147483647;\n  show();\n  x = (x++);\n  ;\n}"));
    EXPECT_TRUE(clean.warnings.empty()) << clean.warnings.front().text;
}

}  // namespace
}  // namespace korvane::testing
