// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's state: its stack of constructs in progress, the values of
// calls being made, the locals and the active calls, and what it does next.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "frames.h"

namespace korvane {

// What a declaration gives a parameter or a local: its name.
struct Parameter {
    const char* name;
    int32_t id;
};

struct VarSlot {
    const char* name;  // lower case, the text of its name token; null for an unnamed argument
    int32_t value;
    int32_t id;     // interned name, -1 when no name token can ever find it
    int32_t below;  // the next local below with the same id, or -1
};

// A loop that is running: where its keyword stands, how many times its body
// has started, and the call depth it runs at. A halt names the innermost.
struct LoopPass {
    uint32_t at;
    uint64_t passes;
    int calls;
};

// How far a `break`, `continue` or `return` is unwinding the executors.
enum class Unwind : uint8_t { NONE, BREAK, CONTINUE, RETURN };

// Room for a recursive 4-way fill of the whole 400 x 400 canvas (160,000
// calls nested, each with its two parameters and two locals). The tables for them
// are allocated and never filled in advance: a page of them that no call
// reached costs no memory.
constexpr int kMaxCalls = 1 << 18;
constexpr int kMaxLocals = kMaxCalls * 4;

struct MachineState {
    enum class Mode : uint8_t {
        STATEMENT,  // run the next statement of the top STATEMENTS frame
        VALUE,      // hand `given` to the top frame
        DONE,       // the statements above the top frame have ended
    };
    FrameStack frames;
    std::vector<int32_t> values;  // the arguments of calls being made, and built-ins' lists
    Mode mode = Mode::STATEMENT;
    int32_t given = 0;  // the value handed down
    // The pending operators of the item lists that wait for calls, and of
    // the one running, each above the last; item_top is where the next begins.
    std::vector<PendingOperator> item_stack;
    uint32_t item_top = 0;
    int32_t builtin_result = 0;  // of the built-in that has just taken its values

    // On the heap, as large as they are; only the entries in use are touched.
    std::unique_ptr<VarSlot[]> local_stack{new VarSlot[kMaxLocals]};
    // Per active call: where its slots begin, and who made it.
    std::unique_ptr<int32_t[]> call_stack{new int32_t[kMaxCalls]};
    std::unique_ptr<ActiveCall[]> active_calls{new ActiveCall[kMaxCalls]};
    // The topmost local_stack entry per name id, or -1; with VarSlot::below a
    // chain per name, so a lookup costs the same however many locals there are.
    std::vector<int32_t> local_of_id;
    int local_top = 0;
    int call_top = 0;
    int frame_base = 0;        // call_stack's top entry, or 0 outside any call
    int32_t return_value = 0;  // kept across calls and runs
    Unwind unwind = Unwind::NONE;
    std::vector<LoopPass> loops;

    // Empty, for a run to begin.
    void start_run() {
        loops.clear();
        unwind = Unwind::NONE;
        frames.clear();
        values.clear();
        item_top = 0;
        frame_base = 0;
    }
    Frame& push(FrameKind kind) { return frames.push(kind); }
    void give(int32_t v) {
        given = v;
        mode = Mode::VALUE;
    }
    // A local named as a kept parameter or declaration, with room for it
    // made sure of: as the topmost local it heads its name's chain, so it is
    // written once, with no walk down the chain.
    void push_local(const Parameter& p, int32_t value) {
        const int index = local_top;
        int32_t below = -1;
        if (p.id >= 0) {
            int32_t& top = local_of_id.data()[p.id];
            below = top;
            top = index;
        }
        local_stack.get()[index] = VarSlot{p.name, value, p.id, below};
        local_top = index + 1;
    }
    // Gives the local at index its name: it joins its name's chain where its
    // index puts it (a parameter is named below arguments already named).
    void name_local(int index, int32_t id) {
        VarSlot* const stack = local_stack.get();
        stack[index].id = id;
        stack[index].below = -1;
        if (id < 0) return;
        int32_t* link = &local_of_id[static_cast<size_t>(id)];
        while (*link > index) link = &stack[*link].below;
        stack[index].below = *link;
        *link = index;
    }
};

}  // namespace korvane
