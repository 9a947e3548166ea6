// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluator: recursive descent straight over the tokens, carried out on
// the interpreter's own stack. An OPERATION frame holds what the levels from
// comparison down to the sign keep while an operand is read; an operand in
// parentheses, a call or a built-in waits in that frame for its value.
#include "arithmetic.h"
#include "simple_run.h"

namespace korvane {

// One loop over the expression frames: an assignment, the operands of its
// levels, the values of calls and built-ins, until the value reaches the
// frame that asked for it (a statement) or a call's body is to run. It never
// calls itself, so native frames never nest with the text.
// The places in an expression where reading goes on.
enum class Step : uint8_t { EVALUATE, NOT_SIMPLE, ASSIGNMENT, OPERAND, OPERAND_VALUE, ASSIGNED, EVALUATED, CALL_VALUE };

[[gnu::always_inline]] inline bool InterpreterState::simple_arguments_given() {
    int32_t given_values[kMaxArguments];
    const SimpleArguments* list = simple_argument_list();
    if (list == nullptr || !simple_argument_values(*list, given_values)) {
        read_token();
        return false;
    }
    enter_call_with(given_values, list->count);
    return true;
}

void InterpreterState::run_expression(Entry entry) {
    int32_t v = 0;
    Step step = Step::EVALUATE;
    // After a number or a plain variable that starts an assignment: it is the
    // assignment's value, or the first operand of its comparison when an
    // operator follows.
    // A built-in that took a value: its result is the operand when it is
    // done, else its next value is read.
    const auto builtin_step = [this, &v](bool done) {
        if (done) {
            v = builtin_result;
            return Step::CALL_VALUE;
        }
        read_token();
        return Step::EVALUATE;
    };
    const auto lone_operand = [this] {
        if (tok->level == LEVEL_NONE) return Step::ASSIGNED;
        push(FrameKind::OPERATION).op = OperationFrame{};
        return Step::OPERAND_VALUE;
    };
    switch (entry) {
        case Entry::EVALUATE: read_token(); break;
        case Entry::CURRENT: step = Step::NOT_SIMPLE; break;
        case Entry::OPERAND: step = Step::OPERAND; break;
        case Entry::CALL_VALUE:
            v = given;
            step = Step::CALL_VALUE;
            break;
    }
    for (;;) {
        switch (step) {
                // evaluate = ";" | assignment, with its first token read; its value is
                // given after putting back the token that ended it.
            case Step::EVALUATE:
                if (simple_value(v)) {
                    step = Step::EVALUATED;
                    continue;
                }
                [[fallthrough]];
            case Step::NOT_SIMPLE:
                if (tok->len == 0) report_error(ERR_NO_EXPRESSION, *tok);
                if (tok->is(';')) {
                    v = 0;
                    step = Step::EVALUATED;
                    continue;
                }
                [[fallthrough]];
                // assignment = variable ("=" assignment | "++" | "--" | "+=" expr | "-=" expr) | comparison
                // A number or a plain variable read here is the first operand of the
                // comparison when an operator follows it, as the primary level would read it.
            case Step::ASSIGNMENT:
                check_depth();
                if (tok->kind == TK_NUMBER) {
                    v = tok->number;
                    read_token();
                    step = lone_operand();
                    continue;
                }
                // The right-hand side cannot change which variable a name denotes (calls
                // pop what they push), so the slot found here is the one stored into.
                if (VarSlot* var = tok->kind == TK_NAME ? find_variable(tok->id) : nullptr) {
                    const Token* name = tok;
                    read_token();
                    if (tok->is('=')) {
                        read_token();
                        StoreFrame& store = push(FrameKind::STORE).store;
                        store.var = var;
                        store.op = OP_NONE;
                        step = Step::ASSIGNMENT;
                        continue;
                    }
                    switch (tok->op) {
                        case OP_INC:
                        case OP_DEC:
                            var->value = wrap_add(var->value, tok->op == OP_INC ? 1 : -1);
                            read_token();
                            v = var->value;
                            step = Step::ASSIGNED;
                            continue;
                        case OP_ADD_ASSIGN:
                        case OP_SUB_ASSIGN: {
                            StoreFrame& store = push(FrameKind::STORE).store;
                            store.var = var;
                            store.left = var->value;
                            store.op = tok->op;
                            read_token();
                            step = Step::EVALUATE;
                            continue;
                        }
                        default: break;
                    }
                    // A built-in or a function of the same name is called when read.
                    if (name->builtin < 0 && function_of_id[static_cast<size_t>(name->id)] < 0) {
                        v = var->value;
                        step = lone_operand();
                        continue;
                    }
                    unread_token();
                    tok = name;
                }
                push(FrameKind::OPERATION).op = OperationFrame{};
                [[fallthrough]];
                // sign = ["+" | "-"] parenthesized, parenthesized = "(" assignment ")" | primary,
                // primary = "'" char "'" | number | builtin-call | function-call | variable
            case Step::OPERAND:
                if (tok->is('+') || tok->is('-')) {
                    frames.back().op.sign = tok->ch;
                    read_token();
                }
                switch (tok->kind) {
                    case TK_DELIM:
                        if (tok->is('(')) {
                            read_token();
                            step = Step::ASSIGNMENT;
                            continue;
                        }
                        if (tok->is('\'')) {
                            if (cur() == '\0') report_error(ERR_QUOTE_EXPECTED, *tok);
                            v = literal_character();
                            if (cur() != '\'') report_error(ERR_QUOTE_EXPECTED, *tok);
                            ++scan_pos;
                            read_token();
                            break;
                        }
                        // Lets an empty argument list through; the operand has no value.
                        if (tok->is(')')) {
                            v = 0;
                            break;
                        }
                        report_error(ERR_SYNTAX, *tok);
                    case TK_NAME:
                        if (tok->builtin >= 0) {
                            step = builtin_step(start_builtin(tok->builtin));
                            continue;
                        }
                        if (const int32_t function = function_of(tok->id); function >= 0) {
                            start_call(function);
                            if (simple_arguments_given()) return;  // its body begins
                            // Simple arguments go straight to the call; the first
                            // that is not is evaluated from its first token.
                            while (simple_value(v)) {
                                if (!argument_value(v)) return;  // its body begins
                                read_token();
                            }
                            step = Step::EVALUATE;
                            continue;
                        }
                        v = load_variable(tok->id);
                        read_token();
                        break;
                    case TK_NUMBER:
                        v = tok->number;
                        read_token();
                        break;
                    default: report_error(ERR_SYNTAX, *tok);
                }
                [[fallthrough]];
                // v is an operand of the top OPERATION frame
            case Step::OPERAND_VALUE:
                if (apply_operand(*this, frames.back().op, v, *tok)) {
                    read_token();
                    step = Step::OPERAND;
                    continue;
                }
                frames.pop_back();
                [[fallthrough]];
                // v is the value of an assignment, for the top frame
            case Step::ASSIGNED:
                switch (frames.back().kind) {
                    case FrameKind::OPERATION:  // the assignment was an operand in parentheses
                        if (!tok->is(')')) report_error(ERR_PARENS_EXPECTED, *tok);
                        read_token();
                        step = Step::OPERAND_VALUE;
                        continue;
                    case FrameKind::STORE:
                        if (frames.back().store.op == OP_NONE) {
                            frames.back().store.var->value = v;
                            frames.pop_back();
                            step = Step::ASSIGNED;
                            continue;
                        }
                        break;
                    case FrameKind::STATEMENTS:
                    case FrameKind::EXPRESSION_STATEMENT:
                    case FrameKind::IF:
                    case FrameKind::WHILE:
                    case FrameKind::DO:
                    case FrameKind::FOR:
                    case FrameKind::RETURN:
                    case FrameKind::ARGUMENTS:
                    case FrameKind::CALL:
                    case FrameKind::BUILTIN:
                    case FrameKind::COLLECTION:
                    case FrameKind::TEXT: break;
                }
                unread_token();
                [[fallthrough]];
                // v is the value of evaluate(), for the top frame
            case Step::EVALUATED:
                switch (frames.back().kind) {
                    case FrameKind::STORE: {
                        const StoreFrame store = frames.back().store;
                        store.var->value =
                            store.op == OP_ADD_ASSIGN ? wrap_add(store.left, v) : wrap_sub(store.left, v);
                        read_token();
                        v = store.var->value;
                        frames.pop_back();
                        step = Step::ASSIGNED;
                        continue;
                    }
                    case FrameKind::ARGUMENTS:
                        if (!argument_value(v)) return;
                        read_token();
                        step = Step::EVALUATE;
                        continue;
                    case FrameKind::BUILTIN:
                    case FrameKind::COLLECTION:
                    case FrameKind::TEXT: step = builtin_step(builtin_value(v)); continue;
                    case FrameKind::EXPRESSION_STATEMENT:  // its `;` ends it
                        if (!tok->is(';')) report_error(ERR_SEMICOLON_EXPECTED, *tok);
                        frames.pop_back();
                        return continue_statements();
                    case FrameKind::IF:
                    case FrameKind::WHILE:
                    case FrameKind::DO:
                    case FrameKind::FOR:
                    case FrameKind::RETURN: return give(v);
                    case FrameKind::STATEMENTS:
                    case FrameKind::OPERATION:
                    case FrameKind::CALL: misplaced_frame();
                }
                [[fallthrough]];
                // v is the value of a call or a built-in, for the top OPERATION frame
            case Step::CALL_VALUE:
                read_token();
                step = Step::OPERAND_VALUE;
                continue;
        }
    }
}

}  // namespace korvane
