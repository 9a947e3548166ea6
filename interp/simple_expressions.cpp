// SPDX-License-Identifier: GPL-3.0-or-later
// Finding simple expressions: read once at an expression's first token, the
// tokens say whether the evaluator can take the expression whole. The
// evaluator on frames would read exactly these tokens and end at the same
// one; it still takes every expression that is not simple.
#include <algorithm>

#include "arithmetic.h"
#include "state.h"

namespace korvane {

// Decides once for the expression whose first token is current, keeping
// where the scanner stands and what an error report would keep.
int32_t InterpreterState::look_for_simple() {
    const uint32_t pos = ScanPos;
    const Token* first = tok;
    const int64_t place = error_place;
    const bool was_quiet = quiet;
    const size_t kept = simple_items.size();
    quiet = true;
    int32_t index = kNotSimple;
    try {
        // `(a < b)` is taken without its parentheses, `(a + b) * c` with them.
        for (const bool whole_in_parentheses : {true, false}) {
            ScanPos = pos;
            tok = first;
            SimpleExpression e{};
            e.first = static_cast<uint32_t>(simple_items.size());
            if (find_simple(e, whole_in_parentheses)) {
                simple.push_back(e);
                index = static_cast<int32_t>(simple.size() - 1);
                break;
            }
            simple_items.resize(e.first);
        }
    } catch (const ErrorReport&) {
        // A token the scanner refuses: the frames will report it in its turn.
        simple_items.resize(kept);
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

// ["("] (name ("++" | "--") | [name "="] operation) [")"] end, where end
// continues no operation and is not the end of the text.
bool InterpreterState::find_simple(SimpleExpression& e, bool whole_in_parentheses) {
    if (whole_in_parentheses) {
        if (!tok->is('(')) return false;
        read_token();
    }
    const Token* first = tok;
    const uint32_t after_first = ScanPos;
    read_token();
    e.form = SimpleExpression::VALUE;
    if (first->TokenKind == TK_NAME && (tok->is('=') || tok->op == OP_INC || tok->op == OP_DEC)) {
        e.target = first;
        if (tok->is('=')) {
            e.form = SimpleExpression::ASSIGN;
            read_token();
        } else {
            e.form = SimpleExpression::STEP;
            simple_items.push_back(tok);
            ++e.count;
            read_token();
        }
    } else {
        ScanPos = after_first;
        tok = first;
    }
    if (e.form != SimpleExpression::STEP && !find_operation(e)) return false;
    if (whole_in_parentheses) {
        if (!tok->is(')')) return false;
        read_token();
        if (tok->level != LEVEL_NONE) return false;
        ++e.depth;
    }
    if (tok->at_eof()) return false;
    e.end = tok;
    simple_items.push_back(tok);  // after the last item, so the token after each item is at hand
    e.frames_bytes = static_cast<size_t>(2 + 3 * e.depth) * sizeof(Frame);
    return true;
}

namespace {

// Where an assignment may begin, a variable followed by one of these would
// be assigned to.
bool assigns(const Token& t) {
    return t.is('=') || t.op == OP_INC || t.op == OP_DEC || t.op == OP_ADD_ASSIGN || t.op == OP_SUB_ASSIGN;
}

}  // namespace

// operation = operand {op operand} with at most one comparison,
// operand = ["+" | "-"] (plain | "(" operation ")" | "abs" "(" operation ")"
// | "getpel" "(" operation "," operation ")"); from the current token, to
// the token after it.
bool InterpreterState::find_operation(SimpleExpression& e) {
    // Per depth: whether a comparison was read, the values the built-in
    // that opened it takes (0 for a parenthesis), whether its `,` was read.
    bool compared[kMaxSimpleDepth + 1] = {}, comma[kMaxSimpleDepth + 1] = {};
    int takes[kMaxSimpleDepth + 1] = {};
    int depth = 0;
    bool may_assign = true;  // at the start, or just inside a parenthesis
    const auto keep = [&](const Token* t) {
        if (e.count == kMaxSimpleItems) return false;
        simple_items.push_back(t);
        ++e.count;
        read_token();
        return true;
    };
    const auto open = [&](int taken) {
        if (depth == kMaxSimpleDepth) return false;
        ++depth;
        compared[depth] = comma[depth] = false;
        takes[depth] = taken;
        e.depth = std::max(e.depth, depth);
        may_assign = true;
        return keep(tok);
    };
    for (;;) {
        if (tok->is('+') || tok->is('-')) {
            if (!keep(tok)) return false;
            may_assign = false;
        }
        if (tok->builtin >= 0) {
            const int taken = pure_builtin_values(tok->builtin);
            if (taken == 0 || !keep(tok) || !tok->is('(') || !open(taken)) return false;
            e.calls = true;
            continue;
        }
        if (tok->is('(')) {
            if (!open(0)) return false;
            continue;
        }
        if (!plain(*this, *tok) || !keep(tok)) return false;
        if (may_assign && simple_items.back()->TokenKind == TK_NAME && assigns(*tok)) return false;
        // The operations this operand ends, each closed by its `)`, or
        // by the `,` before a built-in's second value.
        bool second_value = false;
        while (!second_value && tok->level == LEVEL_NONE) {
            if (depth == 0) {
                const Token* const* items = simple_items.data() + e.first;
                e.flat = e.count == 1 || (e.count == 3 && items[1]->level != LEVEL_NONE);
                e.chain = e.depth == 0;
                for (int i = 0; e.chain && i < e.count; i += 2) e.chain = plain(*this, *items[i]);
                return true;
            }
            second_value = tok->is(',') && takes[depth] == 2 && !comma[depth];
            if (second_value) {
                comma[depth] = true;
                compared[depth] = false;
                may_assign = true;
            } else if (!tok->is(')') || (takes[depth] == 2 && !comma[depth])) {
                return false;
            } else {
                --depth;
            }
            if (!keep(tok)) return false;
        }
        if (second_value) continue;
        // After a comparison another ends the operation though it is no end.
        if (!binary(*tok) || (compared[depth] && tok->level == LEVEL_COMPARISON)) return false;
        compared[depth] = compared[depth] || tok->level == LEVEL_COMPARISON;
        if (!keep(tok)) return false;
        may_assign = false;
    }
}

// The levels of each parenthesis at once, as the frames would hold them;
// false for a variable that is not there. A built-in is called as the
// frames would call it, in the same order; a division by zero is reported
// as they report it.
bool InterpreterState::simple_operation(const SimpleExpression& e, int32_t& v) {
    OperationFrame levels[kMaxSimpleDepth + 1];
    const Token* opened_by[kMaxSimpleDepth + 1];  // the built-in, or null for a parenthesis
    int32_t first_value[kMaxSimpleDepth + 1];
    int depth = 0;
    levels[0] = OperationFrame{};
    const Token* const* items = simple_items.data() + e.first;
    for (int i = 0;;) {
        const Token* t = items[i++];
        if (t->is('+') || t->is('-')) {
            levels[depth].sign = t->ch;
            t = items[i++];
        }
        const bool calls = t->builtin >= 0;
        if (calls || t->is('(')) {
            ++depth;
            levels[depth] = OperationFrame{};
            opened_by[depth] = calls ? t : nullptr;
            i += calls ? 1 : 0;  // the built-in's `(`
            continue;
        }
        if (!plain_operand(*t, v)) return false;
        // v completes the levels of this depth and of those it closes.
        for (;;) {
            const Token& after = *items[i];
            if (apply_operand(*this, levels[depth], v, after)) break;
            if (depth == 0) return true;
            if (after.is(',')) {
                first_value[depth] = v;
                levels[depth] = OperationFrame{};
                break;
            }
            if (const Token* builtin = opened_by[depth]; builtin != nullptr) {
                const bool two = pure_builtin_values(builtin->builtin) == 2;
                v = pure_builtin(builtin->builtin, two ? first_value[depth] : v, v);
            }
            --depth;
            ++i;  // the `)`
        }
        ++i;  // the operator or the `,`
    }
}

}  // namespace korvane
