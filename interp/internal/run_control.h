// SPDX-License-Identifier: GPL-3.0-or-later
// What a run answers to besides its program: its host's bridge, the steps
// it counts against its limits and polls, and where it pauses or waits.
#pragma once

#include <cstdint>
#include <vector>

#include "bridge.h"
#include "pause_host.h"

namespace korvane {

// A place in the text that is not there (no `do` read again, no drawing call paused before).
constexpr uint32_t kNoPlace = UINT32_MAX;

// Breakpoints, the command a run follows after a pause, pixel watches.
struct Pauses {
    PauseHost* host = nullptr;
    std::vector<bool> breakpoints;  // per line
    bool any_breakpoint = false;
    bool watching = false;
    PauseCommand start;    // how each run begins
    PauseCommand command;  // in force since the last pause
    int command_depth = 0;
    // Read before every statement and every drawing call: false unless
    // something could pause there, so a run with nothing set pays one test.
    bool armed = false;
    bool draws = false;
    int last_line = -1;  // of the last statement passed while armed
    uint32_t last_start = 0;
    uint32_t do_again = kNoPlace;  // a `do` read again for its next pass is no new statement
    uint32_t drawn = kNoPlace;     // a drawing call run again on resume: its pause is not asked again

    void rearm() {
        armed = host != nullptr && (any_breakpoint || (command.kind != PauseCommand::CONTINUE &&
                                                       command.kind != PauseCommand::NEXT_DRAWING_CALL));
        draws = host != nullptr && (watching || command.kind == PauseCommand::NEXT_DRAWING_CALL);
    }
};

// Where a pause stands: before a statement, or before a part of a loop
// header that runs on its own (a `for` condition or increment, the
// condition of a `do`), before or after a drawing call.
enum class Stop : uint8_t { STATEMENT, PART, DRAWING_CALL, PIXEL };

// Where a run that returned RUN_WAITING stopped, for resume to ask again.
enum class Wait : uint8_t {
    NONE,
    STEP,     // before a statement, its first token read and counted
    BUILTIN,  // before a built-in whose name is the current token, in its OPERATION frame
    ITEMS,    // at an input built-in's item, in its list's ITEMS frame
    PAUSE,    // at a pause whose host has not chosen yet
};
struct Waiting {
    Wait at = Wait::NONE;
    Stop stop = Stop::STATEMENT;
    PauseReason reason = PauseReason::STEP;
    uint32_t from = 0, to = 0;
    int32_t value = 0;  // PIXEL: the built-in's value
};

// Thrown where a run waits for its host; run_text and resume return RUN_WAITING.
struct Suspended {};

constexpr uint32_t kPollInterval = 4096;  // statements between bridge polls

struct RunControl {
    explicit RunControl(Bridge& b) : bridge(b) {}

    Bridge& bridge;
    uint64_t steps = 0;                        // statements executed in this run
    uint64_t step_limit = 0;                   // 0: none
    uint64_t next_poll = kPollInterval;        // the step at which the bridge is polled next
    uint64_t next_step_event = kPollInterval;  // next_poll, or the next step while pauses are armed
    Pauses pauses;
    Waiting waiting;
    uint32_t random_state = 1;  // rand's, kept across runs
};

}  // namespace korvane
