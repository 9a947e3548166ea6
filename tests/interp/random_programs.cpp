// SPDX-License-Identifier: GPL-3.0-or-later
// Program texts for robustness tests: mutations of a few valid programs, and
// random bytes.
#include "random_programs.h"

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

}  // namespace

std::string random_program(std::mt19937& rng, int i) {
    return i % 4 == 3 ? random_bytes(rng) : mutate(kSeeds[i % 5], rng);
}

}  // namespace korvane::testing
