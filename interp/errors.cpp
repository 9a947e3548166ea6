// The one way a run fails: report_error shows the message with its line and
// abandons the run.
#include <algorithm>
#include <cstdio>

#include "state.h"

namespace korvane {

const char* const ErrorMessages[ERR_COUNT] = {
    "syntax error",
    "unbalanced parentheses",
    "no expression present",
    "equals sign expected",
    "not a variable or function",
    "parameter error",
    "semicolon expected",
    "unbalanced braces",
    "function undefined",
    "type specifier expected",
    "too many nested function calls",
    "return without call",
    "parentheses expected",
    "while expected",
    "closing quote expected",
    "not a string",
    "too many local variables",
    "user terminated program",
    "too many global variables",
    "too many functions",
    "program nested too deeply",
    "step limit reached",
    "division by zero",
    "time limit reached",
    "flood fill would never end",
};

// Lines count from 0: the CRs from the second character up to and
// including the one at pos.
int InterpreterState::line_of(uint32_t pos) {
    if (TextBuffer.empty() || TextBuffer[0] == '\0') return 0;
    if (line_ends.empty()) {
        // Built once per run: the positions of the CRs after the first character.
        line_ends.push_back(0);
        for (uint32_t i = 1; i < TextBuffer.size(); ++i) {
            if (TextBuffer[i] == '\r') line_ends.push_back(i);
        }
    }
    // Entries 1.. are CR positions; count those <= pos.
    const auto end = std::upper_bound(line_ends.begin() + 1, line_ends.end(), pos);
    return static_cast<int>(end - (line_ends.begin() + 1));
}

void InterpreterState::report_error(int code) { report_error_at(code, ScanPos); }

void InterpreterState::report_error_at(int code, uint32_t pos) {
    error_line = line_of(pos);
    char message[96];
    std::snprintf(message, sizeof message, "%s in line %d\n", ErrorMessages[code], error_line);
    bridge.bridge_message(message);
    throw ErrorReport{code};
}

}  // namespace korvane
