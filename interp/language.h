// SPDX-License-Identifier: GPL-3.0-or-later
// The language's facts that every front end shows: the built-ins with their
// argument names, the error messages with their hints and examples, the
// warnings about calls and the outline of a program's own functions. The
// interpreter, the editors, the runner and the help all read these.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace korvane {

struct BuiltinInfo {
    const char* name;
    const char* arguments;    // "x1, y1, x2, y2"; a string argument in quotes; "" for none
    const char* description;  // one line: what it draws or gives
    // A call with another number of values still runs (missing values are
    // 0, extra ones ignored), so it gets a warning; for the others another
    // number is an error that the run reports.
    bool lenient;
};

// In the interpreter's table order.
std::span<const BuiltinInfo> builtin_table();
// The index of a lower-case name in builtin_table, or -1.
int find_builtin(const std::string& name);
// "brect(x1, y1, x2, y2, fill_colour, border_colour)".
std::string builtin_signature(const BuiltinInfo& builtin);
// How many values a built-in's argument list takes.
int builtin_value_count(const BuiltinInfo& builtin);

struct MessageInfo {
    const char* message;  // the text of the report, before " in line N"
    const char* hint;     // shown when nothing more certain is known
    const char* example;  // a program that causes it, or "" when nothing raises it
};

// Indexed by error code.
std::span<const MessageInfo> message_table();
// The help topic that lists the messages with their hints and examples, as
// written to app/window/help_messages.txt.
std::string messages_help_text();

// A place in the program text: line counted from 0 as in messages, column
// counted from 0 in bytes of the text, length in bytes (at least 1).
struct TextPlace {
    int line = -1;
    int column = 0;
    int length = 0;
};

// What the last run's error report said, and where and why.
struct ErrorDetails {
    int code = -1;  // -1: the run had no error report
    std::string message;
    int line = -1;    // the line of the message, unchanged
    TextPlace token;  // the token where the error was found
    std::string hint;
};

struct CallWarning {
    TextPlace place;  // the called name
    std::string text;
    std::string signature;
};

struct FunctionOutline {
    std::string name;
    std::vector<std::string> parameters;  // "int a", "char c"
    int line = 0;
};

struct ProgramOutline {
    std::vector<FunctionOutline> functions;
    std::vector<std::string> names;  // every declared variable and parameter name, once
    std::vector<CallWarning> warnings;
};

// Reads the program without running it: its functions, its names, the
// calls whose number of values differs from what the callee takes, `#`
// lines, and the other text that the run passes over or reads otherwise
// than it looks.
ProgramOutline outline_program(const std::string& text);

// A built-in named where the scanner reads a name, so never one in a
// comment or a string: what an exercise that forbids built-ins looks for.
struct BuiltinUse {
    int builtin;  // index in builtin_table
    TextPlace place;
};
// In text order; the reading stops where the scanner refuses a token.
std::vector<BuiltinUse> builtin_uses(const std::string& text);

}  // namespace korvane
