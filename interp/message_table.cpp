// SPDX-License-Identifier: GPL-3.0-or-later
// The error messages, each with the hint shown when nothing more certain is
// known and a short program that causes it: the one table behind the
// reports, the help's list and the tests' list. The limits' texts are
// written from the limits.
#include <array>
#include <string>

#include "language.h"
#include "state.h"

namespace korvane {

namespace {

// 16384 as "16,384", as the help writes numbers.
std::string with_commas(int n) {
    const std::string digits = std::to_string(n);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

// The texts that state a limit, written from the limit itself.
struct LimitTexts {
    std::string parameter = "A call gives more values than can be taken: at most " + std::to_string(kCollectionSize) +
                            " for a built-in (" + std::to_string(kVAxisCollectionSize) + " for v_axis), " +
                            std::to_string(kMaxArguments) +
                            " for a function, and never fewer than the function's parameters.";
    std::string calls =
        "Calls nest at most " + with_commas(kMaxCalls) + " deep: a function that calls itself needs a case that stops.";
    std::string locals =
        "All calls running at once hold at most " + with_commas(kMaxLocals) + " arguments and locals together.";
    std::string globals = "A program declares at most " + std::to_string(kMaxGlobals) + " globals.";
    std::string globals_example = "int g0, g1, g2, (...), g" + std::to_string(kMaxGlobals) + ";";
    std::string functions = "A program defines at most " + std::to_string(kMaxFunctions) + " functions.";
    std::string functions_example = "f0() { } f1() { } (...) f" + std::to_string(kMaxFunctions) + "() { }";
};

// The codes that nothing raises keep their numbers, with their message
// alone: no hint, no example, no place in the help.
std::array<MessageInfo, ERR_COUNT> make_messages() {
    static const LimitTexts limits;
    return {{
        {"syntax error", "A value, a name or `(` was expected here.", "main() { int x; x = ; }"},
        {"unbalanced parentheses", "", ""},
        {"no expression present", "The program ends where a value was expected.", "main() return"},
        {"equals sign expected", "", ""},
        {"not a variable or function", "This name is declared neither as a variable nor as a function.",
         "main() { x = 1; }"},
        {"parameter error", limits.parameter.c_str(), "f(int a, int b) { }\nmain() { f(1); }"},
        {"semicolon expected", "A statement or a declaration ends with `;`.", "main() { int x\nx = 1; }"},
        {"unbalanced braces", "A `{` has no matching `}` before the end of the program.", "main() {"},
        {"function undefined", "", ""},
        {"type specifier expected", "Each parameter is declared with `int` or `char`, as in `f(int a)`.",
         "f(a) { }\nmain() { f(1); }"},
        {"too many nested function calls", limits.calls.c_str(), "f() { f(); }\nmain() { f(); }"},
        {"return without call", "", ""},
        {"parentheses expected", "A `(` or a `)` was expected here: calls and conditions take their parentheses.",
         "main() { line(0, 0, 10, 10; }"},
        {"while expected", "The body of `do` is followed by `while (condition);`.",
         "main() { int i; do { i++; } (i < 3); }"},
        {"closing quote expected",
         "A character is written 'a', one character between quotes; the text of print, puts, textout and "
         "textstyle is written in double quotes.",
         "main() { puts(hello); }"},
        {"not a string", "", ""},
        {"too many local variables", limits.locals.c_str(),
         "f() { int a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p, q, r, s, t, u; f(); }\nmain() { f(); }"},
        {"user terminated program", "The run was stopped with Halt.", "main() { while (1) show(); }"},
        {"too many global variables", limits.globals.c_str(), limits.globals_example.c_str()},
        {"too many functions", limits.functions.c_str(), limits.functions_example.c_str()},
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
    }};
}

}  // namespace

std::span<const MessageInfo> message_table() {
    static const std::array<MessageInfo, ERR_COUNT> messages = make_messages();
    return messages;
}

// The help topic "Messages": each message with its hint as a paragraph, its
// example indented below it, a blank line after.
std::string messages_help_text() {
    // Lines before the first topic are no part of any topic.
    std::string text =
        "Made by tools/write_help_messages from the interpreter's message table: do not edit.\n"
        "= Messages\n"
        "Every message, with the hint shown under it and a program that causes it.\n\n";
    for (const MessageInfo& m : message_table()) {
        if (m.hint[0] == '\0') continue;
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
