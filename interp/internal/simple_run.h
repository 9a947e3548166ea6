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

// Only where all the expression's variables were found.
[[gnu::always_inline]] inline int32_t InterpreterState::assign_item(const SimpleItem& t, int32_t left, int32_t v) {
    v = assigned_value(t.code, left, v);
    find_named(t.value)->value = v;
    return v;
}

[[gnu::always_inline]] inline int32_t InterpreterState::step_item(const SimpleItem& t) {
    VarSlot* const slot = find_named(t.value);
    return slot->value = wrap_add(slot->value, t.code == OP_INC ? 1 : -1);
}

// One operator between two plain operands, the most common case, without
// the levels; false for a variable that is not there.
[[gnu::always_inline]] inline bool InterpreterState::combine(int32_t& v, const SimpleItem& op,
                                                             const SimpleItem& right) {
    int32_t y = 0;
    if (!item_value(right, y)) return false;
    v = operate(v, op.level(), op.code, y, static_cast<uint32_t>(op.value));
    return true;
}

// One operand, or two with an operator between, from its first item.
[[gnu::always_inline]] inline bool InterpreterState::flat_value(const SimpleItem* items, int count, int32_t& v) {
    if (!item_value(items[0], v)) return false;
    if (count == 3 && !combine(v, items[1], items[2])) return false;
    return true;
}

// A value of a pair or a built-in in a chain, `a` or `a op b`, from its
// first item, on to the item after it.
[[gnu::always_inline]] inline bool InterpreterState::chain_value(const SimpleItem*& item, int32_t& v) {
    if (!item_value(*item, v)) return false;
    if (item[1].kind != SimpleItem::OPERATOR) {
        ++item;
        return true;
    }
    item += 3;
    return combine(v, item[-2], item[-1]);
}

// A built-in in a chain, from its item, on to the item after its `)`.
[[gnu::always_inline]] inline bool InterpreterState::chain_builtin(const SimpleItem*& item, int32_t& v) {
    const SimpleItem& builtin = *item;
    int32_t first = 0;
    for (++item;; ++item) {
        if (!chain_value(item, v)) return false;
        if (item->kind == SimpleItem::CLOSE) break;
        first = v;  // a `,`: the first of two values
    }
    ++item;
    v = pure_builtin(builtin.code, first, v, static_cast<uint32_t>(builtin.value));
    return true;
}

// An operand of a chain, from its first item, on to the item after it: a
// pair in parentheses or a built-in's values are worked out as the pending
// operators would, in the same order.
[[gnu::always_inline]] inline bool InterpreterState::chain_operand(const SimpleItem*& item, int32_t& v) {
    const SimpleItem& first = *item;
    if (first.kind == SimpleItem::OPEN) {
        ++item;
        if (!chain_value(item, v)) return false;
        ++item;  // the `)`
    } else if (first.kind == SimpleItem::BUILTIN) {
        if (!chain_builtin(item, v)) return false;
    } else {
        return item_value(*item++, v);
    }
    if (first.negate) v = wrap_sub(0, v);
    return true;
}

// A chain on the levels; with compound operands (pairs, built-ins) a loop
// of its own, so the plain operands' path stays short.
template <bool compound>
[[gnu::always_inline]] inline bool InterpreterState::run_chain(const SimpleItem* item, int32_t& v) {
    OperationFrame f{};
    for (;;) {
        if (compound ? !chain_operand(item, v) : !item_value(*item++, v)) return false;
        const SimpleItem& after = *item++;
        if (!apply_operand(*this, f, v, after.level(), after.code, static_cast<uint32_t>(after.value))) return true;
    }
}

// Its parts are read before anything is stored, so where it needs the
// frames they take it untouched.
template <bool sets_place>
[[gnu::always_inline]] inline bool InterpreterState::run_simple(const SimpleExpression& e, int32_t& v) {
    if (!frames.within(e.frames_bytes)) return false;
    const SimpleItem* const items = simple_items.data() + e.first;
    switch (e.shape) {
        case SimpleExpression::FLAT_VALUE:
            if (!flat_value(items, e.count, v)) return false;
            break;
        case SimpleExpression::FLAT_ASSIGN: {
            VarSlot* const to = find_named(e.target);
            if (to == nullptr || !flat_value(items, e.count, v)) return false;
            to->value = v;
            break;
        }
        case SimpleExpression::CHAIN_VALUE:
            if (!run_chain<false>(items, v)) return false;
            break;
        case SimpleExpression::CHAIN_ASSIGN: {
            VarSlot* const to = find_named(e.target);
            if (to == nullptr || !run_chain<false>(items, v)) return false;
            to->value = v;
            break;
        }
        case SimpleExpression::STEPPED: {
            VarSlot* const to = find_named(e.target);
            if (to == nullptr) return false;
            v = to->value = wrap_add(to->value, items[0].code == OP_INC ? 1 : -1);
            break;
        }
        case SimpleExpression::OTHER:
            if (!run_other(e, v)) return false;
            break;
        case SimpleExpression::CALLED:
        case SimpleExpression::CALLED_UPDATED: return false;  // only where a statement can wait (start_items)
        case SimpleExpression::UPDATED:
            [[unlikely]] {
                // Out of line on a value of its own, as run_other's calls are.
                int32_t value = 0;
                if (!run_update(e, value)) return false;
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

[[gnu::always_inline]] inline bool InterpreterState::run_other(const SimpleExpression& e, int32_t& v) {
    VarSlot* target = nullptr;
    if (e.form != SimpleExpression::VALUE) {
        target = find_named(e.target);
        if (target == nullptr) return false;
    }
    // The calls out of line work on a value of their own: were v's address
    // to leave, v would live in memory on every path that inlines this.
    int32_t value = 0;
    if (!other_value(e, value)) return false;
    v = value;
    if (target != nullptr) target->value = v;
    return true;
}

[[gnu::always_inline]] inline bool InterpreterState::other_value(const SimpleExpression& e, int32_t& value) {
    const SimpleItem* items = simple_items.data() + e.first;
    // A built-in is called only when nothing will send the expression to the frames.
    if (e.calls) {
        const int32_t* names = simple_names.data() + e.names;
        for (int i = 0; i < e.name_count; ++i) {
            if (find_named(names[i]) == nullptr) return false;
        }
    }
    return e.chain ? compound_chain(items, value) : simple_operation(e, value);
}

// Left where it stands when a variable is not there, to name that one.
[[gnu::always_inline]] inline bool InterpreterState::flat_item_value(const SimpleItem*& item, int32_t& v) {
    if (!item_value(item[0], v)) return false;
    if (item[1].kind != SimpleItem::OPERATOR) {
        ++item;
        return true;
    }
    int32_t right = 0;
    if (!item_value(item[2], right)) {
        item += 2;
        return false;
    }
    v = operate(v, item[1].level(), item[1].code, right, static_cast<uint32_t>(item[1].value));
    item += 3;
    return true;
}

[[gnu::always_inline]] inline const SimpleArguments* InterpreterState::simple_argument_list() {
    int32_t at = arguments_at[scan_pos];
    if (at == kNotLooked) at = simple_expressions ? look_for_arguments() : kNotSimple;
    return at == kNotSimple ? nullptr : &simple_arguments[static_cast<size_t>(at)];
}

[[gnu::always_inline]] inline bool InterpreterState::simple_argument_values(const SimpleArguments& list,
                                                                            int32_t* given_values) {
    const SimpleArgument* argument = simple_argument.data() + list.first;
    const bool flat = list.flat && frames.within(list.frames_bytes);
    const uint32_t count = list.count;
    for (uint32_t i = 0; i < count; ++i, ++argument) {
        if (!(flat ? flat_value(simple_items.data() + argument->items, argument->count, given_values[i])
                   : run_simple<false>(simple[static_cast<size_t>(argument->expression)], given_values[i]))) {
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
        if (index == kNotSimple || !simple_expressions) return false;
        index = look_for_simple();
        if (index == kNotSimple) return false;
    }
    return run_simple(simple[static_cast<size_t>(index)], v);
}

}  // namespace korvane
