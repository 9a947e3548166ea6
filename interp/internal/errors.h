// SPDX-License-Identifier: GPL-3.0-or-later
// Error codes and their messages, and the exceptions that end a run.
#pragma once

#include <cstdint>

namespace korvane {

enum ErrorCode : int {
    ERR_SYNTAX = 0,
    // The codes marked reserved are never raised; their numbers stay as
    // they are, so every other code keeps its number.
    ERR_UNBALANCED_PARENS = 1,  // reserved
    ERR_NO_EXPRESSION = 2,
    ERR_EQUALS_EXPECTED = 3,  // reserved
    ERR_NOT_VARIABLE = 4,
    ERR_PARAMETER = 5,
    ERR_SEMICOLON_EXPECTED = 6,
    ERR_UNBALANCED_BRACES = 7,
    ERR_FUNCTION_UNDEFINED = 8,  // reserved
    ERR_TYPE_EXPECTED = 9,
    ERR_NESTING_TOO_DEEP = 10,
    ERR_RETURN_WITHOUT_CALL = 11,  // reserved
    ERR_PARENS_EXPECTED = 12,
    ERR_WHILE_EXPECTED = 13,
    ERR_QUOTE_EXPECTED = 14,
    ERR_NOT_STRING = 15,  // reserved
    ERR_TOO_MANY_LOCALS = 16,
    ERR_USER_HALT = 17,
    // Limits that keep a hostile program from overrunning a table or the stack.
    ERR_TOO_MANY_GLOBALS = 18,
    ERR_TOO_MANY_FUNCTIONS = 19,
    ERR_TOO_DEEP = 20,
    ERR_STEP_LIMIT = 21,
    ERR_DIVISION_BY_ZERO = 22,
    ERR_TIME_LIMIT = 23,
    ERR_ENDLESS_FILL = 24,
    ERR_COUNT = 25,
};

// Thrown by report_error after the message was shown; caught by run_program.
struct ErrorReport {
    int code;
};

// Thrown by the `end` statement; run_program turns it into RUN_END.
struct EndRequested {};

}  // namespace korvane
