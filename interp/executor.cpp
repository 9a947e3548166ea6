// SPDX-License-Identifier: GPL-3.0-or-later
// The statement executor: runs one statement or one brace block straight
// from the text, on the interpreter's own stack. Loops are made by moving
// scan_pos back.
#include "simple_run.h"
#include "state.h"

// The handlers of statements are inlined into the loop that runs them.
#define KORVANE_INLINE [[gnu::always_inline]] inline

namespace korvane {

// An expression for the top frame, its first token to be read: a simple
// one's value goes to `then` at once, without a turn of its own; any other
// comes back from its item list in the next turn.
template <void (InterpreterState::*then)()>
KORVANE_INLINE void InterpreterState::evaluate_then() {
    read_token();
    if (int32_t v = 0; simple_value(v)) {
        given = v;
        return (this->*then)();
    }
    run_list(FrameKind::STATEMENTS);
}

KORVANE_INLINE void InterpreterState::evaluate() {
    read_token();
    if (int32_t v = 0; simple_value(v)) return give(v);
    run_list(FrameKind::STATEMENTS);
}

// Counts a step (a statement, or a brace of a block), with its first token
// read; every kPollInterval steps the bridge may report a Halt. With a step
// limit of N, N steps run and the next one is refused; a stop names the line
// of the step it keeps from running. While something could pause, every
// step comes here and may pause before it runs.
void InterpreterState::step_event() {
    if (steps >= next_poll) {
        if (step_limit != 0 && steps > step_limit) report_error_at(ERR_STEP_LIMIT, tok->start);
        switch (bridge.bridge_poll()) {
            case Bridge::POLL_GO_ON: break;
            case Bridge::POLL_YIELD: suspend(Wait::STEP);
            case Bridge::POLL_TIME_UP: report_error_at(ERR_TIME_LIMIT, tok->start);
            default: report_error_at(ERR_USER_HALT, tok->start);
        }
        next_poll = steps + kPollInterval;
        if (step_limit != 0 && next_poll > step_limit) next_poll = step_limit + 1;
    }
    if (pauses.armed) statement_stop();
    aim_step_event();
}

void InterpreterState::first_poll_at(uint64_t step) {
    next_poll = step;
    aim_step_event();
}

void InterpreterState::rearm_pauses() {
    pauses.rearm();
    aim_step_event();
}

void InterpreterState::leave_loop(uint32_t at) {
    if (!loops.empty() && loops.back().at == at && loops.back().calls == call_top) loops.pop_back();
}

// A value for a statement's frame (an expression statement's never comes
// here: its list ends it, items_done).
KORVANE_INLINE void InterpreterState::statement_value() {
    switch (frames.back().kind) {
        case FrameKind::RETURN:
            return_value = given;
            unwind = Unwind::RETURN;
            frames.pop_back();
            return end_statements();
        case FrameKind::IF: return if_value();
        case FrameKind::WHILE: return while_value();
        case FrameKind::DO: return do_value();
        case FrameKind::FOR: return for_value();
        case FrameKind::ITEMS: return resume_items();
        case FrameKind::STATEMENTS:
        case FrameKind::EXPRESSION_STATEMENT:
        case FrameKind::OPERATION:
        case FrameKind::ARGUMENTS:
        case FrameKind::CALL:
        case FrameKind::BUILTIN:
        case FrameKind::COLLECTION:
        case FrameKind::TEXT: misplaced_frame();
    }
}

// The statements a frame started have ended.
KORVANE_INLINE void InterpreterState::statements_done() {
    switch (frames.back().kind) {
        case FrameKind::IF: frames.pop_back(); return continue_statements();
        case FrameKind::WHILE: return while_done();
        case FrameKind::DO: return do_done();
        case FrameKind::FOR: return for_done();
        case FrameKind::CALL: return leave_call();
        case FrameKind::STATEMENTS:
        case FrameKind::EXPRESSION_STATEMENT:
        case FrameKind::RETURN:
        case FrameKind::OPERATION:
        case FrameKind::ARGUMENTS:
        case FrameKind::BUILTIN:
        case FrameKind::COLLECTION:
        case FrameKind::TEXT:
        case FrameKind::ITEMS: misplaced_frame();
    }
}

// The top STATEMENTS frame has ended: the frame below takes on in this turn
// (finish_statements leaves it to the next).
KORVANE_INLINE void InterpreterState::end_statements() {
    frames.pop_back();
    statements_done();
}

// Skips the statement or block that the current token begins: a `{` that was
// just put back is skipped with its nested blocks, anything else up to the
// `;` or `}` that ends it at brace and parenthesis depth 0.
KORVANE_INLINE void InterpreterState::skip_body() {
    if (tok->is_brace('{') && scan_pos == tok->start) {
        memo_pass(Pass::BLOCK, [this] {
            read_token();
            for (int depth = 1; depth > 0;) {
                read_token();
                if (tok->at_eof()) report_error(ERR_UNBALANCED_BRACES, *tok);
                if (tok->is_brace('{')) ++depth;
                if (tok->is_brace('}')) --depth;
            }
        });
        return;
    }
    skip_statement();
}

// Skips from scan_pos to the end of one statement.
KORVANE_INLINE void InterpreterState::skip_statement() {
    memo_pass(Pass::STATEMENT, [this] { pass_statement(); });
}

void InterpreterState::pass_statement() {
    int braces = 0, parens = 0;
    for (;;) {
        read_token();
        if (tok->at_eof()) report_error(ERR_SEMICOLON_EXPECTED, *tok);
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
KORVANE_INLINE void InterpreterState::if_value() {
    if (given != 0) return start_statements();
    skip_body();
    read_token();
    if (tok->is_keyword(KW_ELSE)) return start_statements();
    unread_token();
    frames.pop_back();
    continue_statements();
}

// Ends a loop whose body starts at body: a break leaves scan_pos after the
// body; true when the loop must stop.
namespace {

KORVANE_INLINE bool loop_ends(InterpreterState& s, uint32_t body) {
    // Most passes end as they began: one test for them, not the switch's table.
    if (s.unwind == Unwind::NONE) return false;
    switch (s.unwind) {
        case Unwind::RETURN: return true;
        case Unwind::BREAK:
            s.unwind = Unwind::NONE;
            s.scan_pos = body;
            s.skip_statement();
            return true;
        case Unwind::CONTINUE: s.unwind = Unwind::NONE; return false;
        case Unwind::NONE: return false;
    }
    return false;
}

}  // namespace

// while = "while" expr statements; the enclosing statements read the
// `while` again for the next pass.
KORVANE_INLINE void InterpreterState::while_value() {
    LoopFrame& w = frames.back().loop;
    if (given == 0) {
        leave_loop(w.loop);
        skip_body();
        frames.pop_back();
        return continue_statements();
    }
    enter_loop_pass(w.loop);
    w.body = scan_pos;
    start_statements();
}

KORVANE_INLINE void InterpreterState::while_done() {
    const uint32_t loop = frames.back().loop.loop, body = frames.back().loop.body;
    frames.pop_back();
    if (loop_ends(*this, body))
        leave_loop(loop);
    else
        scan_pos = loop;
    continue_statements();
}

// Skips `while` and its condition after a do body left by break.
namespace {

void skip_do_condition(InterpreterState& s) {
    s.read_token();
    if (!s.tok->is_keyword(KW_WHILE)) s.report_error(ERR_WHILE_EXPECTED, *s.tok);
    for (int parens = 0;;) {
        s.read_token();
        if (s.tok->at_eof()) s.report_error(ERR_SEMICOLON_EXPECTED, *s.tok);
        if (s.tok->is('(')) ++parens;
        if (s.tok->is(')')) --parens;
        if (parens <= 0 && s.tok->is(';')) break;
    }
    s.unread_token();
}

}  // namespace

// do = "do" statements "while" expr; the enclosing statements read the
// `do` again for the next pass.
void InterpreterState::start_do() {
    LoopFrame& d = push(FrameKind::DO).loop;
    d.loop = tok->start;
    d.body = scan_pos;
    enter_loop_pass(d.loop);
    start_statements();
}

KORVANE_INLINE void InterpreterState::do_done() {
    const LoopFrame d = frames.back().loop;
    if (unwind == Unwind::RETURN || unwind == Unwind::BREAK) {
        leave_loop(d.loop);
        if (unwind == Unwind::BREAK) {
            loop_ends(*this, d.body);
            skip_do_condition(*this);
        }
        frames.pop_back();
        return continue_statements();
    }
    if (unwind == Unwind::CONTINUE) {
        unwind = Unwind::NONE;
        scan_pos = d.body;
        skip_statement();
    }
    if (pauses.armed) part_stop(scan_pos);
    do_condition_after_stop();
}

void InterpreterState::do_condition_after_stop() {
    read_token();
    if (!tok->is_keyword(KW_WHILE)) report_error(ERR_WHILE_EXPECTED, *tok);
    frames.back().await = Await::CONDITION;
    evaluate();
}

KORVANE_INLINE void InterpreterState::do_value() {
    const uint32_t loop = frames.back().loop.loop;
    frames.pop_back();
    if (given != 0) {
        scan_pos = loop;
        if (pauses.armed) pauses.do_again = loop;
    } else {
        leave_loop(loop);
    }
    continue_statements();
}

// for = "for" "(" expr ";" expr ";" expr ")" statements
void InterpreterState::start_for() {
    Frame& f = push(FrameKind::FOR);
    f.loop.loop = tok->start;
    f.loop.close = nullptr;
    f.await = Await::INITIAL;
    read_token();  // the `(`, not checked
    evaluate();
}

KORVANE_INLINE void InterpreterState::for_condition() {
    if (pauses.armed) part_stop(scan_pos);
    for_condition_after_stop();
}

KORVANE_INLINE void InterpreterState::for_condition_after_stop() {
    frames.back().await = Await::CONDITION;
    evaluate_then<&InterpreterState::for_body>();
}

KORVANE_INLINE void InterpreterState::for_value() {
    Frame& f = frames.back();
    // Every pass but the first comes with its increment's value: one test for it.
    if (f.await == Await::INCREMENT) {
        scan_pos = f.loop.condition;
        return for_condition();
    }
    switch (f.await) {
        case Await::INITIAL:
            if (!tok->is(';')) report_error(ERR_SEMICOLON_EXPECTED, *tok);
            step_over(1);
            f.loop.condition = scan_pos;
            return for_condition();
        case Await::CONDITION: return for_body();
        case Await::INCREMENT:
        case Await::NONE:
        case Await::BODY:
        case Await::FIRST:
        case Await::SECOND: misplaced_frame();
    }
}

// The condition's value is given: the body runs, or the loop ends.
KORVANE_INLINE void InterpreterState::for_body() {
    Frame& f = frames.back();
    if (!tok->is(';')) report_error(ERR_SEMICOLON_EXPECTED, *tok);
    step_over(1);
    f.loop.increment = scan_pos;
    // The increment is passed over as on the loop's first pass.
    if (f.loop.close != nullptr) {
        scan_pos = f.loop.body;
        tok = f.loop.close;
    } else {
        memo_pass(Pass::INCREMENT, [this] {
            for (int depth = 1; depth > 0;) {
                read_token();
                if (tok->at_eof()) report_error(ERR_PARENS_EXPECTED, *tok);
                if (tok->is('(')) ++depth;
                if (tok->is(')')) --depth;
            }
        });
        f.loop.body = scan_pos;
        f.loop.close = tok;
    }
    if (given == 0) {
        leave_loop(f.loop.loop);
        skip_statement();
        frames.pop_back();
        return continue_statements();
    }
    enter_loop_pass(f.loop.loop);
    f.await = Await::BODY;
    start_statements();
}

KORVANE_INLINE void InterpreterState::for_done() {
    Frame& f = frames.back();
    if (loop_ends(*this, f.loop.body)) {
        leave_loop(f.loop.loop);
        frames.pop_back();
        return continue_statements();
    }
    scan_pos = f.loop.increment;
    if (pauses.armed) part_stop(scan_pos);
    for_increment_after_stop();
}

KORVANE_INLINE void InterpreterState::for_increment_after_stop() {
    frames.back().await = Await::INCREMENT;
    evaluate_then<&InterpreterState::for_value>();
}

// A statement that calls a built-in, its name current: an OPERATION frame
// for its value above the statement's, then the built-in's own. Values
// that are simple expressions are handed to the built-in directly, one
// that calls the program's functions waits for them in an item list, and
// a plain `;` after it ends the statement at once. What else follows it
// goes on on the statement's item list (start_tail_items).
void InterpreterState::builtin_statement() {
    check_depth();
    // Where a statement begins its name begins no item list: the statement
    // comes here at once next time.
    tok->simple = kNotSimple;
    push(FrameKind::OPERATION);
    builtin_statement_call();
}

// The built-in whose name is current, in its statement's fresh OPERATION
// frame: from its start, or again once the run waited at its name.
KORVANE_INLINE void InterpreterState::builtin_statement_call() {
    bool done = start_builtin(tok->builtin);
    if (!done && frames.back().kind == FrameKind::COLLECTION) done = simple_collection();
    if (!done) return builtin_values();
    builtin_statement_done();
}

// A built-in that waited at its name goes on: a statement's as it began,
// one an item list holds from its item.
void InterpreterState::resume_builtin() {
    if (frames.back().kind == FrameKind::ITEMS) return retry_items();
    builtin_statement_call();
}

// A drawing call that paused after it drew goes on with its value.
void InterpreterState::resume_after_drawing(int32_t value) {
    if (frames.back().kind == FrameKind::ITEMS) {
        given = value;
        return resume_items();
    }
    builtin_result = value;
    builtin_statement_done();
}

// The built-in's values from its next one, whose first token is to be
// read; an item list that calls a function hands its value back through
// items_done.
void InterpreterState::builtin_values() {
    for (int32_t v = 0;;) {
        read_token();
        if (!simple_value(v)) {
            return run_list(FrameKind::STATEMENTS);
        }
        if (builtin_value(v)) return builtin_statement_done();
    }
}

// A value of the built-in, from an item list.
void InterpreterState::builtin_statement_value(int32_t v) {
    if (builtin_value(v)) return builtin_statement_done();
    builtin_values();
}

// What stands in main's parentheses is read as a call's values, each by
// itself, with main's values' frame on top: `main()`
// is given one value, 0, from its `)`. One on the list that calls a function
// comes back through items_done.
void InterpreterState::main_values() {
    for (int32_t v = 0; simple_value(v); read_token())
        if (!argument_value(v)) return;  // its body begins
    run_list(FrameKind::STATEMENTS);
}

void InterpreterState::main_value(int32_t v) {
    if (!argument_value(v)) return;
    read_token();
    main_values();
}

// The built-in has taken its values, its result in builtin_result. Inlined
// in both places: out of line it cost pixels 0.7% more instructions.
KORVANE_INLINE void InterpreterState::builtin_statement_done() {
    read_token();
    const bool ends = tok->is(';');
    unread_token();
    if (!ends) {
        return start_tail_items();
    }
    frames.pop_back();  // the operation
    frames.pop_back();  // the statement
    continue_statements();
}

// Runs statements, and hands values and ends to the frames of statements,
// until the frames end; a call's value due to an expression goes to its
// item list (leave_call), which returns once its value is due to a
// statement or another call's body begins. A statement that holds an
// expression or other statements pushes a frame for them.
void InterpreterState::run_statements() {
    for (;;) {
        // Statements run with frames to run them in, and never while unwinding.
        if (mode != Mode::STATEMENT) {
            if (frames.empty()) return;
            if (mode == Mode::DONE) {
                statements_done();
            } else {
                statement_value();
            }
            continue;
        }
        read_token();
        count_step();
        // One switch over what the token begins: its kind and keyword in one.
        switch (tok->begins) {
            case BEGINS_NAME:
                // The `;` is left to be read as the next token. A simple
                // expression needs no frame to hand its value to.
                if (int32_t v = 0; simple_value(v)) {
                    if (!tok->is(';')) report_error(ERR_SEMICOLON_EXPECTED, *tok);
                    // A statement alone ends its frame at once: what follows it
                    // goes on in this turn.
                    if (!frames.back().block) {
                        end_statements();
                        continue;
                    }
                    // In a block the `;` is a statement of its own, that does nothing.
                    read_token();
                    count_step();
                    continue;
                }
                if (tok->builtin >= 0 && find_variable(tok->id) == nullptr) {
                    // Where its name stands, for a list of what may follow the built-in.
                    push(FrameKind::EXPRESSION_STATEMENT).builtin.call = tok->start;
                    builtin_statement();
                    continue;
                }
                run_list(FrameKind::EXPRESSION_STATEMENT);
                continue;
            case ENDS_BLOCK: end_statements(); continue;
            case BEGINS_BLOCK: frames.back().block = true; continue;  // neither the end of the text nor of the frame
            case KW_INT:
            case KW_CHAR:
                unread_token();
                define_locals();
                break;
            case KW_IF:
                push(FrameKind::IF).await = Await::CONDITION;
                evaluate_then<&InterpreterState::if_value>();
                continue;
            case KW_ELSE: skip_statement(); break;
            case KW_FOR: start_for(); continue;
            case KW_DO: start_do(); continue;
            case KW_WHILE:
                push(FrameKind::WHILE).loop.loop = tok->start;  // where the `while` is read again
                evaluate_then<&InterpreterState::while_value>();
                continue;
            case KW_RETURN:
                read_token();
                // A simple value needs no frame to wait on.
                if (int32_t v = 0; simple_value(v)) {
                    return_value = v;
                    unwind = Unwind::RETURN;
                    end_statements();
                    continue;
                }
                run_list(FrameKind::RETURN);
                continue;
            case KW_END: throw EndRequested{};
            case KW_BREAK:
                unwind = Unwind::BREAK;
                end_statements();
                continue;
            case KW_CONTINUE:
                unwind = Unwind::CONTINUE;
                end_statements();
                continue;
            default: break;  // numbers, strings, operators, stray characters: passed over
        }
        if (tok->at_eof() || !frames.back().block) finish_statements();
    }
}

// Once a pause before a loop header's part has its command: the part runs.
void InterpreterState::resume_after_part() {
    const Frame& f = frames.back();
    if (f.kind == FrameKind::DO) return do_condition_after_stop();
    if (f.await == Await::BODY) return for_increment_after_stop();
    for_condition_after_stop();
}

// locals = ("int" | "char") name {"," name} ";", its keyword current and put back.
void InterpreterState::define_locals() {
    const uint32_t at = scan_pos;
    if (const int32_t d = declaration_at[at]; d >= 0) {
        const Declaration& kept = declarations[static_cast<size_t>(d)];
        // Where the table would fill, it fills as the text is read.
        if (kept.count <= static_cast<uint32_t>(kMaxLocals - local_top)) {
            const Parameter* local = declared.data() + kept.first;
            for (const Parameter* end = local + kept.count; local != end; ++local) push_local(*local, 0);
            scan_pos = kept.after;
            tok = kept.last;
            return;
        }
    }
    read_locals(at);
}

// The declaration read from the text, its names kept for the next time.
void InterpreterState::read_locals(uint32_t at) {
    const auto first = static_cast<uint32_t>(declared.size());
    read_token();  // the `int` or `char`
    do {
        read_token();
        VarSlot slot{};
        slot.id = copy_name(*this, slot.name, *tok);
        push_variable(slot);
        declared.push_back(Parameter{slot.name, slot.id});
        read_token();
    } while (tok->is(','));
    if (!tok->is(';')) report_error(ERR_SEMICOLON_EXPECTED, *tok);
    declaration_at[at] = static_cast<int32_t>(declarations.size());
    declarations.push_back(Declaration{first, static_cast<uint32_t>(declared.size()) - first, scan_pos, tok});
}

}  // namespace korvane
