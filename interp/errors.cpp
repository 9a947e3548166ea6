// SPDX-License-Identifier: GPL-3.0-or-later
// The one way a run fails: report_error shows the message with its line and
// abandons the run.
#include <algorithm>
#include <cstdio>

#include "language.h"
#include "state.h"
#include "text_encoding.h"

namespace korvane {

// Lines count from 0: the CRs from the second character up to and
// including the one at pos.
int InterpreterState::line_of(uint32_t pos) {
    if (source_text.empty() || source_text[0] == '\0') return 0;
    if (line_ends.empty()) {
        // Built once per run: the positions of the CRs after the first character.
        line_ends.push_back(0);
        for (uint32_t i = 1; i < source_text.size(); ++i) {
            if (source_text[i] == '\r') line_ends.push_back(i);
        }
    }
    // Entries 1.. are CR positions; count those <= pos.
    const auto end = std::upper_bound(line_ends.begin() + 1, line_ends.end(), pos);
    return static_cast<int>(end - (line_ends.begin() + 1));
}

int InterpreterState::characters_between(uint32_t from, uint32_t to) const {
    const size_t end = std::min<size_t>(to, source_text.size());
    return static_cast<int>(
        character_count(std::string_view(source_text.data(), end).substr(std::min<size_t>(from, end))));
}

TextPlace InterpreterState::place_of(uint32_t start, uint32_t end) {
    TextPlace place;
    place.line = line_of(start);
    const uint32_t line_start = place.line == 0 ? 0 : line_ends[static_cast<size_t>(place.line)] + 2;
    place.column = start > line_start ? characters_between(line_start, start) : 0;
    place.length = end > start ? characters_between(start, end) : 1;
    return place;
}

void InterpreterState::report_error_at(int code, uint32_t marked, uint32_t line_at) {
    if (quiet) throw ErrorReport{code};
    error_code = code;
    error_place = marked;
    error_line = line_of(line_at);
    char message[96];
    std::snprintf(message, sizeof message, "%s in line %d\n", message_table()[static_cast<size_t>(code)].message,
                  error_line);
    bridge.bridge_message(message);
    throw ErrorReport{code};
}

}  // namespace korvane
