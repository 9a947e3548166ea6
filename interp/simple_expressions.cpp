// SPDX-License-Identifier: GPL-3.0-or-later
// Finding simple expressions: read once at an expression's first token, the
// tokens say whether the evaluator can take the expression whole. The
// evaluator on frames would read exactly these tokens and end at the same
// one; it still takes every expression that is not simple.
#include "state.h"

namespace korvane {

// Decides once for the expression whose first token is current, keeping
// where the scanner stands and what an error report would keep.
int32_t InterpreterState::look_for_simple() {
    const uint32_t pos = ScanPos;
    const Token* first = tok;
    const int64_t place = error_place;
    const bool was_quiet = quiet;
    quiet = true;
    int32_t index = kNotSimple;
    try {
        if (SimpleExpression e{}; find_simple(e)) {
            simple.push_back(e);
            index = static_cast<int32_t>(simple.size() - 1);
        }
    } catch (const ErrorReport&) {
        // A token the scanner refuses: the frames will report it in its turn.
    }
    quiet = was_quiet;
    error_place = place;
    ScanPos = pos;
    tok = first;
    simple_at[first->start] = index;
    return index;
}

namespace {

// A number, or a name that can only be a variable.
bool plain(const InterpreterState& s, const Token& t) {
    if (t.TokenKind == TK_NUMBER) return true;
    return t.TokenKind == TK_NAME && t.builtin < 0 && s.function_of_id[static_cast<size_t>(t.id)] < 0;
}

// The operators that only combine two values; ++ -- += -= between two
// operands do something else.
bool binary(const Token& t) {
    if (t.level == LEVEL_COMPARISON)
        return t.op != OP_INC && t.op != OP_DEC && t.op != OP_ADD_ASSIGN && t.op != OP_SUB_ASSIGN;
    return t.level != LEVEL_NONE;
}

}  // namespace

// ["("] (name ("++" | "--") | [name "="] operand {op operand}) [")"] end,
// where end continues no operation and is not the end of the text.
bool InterpreterState::find_simple(SimpleExpression& e) {
    const bool parens = tok->is('(');
    if (parens) read_token();
    const Token* first = tok;
    read_token();
    e.form = SimpleExpression::VALUE;
    if (first->TokenKind == TK_NAME && (tok->is('=') || tok->op == OP_INC || tok->op == OP_DEC)) {
        e.target = first;
        if (tok->is('=')) {
            e.form = SimpleExpression::ASSIGN;
            read_token();
            first = tok;
            read_token();
        } else {
            e.form = SimpleExpression::STEP;
            e.items[e.count++] = tok;
            read_token();
        }
    }
    if (e.form != SimpleExpression::STEP) {
        // A variable read where an assignment may begin would be assigned to.
        if (first->TokenKind == TK_NAME && (tok->is('=') || tok->op == OP_INC || tok->op == OP_DEC ||
                                            tok->op == OP_ADD_ASSIGN || tok->op == OP_SUB_ASSIGN))
            return false;
        // After a comparison, another ends the operation though it is no end.
        bool compared = false;
        for (const Token* operand = first;; read_token()) {
            if (!plain(*this, *operand) || e.count == 2 * kMaxSimpleOperands - 1) return false;
            e.items[e.count++] = operand;
            if (tok->level == LEVEL_NONE) break;
            if (!binary(*tok) || (compared && tok->level == LEVEL_COMPARISON)) return false;
            compared = compared || tok->level == LEVEL_COMPARISON;
            e.items[e.count++] = tok;
            read_token();
            operand = tok;
        }
    }
    if (parens) {
        if (!tok->is(')')) return false;
        read_token();
        if (tok->level != LEVEL_NONE) return false;
    }
    if (tok->at_eof()) return false;
    e.end = tok;
    return true;
}

}  // namespace korvane
