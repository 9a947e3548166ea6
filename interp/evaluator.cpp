// The evaluator: recursive descent straight over the tokens. Each level gets
// the variable for its result; on entry the current token is the first of its
// operand, on exit the first one after it.
#include <cstring>
#include <limits>

#include "state.h"

// The levels below assignment are folded into it: an operand then costs no
// chain of calls.
#define KORVANE_INLINE [[gnu::always_inline]] inline

namespace korvane {

namespace {

int32_t wrap_add(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
int32_t wrap_sub(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
int32_t wrap_mul(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }

bool is_additive(const Token& t) { return t.ch == '+' || t.ch == '-' || t.ch == '|'; }
bool is_multiplicative(const Token& t) { return t.ch == '*' || t.ch == '/' || t.ch == '%' || t.ch == '&'; }

}  // namespace

// evaluate = ";" | assignment
int32_t InterpreterState::evaluate() {
    read_token();
    return evaluate_current();
}

int32_t InterpreterState::evaluate_current() {
    if (tok->len == 0) report_error(ERR_NO_EXPRESSION);
    if (tok->is(';')) return 0;
    int32_t result = 0;
    eval_assignment(result);
    unread_token();
    return result;
}

// assignment = variable ("=" assignment | "++" | "--" | "+=" expr | "-=" expr) | comparison
void InterpreterState::eval_assignment(int32_t& result) {
    DepthGuard guard(*this);
    // The right-hand side cannot change which variable a name denotes (calls
    // pop what they push), so the slot found here is the one stored into.
    if (VarSlot* var = tok->TokenKind == TK_NAME ? find_variable(tok->id) : nullptr) {
        const Token* name = tok;
        read_token();
        if (tok->is('=')) {
            read_token();
            eval_assignment(result);
            var->value = result;
            return;
        }
        switch (tok->op) {
            case OP_INC:
            case OP_DEC:
                result = wrap_add(var->value, tok->op == OP_INC ? 1 : -1);
                var->value = result;
                read_token();
                return;
            case OP_ADD_ASSIGN:
            case OP_SUB_ASSIGN: {
                const uint8_t op = tok->op;
                const int32_t left = var->value;
                const int32_t right = evaluate();
                result = op == OP_ADD_ASSIGN ? wrap_add(left, right) : wrap_sub(left, right);
                var->value = result;
                read_token();
                return;
            }
            default:
                unread_token();
                tok = name;
                // The primary level reads this same name next: keep the slot.
                found_token = name;
                found_slot = var;
                break;
        }
    }
    eval_comparison(result);
}

// comparison = additive [("<" | "<=" | ">" | ">=" | "==" | "!=" | "&&" | "||") additive]
KORVANE_INLINE void InterpreterState::eval_comparison(int32_t& result) {
    eval_additive(result);
    const uint8_t op = tok->op;
    if (op == OP_NONE) return;
    read_token();
    int32_t right = 0;
    eval_additive(right);
    switch (op) {
        case OP_LT: result = result < right; break;
        case OP_LE: result = result <= right; break;
        case OP_GT: result = result > right; break;
        case OP_GE: result = result >= right; break;
        case OP_EQ: result = result == right; break;
        case OP_NE: result = result != right; break;
        case OP_AND: result = result != 0 && right != 0; break;
        case OP_OR: result = result != 0 || right != 0; break;
        default: break;  // ++ -- += -= after a non-variable: the right side is dropped
    }
}

// additive = multiplicative {("+" | "-" | "|") multiplicative}
KORVANE_INLINE void InterpreterState::eval_additive(int32_t& result) {
    eval_multiplicative(result);
    while (is_additive(*tok)) {
        const char op = tok->TokenText[0];
        read_token();
        int32_t right = 0;
        eval_multiplicative(right);
        if (op == '+') result = wrap_add(result, right);
        else if (op == '-') result = wrap_sub(result, right);
        else result |= right;
    }
}

// multiplicative = sign {("*" | "/" | "%" | "&") sign}
KORVANE_INLINE void InterpreterState::eval_multiplicative(int32_t& result) {
    eval_sign(result);
    while (is_multiplicative(*tok)) {
        const char op = tok->TokenText[0];
        read_token();
        int32_t right = 0;
        eval_sign(right);
        if (op == '*') {
            result = wrap_mul(result, right);
        } else if (op == '&') {
            result &= right;
        } else {
            if (right == 0) report_error(ERR_DIVISION_BY_ZERO);
            // The most negative value divided by -1 wraps to itself.
            const bool wraps = result == std::numeric_limits<int32_t>::min() && right == -1;
            if (op == '/') result = wraps ? result : result / right;
            else result = wraps ? 0 : result % right;
        }
    }
}

// sign = ["+" | "-"] parenthesized
KORVANE_INLINE void InterpreterState::eval_sign(int32_t& result) {
    char sign = 0;
    if (tok->is('+') || tok->is('-')) {
        sign = tok->TokenText[0];
        read_token();
    }
    eval_parenthesized(result);
    if (sign == '-') result = wrap_sub(0, result);
}

// parenthesized = "(" assignment ")" | primary
KORVANE_INLINE void InterpreterState::eval_parenthesized(int32_t& result) {
    if (!tok->is('(')) {
        eval_primary(result);
        return;
    }
    read_token();
    eval_assignment(result);
    if (!tok->is(')')) report_error(ERR_PARENS_EXPECTED);
    read_token();
}

// primary = "'" char "'" | number | builtin-call | function-call | variable
KORVANE_INLINE void InterpreterState::eval_primary(int32_t& result) {
    switch (tok->TokenKind) {
        case TK_DELIM:
            if (tok->is('\'')) {
                if (cur() == '\0') report_error(ERR_QUOTE_EXPECTED);
                result = static_cast<int8_t>(cur());
                ++ScanPos;
                if (cur() != '\'') report_error(ERR_QUOTE_EXPECTED);
                ++ScanPos;
                read_token();
                return;
            }
            if (tok->is(')')) return;  // lets an empty argument list through
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
            return;
        }
        case TK_NUMBER:
            result = tok->number;
            read_token();
            return;
        default:
            report_error(ERR_SYNTAX);
    }
}

}  // namespace korvane
