// SPDX-License-Identifier: GPL-3.0-or-later
// How the editor colours a program: the scanner's token rules, reduced to
// what a reader needs to tell apart. Plain C++, so it is tested without a widget.
#pragma once

#include <string_view>
#include <vector>

namespace korvane {

enum ProgramStyle : int {
    STYLE_PLAIN = 0,    // names, operators, blanks
    STYLE_COMMENT = 1,  // /* ... */ and // to the end of the line
    STYLE_KEYWORD = 2,
    STYLE_BUILTIN = 3,  // the built-in functions
    STYLE_NUMBER = 4,
    STYLE_STRING = 5,     // "..." up to the closing quote or the line end
    STYLE_CHARACTER = 6,  // 'x'
    STYLE_ERROR = 7,      // the message shown under an error's line
    STYLE_HALT = 8,       // the notice shown under the line a Halt stopped at
};
constexpr int kProgramStyleCount = 9;

struct StyleRun {
    int start;   // byte offset in the text
    int length;  // bytes, at least 1
    ProgramStyle style;
};

// The runs of a whole program text, in order, covering every byte.
std::vector<StyleRun> style_runs(std::string_view text);

}  // namespace korvane
