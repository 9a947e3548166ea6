// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary and mutated program texts end in a result or an error report,
// never a crash or a hang (run under the sanitizers in CI).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "frames.h"
#include "random_programs.h"
#include "run_helpers.h"

namespace korvane::testing {
namespace {

TEST(RandomPrograms, EndInAResultOrAnErrorReport) {
    std::mt19937 rng(20261208);
    RecordingBridge bridge;
    bridge.answers.assign(100000, "7");
    Interpreter interp(bridge);
    interp.set_step_limit(20000);
    int errors = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string text = random_program(rng, i);
        bridge.messages.clear();
        const RunResult result = interp.run_text(text);
        ASSERT_GE(result, RUN_OK) << text;
        ASSERT_LE(result, RUN_ABORTED) << text;
        if (result == RUN_ERROR) {
            ++errors;
            ASSERT_EQ(bridge.messages.size(), 1u) << text;
            ASSERT_NE(bridge.messages[0].find(" in line "), std::string::npos) << text;
        }
    }
    EXPECT_GT(errors, 100);  // the mutations really do reach the error paths
}

std::vector<std::string> corpus() {
    std::vector<std::string> texts(std::begin(kSeeds), std::end(kSeeds));
    for (const char* dir : {"/examples", "/bench/programs"}) {
        for (const auto& entry : std::filesystem::directory_iterator(std::string(KORVANE_SOURCE_DIR) + dir)) {
            if (entry.path().extension() != ".cg") continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            std::erase(text, '\r');
            texts.push_back(text);
        }
    }
    return texts;
}

// `n` copies of `text`: lists longer and deeper than the item lists'
// runners hold in their local room.
std::string repeated(const std::string& text, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += text;
    return out;
}

// What a run leaves, folded into one number (64-bit FNV-1a): its result,
// steps, calls, output, messages and the error's code and place.
uint64_t digest_of(Interpreter& interp, RecordingBridge& bridge, const std::string& text, uint64_t steps = 20000) {
    bridge.calls.clear();
    bridge.output.clear();
    bridge.messages.clear();
    bridge.answers.assign(100, "7");
    interp.set_step_limit(steps);
    interp.seed_random(1);
    const RunResult result = interp.run_text(text);
    const ErrorDetails& error = interp.error_details();
    std::string all = std::to_string(result) + "|" + std::to_string(interp.steps_taken()) + "|" +
                      std::to_string(error.code) + "|" + std::to_string(error.token.line) + "," +
                      std::to_string(error.token.column) + "," + std::to_string(error.token.length);
    for (const auto* list : {&bridge.calls, &bridge.output, &bridge.messages}) {
        all += "|";
        for (const std::string& s : *list) all += s + "\n";
    }
    uint64_t h = 14695981039346656037ull;
    for (const char c : all) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

// Each digest against its line in tests/interp/`file`; with the variable
// `write` set to a file name, the digests are written there instead.
void expect_digests(const std::vector<std::string>& texts, const std::vector<uint64_t>& values, const char* file,
                    const char* write) {
    std::vector<std::string> digests;
    for (const uint64_t value : values) {
        char line[32];
        std::snprintf(line, sizeof line, "%016llx", static_cast<unsigned long long>(value));
        digests.emplace_back(line);
    }
    if (const char* out = std::getenv(write)) {
        std::ofstream written(out, std::ios::binary);
        for (const std::string& d : digests) written << d << "\n";
        GTEST_SKIP() << "digests written to " << out;
    }
    std::ifstream kept(std::string(KORVANE_SOURCE_DIR) + "/tests/interp/" + file);
    std::string expected;
    int errors = 0;
    for (size_t i = 0; i < digests.size(); ++i) {
        ASSERT_TRUE(std::getline(kept, expected)) << file << " ends at line " << i + 1;
        if (digests[i] != expected && ++errors <= 5)
            ADD_FAILURE() << "program " << i << " ends otherwise:\n" << texts[i];
    }
    EXPECT_EQ(errors, 0);
}

// Expressions of every shape, and mutated programs that reach unknown
// variables, divisions by zero and stray tokens, end exactly as they ended
// when expression_digests.txt was written by the evaluator that read every
// expression on frames of its own: result, steps, calls, output, messages
// and the error's place.
TEST(RandomPrograms, ExpressionsEndAsTheirDigestsSay) {
    std::mt19937 rng(20261209);
    RecordingBridge bridge;
    Interpreter interp(bridge);
    std::vector<std::string> texts;
    for (const std::string& program : corpus()) texts.push_back(crlf(program));
    // Signs, parentheses, built-ins and levels in every order; a zero
    // divisor or an unknown name deep inside; an unknown name assigned,
    // added to or stepped, after a step, a draw or a zero divisor, at a
    // line's end; the most negative value divided; a stray token, a `(` or
    // a `'` left open; a built-in's values ended by another token, and `;`
    // where a value begins; an operand followed by a second comparison,
    // by ++ -- += -= (a comparison whose right value is dropped), and a
    // step followed by an operator; answers read, then a zero divisor, a
    // name not there, a draw of rand.
    const auto with_variables = [](const std::string& e) {
        return std::string("int a, b, c, d, m, x;\r\nmain() {\r\n  a = 5; b = -3; c = 12; d = 4;\r\n") +
               "  m = -2147483647 - 1;\r\n  x = 1;\r\n  print(" + e + ");\r\n  x = " + e + ";\r\n  print(x);\r\n}\r\n";
    };
    for (const char* e : {"-(a - b) * c % 7",
                          "(a + b) * -c / (d - 4)",
                          "((a < b)) < c",
                          "a < b < c",
                          "(a) + b",
                          "-a - -b",
                          "a / (d - d) + 1",
                          "a % (b - b)",
                          "(a + q) * 2",
                          "m / -1 + m % -1",
                          "(a + b) / (b + 3) - (c % d)",
                          "(((a | b) & c) + d * (a - b)) == 0",
                          "x = -(a + b) * (c - d)",
                          "x = (a) < (b)",
                          "getpel(a, b - 1) + abs(b - c) * 2",
                          "-abs(a - (b)) / (d - 4) + getpel(c, d)",
                          "getpel(a, q) + 1",
                          "getpel(a, b) + q",
                          "abs(getpel(b, a) - 3, 4)",
                          "getpel(a) + abs(b)",
                          "x += a * -b",
                          "x -= (c - d) / (d - 4)",
                          "x += getpel(a, q)",
                          "-'A' % (b + '#') + abs('z' - c)",
                          "'AB' + a",
                          "x += b = x -= c * -d",
                          "(x = b = (a + c) * 2)",
                          "x = a = b++",
                          "(a = 3) + (b += c) * (d -= 1)",
                          "(x = getpel(a, b)) != 0",
                          "(c++) * 2 - (d--) + c",
                          "abs(a = -b) + getpel(b = 1, c -= a)",
                          "(a = b = c += 2) / (d = 0)",
                          "(a += 1) + q",
                          "(a = 2) + (q = 3)",
                          "(a = b++) + b",
                          "q = a + 1",
                          "x = b += q -= a",
                          "x = a = q--",
                          "q++",
                          "(c++) * 2 - rand(d) + abs(q)",
                          "(a = 2) - b / (d - d) + q",
                          "(b -= 1) * (a +\r\n  q\r\n  ) + c",
                          "rand(c) * 3 - rand(a + b) + rand(c)",
                          "rand(d - 4) + 1",
                          "abs(-rand(c)) + getpel(rand(a), b)",
                          "x += rand(q)",
                          "rand(a, b) + 2",
                          "rand(m) + rand(-c)",
                          "line(a, b, c, d) * 2 - point(b, a)",
                          "x = 1 + sleep(d) - -show()",
                          "a / line(a, b, c, d) + 1",
                          "line(a, b, c, d, 1, 2, 3, 4, 5, 6, 7) + 1",
                          "v_axis(1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1, c) - v_axis(a, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1, 2, d)",
                          "show() + show(a, q)",
                          "abs(line(a, b, c, d) - 5) + getpel(show(), a)",
                          "(x = show()) + (a += sleep(b)) * a",
                          "sleep(getnum()) - getche() * point(a, getnum())",
                          "line(a, b c, d) + 1",
                          "putch(a + 60) - b * 2",
                          "x = -clear(c) + setcolor(d) * 2 < 3",
                          "getpel(putch(a), b) + abs(setcolor(b) - 1) * 2",
                          "putch(a) < 2 < 3",
                          "(x = putch(66)) + setcolor(q)",
                          "putch a + 60 - b * 2 < 3",
                          "-clear c * 2 + (setcolor b = d + 1) + b",
                          "getpel(putch x = a + 61, setcolor -q) + x",
                          "(a + ) * 2 - (-) + b",
                          "getpel(a, ) + abs() * 3 + rand(b, )",
                          "(a = ) + (b += ) * (putch ) + 1)",
                          "textout(a, b, \"s\") * 2 - -textstyle(c - 1, d, \"f\") + a",
                          "abs(textout(a, b / (d - d), \"s\")) + 1",
                          "(x = textout(a, q, \"s\")) + 1",
                          "textout(a; b, \"s\") + textout(a b, \"s\")",
                          "textout(a, b, c) - textout(a, b) * textstyle(a, b, \"s\", 1)",
                          "textout(a, b, -\"s\") + textstyle(a, b, \"s\"",
                          "x = -)",
                          "a * ]",
                          "(a = 2, b",
                          "b - 'x",
                          "getpel(a b) + 1",
                          "-rand(c d) * 2",
                          "abs(a 23) * 2 - abs(b) + abs(c;",
                          "(x += ;) * 3 + abs(b -= ; ) - 7",
                          "x -= ; + 1",
                          "getpel(;, b) - getpel(a, ;)",
                          "getpel(a, b, c) * 2 + rand(c, x = 9) - x + rand(c, q)",
                          "abs( ; ) * 2 + abs(;c) - (putch ; + 3)",
                          "c - 2 * abs b",
                          "(a = 4) + getpel\r\n  , 1",
                          "x = rand",
                          "(print)",
                          "(b + 1 += c * 2) + (d -= 1 ++ 9) * (2 * a ++ 1) - (-c -- 1)",
                          "abs(b-- * 2) + getpel(a++ + 1, d) - rand(c-- < 3 < 4)",
                          "a <= b != c > d",
                          "getnum() * 2 - -getche() / (d - 4)",
                          "(x = getche()) - '0' + q",
                          "-getnum(q) % (b + 3) < rand(c) + (c++) + abs(x -= getche())"}) {
        texts.push_back(with_variables(e));
    }
    // Lists past the runners' local room: 199 operands, 40 compound ones,
    // a zero divisor after 120 pairs, 9 and 20 parentheses deep (a zero
    // divisor at the bottom), built-ins 20 deep, 11 and 20 assignments
    // inside, 10 at once in one parenthesis, a `(` left open after 10, 10
    // variables assigned (the last stepped, the first added to).
    for (const std::string& e : std::initializer_list<std::string>{
             "a" + repeated(" + b * 3 - c", 66), repeated("(c - (d + 1) * a) - abs(b) * ", 40) + "d",
             repeated("(a - b) * ", 120) + "c / (d - d)",
             repeated("d < b - c * -(", 9) + "a + 1" + repeated(") + 2", 9),
             repeated("d < b - c * -(", 20) + "a % (b - b)" + repeated(") + 2", 20),
             repeated("abs(b - getpel(a, ", 10) + "c" + repeated("))", 10),
             repeated("rand(c + abs(", 10) + "d" + repeated(")) * 3", 10),
             "(a = 2) + (b += a) * (c -= b) - (d = c) + (a = d * 2) - (b = a) + (c += 1) + (d -= 2) + "
             "(a = b + c) - (b = 7) + (c = a) + a * b - c",
             repeated("(a = b - (c += ", 10) + "d++" + repeated(")) * 2", 10) + " + a * c",
             repeated("(a = b + ", 10) + "1" + repeated(")", 9),
             "(a = b = c += d -= a = b = c = d = a = b = 3) * 2 + a", "x = a = b += c -= d = x += a = b = c = d -= 3",
             repeated("a = b += ", 5) + "c--", "x += " + repeated("a -= b = ", 5) + "(c = 3) * -(x += 2) + abs(c)"}) {
        texts.push_back(with_variables(e));
    }
    // Answers read by lists without calls where each kind of statement
    // begins with one, and after a built-in statement's `)`.
    texts.push_back(
        "int a, k, x;\r\nr() { return getnum() - 3; }\r\nmain() {\r\n"
        "  while ((k = getche()) != 'q') { a = a + k; if (a > 300) break; }\r\n  x = getche() - '0';\r\n"
        "  if (getnum() > 3) print(x);\r\n  for (k = getnum(); k < getnum() + 3; k = k + getche()) a = a + 1;\r\n"
        "  do a = a - 1; while (-getnum() < a);\r\n  print(getnum() * 2);\r\n  print(r() * 10 + a);\r\n"
        "  getnum() * 2 - getche() + q;\r\n}\r\n");
    // Names of built-ins and functions assigned to: variables where one of
    // the name is found (a global, a local, in one function only), else read
    // as themselves; as first, later and stepped targets, inside parentheses
    // and values (an answer read where none is found, after a store, which
    // passes over the `)` of abs).
    for (const char* e : {"putch = a + 1", "x = putch += b = f -= 2", "putch++", "x = clear = f = a",
                          "b = abs -= (putch = 3) * 2", "(x = putch = b) + 1", "a = clear = putch = 3",
                          "a + (putch = b) * (f = 2)", "(putch -= 4) * 100 + abs(getnum = b) * 10"}) {
        texts.push_back(std::string("int a, b, x, putch;\r\nf() { int clear, abs; clear = 4; return ") + e +
                        "; }\r\nmain() {\r\n  int f;\r\n  a = 5; b = -3;\r\n  x = " + e +
                        ";\r\n  print(x + putch);\r\n  print(f());\r\n}\r\n");
    }
    // Seventeen such names in one expression, and two after a built-in
    // statement's `)`, the last a local only in some calls of `r`: a reading
    // for each in turn, up to the one that raises, in either statement.
    const std::string seventeen =
        "  x = x * 2 + (putch = 1) + (clear = 2) + (setcolor = 3) + (circle = 4) + (rand = 5) + (getpel = 6) + (line = "
        "7) + (point = 8) + (getnum = 9) + (getche = 10) + (show = 11) + (sleep = 12) + (fillrect = 13) + (textout = "
        "14) + (h_axis = 15) + (v_axis = 16) + (xline = n);\r\n";
    const std::string tail = "  abs(point -= 1) == abs(getpel -= 9) + (xline -= 20);\r\n";
    for (const std::string& lines : {seventeen + tail, tail + seventeen}) {
        texts.push_back(
            "int x, putch, clear, setcolor, circle, rand, getpel, line, point, getnum, getche, show, sleep, fillrect, "
            "textout, h_axis, v_axis;\r\nr(int n) {\r\n  if (n % 3) { int xline; }\r\n" +
            lines + "  print(x + (point += 0) * 100 + (getpel += 0) * 10000 + (xline += 0) * 1000000);\r\n" +
            "  if (n > 0) r(n - 1);\r\n}\r\nmain() { r(5); }\r\n");
    }
    // A call's simple arguments go to it together; one that is not simple,
    // a zero divisor among them, or a list the frames refuse, from the text.
    const std::string many =
        "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, "
        "25, 26, 27, 28, 29, 30, 31";
    for (const std::string& call :
         std::initializer_list<std::string>{"g(a, b, c)", "g(a, b / (d - d), c)", "g(a, q, c)", "g(a, g(b, c, d), 2)",
                                            "g(a)", "g(-a, (b), c * 2, d) - g(c, b, a)", "g(" + many + ")",
                                            "g(" + many + ", 32)", "g(a, b, c;", "g(a, getpel(b, c), abs(d - 9))"}) {
        texts.push_back("int a, b, c, d;\r\ng(int p, int q, int r) { return p * 100 + q * 10 + r; }\r\nmain() {\r\n" +
                        std::string("  a = 5; b = -3; c = 12; d = 4;\r\n  print(") + call + ");\r\n  a = " + call +
                        ";\r\n  print(a);\r\n}\r\n");
    }
    // A drawing call's list the same way, as a statement of its own.
    for (const std::string& draw : std::initializer_list<std::string>{
             "line(a, b, c, d)", "line(a, q, c, d)", "point(a, b / (d - d))", "point(a++, g(b, c, d))",
             "line(" + many.substr(0, 33) + ")", "point(a, b;", "fillrect(a, b, c, d, 7)"}) {
        texts.push_back("int a, b, c, d;\r\ng(int p, int q, int r) { return p + q + r; }\r\nmain() {\r\n" +
                        std::string("  a = 5; b = -3; c = 12; d = 4;\r\n  ") + draw + ";\r\n  print(a);\r\n}\r\n");
    }
    // Calls of the program's functions inside expressions, their values
    // waited for in each operand place: a global the callee changes read
    // after it, a value added to a variable the callee changes, a zero
    // divisor before and after a call, an unknown name before and after,
    // `f()`, lists too short and too long, a call in each kind of statement,
    // drawing calls, show and sleep among calls (one given too many values);
    // broken text after calls that print: an operand missing (after a sign,
    // an operator, a `,`), a `(` or a `'` left open, a stray token, and the
    // odd text the frames read without an error (`)` as an operand, `;` as
    // a call's value, a call's values ended by any token, a second
    // comparison or a step followed by an operator among them, `-=` after
    // a call, `;` after `+=`).
    const std::string functions =
        "int a, b, c, d;\r\ng(int p, int q, int r) { return p * 100 + q * 10 + r; }\r\n"
        "bump(int k) { a = a + k; return k * 3; }\r\nnone() { return b; }\r\n"
        "say(int k) { print(k); return k; }\r\n"
        "deep(int n) { if (n == 0) return 0; return deep(n - 1) + 1; }\r\n"
        "nest(int n) { if (n < 1) return n; return 1 - (g(0, -nest(n - 1) * 2, 1) + bump(0)) % 9; }\r\n"
        "sink(int n) { if (n < 1) return n; return abs(getpel(n, -sink(n - 1) * 2) - 3); }\r\n"
        "pour(int n) { if (n < 1) return n; c = d -= pour(n - 1) + 1; return c; }\r\n"
        "fill(int n) { if (n < 1) return n; return (c = 1 + g(d += 1, fill(n - 1), 0)) - (d++); }\r\n"
        "cave(int n) { if (n < 1) return n; return " +
        repeated("(b - ", 12) + "cave(n - 1)" + repeated(") * 2", 12) +
        "; }\r\nhoard(int n) { if (n < 1) return n; return " + repeated("(c = 1 + ", 10) + "hoard(n - 1)" +
        repeated(")", 10) + "; }\r\nchain(int n) { if (n < 1) return n; a = b = c = d = a = b = c = d = a = b += " +
        "chain(n - 1) + 1; return a; }\r\n"
        "echo(int n) { if (n < 1) return n; b = 1 + print(n); c = 2 - textout(n, b, \"s\"); return echo(n - 1); }\r\n"
        "crest(int n) { if (n < 1) return n; if (1 + (b = crest(n - 1)) * 2) a = a + 1; return a; }\r\n"
        "flow(int n) { if (n < 1) return n; while (((flow(n - 1)))) a = 0; return 0; }\r\n"
        "loop(int n) { if (n < 1) return n; for (c = g(1, loop(n - 1), 2); c < 0; c++) a = 0; return 1; }\r\n"
        "tell(int n) { if (n < 1) return n; print(n - tell(n - 1)); return n; }\r\n"
        "mark(int n) { if (n < 1) return n; b = say(n) + 2 * (a + mark(n - 1)); return b; }\r\n"
        "spend(int n) { if (n < 1) return n; return say(n) + (c = -point(n, 2)) * (d++ - g(b = say(1), (c += "
        "say(2)) + spend(n - 1), 3)); }\r\n"
        "fold(int n) { if (n < 1) return n; a = a / 2 - c++ * (print(n) + g(1, (b = 2 - fold(n - 1)), q)); return a; "
        "}\r\n"
        "ask(int n) { if (n < 1) return n; return getnum() * (rand(5) + abs(-(c = ask(n - 1)))); }\r\n"
        "hear(int n) { if (n < 1) return n; c = 1 + (d = getnum() - (b = 2)) * 3; return hear(n - 1); }\r\n"
        "trail(int n) { if (n < 1) return n; abs(n) + (b = 1 + trail(n - 1)) * 2; return b; }\r\n"
        "rim(int n) { if (n < 1) return n; getpel(n, (1)) + ((c = (n + 1))) * 2; return rim(n - 1); }\r\n";
    const auto calling = [&functions](const std::string& e) {
        return functions + "f() { return " + e + "; }\r\nmain() {\r\n  a = 5; b = -3; c = 12; d = 4;\r\n" +
               "  b = " + e + ";\r\n  print(a);\r\n  print(b);\r\n  if (" + e + " < 3) print(1); else print(2);\r\n" +
               "  for (c = " + e + "; c < 30; c += 9) " + e + ";\r\n  print(f());\r\n  print(c);\r\n" + "  while (" +
               e + " < a) { a = a - 7; }\r\n  do print(a); while (" + e + " > 900);\r\n}\r\n";
    };
    for (const char* e : {"bump(1) + a * bump(2) - a",
                          "g(bump(1), a + 2, -bump(a)) * (c - bump(c))",
                          "-(a - g(1, bump(b), 3)) % 7 < none()",
                          "none() + none(1, 2) * none(b)",
                          "g(a) + 1",
                          "bump(1) / (d - d) + bump(2)",
                          "a / (d - d) + bump(2)",
                          "bump(1) + q",
                          "q + bump(1)",
                          "a / (d - d) * q + bump(1)",
                          "(d - d) / q + bump(1)",
                          "g(a, b - q) + bump(1)",
                          "q = bump(1)",
                          "say(1) + point(q, say(2))",
                          "say(3) * (q = 2) + (b++)",
                          "-getnum() - (say(4) - q++)",
                          "(bump(1) < bump(2))",
                          "(a = bump(d) - a)",
                          "deep(b + 8) * 2 + nest(c)",
                          "a += bump(3)",
                          "a -= g(a, bump(1), abs(a - 9))",
                          "abs(bump(1)) + getpel(a, bump(2))",
                          "2 * abs(bump(1) - 13)",
                          "getpel(bump(1) - 4, a + abs(-bump(2) * 3)) - a",
                          "-abs(bump(a) / (d - d))",
                          "c = a = bump(2)",
                          "c = a += bump(2) * 10",
                          "c -= a = g(b, bump(3), 2) * 2",
                          "c = d += a -= bump(d) / (d - d)",
                          "c += d = a + q * bump(1)",
                          "(a = bump(1)) + 2 * a",
                          "(c = getpel(a, bump(b))) != 0",
                          "(a += bump(1)) - (b = 4) * (c++)",
                          "g(a = 1, b += bump(2), c--) + (d = bump(3)) / (d - d)",
                          "(c = bump(1)) + q",
                          "(c = bump(1)) + (q += 2)",
                          "abs(getpel(bump(2), (d - d)) / (d - d))",
                          "g(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, "
                          "24, 25, 26, 27, 28, 29, 30, bump(31), 32)",
                          "getnum() * bump(2) - getche()",
                          "g(getnum(q), bump(1), -getche())",
                          "-getnum() / (d - d) + bump(1)",
                          "bump(1) + getnum() / (d - d)",
                          "getnum( + bump(1)",
                          "abs(getnum() - 9) + bump(getche())",
                          "(getnum() < bump(1)) + q",
                          "(a = getnum()) + bump(a) * (b -= getche())",
                          "rand(bump(1) + 4) - rand(a) * bump(2)",
                          "rand(bump(0)) + 1",
                          "getpel(say(1)) + rand(say(2), bump(3), a) * 2 - a",
                          "rand(c, (a = 7), say(a)) - getpel(b, say(4), bump(1)) + a",
                          "rand(1, 2, 3, 4, 5, 6, 7, 8, 9, say(10), 11) + getpel(1, 2, 3, 4, 5, 6, 7, 8, 9, say(10))",
                          "getpel() - rand(0, say(5))",
                          "textout(say(1) say(2) \"s\") + textstyle(say(3) ] say(4), \"f\") * a",
                          "(a = say(5)) + textout(say(6), b) * 2",
                          "sleep(bump(1)) + a * bump(2)",
                          "2 * -show() - bump(1)",
                          "-line(bump(1), a, g(1, 2, bump(3)), 9) * (c - bump(c))",
                          "say(1) + point(say(2), say(3)) / (d - d)",
                          "g(say(1), line(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, say(2)), 2)",
                          "h_axis(say(1), 2, 3, 4, 5, 6, 7, 8, 9, say(10)) + say(2)",
                          "show(say(4)) + q",
                          "g(point(a, b), q, 1)",
                          "putch(bump(22) + a) - g(1, 2, 3)",
                          "setcolor(3) + bump(1) * clear(say(2))",
                          "-putch(say(65)) / (d - d)",
                          "putch a = bump(22) + 40 - g(1, 2, 3) * (clear say(2))",
                          "(a = line(bump(1), 2, 3, 4)) + (b += sleep(bump(2)))",
                          "fillrect(getnum(), bump(1), -getche(), 4) - show(say(5), ;",
                          "say(1) + say(2) * ",
                          "say(3) / -",
                          "(say(4) - 1",
                          "(a = say(5)) * (c += say(6) ",
                          "g(say(7), abs(2 * say(8) , 1)",
                          "say(9) + 'x",
                          "g(say(1), ], 2)",
                          "say(1) + line a",
                          "(a = say(2)) * -textout\r\n  + say(3)",
                          "g(say(2), \"\", 1)",
                          "say(3) + \"\"",
                          "say(4) - if",
                          "say(1) + 2 * none",
                          "(a = say(2)) - (g\r\n  + 1)",
                          "g(say(3), bump, 1)",
                          "putch say(4) < 2 < say(5) + (setcolor b++ * say(6)) - (clear 1 ++ say(7))",
                          "setcolor a -= 2 ++ say(8) - putch 1 < 2 < 3",
                          "say(5) ] 2",
                          "g(say(6), 2, ) + abs(say(7) + ) * (3 + )",
                          "g(say(8), 2, ;",
                          "g(;, say(2), 3) + none(; - 4) * 2",
                          "g(say(3), 4 5) + bump(6;",
                          "say(7) + line(1, 2; - 1",
                          "say(8) * (a += ;) - getpel(say(9) 1)",
                          "putch b -= ; + say(10) + abs(bump(1) 2)",
                          "say(1) - clear ; * 2 + abs(;) + say(2)",
                          "getnum() + ",
                          "-getche() * (3 + ",
                          "q - 'x + getnum()",
                          "say(1) + 2 -= say(3) * bump(2)",
                          "g(say(a < b > c), bump(d++ * 2), 1 < 2 < 3)",
                          "(c = say(d--) - 1) + say(a++ - 1)"}) {
        texts.push_back(calling(e));
    }
    // The same past the runners' local room: 91 operands, 20 parentheses
    // deep, calls 12 deep, 11 and 20 assignments inside, 10 at once, 10
    // variables assigned; an operand missing 10 deep, a `(` left open after 10
    // assignments, a zero divisor after a call and 10 variables.
    for (const std::string& e : std::initializer_list<std::string>{
             "say(1)" + repeated(" + a * 2 - bump(1)", 45),
             repeated("d < b - c * -(", 20) + "say(3) + a" + repeated(") + none()", 20),
             repeated("g(1, ", 12) + "bump(2)" + repeated(", say(4)) - 1", 12),
             repeated("bump(", 12) + "1" + repeated(")", 12),
             "(a = bump(1)) + (b += say(2)) * (c -= b) - (d = none()) + (a = d * 2) - (b = a) + (c += bump(1)) + "
             "(d -= 2) + (a = b + c) - (b = say(7)) + (c = a) + a * b - c",
             repeated("(a = b - (c += ", 10) + "bump(d++)" + repeated(")) * 2", 10),
             "(a = b = c += d -= a = b = c = d = a = b = bump(3)) * 2 + a",
             "c = d = a = b += c -= d = a = b = c = d = bump(2)", repeated("(say(5) - ", 10) + "]",
             repeated("(a = say(6) + ", 10) + "1" + repeated(")", 9),
             "c = d = a = b += c -= d = a = b = c = d -= bump(1) / (d - d)"}) {
        texts.push_back(calling(e));
    }
    // A built-in statement's values that call functions, in and out of a
    // block: a zero divisor or an unknown name before and after a call, a
    // wrong separator or a missing `)` after such a value, too many values,
    // and the built-in's value as an operand of what follows it (calls and
    // built-ins there, a name not there, a `(` left open, an assignment, an
    // operand with no operator; getnum's `=` in the text it passes over;
    // a value that ends where it begins, at a `)`, or a `;` where a
    // statement looked at before follows).
    for (const char* call : {"print(bump(2) * a)",
                             "print(getnum() * bump(2))",
                             "line(bump(1), a, g(1, 2, bump(3)), 9)",
                             "point(a, bump(2)) + 1",
                             "print(bump(1)) + 2",
                             "putch(bump(22) + a)",
                             "setcolor(-(bump(1))) * a",
                             "textout(bump(1), a, \"s\")",
                             "textout(bump(1) 20, \"s\")",
                             "textstyle(a, bump(2), \"s\")",
                             "rand(bump(3)) * bump(1)",
                             "getpel(bump(1), a) < bump(2)",
                             "rand(bump(0))",
                             "abs(bump(2) - 9)",
                             "print(bump(1) / (d - d))",
                             "print((c = bump(1)) + (d += 2))",
                             "print(a / (d - d) + bump(1))",
                             "print(q + bump(1))",
                             "print(bump(1) + q)",
                             "line(bump(1); 2, 3, 4)",
                             "line(bump(1), 2, 3, 4",
                             "print(bump(1), 2)",
                             "print(bump(1)",
                             "clear(bump(1)) - a",
                             "fillrect(bump(1), bump(2), bump(3), bump(4), bump(5), 6)",
                             "print(deep(b + 8) + nest(c))",
                             "line(1, 2, 3, 4, 5, 6, 7, 8, 9, bump(10), 11)",
                             "v_axis(bump(1), 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17)",
                             "print(say(1) * , 2)",
                             "say(2) + (say(3) ",
                             "line(say(4), (2 * say(5), 6, 7)",
                             "line(show(), bump(1), -sleep(bump(2)), 4)",
                             "print(-point(bump(1), a) * 3 + a)",
                             "line(a, b, c, d) + bump(1) * say(2) < 3",
                             "show() - line(say(1), 2, 3, 4) / point(a, q)",
                             "point(a, b) + (say(3) + 1",
                             "textout(a, b, \"s\") = say(4)",
                             "point(a, b) 5",
                             "getnum = 3) + bump(1) * (a = 2)",
                             "setcolor ) * say(1)",
                             "if (c < 11) clear ; a = say(1)"}) {
        texts.push_back(functions + "main() {\r\n  a = 5; b = -3; c = 12; d = 4;\r\n  " + call +
                        ";\r\n  while (c > 10) { c = c - 1; " + call + "; }\r\n  if (a) " + call +
                        ";\r\n  print(a);\r\n}\r\n");
    }
    // print and puts inside an expression, which only a `;` may follow:
    // a value, a string, none, an assignment inside, a zero divisor and a
    // name not there in the value, in an assignment, a return, a `for`
    // header and putch's value; and the odd text the frames read (what
    // follows the `)`, a second value, a number for puts, a signed string).
    for (const char* e :
         {"say(1) + a * print(b - c)", "-puts(\"hi\")", "bump(2) - print(\"s\")",
          "(a = bump(1)) * print(a = b + say(3))", "2 + print()", "print(bump(1) / (d - d))", "say(1) + print(q)",
          "putch print(say(65))", "textout(2, say(3), \"t\") - print(textstyle(a, b, \"u\"))", "say(1) + print(2) + 3",
          "say(1) + print(2, 3)", "say(1) + puts(a)", "say(1) + print(-\"s\")", "say(1) + (print(4)",
          "say(1) + print(5", "say(1) + puts(\"s\" 1)", "(a = print(say(3) b)) + 1", "5 / print(say(2)) + 1",
          "(a = 7) + puts(\"s\", say(4))"}) {
        texts.push_back(functions + "f() { return " + e +
                        "; }\r\nmain() {\r\n  a = 5; b = -3; c = 12; d = 4;\r\n  b = " + e + ";\r\n  for (c = " + e +
                        "; c < 2 + " + e + "; c++) d = d + 1;\r\n  print(f() + a * 10 + b);\r\n" +
                        "  print(c * 10 + d);\r\n}\r\n");
    }
    // Broken text in branches never run is never reported.
    texts.push_back(functions +
                    "main() {\r\n  if (a == 0) print(say(4)); else b = say(5) + ;\r\n"
                    "  while (a < 0) b = (say(6) + 1;\r\n  print(say(7) * 2);\r\n}\r\n");
    // putch's value without its `(`, a second comparison or a step then an
    // operator in it, the text ending in a `getnum(` a `'}'` hides (after a
    // call too: the loader reads it as a function, the run as the built-in).
    for (const char* value :
         {"1 < 2 < '}' + getnum(", "b++ + say(1) + '}'", "a -= 2 ++ 3 + '}'", "say(2) * '}' + getche("})
        texts.push_back(functions + "main() {\r\n  a = 5;\r\n  putch " + value);
    // getnum is the built-in there, though that `'}'` makes a function of its name.
    texts.push_back(functions + "main() {\r\n  a = 1 < '}' + getnum(");
    // A text that ends inside an expression, the end read as any token
    // that ends it: after a call, a store inside, a step, a `'}'` that
    // closes main for the loader; in a call's values, in a `for` header;
    // in getche's or getnum's text, which runs to the end.
    for (const char* end : {"b = say(2) * '}'", "b = (a = 3) + '}' - (c++) + say(1) * d", "b = g(1, '}', say(2)",
                            "for (b = '}' + say(3); b < 9 + '}' - c", "b = g(say(4), '}', -getnum(7 + 'x' \"s",
                            "b = q + say(5) * '}' - getche("})
        texts.push_back(functions + "main() {\r\n  a = 5; c = 7;\r\n  " + end);
    // `;` as a statement's whole value, which the frames read no further:
    // a `return`'s, an `if`'s, a `while`'s, a `for` header's parts, a
    // built-in statement's values, a `do`'s condition.
    texts.push_back(functions +
                    "none2(int k) { if (k > 1) return ; return k + 1; }\r\nmain() {\r\n"
                    "  print(none2(2) * 10 + none2(1));\r\n  if ; print(say(1)); else print(say(2));\r\n"
                    "  while ; print(say(3));\r\n  for (c = 0; ; c++) print(say(5));\r\n"
                    "  for (; c < 2; c++) print(say(6));\r\n  print(;);\r\n  line(1, ;, say(8), 4);\r\n"
                    "  print(a * 10 + c);\r\n  do print(say(7)); while ;\r\n  for (;;) print(say(4));\r\n}\r\n");
    // What stands in main's parentheses is read as a call's values, before
    // main's own are read: none (one value, 0), stores, calls that print
    // from the list, a name not there, a zero divisor after a call, a
    // parameter, two values with no `,`; getche or getnum after the
    // header's first `)`, where the pre-pass takes it for a function's name
    // (in the header, in a function it calls, the text ending after it).
    for (const char* values : {"", "7, b = 3", "say(1) + a, bump(2)", "q", "none(), say(2) / (d - d)", "int p",
                               "say(3) c", "say(4) * getche() + 1", "(a = 3) + getnum()", "ask(2), getnum()"}) {
        texts.push_back(functions + "main(" + values + ") {\r\n  print(a * 10 + b);\r\n}\r\n");
    }
    // The text ending in them, the end read as any token that ends a value:
    // after a call, a store inside, a name not there, a zero divisor.
    for (const char* values :
         {"(b = 2) * getnum() + say(5)", "say(1) + 2", "a = say(3) * (b += 2)", "7, say(4) / (d - d)", "q + say(6)"})
        texts.push_back(functions + "main(" + values);
    // Tokens the scanner refuses, read where the frames read them: in main's
    // values, which the loader passes over, and after `'"'`, a string's
    // quote to the loader, which takes what follows `"//"` on its line for a
    // comment: after a zero divisor, a call, a step, a store inside, an
    // answer, print's string, a drawing call's `)`; 79 characters against 80.
    const std::string w80(80, 'w'), w79 = std::string(78, 'w') + "\u00e9";
    for (const std::string& values :
         {"b = 6 / 0 " + w80, "a = b++ " + std::string(80, '9'), "(c = 2 " + w79 + "\u00e9", "c = 1 + " + w79})
        texts.push_back(functions + "main(" + values + ") {\r\n  print(a * 10 + b);\r\n}\r\n");
    for (const std::string& line : std::initializer_list<std::string>{
             "b = say(1) + 6 / (d - d) " + w80 + ";", "b = (a = say(2)) \"cut\r\n;", "print(\"hi\") " + w80 + ";",
             "b = 1 - line(1, 2, 3, 4) * " + w80 + ";", "c = -getche() " + w80 + ";", "c = a++ " + w80 + ";",
             "b = say(3) + " + w79 + ";"})
        texts.push_back(functions + "main() {\r\n  a = 5;\r\n  b = '\"'; puts(\"//\"); " + line +
                        "\r\n  print(a * 10 + b);\r\n}\r\n");
    for (int i = 0; i < 3000; ++i) texts.push_back(random_program(rng, i));
    // Recursion in an expression up to the frames' budget, the budget put
    // one frame further each time (in print's and textout's values inside
    // an expression too, in an `if`, `while` or `for` header, a print
    // value, a call's value, an assignment inside, nested parentheses,
    // an expression statement and a `return`; after a call, drawing,
    // print, an answer, a store, a step or a division in the same
    // expression, a name not there after the place; after an answer in
    // an expression statement without calls; after a built-in statement's
    // `)`, with a call and without), and up to the limit of
    // nested calls;
    // lists past the runners' local room in the recursion (12 parentheses
    // deep, 10 assignments inside, 10 variables assigned) and alone (66
    // and 200 parentheses deep; built-ins, assignments and calls 100 deep,
    // each where the frames reach their budget at one of these budgets and
    // not at the next), and one whose frames at its call weigh more than a
    // byte holds (300 parentheses deep).
    struct Run {
        std::string text;
        size_t budget;
        uint64_t steps;
    };
    std::vector<Run> runs;
    for (size_t frames_more = 0; frames_more < 8; ++frames_more) {
        for (const std::string& call : std::vector<std::string>{"deep(2000)",
                                                                "nest(2000)",
                                                                "sink(2000)",
                                                                "pour(2000)",
                                                                "fill(2000)",
                                                                "cave(2000)",
                                                                "hoard(2000)",
                                                                "chain(2000)",
                                                                "echo(2000)",
                                                                "crest(2000)",
                                                                "flow(2000)",
                                                                "loop(2000)",
                                                                "tell(2000)",
                                                                "mark(2000)",
                                                                repeated("(", 66) + "a" + repeated(")", 66),
                                                                repeated("(", 200) + "a" + repeated(")", 200),
                                                                repeated("abs(b - ", 100) + "a" + repeated(")", 100),
                                                                repeated("(a = ", 100) + "b" + repeated(")", 100),
                                                                repeated("g(1, ", 100) + "a" + repeated(", 2)", 100),
                                                                "spend(2000) + fold(2000) + ask(2000)",
                                                                "hear(2000)",
                                                                "trail(2000)",
                                                                "rim(2000)"}) {
            for (const auto& [open, close] :
                 std::initializer_list<std::pair<std::string, std::string>>{{"b = 2 + (", ")"},
                                                                            {"print(", ")"},
                                                                            {"if (", ")"},
                                                                            {"line(a, ", ")"},
                                                                            {"putch(", ")"},
                                                                            {"b = 1 + print(", ")"},
                                                                            {"b = -textout(a, ", ", \"s\") * 2"},
                                                                            {"while (", " < -100000) a = 0"},
                                                                            {"for (b = ", "; b < 0; b++) a = 0"},

                                                                            {"b = g(1, ", ", 2)"},
                                                                            {"b = 1 + (c = ", ")"},
                                                                            {"b = ((", ") * 2)"},
                                                                            {"", " + 1"},
                                                                            {"return 1 - ", ""}}) {
                runs.push_back(Run{functions + "main() {\r\n  " + open + call + close + ";\r\n}\r\n",
                                   8192 + frames_more * sizeof(Frame), 100000});
            }
        }
    }
    // A call in main's parentheses up to the frames' budget, main's values'
    // frame below it.
    for (size_t frames_more = 0; frames_more < 4; ++frames_more)
        runs.push_back(Run{functions + "main(1 + deep(2000)) { }\r\n", 8192 + frames_more * sizeof(Frame), 100000});
    runs.push_back(Run{functions + "main() { a = deep(300000) + 1; }\r\n", Interpreter::kDefaultStackBudget, 0});
    runs.push_back(Run{"int a;\r\nvault(int n) { if (n < 1) return n; return " + repeated("(", 300) +
                           "vault(n - 1) + 1" + repeated(")", 300) + "; }\r\nmain() { a = vault(100000) + 1; }\r\n",
                       Interpreter::kDefaultStackBudget, 0});
    for (const std::string& text : texts) runs.push_back(Run{text, Interpreter::kDefaultStackBudget, 20000});
    std::vector<std::string> run_texts;
    std::vector<uint64_t> digests;
    for (const auto& [text, budget, steps] : runs) {
        interp.set_stack_budget(budget);
        run_texts.push_back(text);
        digests.push_back(digest_of(interp, bridge, text, steps));
    }
    expect_digests(run_texts, digests, "expression_digests.txt", "KORVANE_WRITE_EXPRESSION_DIGESTS");
}

// Thousands of programs, mutated, broken and random, end exactly as they
// ended when program_digests.txt was written (by the evaluator before it
// was rebuilt), so a change in any result shows without the old build.
// KORVANE_WRITE_DIGESTS=FILE writes the digests anew instead of checking.
TEST(RandomPrograms, EndAsTheirDigestsSay) {
    RecordingBridge bridge;
    Interpreter interp(bridge);
    std::vector<std::string> texts;
    std::mt19937 random_rng(20261210), broken_rng(20261211);
    for (int i = 0; i < 2000; ++i) {
        texts.push_back(random_program(random_rng, i));
        texts.push_back(crlf(broken_program(broken_rng, i)));
    }
    std::vector<uint64_t> digests;
    for (const std::string& text : texts) digests.push_back(digest_of(interp, bridge, text));
    expect_digests(texts, digests, "program_digests.txt", "KORVANE_WRITE_DIGESTS");
}

// Places between two tokens: at a blank or a line end, or beside a
// parenthesis, comma or semicolon; never inside a string, a character
// constant or a comment, nor between a CR and its LF.
std::vector<size_t> gaps(const std::string& text) {
    std::vector<size_t> out;
    size_t skip_to = 0;  // the first place after a string, constant or comment
    for (size_t i = 1; i < text.size(); ++i) {
        const char before = text[i - 1], here = text[i];
        if (i <= skip_to) continue;
        if (before == '"') skip_to = text.find_first_of("\"\r", i);
        if (before == '\'') skip_to = i + 2;
        if (before == '/' && here == '*') skip_to = text.find("*/", i) + 1;
        if (before == '/' && here == '/') skip_to = text.find('\r', i);
        if (i <= skip_to || (before == '\r' && here == '\n')) continue;
        const auto apart = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
        const auto single = [](char c) { return c == '(' || c == ')' || c == ',' || c == ';'; };
        if (apart(before) || apart(here) || single(before) || single(here)) out.push_back(i);
    }
    return out;
}

struct Outcome {
    RunResult result;
    std::vector<std::string> calls, output, messages;
};

Outcome outcome_of(const std::string& crlf_text) {
    ProgramRun r;
    r.interp.set_step_limit(100000);
    r.bridge.answers.assign(1000, "7");
    r.result = r.interp.run_text(crlf_text);
    Outcome o{r.result, r.bridge.calls, r.bridge.output, r.bridge.messages};
    // Inserted line ends move the lines; only the message's text must stay.
    for (std::string& m : o.messages) m = m.substr(0, m.find(" in line "));
    return o;
}

TEST(RandomPrograms, CommentsAndBlankLinesBetweenTokensChangeNothing) {
    // Each begins apart, so none joins a `/` before it into a comment.
    const char* const fillers[] = {
        " /* note */ ",          "\r\n", "\r\n\r\n  ", " // note\r\n", " /* two\r\nlines */ ", " /**/",
        " // ) } { ( ; \" '\r\n"};
    std::mt19937 rng(13);
    for (const std::string& program : corpus()) {
        const std::string text = crlf(program);
        const Outcome plain = outcome_of(text);
        const std::vector<size_t> places = gaps(text);
        ASSERT_FALSE(places.empty()) << program;
        for (int variant = 0; variant < 4; ++variant) {
            std::vector<size_t> chosen;
            for (int k = 0; k < 12; ++k) chosen.push_back(places[rng() % places.size()]);
            std::sort(chosen.rbegin(), chosen.rend());
            std::string commented = text;
            for (size_t at : chosen) commented.insert(at, fillers[rng() % std::size(fillers)]);
            const Outcome with = outcome_of(commented);
            EXPECT_EQ(with.result, plain.result) << commented;
            EXPECT_EQ(with.calls, plain.calls) << commented;
            EXPECT_EQ(with.output, plain.output) << commented;
            EXPECT_EQ(with.messages, plain.messages) << commented;
        }
    }
}

}  // namespace
}  // namespace korvane::testing
