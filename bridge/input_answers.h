// SPDX-License-Identifier: GPL-3.0-or-later
// How the answers typed into the input boxes become values. Shared by the
// window's input boxes and the runner's standard input, so both accept and
// reject exactly the same answers.
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

// The two input boxes; the page's worker passes these numbers to the page.
enum InputKind : int { INPUT_NUMBER = 0, INPUT_CHARACTER = 1 };

// The caption and the prompt of the input box of kind.
inline const char* input_caption(InputKind kind) {
    return kind == INPUT_NUMBER ? "Input a number:" : "Input a character:";
}
inline constexpr const char* kInputPrompt = ">";

// getnum: an empty answer is 0; otherwise an optionally signed decimal
// integer in the 32-bit range, blanks allowed around it. Anything else throws
// InputRejected with "'ANSWER' is not a valid integer value".
int32_t getnum_answer(const std::string& answer);

// getche: the first character of a UTF-8 answer as a signed Latin-1 byte
// ('?' beyond Latin-1), 0 for an empty answer. A byte that starts no UTF-8
// character counts as Latin-1 itself.
int8_t getche_answer(const std::string& utf8);

// Why a check's run ends when it asks for its answer number `asked`, one
// past the last the check gives: "asked for input 2 times; this check
// gives 1 answer". Graders sort the run as out of input by its start.
std::string past_the_answers(uint64_t asked);

}  // namespace korvane
