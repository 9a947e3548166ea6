// SPDX-License-Identifier: GPL-3.0-or-later
// The statement executor: runs one statement or one brace block straight
// from the text. Loops are made by moving ScanPos back.
#include "state.h"

namespace korvane {

// Counts a step (a statement, or a brace of a block), with its first token
// read; every kPollInterval steps the bridge may report a Halt. With a step
// limit of N, N steps run and the next one is refused; a stop names the line
// of the step it keeps from running.
void InterpreterState::count_step() {
    if (++steps < next_step_event) return;
    if (step_limit != 0 && steps > step_limit) report_error_at(ERR_STEP_LIMIT, tok->start);
    switch (bridge.bridge_poll()) {
        case Bridge::POLL_GO_ON: break;
        case Bridge::POLL_TIME_UP: report_error_at(ERR_TIME_LIMIT, tok->start);
        default: report_error_at(ERR_USER_HALT, tok->start);
    }
    next_step_event = steps + kPollInterval;
    if (step_limit != 0 && next_step_event > step_limit) next_step_event = step_limit + 1;
}

// A pass of the innermost running loop, or the first pass of a loop inside it.
void InterpreterState::enter_loop_pass(uint32_t at) {
    if (!loops.empty() && loops.back().at == at && loops.back().calls == CallTop)
        ++loops.back().passes;
    else
        loops.push_back(LoopPass{at, 1, CallTop});
}

void InterpreterState::leave_loop(uint32_t at) {
    if (!loops.empty() && loops.back().at == at && loops.back().calls == CallTop) loops.pop_back();
}

// statements = statement | "{" {statement} "}"
void InterpreterState::exec_statements() {
    check_stack();
    bool block = false;
    do {
        if (unwind != Unwind::NONE) return;
        read_token();
        count_step();
        if (pauses.armed) statement_stop();
        switch (tok->TokenKind) {
            case TK_NAME:
                // The `;` is left to be read as the next token.
                evaluate_current();
                if (!tok->is(';')) report_error(ERR_SEMICOLON_EXPECTED);
                break;
            case TK_BRACE:
                if (tok->TokenText[0] == '}') return;
                block = true;
                break;
            case TK_KEYWORD:
                switch (tok->KeywordCode) {
                    case KW_INT:
                    case KW_CHAR:
                        unread_token();
                        define_locals();
                        break;
                    case KW_IF: run_if(); break;
                    case KW_ELSE: skip_statement(); break;
                    case KW_FOR: run_for(); break;
                    case KW_DO: run_do(); break;
                    case KW_WHILE: run_while(); break;
                    case KW_RETURN: run_return(); return;
                    case KW_END: throw EndRequested{};
                    case KW_BREAK: unwind = Unwind::BREAK; return;
                    case KW_CONTINUE: unwind = Unwind::CONTINUE; return;
                    default: break;
                }
                break;
            default: break;  // numbers, strings, operators, stray characters: passed over
        }
    } while (!tok->at_eof() && block);
}

// Skips the statement or block that the current token begins: a `{` that was
// just put back is skipped with its nested blocks, anything else up to the
// `;` or `}` that ends it at brace and parenthesis depth 0.
void InterpreterState::skip_body() {
    if (tok->is_brace('{') && ScanPos == tok->start) {
        memo_pass(Pass::BLOCK, [this] {
            read_token();
            for (int depth = 1; depth > 0;) {
                read_token();
                if (tok->at_eof()) report_error(ERR_UNBALANCED_BRACES);
                if (tok->is_brace('{')) ++depth;
                if (tok->is_brace('}')) --depth;
            }
        });
        return;
    }
    skip_statement();
}

// Skips from ScanPos to the end of one statement.
void InterpreterState::skip_statement() {
    memo_pass(Pass::STATEMENT, [this] { pass_statement(); });
}

void InterpreterState::pass_statement() {
    int braces = 0, parens = 0;
    for (;;) {
        read_token();
        if (tok->at_eof()) report_error(ERR_SEMICOLON_EXPECTED);
        if (tok->is_brace('{'))
            ++braces;
        else if (tok->is_brace('}'))
            --braces;
        else if (tok->is('('))
            ++parens;
        else if (tok->is(')'))
            --parens;
        if (braces == 0 && parens == 0 && (tok->is(';') || tok->is_brace('}'))) return;
    }
}

// if = "if" expr statements ["else" statements]
void InterpreterState::run_if() {
    if (evaluate() != 0) {
        exec_statements();
        return;
    }
    skip_body();
    read_token();
    if (tok->is_keyword(KW_ELSE))
        exec_statements();
    else
        unread_token();
}

// Ends a loop whose body starts at body: a break leaves ScanPos after the
// body; true when the loop must stop.
namespace {

bool loop_ends(InterpreterState& s, uint32_t body) {
    switch (s.unwind) {
        case Unwind::RETURN: return true;
        case Unwind::BREAK:
            s.unwind = Unwind::NONE;
            s.ScanPos = body;
            s.skip_statement();
            return true;
        case Unwind::CONTINUE: s.unwind = Unwind::NONE; return false;
        case Unwind::NONE: return false;
    }
    return false;
}

}  // namespace

// while = "while" expr statements; the enclosing executor reads the `while`
// again for the next pass.
void InterpreterState::run_while() {
    const uint32_t loop = tok->start;  // where the `while` is read again
    if (evaluate() == 0) {
        leave_loop(loop);
        skip_body();
        return;
    }
    enter_loop_pass(loop);
    const uint32_t body = ScanPos;
    exec_statements();
    if (loop_ends(*this, body)) {
        leave_loop(loop);
        return;
    }
    ScanPos = loop;
}

// Skips `while` and its condition after a do body left by break.
namespace {

void skip_do_condition(InterpreterState& s) {
    s.read_token();
    if (!s.tok->is_keyword(KW_WHILE)) s.report_error(ERR_WHILE_EXPECTED);
    for (int parens = 0;;) {
        s.read_token();
        if (s.tok->at_eof()) s.report_error(ERR_SEMICOLON_EXPECTED);
        if (s.tok->is('(')) ++parens;
        if (s.tok->is(')')) --parens;
        if (parens <= 0 && s.tok->is(';')) break;
    }
    s.unread_token();
}

}  // namespace

// do = "do" statements "while" expr
void InterpreterState::run_do() {
    const uint32_t loop = tok->start;  // where the `do` is read again
    const uint32_t body = ScanPos;
    enter_loop_pass(loop);
    exec_statements();
    if (unwind == Unwind::RETURN) {
        leave_loop(loop);
        return;
    }
    if (unwind == Unwind::BREAK) {
        leave_loop(loop);
        loop_ends(*this, body);
        skip_do_condition(*this);
        return;
    }
    if (unwind == Unwind::CONTINUE) {
        unwind = Unwind::NONE;
        ScanPos = body;
        skip_statement();
    }
    if (pauses.armed) part_stop(ScanPos);
    read_token();
    if (!tok->is_keyword(KW_WHILE)) report_error(ERR_WHILE_EXPECTED);
    if (evaluate() != 0) {
        ScanPos = loop;
        if (pauses.armed) pauses.do_again = loop;
    } else {
        leave_loop(loop);
    }
}

// for = "for" "(" expr ";" expr ";" expr ")" statements
void InterpreterState::run_for() {
    const uint32_t loop = tok->start;
    read_token();  // the `(`, not checked
    evaluate();
    if (!tok->is(';')) report_error(ERR_SEMICOLON_EXPECTED);
    step_over(1);
    const uint32_t condition = ScanPos;
    for (;;) {
        if (pauses.armed) part_stop(ScanPos);
        const int32_t go_on = evaluate();
        if (!tok->is(';')) report_error(ERR_SEMICOLON_EXPECTED);
        step_over(1);
        const uint32_t increment = ScanPos;
        memo_pass(Pass::INCREMENT, [this] {
            for (int depth = 1; depth > 0;) {
                read_token();
                if (tok->at_eof()) report_error(ERR_PARENS_EXPECTED);
                if (tok->is('(')) ++depth;
                if (tok->is(')')) --depth;
            }
        });
        const uint32_t body = ScanPos;
        if (go_on == 0) {
            leave_loop(loop);
            skip_statement();
            return;
        }
        enter_loop_pass(loop);
        exec_statements();
        if (loop_ends(*this, body)) {
            leave_loop(loop);
            return;
        }
        ScanPos = increment;
        if (pauses.armed) part_stop(ScanPos);
        evaluate();
        ScanPos = condition;
    }
}

// return = "return" [expr]
void InterpreterState::run_return() {
    ReturnValue = evaluate();
    unwind = Unwind::RETURN;
}

// locals = ("int" | "char") name {"," name} ";"
void InterpreterState::define_locals() {
    read_token();
    const uint8_t type = tok->KeywordCode;
    do {
        read_token();
        VarSlot slot{};
        slot.id = copy_name(*this, slot.name, *tok);
        slot.kind = type;
        push_variable(slot);
        read_token();
    } while (tok->is(','));
    if (!tok->is(';')) report_error(ERR_SEMICOLON_EXPECTED);
}

}  // namespace korvane
