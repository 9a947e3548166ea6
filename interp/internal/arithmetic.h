// SPDX-License-Identifier: GPL-3.0-or-later
// Integer arithmetic as the language defines it (wrapping on overflow), and
// the levels of an operation, for the item lists' runners.
#pragma once

#include <cstdint>
#include <limits>

#include "state.h"

namespace korvane {

// An operation's levels: each level's pending left value and operator (0: none pending). Codes
// are kept wider than a char: a store of a char may change any value as far
// as the compiler knows, and what the levels store is stored often.
struct OperationFrame {
    int32_t compared, sum, product;
    uint32_t product_at;  // the multiplicative operator, for a division by zero
    uint16_t comparison, sum_op, product_op, sign;
};

inline int32_t wrap_add(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t wrap_sub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t wrap_mul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

[[gnu::always_inline]] inline int32_t compare(int32_t left, uint8_t op, int32_t right) {
    switch (op) {
        case OP_LT: return left < right;
        case OP_LE: return left <= right;
        case OP_GT: return left > right;
        case OP_GE: return left >= right;
        case OP_EQ: return left == right;
        case OP_NE: return left != right;
        case OP_AND: return left != 0 && right != 0;
        case OP_OR: return left != 0 || right != 0;
        default: return left;  // ++ -- += -= after a non-variable: the right side is dropped
    }
}

inline int32_t add(int32_t left, char op, int32_t right) {
    if (op == '+') return wrap_add(left, right);
    if (op == '-') return wrap_sub(left, right);
    return left | right;
}

// The multiplicative operators; `at` is where the operator stands, for a
// division by zero.
[[gnu::always_inline]] inline int32_t InterpreterState::multiply(int32_t left, char op, int32_t right, uint32_t at) {
    switch (op) {
        case '*': return wrap_mul(left, right);
        case '&': return left & right;
        default: break;
    }
    if (right == 0) report_error_at(ERR_DIVISION_BY_ZERO, at);
    // The most negative value divided by -1 wraps to itself.
    const bool wraps = left == std::numeric_limits<int32_t>::min() && right == -1;
    if (op == '/') return wraps ? left : left / right;
    return wraps ? 0 : left % right;
}

// comparison = additive [op additive], additive = multiplicative {("+" |
// "-" | "|") multiplicative}, multiplicative = sign {("*" | "/" | "%" |
// "&") sign}: the operand v completes what the levels keep pending. True
// when another operand is to be read; false when the operation is done,
// its value in v.
// After the operand stands an operator of `level` (its character, or the
// code of a two-character one, and where it stands), or LEVEL_NONE.
[[gnu::always_inline]] inline bool apply_operand(InterpreterState& s, OperationFrame& f, int32_t& v, uint8_t level,
                                                 uint8_t code, uint32_t at) {
    if (f.sign == '-') v = wrap_sub(0, v);
    f.sign = 0;
    if (f.product_op != 0) {
        v = f.product_op == '*' ? wrap_mul(f.product, v) : s.multiply(f.product, f.product_op, v, f.product_at);
        f.product_op = 0;
    }
    if (level == LEVEL_MULTIPLICATIVE) {
        f.product = v;
        f.product_op = static_cast<char>(code);
        f.product_at = at;
        return true;
    }
    if (f.sum_op != 0) {
        v = add(f.sum, f.sum_op, v);
        f.sum_op = 0;
    }
    if (level == LEVEL_ADDITIVE) {
        f.sum = v;
        f.sum_op = static_cast<char>(code);
        return true;
    }
    if (f.comparison != OP_NONE) {
        v = compare(f.compared, f.comparison, v);
    } else if (level == LEVEL_COMPARISON) {
        f.compared = v;
        f.comparison = code;
        return true;
    }
    return false;
}

// The same with the token after the operand: an operator has either a
// code or a character, never both.
[[gnu::always_inline]] inline bool apply_operand(InterpreterState& s, OperationFrame& f, int32_t& v,
                                                 const Token& after) {
    return apply_operand(s, f, v, after.level, after.op | static_cast<uint8_t>(after.ch), after.start);
}

}  // namespace korvane
