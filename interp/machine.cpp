// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's loop: each turn does the next thing the top frame waits
// for. Every construct returns here before one nested in it begins, so a
// run's native stack stays as shallow however deep the program nests.
#include "state.h"

namespace korvane {

void InterpreterState::run_machine() {
    while (!frames.empty()) {
        switch (mode) {
            case Mode::STATEMENT: next_statement(); break;
            case Mode::ASSIGNMENT: start_assignment(); break;
            case Mode::OPERAND: next_operand(); break;
            case Mode::VALUE: take_value(); break;
            case Mode::DONE: statements_done(); break;
        }
    }
}

void InterpreterState::take_value() {
    switch (frames.back().kind) {
        case FrameKind::EVALUATE:
        case FrameKind::STORE:
        case FrameKind::OPERATION: return expression_value();
        case FrameKind::ARGUMENTS: return argument_value();
        case FrameKind::BUILTIN:
        case FrameKind::COLLECTION:
        case FrameKind::TEXT: return builtin_value();
        default: return statement_value();
    }
}

}  // namespace korvane
