// SPDX-License-Identifier: GPL-3.0-or-later
// A small JSON reader for exercise files: every front end reads them, the
// page too, so it needs nothing but the standard library.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvane::exercise {

struct Json {
    enum Kind { NUL, BOOLEAN, NUMBER, STRING, ARRAY, OBJECT };
    Kind kind = NUL;
    bool boolean = false;
    double number = 0;
    std::string text;                                   // a string, UTF-8
    std::vector<Json> items;                            // an array
    std::vector<std::pair<std::string, Json>> members;  // an object, in file order, each key once
    size_t offset = 0;                                  // byte where the value starts

    // The member named key, or null.
    const Json* find(std::string_view key) const;
};

// Reads one value and nothing after it but blanks. False with
// "invalid JSON at byte N: WHAT" (N counted from 0).
bool parse_json(std::string_view text, Json& value, std::string& error);

// A string as a JSON literal, quotes included.
std::string json_quote(std::string_view text);

}  // namespace korvane::exercise
