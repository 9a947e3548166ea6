// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's loop: statements run, and each call's value goes to the
// expression that made the call, which runs until its value is due to a
// statement or another call's body begins. The evaluator never runs
// statements, so a run's native stack stays shallow however deep the
// program nests.
#include "state.h"

namespace korvane {

void InterpreterState::run_machine() {
    while (!frames.empty()) run_statements();
}

}  // namespace korvane
