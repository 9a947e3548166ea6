// SPDX-License-Identifier: GPL-3.0-or-later
// The assist functions of korvane_web.h: each answers one JSON text, kept
// until the next call of the same function.
#include "web_assist.h"

#include <emscripten.h>

#include <string>

#include "interpreter.h"
#include "korvane_web.h"
#include "language.h"
#include "pause_json.h"
#include "text_encoding.h"

using namespace korvane;

namespace {

void add_place(std::string& out, const TextPlace& place) {
    out += "{";
    add_json_field(out, "line", place.line);
    out += ',';
    add_json_field(out, "column", place.column);
    out += ',';
    add_json_field(out, "length", place.length);
    out += '}';
}

void add_strings(std::string& out, const std::vector<std::string>& texts) {
    out += '[';
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) out += ',';
        add_json_string(out, texts[i]);
    }
    out += ']';
}

std::string outline_json(const ProgramOutline& outline) {
    std::string out = "{\"functions\":[";
    for (size_t i = 0; i < outline.functions.size(); ++i) {
        const FunctionOutline& f = outline.functions[i];
        out += i > 0 ? ",{" : "{";
        add_json_field(out, "name", f.name);
        out += ",\"parameters\":";
        add_strings(out, f.parameters);
        out += ',';
        add_json_field(out, "line", f.line);
        out += '}';
    }
    out += "],\"names\":";
    add_strings(out, outline.names);
    out += ",\"warnings\":[";
    for (size_t i = 0; i < outline.warnings.size(); ++i) {
        const CallWarning& w = outline.warnings[i];
        out += i > 0 ? ",{\"place\":" : "{\"place\":";
        add_place(out, w.place);
        out += ',';
        add_json_field(out, "text", w.text);
        out += ',';
        add_json_field(out, "signature", w.signature);
        out += '}';
    }
    return out + "]}";
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* korvane_builtin_table(void) {
    static std::string out;
    if (!out.empty()) return out.c_str();
    out = "[";
    for (const BuiltinInfo& b : builtin_table()) {
        if (out.size() > 1) out += ',';
        out += '{';
        add_json_field(out, "name", b.name);
        out += ',';
        add_json_field(out, "arguments", b.arguments);
        out += ',';
        add_json_field(out, "signature", builtin_signature(b));
        out += ',';
        add_json_field(out, "description", b.description);
        out += '}';
    }
    out += ']';
    return out.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* korvane_outline(const char* text, int length) {
    static std::string out;
    out = outline_json(outline_program(std::string(text, static_cast<size_t>(length))));
    return out.c_str();
}

namespace {
std::string converted;
}

EMSCRIPTEN_KEEPALIVE const char* korvane_program_text(const char* bytes, int length) {
    converted = program_text_from_bytes(std::string_view(bytes, static_cast<size_t>(length)));
    return converted.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* korvane_program_bytes(const char* text, int length) {
    converted = program_bytes_from_text(std::string_view(text, static_cast<size_t>(length)));
    return converted.c_str();
}

EMSCRIPTEN_KEEPALIVE int korvane_converted_length(void) { return static_cast<int>(converted.size()); }

EMSCRIPTEN_KEEPALIVE const char* korvane_error_details(void) {
    static std::string out;
    const Interpreter* interpreter = last_run_interpreter();
    const ErrorDetails none;
    const ErrorDetails& e = interpreter ? interpreter->error_details() : none;
    out = "{";
    add_json_field(out, "code", e.code);
    out += ',';
    add_json_field(out, "message", e.message);
    out += ',';
    add_json_field(out, "line", e.line);
    out += ",\"token\":";
    add_place(out, e.token);
    out += ',';
    add_json_field(out, "hint", e.hint);
    out += '}';
    return out.c_str();
}
}
