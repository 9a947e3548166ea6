// SPDX-License-Identifier: GPL-3.0-or-later
// The interpreter's own stack: one frame for each construct in progress,
// saying what it waits for. Calls of the program's functions nest frames
// here, never native ones, so a deep recursion needs no deep native stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tokens.h"

namespace korvane {

struct VarSlot;

// Who made an active call, and how many slots its arguments took: what a
// pause shows of the call.
struct ActiveCall {
    const char* function;  // the text of the name token
    uint32_t at;           // where the name stands; kNotCalled for main
    int32_t arguments;
};
constexpr uint32_t kNotCalled = UINT32_MAX;

enum class FrameKind : uint8_t {
    STATEMENTS,  // a statement, or a block once its `{` is read
    EXPRESSION_STATEMENT,
    IF,
    WHILE,
    DO,
    FOR,
    RETURN,
    OPERATION,   // a built-in statement's value, which what follows its `)` takes up
    ARGUMENTS,   // a call of the program's own function: its values
    CALL,        // that call's body
    BUILTIN,     // a built-in that takes one value
    COLLECTION,  // a built-in that takes a list of values
    TEXT,        // textout and textstyle: two values and a string
    // An expression's item list that waits for a call's value. It weighs
    // what the parentheses, assignments, built-ins and calls open at that
    // call weigh, so the budget runs out where the nesting reaches it.
    ITEMS,
};

// A frame of this kind cannot be on top where the machine stands: it is
// broken, and going on would run another construct's logic on the frame.
[[noreturn, gnu::cold]] inline void misplaced_frame() { std::abort(); }

// What a frame waits for next, where a kind waits for more than one thing.
enum class Await : uint8_t {
    NONE,
    // IF, DO, FOR
    CONDITION,
    BODY,
    INITIAL,
    INCREMENT,
    // TEXT
    FIRST,
    SECOND,
};

struct LoopFrame {
    uint32_t loop, body, condition, increment;  // positions
    const Token* close;                         // FOR: the `)` before its body, once passed
};

struct CallFrame {
    ActiveCall active;
    int32_t function;  // its function_table entry
    uint32_t resume;   // CALL: where the caller goes on
    int32_t base;      // the first local slot of the call
    uint32_t first;    // ARGUMENTS: the first value on the value stack
};

struct BuiltinFrame {
    int16_t index;
    int16_t capacity;
    uint32_t call;   // where the built-in's name stands
    uint32_t first;  // the first value on the value stack
    int32_t value;   // TEXT: the first value
};

// An operator of a simple expression waiting for its right value, with its
// left one; its level is one below its rank. A `(` waits as one of rank 0.
// Wider than chars, as the levels' codes are (OperationFrame in arithmetic.h).
struct PendingOperator {
    int32_t left;
    uint32_t at;
    uint16_t rank, code;
};

// Where an item list stands while a call of its runs: the call's `(` is
// the top of its pending operators (InterpreterState::item_stack).
struct ItemsFrame {
    VarSlot* target;  // the (first) variable assigned, or null
    uint32_t expression;
    uint32_t item;  // the item after the call's `)`, from the expression's first
    // Its first entry in item_stack: the values before of the variables
    // assigned where one is added to or more than one assigned
    // (CALLED_UPDATED), then its pending operators.
    uint32_t base;
    uint32_t top;  // and its last
    uint32_t weight;
    // Whose value it is: the frame below it (STATEMENTS: a statement's, or
    // a built-in's in a built-in statement), or a `return` or
    // an expression statement whose frame it stands for (RETURN,
    // EXPRESSION_STATEMENT: it weighs one more).
    FrameKind site;
};
// No larger than a call's: the budget is in bytes, and larger frames would
// let programs nest less deeply.
static_assert(sizeof(ItemsFrame) <= sizeof(CallFrame));

struct Frame {
    FrameKind kind;
    Await await = Await::NONE;
    union {
        bool block;  // STATEMENTS: a `{` was read, so statements go on to its `}`
        LoopFrame loop;
        CallFrame call;
        BuiltinFrame builtin;
        ItemsFrame items;
    };
};

// A stack that grows as needed and keeps what it once held: pushing costs
// no more than a few stores.
class FrameStack {
public:
    Frame& push(FrameKind kind) {
        if (top_ == end_) grow();
        Frame& f = *top_++;
        f.kind = kind;
        f.await = Await::NONE;
        return f;
    }
    // A frame that weighs `weight` frames: it is the top one of them, and
    // the frames below it in its weight are never read.
    Frame& push(FrameKind kind, size_t weight) {
        while (static_cast<size_t>(end_ - top_) < weight) grow();
        top_ += weight;
        Frame& f = top_[-1];
        f.kind = kind;
        f.await = Await::NONE;
        return f;
    }
    void pop_back() { --top_; }
    void pop_back(size_t weight) { top_ -= weight; }
    Frame& back() { return top_[-1]; }
    // The frame under the top one, which must not be the bottom one.
    const Frame& below_top() const { return top_[-2]; }
    bool empty() const { return top_ == base_; }
    size_t size() const { return static_cast<size_t>(top_ - base_); }
    // Whether `more` bytes above what it holds stay below its budget: one
    // comparison against where the budget ends.
    bool within(size_t more) const { return reinterpret_cast<uintptr_t>(top_) + more < budget_end_; }
    void set_budget(size_t bytes) {
        budget_ = bytes;
        const auto base = reinterpret_cast<uintptr_t>(base_);
        budget_end_ = base + budget_ < base ? UINTPTR_MAX : base + budget_;
    }
    void clear() { top_ = base_; }

private:
    void grow() {
        const size_t used = size();
        store_.resize(store_.size() * 2 + 64);
        base_ = store_.data();
        top_ = base_ + used;
        end_ = base_ + store_.size();
        set_budget(budget_);
    }

    std::vector<Frame> store_;
    Frame* base_ = nullptr;
    Frame* top_ = nullptr;
    Frame* end_ = nullptr;
    size_t budget_ = 0;
    uintptr_t budget_end_ = 0;
};

}  // namespace korvane
