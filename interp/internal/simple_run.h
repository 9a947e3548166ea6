// SPDX-License-Identifier: GPL-3.0-or-later
// Running a simple expression, inlined where statements and expressions
// begin: it is the common case, and its cost is a few loads.
#pragma once

#include "arithmetic.h"
#include "state.h"

namespace korvane {

[[gnu::always_inline]] inline int32_t InterpreterState::operate(int32_t left, uint8_t level, uint8_t code,
                                                                int32_t right, uint32_t at) {
    if (level == LEVEL_COMPARISON) return compare(left, code, right);
    if (level == LEVEL_ADDITIVE) return add(left, static_cast<char>(code), right);
    return code == '*' ? wrap_mul(left, right) : multiply(left, static_cast<char>(code), right, at);
}

// What the item after the right value v completes of the pending
// operators is worked out; an operator is then pushed as pending, true.
[[gnu::always_inline]] inline bool InterpreterState::complete(PendingOperator*& top, int32_t& v,
                                                              const SimpleItem& after) {
    for (; top->rank >= after.rank; --top)
        v = operate(top->left, static_cast<uint8_t>(top->rank - 1), top->code, v, top->at);
    if (after.kind != SimpleItem::OPERATOR) return false;
    *++top = PendingOperator{v, static_cast<uint32_t>(after.value), after.rank, after.code};
    return true;
}

// What an assignment of `form` stores, `left` its variable's value where
// it began: v, or v added to or taken from it.
[[gnu::always_inline]] inline int32_t assigned_value(uint8_t form, int32_t left, int32_t v) {
    if (form == SimpleExpression::ADD_TO) return wrap_add(left, v);
    if (form == SimpleExpression::SUBTRACT_FROM) return wrap_sub(left, v);
    return v;
}

// Only where its variable was found where the assignment began.
[[gnu::always_inline]] inline int32_t InterpreterState::assign_item(const SimpleItem& t, int32_t left, int32_t v) {
    v = assigned_value(t.code, left, v);
    find_named(t.value)->value = v;
    return v;
}

[[gnu::always_inline]] inline int32_t InterpreterState::step_item(const SimpleItem& t) {
    VarSlot& slot = item_variable(t);
    return slot.value = wrap_add(slot.value, t.code == OP_INC ? 1 : -1);
}

[[gnu::always_inline]] inline VarSlot& InterpreterState::target_variable(const SimpleExpression& e) {
    VarSlot* const slot = find_named(e.target);
    if (slot == nullptr) [[unlikely]]
        raise_missing(*e.target_name);
    return *slot;
}

// One operator between two plain operands, the most common case, without
// the levels.
[[gnu::always_inline]] inline void InterpreterState::combine(int32_t& v, const SimpleItem& op,
                                                             const SimpleItem& right) {
    v = operate(v, op.level(), op.code, item_value(right), static_cast<uint32_t>(op.value));
}

// One operand, or two with an operator between, from its first item.
[[gnu::always_inline]] inline int32_t InterpreterState::flat_value(const SimpleItem* items, int count) {
    int32_t v = item_value(items[0]);
    if (count == 3) combine(v, items[1], items[2]);
    return v;
}

[[gnu::always_inline]] inline void InterpreterState::chain_value(const SimpleItem*& item, int32_t& v) {
    v = item_value(*item);
    if (item[1].kind != SimpleItem::OPERATOR) {
        ++item;
        return;
    }
    item += 3;
    combine(v, item[-2], item[-1]);
}

// A built-in in a chain, from its item, on to the item after its `)`.
[[gnu::always_inline]] inline void InterpreterState::chain_builtin(const SimpleItem*& item, int32_t& v) {
    const SimpleItem& builtin = *item;
    int32_t first = 0;
    for (++item;; ++item) {
        chain_value(item, v);
        if (item->kind == SimpleItem::CLOSE) break;
        first = v;  // a `,`: the first of two values
    }
    ++item;
    v = pure_builtin(builtin.code, first, v, static_cast<uint32_t>(builtin.value));
}

// An operand of a chain, from its first item, on to the item after it: a
// pair in parentheses or a built-in's values are worked out as the pending
// operators would, in the same order.
[[gnu::always_inline]] inline void InterpreterState::chain_operand(const SimpleItem*& item, int32_t& v) {
    const SimpleItem& first = *item;
    if (first.kind == SimpleItem::OPEN) {
        ++item;
        chain_value(item, v);
        ++item;  // the `)`
    } else if (first.kind == SimpleItem::BUILTIN) {
        chain_builtin(item, v);
    } else {
        v = item_value(*item++);
        return;
    }
    if (first.negate) v = wrap_sub(0, v);
}

// An operand of a chain, from its first item, on to the item after it.
template <bool compound>
[[gnu::always_inline]] inline void InterpreterState::chain_next(const SimpleItem*& item, int32_t& v) {
    if (compound)
        chain_operand(item, v);
    else
        v = item_value(*item++);
}

// A chain on the levels; with compound operands (pairs, built-ins) a loop
// of its own, so the plain operands' path stays short. Operands are taken
// in turn while no operator binds tighter than the one before it: each is
// done as soon as its right value is there, as the levels would do it,
// with nothing pending; the levels take over where one does.
template <bool compound>
[[gnu::always_inline]] inline void InterpreterState::run_chain(const SimpleItem* item, int32_t& v) {
    chain_next<compound>(item, v);
    for (;;) {
        const SimpleItem& op = *item++;
        if (op.kind != SimpleItem::OPERATOR) return;
        int32_t right = 0;
        chain_next<compound>(item, right);
        // The chain's END has rank 1, below every operator's.
        if (item->rank > op.rank) [[unlikely]] {
            if constexpr (compound)
                v = chain_levels<true>(item, op, v, right);
            else
                v = plain_levels(item, op, v, right);
            return;
        }
        v = operate(v, op.level(), op.code, right, static_cast<uint32_t>(op.value));
    }
}

// Only a comparison or an additive operator has one that binds tighter after it.
template <bool compound>
[[gnu::always_inline]] inline int32_t InterpreterState::chain_levels(const SimpleItem* item, const SimpleItem& op,
                                                                     int32_t left, int32_t right) {
    OperationFrame f{};
    if (op.level() == LEVEL_ADDITIVE) {
        f.sum = left;
        f.sum_op = op.code;
    } else {
        f.compared = left;
        f.comparison = op.code;
    }
    int32_t v = right;
    for (;;) {
        const SimpleItem& after = *item++;
        if (!apply_operand(*this, f, v, after.level(), after.code, static_cast<uint32_t>(after.value))) return v;
        chain_next<compound>(item, v);
    }
}

// Where the frames could reach their budget in it, it is left untouched,
// to run_list; else it runs, a variable not there raised at its name.
template <bool sets_place>
[[gnu::always_inline]] inline bool InterpreterState::run_simple(const SimpleExpression& e, int32_t& v) {
    if (!frames.within(e.frames_bytes)) return false;
    return run_within<sets_place>(e, v);
}

template <bool sets_place>
[[gnu::always_inline]] inline bool InterpreterState::run_within(const SimpleExpression& e, int32_t& v) {
    const SimpleItem* const items = simple_items.data() + e.first;
    switch (e.shape) {
        case SimpleExpression::FLAT_VALUE: v = flat_value(items, e.count); break;
        case SimpleExpression::FLAT_ASSIGN: {
            VarSlot& to = target_variable(e);
            v = to.value = flat_value(items, e.count);
            break;
        }
        case SimpleExpression::CHAIN_VALUE: run_chain<false>(items, v); break;
        case SimpleExpression::CHAIN_ASSIGN: {
            VarSlot& to = target_variable(e);
            run_chain<false>(items, v);
            to.value = v;
            break;
        }
        case SimpleExpression::STEPPED: {
            VarSlot& to = target_variable(e);
            v = to.value = wrap_add(to.value, items[0].code == OP_INC ? 1 : -1);
            break;
        }
        case SimpleExpression::OTHER: run_other(e, v); break;
        case SimpleExpression::CALLED:
        case SimpleExpression::CALLED_UPDATED: return false;  // only where a statement can wait (start_items)
        case SimpleExpression::NAMED: return false;           // its reading, where a statement begins (start_items)
        case SimpleExpression::UPDATED:
            [[unlikely]] {
                // Out of line on a value of its own, as run_other's calls are.
                int32_t value = 0;
                run_update(e, value);
                v = value;
                break;
            }
    }
    if (sets_place) {
        tok = e.end;
        scan_pos = e.end->start;
    }
    return true;
}

[[gnu::always_inline]] inline void InterpreterState::run_other(const SimpleExpression& e, int32_t& v) {
    VarSlot* const target = e.form != SimpleExpression::VALUE ? &target_variable(e) : nullptr;
    // The calls out of line work on a value of their own: were v's address
    // to leave, v would live in memory on every path that inlines this.
    int32_t value = 0;
    other_value(e, value);
    v = value;
    if (target != nullptr) target->value = v;
}

[[gnu::always_inline]] inline void InterpreterState::other_value(const SimpleExpression& e, int32_t& value) {
    const SimpleItem* items = simple_items.data() + e.first;
    if (e.chain)
        compound_chain(items, value);
    else
        simple_operation(e, value);
}

[[gnu::always_inline]] inline const SimpleArguments* InterpreterState::simple_argument_list() {
    int32_t at = arguments_at[scan_pos];
    if (at == kNotLooked) at = look_for_arguments();
    return at == kNotSimple ? nullptr : &simple_arguments[static_cast<size_t>(at)];
}

[[gnu::always_inline]] inline bool InterpreterState::simple_argument_values(const SimpleArguments& list,
                                                                            int32_t* given_values) {
    const SimpleArgument* argument = simple_argument.data() + list.first;
    const bool flat = list.flat && frames.within(list.frames_bytes);
    const uint32_t count = list.count;
    for (uint32_t i = 0; i < count; ++i, ++argument) {
        if (flat) {
            given_values[i] = flat_value(simple_items.data() + argument->items, argument->count);
        } else if (!run_simple<false>(simple[static_cast<size_t>(argument->expression)], given_values[i])) {
            // This one and those after it are read as the text is.
            values.insert(values.end(), given_values, given_values + i);
            scan_pos = argument->from;
            return false;
        }
    }
    tok = list.end;
    scan_pos = list.after;
    return true;
}

[[gnu::always_inline]] inline bool InterpreterState::simple_value(int32_t& v) {
    int32_t index = tok->simple;
    if (index < 0) {
        if (index == kNotSimple) return false;
        index = look_for_simple();
        if (index == kNotSimple) return false;
    }
    return run_simple(simple[static_cast<size_t>(index)], v);
}

}  // namespace korvane
