// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's loop: statements run until a call's value is due to the
// expression that made the call, and that expression runs until its value
// is due to a statement or another call's body begins. Neither calls the
// other, so a run's native stack stays shallow however deep the program
// nests.
#include "state.h"

namespace korvane {

void InterpreterState::run_machine() {
    while (!frames.empty()) {
        if (mode == Mode::VALUE && frames.back().kind == FrameKind::OPERATION)
            run_expression(Entry::CALL_VALUE);
        else
            run_statements();
    }
}

}  // namespace korvane
