// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluator: recursive descent straight over the tokens, carried out on
// the interpreter's own stack. An OPERATION frame holds what the levels from
// comparison down to the sign keep while an operand is read; an operand in
// parentheses or a call waits in that frame for its value.
#include <limits>

#include "state.h"

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

int32_t compare(int32_t left, uint8_t op, int32_t right) {
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

int32_t add(int32_t left, char op, int32_t right) {
    if (op == '+') return wrap_add(left, right);
    if (op == '-') return wrap_sub(left, right);
    return left | right;
}

}  // namespace

// evaluate = ";" | assignment
void InterpreterState::start_evaluate() {
    read_token();
    start_evaluate_current();
}

void InterpreterState::start_evaluate_current() {
    if (tok->len == 0) report_error(ERR_NO_EXPRESSION);
    if (tok->is(';')) return give(0);
    push(FrameKind::EVALUATE);
    mode = Mode::ASSIGNMENT;
}

// assignment = variable ("=" assignment | "++" | "--" | "+=" expr | "-=" expr) | comparison
void InterpreterState::start_assignment() {
    for (;;) {
        check_depth();
        if (tok->TokenKind == TK_NUMBER) {
            const Token* number = tok;
            read_token();
            if (ends_operand(*tok)) return give(number->number);
            unread_token();
            tok = number;
        }
        // The right-hand side cannot change which variable a name denotes
        // (calls pop what they push), so the slot found here is the one
        // stored into.
        VarSlot* var = tok->TokenKind == TK_NAME ? find_variable(tok->id) : nullptr;
        if (var == nullptr) break;
        const Token* name = tok;
        read_token();
        if (tok->is('=')) {
            read_token();
            Frame& store = push(FrameKind::STORE);
            store.store.var = var;
            store.store.op = OP_NONE;
            continue;  // the right side is an assignment of its own
        }
        switch (tok->op) {
            case OP_INC:
            case OP_DEC:
                var->value = wrap_add(var->value, tok->op == OP_INC ? 1 : -1);
                read_token();
                return give(var->value);
            case OP_ADD_ASSIGN:
            case OP_SUB_ASSIGN: {
                Frame& store = push(FrameKind::STORE);
                store.store.var = var;
                store.store.left = var->value;
                store.store.op = tok->op;
                return start_evaluate();
            }
            default:
                // A plain variable read that ends the expression.
                if (name->builtin < 0 && function_of_id[static_cast<size_t>(name->id)] < 0 && ends_operand(*tok)) {
                    return give(var->value);
                }
                unread_token();
                tok = name;
                // The primary level reads this same name next: keep the slot.
                found_token = name;
                found_slot = var;
                break;
        }
        break;
    }
    push(FrameKind::OPERATION);
    next_operand();
}

// The operand at the current token: sign = ["+" | "-"] parenthesized,
// parenthesized = "(" assignment ")" | primary,
// primary = "'" char "'" | number | builtin-call | function-call | variable.
// Operands that need no frame of their own are taken in this loop; the
// others are begun by the machine's loop, so that native frames never nest
// with the text.
void InterpreterState::next_operand() {
    for (;;) {
        if (tok->is('+') || tok->is('-')) {
            frames.back().op.sign = tok->ch;
            read_token();
        }
        int32_t result = 0;
        switch (tok->TokenKind) {
            case TK_DELIM:
                if (tok->is('(')) {
                    read_token();
                    frames.back().await = Await::PARENTHESIZED;
                    mode = Mode::ASSIGNMENT;
                    return;
                }
                if (tok->is('\'')) {
                    if (cur() == '\0') report_error(ERR_QUOTE_EXPECTED);
                    result = static_cast<int8_t>(cur());
                    ++ScanPos;
                    if (cur() != '\'') report_error(ERR_QUOTE_EXPECTED);
                    ++ScanPos;
                    read_token();
                    break;
                }
                // Lets an empty argument list through; the operand has no value.
                if (tok->is(')')) break;
                report_error(ERR_SYNTAX);
            case TK_NAME:
                if (tok->builtin >= 0) {
                    frames.back().await = Await::CALL_VALUE;
                    return start_builtin(tok->builtin);
                }
                if (uint32_t body; function_entry(tok->id, body)) {
                    frames.back().await = Await::CALL_VALUE;
                    return start_call();
                }
                result = tok == found_token ? found_slot->value : load_variable(tok->id);
                found_token = nullptr;
                read_token();
                break;
            case TK_NUMBER:
                result = tok->number;
                read_token();
                break;
            default: report_error(ERR_SYNTAX);
        }
        if (!apply_operand(result)) return;
    }
}

// comparison = additive [op additive], additive = multiplicative {("+" |
// "-" | "|") multiplicative}, multiplicative = sign {("*" | "/" | "%" |
// "&") sign}: the operand v completes what the levels keep pending. True
// when another operand is to be read, false when the frame gave its value.
bool InterpreterState::apply_operand(int32_t v) {
    OperationFrame& f = frames.back().op;
    if (f.sign == '-') v = wrap_sub(0, v);
    f.sign = 0;
    if (f.product_op != 0) {
        const int32_t left = f.product;
        if (f.product_op == '*') {
            v = wrap_mul(left, v);
        } else if (f.product_op == '&') {
            v = left & v;
        } else {
            if (v == 0) report_error_at(ERR_DIVISION_BY_ZERO, f.product_at);
            // The most negative value divided by -1 wraps to itself.
            const bool wraps = left == std::numeric_limits<int32_t>::min() && v == -1;
            if (f.product_op == '/')
                v = wraps ? left : left / v;
            else
                v = wraps ? 0 : left % v;
        }
        f.product_op = 0;
    }
    if (is_multiplicative(*tok)) {
        f.product = v;
        f.product_op = tok->ch;
        f.product_at = tok->start;
        read_token();
        return true;
    }
    if (f.sum_op != 0) {
        v = add(f.sum, f.sum_op, v);
        f.sum_op = 0;
    }
    if (is_additive(*tok)) {
        f.sum = v;
        f.sum_op = tok->ch;
        read_token();
        return true;
    }
    if (f.comparison != OP_NONE) {
        v = compare(f.compared, f.comparison, v);
    } else if (tok->op != OP_NONE) {
        f.compared = v;
        f.comparison = tok->op;
        read_token();
        return true;
    }
    frames.pop_back();
    give(v);
    return false;
}

// A value for the top frame of an expression.
void InterpreterState::expression_value() {
    Frame& f = frames.back();
    switch (f.kind) {
        case FrameKind::EVALUATE:
            unread_token();
            frames.pop_back();
            return;  // the given goes on down as it is
        case FrameKind::STORE: {
            VarSlot& var = *f.store.var;
            switch (f.store.op) {
                case OP_ADD_ASSIGN: var.value = wrap_add(f.store.left, given); break;
                case OP_SUB_ASSIGN: var.value = wrap_sub(f.store.left, given); break;
                default: var.value = given; break;
            }
            if (f.store.op != OP_NONE) read_token();
            frames.pop_back();
            return give(var.value);
        }
        default:  // OPERATION
            if (f.await == Await::PARENTHESIZED) {
                if (!tok->is(')')) report_error(ERR_PARENS_EXPECTED);
            } else {
                found_token = nullptr;
            }
            f.await = Await::NONE;
            read_token();
            if (apply_operand(given)) mode = Mode::OPERAND;
    }
}

}  // namespace korvane
