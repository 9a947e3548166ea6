// SPDX-License-Identifier: GPL-3.0-or-later
// Random program texts, shared by the interpreter's robustness test and the
// tool that writes them out for the browser tests.
#pragma once

#include <random>
#include <string>

namespace korvane::testing {

// Valid programs that the mutations start from.
inline constexpr const char* const kSeeds[] = {
    "int a, b = 3;\nchar c = 'q';\nf(int n) { if (n < 2) return n; return f(n - 1) + f(n - 2); }\n"
    "main() { int i; for (i = 0; i < 5; i++) { if (i == 3) continue; a += f(i); } }\n",
    "main() { int x; x = 0; while (x < 50) { x++; if (x == 20) break; } do { x = x - 1; } while (x > 0); }\n",
    "main() { setcolor(3); line(0, 0, 399, 399); circle(200, 200, 50, 4); print(\"done\"); print(rand(9)); }\n",
    "int g;\nh(int a, int b) { return a * b - a / (b + 1) % 7 | 3 & 5; }\nmain() { g = h(6, 7) == 39 && (1 < 2); }\n",
    "main() { textout(10, 20, \"hi\"); floodfill(1, 1, 2, 0, 0, 12); abs(-3); getpel(1, 2); show(); }\n",
};

// Program number i of a sequence drawn from rng: every fourth is random
// bytes, the others mutations of a few valid programs.
std::string random_program(std::mt19937& rng, int i);

// Program number i of a sequence drawn from rng: a valid program with a few
// broken pieces put between its tokens (an operand missing, a stray `else`,
// an unknown name, a zero divisor), each where it may run or be skipped.
std::string broken_program(std::mt19937& rng, int i);

}  // namespace korvane::testing
