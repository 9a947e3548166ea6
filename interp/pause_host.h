// SPDX-License-Identifier: GPL-3.0-or-later
// The other interface between the interpreter and its front end: where a
// run pauses (breakpoints, steps, drawing calls, watched pixels), what the
// front end may read there, and how it tells the run to go on. The window,
// the page's worker and the runner each implement PauseHost.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

enum class PauseReason : uint8_t { BREAKPOINT, STEP, OVER, INTO, OUT, DRAWING_CALL, PIXEL };

// "breakpoint", "step", "over", "into", "out", "drawing call", "pixel".
const char* pause_reason_name(PauseReason reason);

struct NamedValue {
    std::string name;
    int32_t value = 0;
    bool operator==(const NamedValue&) const = default;
};

struct CallSnapshot {
    std::string function;
    int called_from = -1;            // line of the call, -1 for main
    std::vector<NamedValue> locals;  // parameters, then locals, in declaration order
};

// Lines and columns count from 0; columns are bytes into their line. The
// range is that of the statement, or of the part of a `for` or `do` header,
// that runs next; at a drawing call or a pixel pause, that of the call's line.
struct TextRange {
    int line = 0, column = 0;
    int end_line = 0, end_column = 0;  // just past the last character
};

// A copy of what the run holds at a pause; nothing in it points into the
// interpreter, so a front end may keep it after the run went on.
struct PauseSnapshot {
    PauseReason reason = PauseReason::STEP;
    int line = 0;  // the statement's first line, or the drawing call's line
    TextRange range;
    int depth = 0;                    // active calls, main included
    std::vector<NamedValue> globals;  // in declaration order
    std::vector<CallSnapshot> calls;  // innermost first
};

// What the run does after a pause (or, given before a run, how it starts).
struct PauseCommand {
    enum Kind : uint8_t {
        CONTINUE,           // up to a breakpoint or a watched pixel
        STEP_INTO,          // to the next statement, in a called function too
        STEP_OVER,          // to the next statement of this call or a caller
        STEP_OUT,           // to the next statement of a caller
        RUN_TO_LINE,        // to the first statement on `line`, as a breakpoint would
        NEXT_DRAWING_CALL,  // to just before the next drawing call
        HALT,               // ends the run as Halt does
        WAIT,               // not chosen yet: the run stops with RUN_WAITING and asks again on resume
    };
    Kind kind = CONTINUE;
    int line = -1;  // RUN_TO_LINE only
};

class PauseHost {
public:
    virtual ~PauseHost() = default;
    // Called at each pause, on the thread of the run; returns once the
    // front end chose how to go on.
    virtual PauseCommand pause(const PauseSnapshot& at) = 0;
    // Called after each drawing call while pixel watches are on: true when
    // that call changed a watched pixel.
    virtual bool watched_pixel_changed() { return false; }
};

}  // namespace korvane
