// SPDX-License-Identifier: GPL-3.0-or-later
// The entry into the interpreter: read a program, run it, tell how it ended.
#include "interpreter.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

#include "state.h"

namespace korvane {

InterpreterState::InterpreterState(Bridge& b) : RunControl(b) {
    frames.set_budget(Interpreter::kDefaultStackBudget);
    // Seeded once, and the seeding draws one value.
    next_random();
}

Interpreter::Interpreter(Bridge& bridge) : state_(std::make_unique<InterpreterState>(bridge)) {}
Interpreter::~Interpreter() = default;

namespace {

bool read_file(const std::string& file_name, std::string& text) {
    std::ifstream in(file_name, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

RunResult refuse(Bridge& bridge, const std::string& message) {
    bridge.bridge_message(message.c_str());
    return RUN_CANNOT_READ;
}

}  // namespace

RunResult Interpreter::run_program(const std::string& file_name) {
    std::string text;
    try {
        if (!read_file(file_name, text)) return refuse(state_->bridge, "Cannot open file " + file_name);
    } catch (const std::bad_alloc&) {
        return refuse(state_->bridge, "Allocation Failure");
    }
    return run_text(text);
}

RunResult Interpreter::run_text(const std::string& text) {
    InterpreterState& s = *state_;
    // A NUL would end the text early: never run a cut program.
    if (const size_t nul = text.find('\0'); nul != std::string::npos) {
        return refuse(s.bridge, "The program contains a NUL byte at offset " + std::to_string(nul));
    }
    s.forget_report();
    s.start_run();
    s.steps = 0;
    s.begin_pauses();
    s.first_poll_at(s.step_limit != 0 && s.step_limit < kPollInterval ? s.step_limit + 1 : kPollInterval);
    s.waiting = Waiting{};
    return s.carry_out([&s, &text] {
        s.load_text(text);
        return s.start_main() == 0 ? RUN_OK : RUN_NO_MAIN;
    });
}

RunResult Interpreter::resume() {
    InterpreterState& s = *state_;
    if (s.waiting.at == Wait::NONE) return RUN_OK;
    return s.carry_out([&s] {
        s.resume_waiting();
        s.run_machine();
        return RUN_OK;
    });
}

// How a run, or a part of one, ended.
template <class F>
RunResult InterpreterState::carry_out(F&& part) {
    try {
        return part();
    } catch (const Suspended&) {
        return RUN_WAITING;
    } catch (const ErrorReport&) {
        details_pending = true;
        return RUN_ERROR;
    } catch (const EndRequested&) {
        return RUN_END;
    } catch (const InputRejected& e) {
        bridge.bridge_message(e.what());
        return RUN_ABORTED;
    } catch (const std::bad_alloc&) {
        return refuse(bridge, "Allocation Failure");
    }
}

int Interpreter::error_line() const { return state_->error_line; }

const ErrorDetails& Interpreter::error_details() const {
    InterpreterState& s = *state_;
    if (s.details_pending) {
        s.details = s.describe_error();
        s.details_pending = false;
    }
    return s.details;
}

void Interpreter::set_stack_budget(size_t bytes) { state_->frames.set_budget(bytes); }

void Interpreter::set_step_limit(uint64_t steps) { state_->step_limit = steps; }
// A run stopped by the limit counted the refused step too.
uint64_t Interpreter::steps_taken() const {
    const InterpreterState& s = *state_;
    return s.step_limit != 0 ? std::min(s.steps, s.step_limit) : s.steps;
}
void Interpreter::seed_random(uint32_t state) { state_->random_state = state; }

void Interpreter::set_pause_host(PauseHost* host) {
    state_->pauses.host = host;
    state_->rearm_pauses();
}

void Interpreter::set_breakpoints(const std::vector<int>& lines) {
    Pauses& p = state_->pauses;
    p.breakpoints.clear();
    for (const int line : lines) {
        if (line < 0) continue;
        if (static_cast<size_t>(line) >= p.breakpoints.size()) p.breakpoints.resize(static_cast<size_t>(line) + 1);
        p.breakpoints[static_cast<size_t>(line)] = true;
    }
    p.any_breakpoint = !p.breakpoints.empty();
    state_->rearm_pauses();
}

void Interpreter::set_start_command(PauseCommand command) { state_->pauses.start = command; }

void Interpreter::request(PauseCommand command) {
    Pauses& p = state_->pauses;
    p.command = command;
    p.command_depth = state_->call_top;
    state_->rearm_pauses();
}

void Interpreter::set_pixel_watch(bool on) {
    state_->pauses.watching = on;
    state_->rearm_pauses();
}

bool Interpreter::global_value(const std::string& name, int32_t& value) const {
    const InterpreterState& s = *state_;
    for (int i = 0; i < s.global_count; ++i) {
        if (name == s.global_table[i].name) {
            value = s.global_table[i].value;
            return true;
        }
    }
    return false;
}

}  // namespace korvane
