// SPDX-License-Identifier: GPL-3.0-or-later
#include "pause_json.h"

#include <cstdio>
#include <vector>

namespace korvane {

void add_json_string(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

void add_json_key(std::string& out, const char* name) {
    add_json_string(out, name);
    out += ':';
}

void add_json_field(std::string& out, const char* name, const std::string& text) {
    add_json_key(out, name);
    add_json_string(out, text);
}

void add_json_field(std::string& out, const char* name, int64_t number) {
    add_json_key(out, name);
    out += std::to_string(number);
}

namespace {

void add_values(std::string& out, const std::vector<NamedValue>& values) {
    out += '{';
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out += ", ";
        add_json_string(out, values[i].name);
        out += ": " + std::to_string(values[i].value);
    }
    out += '}';
}

}  // namespace

std::string pause_json(const PauseSnapshot& at) {
    std::string out = "{\"line\": " + std::to_string(at.line) + ", \"reason\": ";
    add_json_string(out, pause_reason_name(at.reason));
    out += ", \"depth\": " + std::to_string(at.depth) + ", \"globals\": ";
    add_values(out, at.globals);
    out += ", \"calls\": [";
    for (size_t i = 0; i < at.calls.size(); ++i) {
        const CallSnapshot& call = at.calls[i];
        if (i > 0) out += ", ";
        out += "{\"function\": ";
        add_json_string(out, call.function);
        out += ", \"called_from\": " + std::to_string(call.called_from) + ", \"locals\": ";
        add_values(out, call.locals);
        out += '}';
    }
    out += "]}";
    return out;
}

}  // namespace korvane
