// SPDX-License-Identifier: GPL-3.0-or-later
// The error messages, each with the hint shown when nothing more certain is
// known and a short program that causes it: the one table behind the
// reports, the help's list and the tests' list.
#include "errors.h"
#include "language.h"

namespace korvane {

namespace {

constexpr MessageInfo kMessages[] = {
    {"syntax error", "A value, a name or `(` was expected here.", "main() { int x; x = ; }"},
    {"unbalanced parentheses", "Not raised: a missing `(` or `)` is reported as \"parentheses expected\".", ""},
    {"no expression present", "The program ends where a value was expected.", "main() return"},
    {"equals sign expected", "Not raised: a declaration takes its value after `=` only for globals.", ""},
    {"not a variable or function", "This name is declared neither as a variable nor as a function.",
     "main() { x = 1; }"},
    {"parameter error",
     "A call gives more values than can be taken: at most 10 for a built-in (12 for v_axis), 31 for a function, "
     "and never fewer than the function's parameters.",
     "f(int a, int b) { }\nmain() { f(1); }"},
    {"semicolon expected", "A statement or a declaration ends with `;`.", "main() { int x\nx = 1; }"},
    {"unbalanced braces", "A `{` has no matching `}` before the end of the program.", "main() {"},
    {"function undefined", "Not raised: a call of an unknown name reports \"not a variable or function\".", ""},
    {"type specifier expected", "Each parameter is declared with `int` or `char`, as in `f(int a)`.",
     "f(a) { }\nmain() { f(1); }"},
    {"too many nested function calls",
     "Calls nest at most 16,384 deep: a function that calls itself needs a case that stops.",
     "f() { f(); }\nmain() { f(); }"},
    {"return without call", "Not raised: `return` ends the function it stands in.", ""},
    {"parentheses expected", "A `(` or a `)` was expected here: calls and conditions take their parentheses.",
     "main() { line(0, 0, 10, 10; }"},
    {"while expected", "The body of `do` is followed by `while (condition);`.",
     "main() { int i; do { i++; } (i < 3); }"},
    {"closing quote expected",
     "A character is written 'a', one character between quotes; the text of print, puts, textout and "
     "textstyle is written in double quotes.",
     "main() { puts(hello); }"},
    {"not a string", "Not raised: an argument that must be a text reports \"closing quote expected\".", ""},
    {"too many local variables", "All calls running at once hold at most 327,680 arguments and locals together.",
     "f() { int a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p, q, r, s, t, u; f(); }\nmain() { f(); }"},
    {"user terminated program", "The run was stopped with Halt.", "main() { while (1) show(); }"},
    {"too many global variables", "A program declares at most 100 globals.", "int g0, g1, g2, (...), g100;"},
    {"too many functions", "A program defines at most 100 functions.", "f0() { } f1() { } (...) f100() { }"},
    {"program nested too deeply",
     "Parentheses, blocks and calls nest deeper than the interpreter's stack allows; split the work into steps.",
     "main() { int x; x = ((((((...1...)))))); }"},
    {"step limit reached", "The run executed as many steps as its limit allows (korvane-run --max-steps).",
     "main() { while (1) { } }"},
    {"division by zero", "The right side of `/` or `%`, or the value given to rand, is 0.",
     "main() { print(10 / 0); }"},
    {"time limit reached", "The run took as long as its time limit allows (korvane-run --timeout).",
     "main() { while (1) { } }"},
    {"flood fill would never end",
     "With these colours the fill would go round for ever; it was stopped and keeps what it filled.",
     "main() { setcolor(2); fillrect(139, 37, 180, 44);\nfloodfill(376, 304, 1, 0, 0, 12); }"},
};
static_assert(std::size(kMessages) == ERR_COUNT);

}  // namespace

std::span<const MessageInfo> message_table() { return kMessages; }

// The help topic "Messages": each message with its hint as a paragraph, its
// example indented below it, a blank line after.
std::string messages_help_text() {
    // Lines before the first topic are no part of any topic.
    std::string text =
        "Made by tools/write_help_messages from the interpreter's message table: do not edit.\n"
        "= Messages\n"
        "Every message, with the hint shown under it and a program that causes it.\n\n";
    for (const MessageInfo& m : kMessages) {
        text += std::string("\"") + m.message + "\": " + m.hint + "\n";
        for (const char* p = m.example; *p != '\0'; ++p) {
            if (p == m.example || p[-1] == '\n') text += "  ";
            text += *p;
        }
        text += m.example[0] != '\0' ? "\n\n" : "\n";
    }
    return text;
}

}  // namespace korvane
