// SPDX-License-Identifier: GPL-3.0-or-later
// A pause as one line of JSON, the form korvane-run --pauses writes:
// {"line": N, "reason": "breakpoint", "depth": D, "globals": {...},
//  "calls": [{"function": "fib", "called_from": L, "locals": {"n": 3}}, ...]}
// with the innermost call first.
#pragma once

#include <cstdint>
#include <string>

#include "pause_host.h"

namespace korvane {

std::string pause_json(const PauseSnapshot& at);

// Appends text as a JSON string, quoted and escaped; bytes above 127 pass
// through as they are (Latin-1, as program texts are).
void add_json_string(std::string& out, const std::string& text);

// Appends "name": and, for a field, its value: the pieces of the page's
// JSON replies.
void add_json_key(std::string& out, const char* name);
void add_json_field(std::string& out, const char* name, const std::string& text);
void add_json_field(std::string& out, const char* name, int64_t number);

}  // namespace korvane
