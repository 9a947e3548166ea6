// SPDX-License-Identifier: GPL-3.0-or-later
// Program texts for robustness tests: mutations of a few valid programs, and
// random bytes.
#include "random_programs.h"

#include <iterator>
#include <string_view>

namespace korvane::testing {

namespace {

const char kAlphabet[] = "abcxyzmain(){};,+-*/%&|<>=!'\"0123456789 \r\n\t#_.[]^ifwhileforintcharreturnbreak";

std::string mutate(std::string text, std::mt19937& rng) {
    std::uniform_int_distribution<int> op(0, 3);
    const int edits = 1 + static_cast<int>(rng() % 6);
    for (int e = 0; e < edits && !text.empty(); ++e) {
        const size_t at = rng() % text.size();
        const char c = kAlphabet[rng() % (sizeof kAlphabet - 1)];
        switch (op(rng)) {
            case 0: text.erase(at, 1 + rng() % 4); break;
            case 1: text.insert(at, 1, c); break;
            case 2: text[at] = c; break;
            default: text.insert(at, text.substr(rng() % text.size(), rng() % 12)); break;
        }
    }
    return text;
}

std::string random_bytes(std::mt19937& rng) {
    std::string text(rng() % 200, ' ');
    for (char& c : text) c = static_cast<char>(1 + rng() % 255);
    return text;
}

// Pieces that are wrong in different ways, each whole statement or bare.
const char* const kBroken[] = {"x = (3 + );",
                               "(3 + )",
                               "else",
                               "else a = 2;",
                               "if (a) b = 1; c = 2; else d = 3;",
                               "q = 4;",
                               "a = zz + 1;",
                               "print(zz);",
                               "a = a / 0;",
                               "a = 5 % (b - b);",
                               "b = 7 / (a - a) + 1;",
                               "if (a = 5) a++;",
                               "int k[10];",
                               "a = 0x10 + 12ab;",
                               "a = 2 ^ 3;",
                               "{",
                               "}",
                               ")",
                               "(",
                               ",",
                               "f(1, 2, 3);",
                               "a = f();",
                               "return;",
                               "return 4;",
                               "a = abs(;",
                               "a = getpel(1);",
                               "a = abs(1, 2);",
                               "a = -;",
                               "a = 1 < 2 < 3;",
                               "a = (b = 3) + b;",
                               "'",
                               "\"",
                               "a +=;",
                               "a++ ++;",
                               "x = y = z;",
                               "main();",
                               "break;",
                               "continue;",
                               "while (0) a = 1 / 0;"};

}  // namespace

std::string broken_program(std::mt19937& rng, int i) {
    std::string text = kSeeds[i % 5];
    const int pieces = 1 + static_cast<int>(rng() % 3);
    for (int p = 0; p < pieces; ++p) {
        // Between tokens: after a blank, a `;`, a brace or a parenthesis.
        size_t at = rng() % text.size();
        while (at > 0 && std::string_view(" ;{}()\n").find(text[at - 1]) == std::string_view::npos) --at;
        text.insert(at, std::string(kBroken[rng() % std::size(kBroken)]) + " ");
    }
    return text;
}

std::string random_program(std::mt19937& rng, int i) {
    return i % 4 == 3 ? random_bytes(rng) : mutate(kSeeds[i % 5], rng);
}

}  // namespace korvane::testing
