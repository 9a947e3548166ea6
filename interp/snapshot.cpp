// SPDX-License-Identifier: GPL-3.0-or-later
// What a pause shows: the globals and the active calls with their
// parameters and locals, copied out of the tables.
#include "state.h"

namespace korvane {

namespace {

// The names of [first, last] in the order given (step +1 or -1), each once,
// with the value of its topmost slot: the one a lookup in that call finds.
void add_named(const InterpreterState& s, int first, int last, int step, std::vector<NamedValue>& out,
               std::vector<int>& topmost) {
    for (int i = first; step > 0 ? i <= last : i >= last; i += step) {
        const VarSlot& slot = s.local_stack[i];
        if (slot.id < 0) continue;
        size_t k = 0;
        while (k < out.size() && out[k].name != slot.name) ++k;
        if (k == out.size()) {
            out.push_back({slot.name, slot.value});
            topmost.push_back(i);
        } else if (i > topmost[k]) {
            out[k].value = slot.value;
            topmost[k] = i;
        }
    }
}

}  // namespace

PauseSnapshot InterpreterState::snapshot() {
    PauseSnapshot at;
    at.depth = call_top;
    for (int i = 0; i < global_count; ++i) {
        const VarSlot& g = global_table[i];
        // A second global of a name is never found: the first one wins.
        if (g.id >= 0 && global_of_id[static_cast<size_t>(g.id)] == i) at.globals.push_back({g.name, g.value});
    }
    for (int c = call_top - 1; c >= 0; --c) {
        const ActiveCall& call = active_calls[c];
        CallSnapshot frame;
        frame.function = call.function;
        frame.called_from = call.at == kNotCalled ? -1 : line_of(call.at);
        const int base = call_stack[c];
        const int top = c + 1 < call_top ? call_stack[c + 1] : local_top;
        const int locals = base + call.arguments;
        std::vector<int> topmost;
        // The first parameter is the topmost argument slot.
        add_named(*this, locals - 1, base, -1, frame.locals, topmost);
        add_named(*this, locals, top - 1, 1, frame.locals, topmost);
        at.calls.push_back(std::move(frame));
    }
    return at;
}

}  // namespace korvane
