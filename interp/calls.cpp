// SPDX-License-Identifier: GPL-3.0-or-later
// Variables (locals of the current call, then globals) and the call
// sequence of user functions.
#include <cstring>

#include "state.h"

namespace korvane {

int32_t InterpreterState::load_variable(int32_t id) {
    const VarSlot* slot = find_variable(id);
    if (slot == nullptr) report_error(ERR_NOT_VARIABLE);
    return slot->value;
}

void InterpreterState::push_variable(const VarSlot& slot) {
    if (LocalTop == kMaxLocals) report_error(ERR_TOO_MANY_LOCALS);
    LocalStack[LocalTop] = slot;
    name_local(LocalTop, slot.id);
    ++LocalTop;
}

// Gives the local at index its name: it joins its name's chain where its
// index puts it (a parameter is named below arguments already named).
void InterpreterState::name_local(int index, int32_t id) {
    LocalStack[index].id = id;
    LocalStack[index].below = -1;
    if (id < 0) return;
    int32_t* link = &local_of_id[static_cast<size_t>(id)];
    while (*link > index) link = &LocalStack[*link].below;
    LocalStack[index].below = *link;
    *link = index;
}

// Drops the locals from base up, each from the top of its name's chain.
void InterpreterState::pop_locals(int base) {
    while (LocalTop > base) {
        const VarSlot& slot = LocalStack[--LocalTop];
        if (slot.id >= 0) local_of_id[static_cast<size_t>(slot.id)] = slot.below;
    }
}

void InterpreterState::push_frame_base(int32_t base) {
    if (CallTop == kMaxCalls) report_error(ERR_NESTING_TOO_DEEP);
    CallStack[CallTop++] = base;
}

int32_t InterpreterState::pop_frame_base() {
    if (CallTop == 0) report_error(ERR_RETURN_WITHOUT_CALL);
    return CallStack[--CallTop];
}

// call = name "(" [expr {"," expr}] ")"; the current token is the name.
void InterpreterState::invoke_function() {
    uint32_t body = 0;
    if (!function_entry(tok->id, body)) report_error(ERR_FUNCTION_UNDEFINED);
    const ActiveCall call{tok->TokenText, tok == &main_token ? kNotCalled : tok->start, 0};
    const int32_t base = LocalTop;
    push_arguments();
    const uint32_t return_position = ScanPos;
    push_frame_base(base);
    ActiveCalls[CallTop - 1] = call;
    ActiveCalls[CallTop - 1].arguments = LocalTop - base;
    ScanPos = body;
    name_parameters();
    exec_statements();
    // A return, or a break or continue outside any loop, ends the call.
    unwind = Unwind::NONE;
    ScanPos = return_position;
    pop_locals(pop_frame_base());
}

// Arguments are evaluated in the caller's frame and pushed last first, so
// the first argument ends up on top.
void InterpreterState::push_arguments() {
    read_token();
    if (!tok->is('(')) report_error(ERR_PARENS_EXPECTED);
    int32_t values[kMaxArguments];
    int count = 0;
    do {
        if (count == kMaxArguments) report_error(ERR_PARAMETER);
        values[count++] = evaluate();
        read_token();
    } while (tok->is(','));
    while (count > 0) {
        VarSlot slot{};
        slot.value = values[--count];
        slot.id = -1;
        push_variable(slot);
    }
}

// params = ")" | ("int" | "char") name {"," ("int" | "char") name} ")"
void InterpreterState::name_parameters() {
    const int base = CallStack[CallTop - 1];
    int slot = LocalTop - 1;
    do {
        read_token();
        if (tok->is(')')) return;
        if (!tok->is_keyword(KW_INT) && !tok->is_keyword(KW_CHAR)) report_error(ERR_TYPE_EXPECTED);
        // More parameters than arguments would name the caller's slots.
        if (slot < base) report_error(ERR_PARAMETER);
        LocalStack[slot].kind = tok->KeywordCode;
        read_token();
        name_local(slot, copy_name(*this, LocalStack[slot].name, *tok));
        read_token();
        --slot;
    } while (tok->is(','));
    if (!tok->is(')')) report_error(ERR_PARENS_EXPECTED);
}

}  // namespace korvane
