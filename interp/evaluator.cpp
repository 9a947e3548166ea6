// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluator: recursive descent straight over the tokens. Each level
// returns its value; on entry the current token is the first of its
// operand, on exit the first one after it.
#include <cstring>
#include <limits>

#include "state.h"

// The levels below assignment are folded into it: an operand then costs no
// chain of calls.
#define KORVANE_INLINE [[gnu::always_inline]] inline

namespace korvane {

namespace {

int32_t wrap_add(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t wrap_sub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
int32_t wrap_mul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

bool is_additive(const Token& t) { return t.ch == '+' || t.ch == '-' || t.ch == '|'; }
bool is_multiplicative(const Token& t) { return t.ch == '*' || t.ch == '/' || t.ch == '%' || t.ch == '&'; }

// A token that no level below assignment acts on: after a lone operand it
// ends the expression, so the levels need not be walked.
bool ends_operand(const Token& t) { return t.op == OP_NONE && !is_additive(t) && !is_multiplicative(t); }

}  // namespace

// evaluate = ";" | assignment
int32_t InterpreterState::evaluate() {
    read_token();
    return evaluate_current();
}

int32_t InterpreterState::evaluate_current() {
    if (tok->len == 0) report_error(ERR_NO_EXPRESSION);
    if (tok->is(';')) return 0;
    const int32_t result = eval_assignment();
    unread_token();
    return result;
}

// assignment = variable ("=" assignment | "++" | "--" | "+=" expr | "-=" expr) | comparison
int32_t InterpreterState::eval_assignment() {
    check_stack();
    if (tok->TokenKind == TK_NUMBER) {
        const Token* number = tok;
        read_token();
        if (ends_operand(*tok)) return number->number;
        unread_token();
        tok = number;
    }
    // The right-hand side cannot change which variable a name denotes (calls
    // pop what they push), so the slot found here is the one stored into.
    if (VarSlot* var = tok->TokenKind == TK_NAME ? find_variable(tok->id) : nullptr) {
        const Token* name = tok;
        read_token();
        if (tok->is('=')) {
            read_token();
            var->value = eval_assignment();
            return var->value;
        }
        switch (tok->op) {
            case OP_INC:
            case OP_DEC:
                var->value = wrap_add(var->value, tok->op == OP_INC ? 1 : -1);
                read_token();
                return var->value;
            case OP_ADD_ASSIGN:
            case OP_SUB_ASSIGN: {
                const uint8_t op = tok->op;
                const int32_t left = var->value;
                const int32_t right = evaluate();
                var->value = op == OP_ADD_ASSIGN ? wrap_add(left, right) : wrap_sub(left, right);
                read_token();
                return var->value;
            }
            default:
                // A plain variable read that ends the expression.
                if (name->builtin < 0 && function_of_id[static_cast<size_t>(name->id)] < 0 && ends_operand(*tok)) {
                    return var->value;
                }
                unread_token();
                tok = name;
                // The primary level reads this same name next: keep the slot.
                found_token = name;
                found_slot = var;
                break;
        }
    }
    return eval_comparison();
}

// comparison = additive [("<" | "<=" | ">" | ">=" | "==" | "!=" | "&&" | "||") additive]
KORVANE_INLINE int32_t InterpreterState::eval_comparison() {
    const int32_t left = eval_additive();
    const uint8_t op = tok->op;
    if (op == OP_NONE) return left;
    read_token();
    const int32_t right = eval_additive();
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

// additive = multiplicative {("+" | "-" | "|") multiplicative}
KORVANE_INLINE int32_t InterpreterState::eval_additive() {
    int32_t result = eval_multiplicative();
    while (is_additive(*tok)) {
        const char op = tok->ch;
        read_token();
        const int32_t right = eval_multiplicative();
        if (op == '+')
            result = wrap_add(result, right);
        else if (op == '-')
            result = wrap_sub(result, right);
        else
            result |= right;
    }
    return result;
}

// multiplicative = sign {("*" | "/" | "%" | "&") sign}
KORVANE_INLINE int32_t InterpreterState::eval_multiplicative() {
    int32_t result = eval_sign();
    while (is_multiplicative(*tok)) {
        const char op = tok->ch;
        const uint32_t op_start = tok->start;
        read_token();
        const int32_t right = eval_sign();
        if (op == '*') {
            result = wrap_mul(result, right);
        } else if (op == '&') {
            result &= right;
        } else {
            if (right == 0) report_error_at(ERR_DIVISION_BY_ZERO, op_start);
            // The most negative value divided by -1 wraps to itself.
            const bool wraps = result == std::numeric_limits<int32_t>::min() && right == -1;
            if (op == '/')
                result = wraps ? result : result / right;
            else
                result = wraps ? 0 : result % right;
        }
    }
    return result;
}

// sign = ["+" | "-"] parenthesized
KORVANE_INLINE int32_t InterpreterState::eval_sign() {
    char sign = 0;
    if (tok->is('+') || tok->is('-')) {
        sign = tok->ch;
        read_token();
    }
    const int32_t value = eval_parenthesized();
    return sign == '-' ? wrap_sub(0, value) : value;
}

// parenthesized = "(" assignment ")" | primary
KORVANE_INLINE int32_t InterpreterState::eval_parenthesized() {
    if (!tok->is('(')) return eval_primary();
    read_token();
    const int32_t result = eval_assignment();
    if (!tok->is(')')) report_error(ERR_PARENS_EXPECTED);
    read_token();
    return result;
}

// primary = "'" char "'" | number | builtin-call | function-call | variable
KORVANE_INLINE int32_t InterpreterState::eval_primary() {
    int32_t result = 0;
    switch (tok->TokenKind) {
        case TK_DELIM:
            if (tok->is('\'')) {
                if (cur() == '\0') report_error(ERR_QUOTE_EXPECTED);
                result = static_cast<int8_t>(cur());
                ++ScanPos;
                if (cur() != '\'') report_error(ERR_QUOTE_EXPECTED);
                ++ScanPos;
                read_token();
                return result;
            }
            // Lets an empty argument list through; the operand has no value.
            if (tok->is(')')) return 0;
            report_error(ERR_SYNTAX);
        case TK_NAME: {
            if (tok->builtin >= 0) {
                result = call_builtin(tok->builtin);
            } else if (uint32_t body; function_entry(tok->id, body)) {
                invoke_function();
                result = ReturnValue;
            } else if (tok == found_token) {
                result = found_slot->value;
            } else {
                result = load_variable(tok->id);
            }
            found_token = nullptr;
            read_token();
            return result;
        }
        case TK_NUMBER:
            result = tok->number;
            read_token();
            return result;
        default: report_error(ERR_SYNTAX);
    }
}

}  // namespace korvane
