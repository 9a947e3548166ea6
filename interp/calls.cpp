// SPDX-License-Identifier: GPL-3.0-or-later
// Variables (locals of the current call, then globals) and the call
// sequence of user functions: a call keeps its place on the interpreter's
// own stack while its body runs.
#include <cstring>

#include "state.h"

namespace korvane {

// Drops the locals from base up, each from the top of its name's chain,
// through local copies of where the tables are (as push_variable).
void InterpreterState::pop_locals(int base) {
    const VarSlot* const stack = local_stack.get();
    int32_t* const top_of = local_of_id.data();
    for (int top = local_top; top > base;) {
        const VarSlot& slot = stack[--top];
        if (slot.id >= 0) top_of[slot.id] = slot.below;
    }
    if (local_top > base) local_top = base;
}

void InterpreterState::push_frame_base(int32_t base) {
    if (call_top == kMaxCalls) report_error(ERR_NESTING_TOO_DEEP, *tok);
    call_stack[call_top++] = base;
    frame_base = base;
}

int32_t InterpreterState::pop_frame_base() {
    // Only leave_call comes here, for the call that begin_body counted.
    frame_base = call_top > 1 ? call_stack[call_top - 2] : 0;
    return call_stack[--call_top];
}

// call = name "(" [expr {"," expr}] ")"; the current token is the name.
// Arguments are evaluated in the caller's frame, onto the value stack; the
// caller evaluates the first one next.
void InterpreterState::start_call(int32_t function) {
    CallFrame& call = push(FrameKind::ARGUMENTS).call;
    call.active = ActiveCall{tok->text, tok == &main_token ? kNotCalled : tok->start, 0};
    call.function = function;
    call.base = local_top;
    call.first = static_cast<uint32_t>(values.size());
    read_token();
    if (!tok->is('(')) report_error(ERR_PARENS_EXPECTED, *tok);
}

// The arguments are pushed last first, so the first argument ends up on
// top; then the body runs.
void InterpreterState::enter_call() {
    Frame& f = frames.back();
    const uint32_t first = f.call.first;
    while (values.size() > first) {
        VarSlot slot{};
        slot.value = values.back();
        slot.id = -1;
        values.pop_back();
        push_variable(slot);
    }
    FuncEntry& function = function_table[f.call.function];
    begin_body(function.body);
    name_parameters(function);
    start_statements();
}

// The call's slots are pushed: its body begins from `at`.
void InterpreterState::begin_body(uint32_t at) {
    Frame& f = frames.back();
    f.call.resume = scan_pos;
    push_frame_base(f.call.base);
    active_calls[call_top - 1] = f.call.active;
    active_calls[call_top - 1].arguments = local_top - f.call.base;
    f.kind = FrameKind::CALL;
    scan_pos = at;
}

// A return, or a break or continue outside any loop, ends the call.
void InterpreterState::leave_call() {
    unwind = Unwind::NONE;
    scan_pos = frames.back().call.resume;
    pop_locals(pop_frame_base());
    frames.pop_back();
    give(return_value);
    // An item list that waits for the value goes on at once.
    if (!frames.empty() && frames.back().kind == FrameKind::ITEMS) resume_items();
}

// Names the arguments' slots after the parameters.
void InterpreterState::name_parameters(FuncEntry& function) {
    const int base = call_stack[call_top - 1];
    int slot = local_top - 1;
    std::vector<Parameter>& kept = function.parameters;
    // With a value for each, the kept names are what the text would give.
    if (function.named && local_top - base >= static_cast<int>(kept.size())) {
        VarSlot* const stack = local_stack.get();
        for (const Parameter& p : kept) {
            stack[slot].name = p.name;
            name_local(slot--, p.id);
        }
        scan_pos = function.after;
        tok = function.last;
        return;
    }
    read_parameters(function);
}

// params = ")" | ("int" | "char") name {"," ("int" | "char") name} ")",
// read from the text; its names are kept for the calls after.
void InterpreterState::read_parameters(FuncEntry& function) {
    const int base = call_stack[call_top - 1];
    int slot = local_top - 1;
    std::vector<Parameter>& kept = function.parameters;
    kept.clear();
    do {
        read_token();
        if (tok->is(')')) break;
        if (!tok->is_keyword(KW_INT) && !tok->is_keyword(KW_CHAR)) report_error(ERR_TYPE_EXPECTED, *tok);
        // More parameters than arguments would name the caller's slots.
        if (slot < base) report_error(ERR_PARAMETER, *tok);
        VarSlot& parameter = local_stack[slot];
        read_token();
        name_local(slot, copy_name(*this, parameter.name, *tok));
        kept.push_back(Parameter{parameter.name, parameter.id});
        read_token();
        --slot;
    } while (tok->is(','));
    if (!tok->is(')')) report_error(ERR_PARENS_EXPECTED, *tok);
    function.named = true;
    function.after = scan_pos;
    function.last = tok;
}

}  // namespace korvane
