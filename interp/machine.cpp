// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's loop: statements run, and each call's value goes to the
// expression that made the call, which runs until its value is due to a
// statement or another call's body begins. An expression never runs
// statements, so a run's native stack stays shallow however deep the
// program nests, and a run can stop wherever its host must wait: the
// frames keep it, and the step it stopped before runs again on resume.
#include "state.h"

namespace korvane {

void InterpreterState::run_machine() {
    while (!frames.empty()) run_statements();
}

void InterpreterState::suspend(Wait at) {
    waiting.at = at;
    throw Suspended{};
}

// Each way back into the step a run stopped before; the host is asked again
// there, and may make the run wait again.
void InterpreterState::resume_waiting() {
    const Waiting w = waiting;
    waiting = Waiting{};
    switch (w.at) {
        case Wait::NONE: return;
        case Wait::STEP:
            // The statement is read and counted again, and comes to the step event.
            unread_token();
            --steps;
            aim_step_event();
            return;
        case Wait::BUILTIN: return resume_builtin();
        case Wait::ITEMS: return retry_items();
        case Wait::PAUSE: break;
    }
    waiting.value = w.value;
    pause(w.reason, w.from, w.to, w.stop);
    switch (w.stop) {
        case Stop::STATEMENT:
            unread_token();
            --steps;
            aim_step_event();
            pauses.do_again = tok->start;  // the statement paused already
            return;
        case Stop::PART: return resume_after_part();
        case Stop::DRAWING_CALL: pauses.drawn = tok->start; return resume_builtin();
        case Stop::PIXEL: return resume_after_drawing(w.value);
    }
}

}  // namespace korvane
