// SPDX-License-Identifier: GPL-3.0-or-later
// Pauses of a run: where a statement or a drawing call stops for the host,
// and the text range a front end marks there.
#include "state.h"

namespace korvane {

const char* pause_reason_name(PauseReason reason) {
    switch (reason) {
        case PauseReason::BREAKPOINT: return "breakpoint";
        case PauseReason::STEP: return "step";
        case PauseReason::OVER: return "over";
        case PauseReason::INTO: return "into";
        case PauseReason::OUT: return "out";
        case PauseReason::DRAWING_CALL: return "drawing call";
        case PauseReason::PIXEL: return "pixel";
    }
    return "step";
}

namespace {

// How far the text a pause marks reaches from its first character.
enum class Reach : uint8_t {
    KEYWORD,    // the `do` alone: its body pauses on its own
    STATEMENT,  // through the `;` that ends it
    HEADER,     // through the `)` that closes the first `(`: an if, a while, a call
    FOR_INIT,   // through the first `;` inside the parentheses
    PART,       // up to the `;` or the unmatched `)` that ends an expression
};

// A pass over characters, not tokens: working out a range must never
// report an error of its own.
uint32_t reach_end(const InterpreterState& s, uint32_t p, Reach reach) {
    if (reach == Reach::KEYWORD) return p + 2;
    int depth = 0;
    for (; s.at(p) != '\0'; ++p) {
        const char c = s.at(p);
        if (c == '"' || c == '\'') {
            for (++p; s.at(p) != c && s.at(p) != '\r' && s.at(p) != '\0'; ++p) {}
            if (s.at(p) != c) return p;
        } else if (c == '/' && s.at(p + 1) == '/') {
            while (s.at(p + 1) != '\r' && s.at(p + 1) != '\0') ++p;
        } else if (c == '/' && s.at(p + 1) == '*') {
            for (p += 2; s.at(p) != '\0' && !(s.at(p) == '*' && s.at(p + 1) == '/');) ++p;
            if (s.at(p) == '\0') return p;
            ++p;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (depth == 0) return p;
            if (--depth == 0 && reach == Reach::HEADER) return p + 1;
        } else if (c == ';') {
            if (depth == 0) return reach == Reach::PART ? p : p + 1;
            if (depth == 1 && reach == Reach::FOR_INIT) return p + 1;
        } else if ((c == '{' || c == '}') && depth == 0) {
            return p;
        }
    }
    return p;
}

uint32_t skip_blanks(const InterpreterState& s, uint32_t p) {
    while (s.at(p) == ' ' || s.at(p) == '\t' || s.at(p) == '\r' || s.at(p) == '\n') ++p;
    return p;
}

Reach reach_of(const Token& t) {
    if (t.is_keyword(KW_DO)) return Reach::KEYWORD;
    if (t.is_keyword(KW_FOR)) return Reach::FOR_INIT;
    if (t.is_keyword(KW_IF) || t.is_keyword(KW_WHILE)) return Reach::HEADER;
    return Reach::STATEMENT;
}

bool is_statement(const Token& t) {
    if (t.kind == TK_NAME) return true;
    return t.kind == TK_KEYWORD && !t.is_keyword(KW_ELSE) && !t.at_eof();
}

}  // namespace

void InterpreterState::begin_pauses() {
    pauses.command = pauses.start;
    pauses.command_depth = 0;
    pauses.last_line = -1;
    pauses.do_again = kNoPlace;
    rearm_pauses();
}

void InterpreterState::statement_stop() {
    if (!is_statement(*tok)) return;
    const uint32_t start = tok->start;
    if (start == pauses.do_again) {
        pauses.do_again = kNoPlace;
        return;
    }
    pauses.do_again = kNoPlace;
    stop_at(start, Stop::STATEMENT);
}

void InterpreterState::part_stop(uint32_t pos) { stop_at(skip_blanks(*this, pos), Stop::PART); }

// A breakpoint or a run to a line stops at the first statement that starts
// on its line: when the run comes to the line from another, or jumps back
// within it (a loop on one line).
void InterpreterState::stop_at(uint32_t pos, Stop kind) {
    const int line = line_of(pos);
    const bool arrives = line != pauses.last_line || (kind == Stop::STATEMENT && pos <= pauses.last_start);
    pauses.last_line = line;
    pauses.last_start = pos;
    const PauseCommand& c = pauses.command;
    bool stop = false;
    PauseReason reason = PauseReason::STEP;
    switch (c.kind) {
        case PauseCommand::STEP_INTO: stop = true, reason = PauseReason::INTO; break;
        case PauseCommand::STEP_OVER: stop = call_top <= pauses.command_depth, reason = PauseReason::OVER; break;
        case PauseCommand::STEP_OUT: stop = call_top < pauses.command_depth, reason = PauseReason::OUT; break;
        case PauseCommand::RUN_TO_LINE: stop = arrives && line == c.line; break;
        default: break;
    }
    if (!stop && arrives && static_cast<size_t>(line) < pauses.breakpoints.size() &&
        pauses.breakpoints[static_cast<size_t>(line)]) {
        stop = true;
        reason = PauseReason::BREAKPOINT;
    }
    if (!stop) return;
    Reach reach = Reach::PART;
    if (kind == Stop::STATEMENT) reach = reach_of(*tok);
    pause(reason, pos, reach_end(*this, pos, reach), kind);
}

void InterpreterState::before_drawing_call() {
    pause(PauseReason::DRAWING_CALL, tok->start, reach_end(*this, tok->start, Reach::HEADER), Stop::DRAWING_CALL);
}

void InterpreterState::after_drawing_call(uint32_t call, int32_t value) {
    if (!pauses.watching || !pauses.host->watched_pixel_changed()) return;
    waiting.value = value;
    pause(PauseReason::PIXEL, call, reach_end(*this, call, Reach::HEADER), Stop::PIXEL);
}

void InterpreterState::pause(PauseReason reason, uint32_t from, uint32_t to, Stop where) {
    PauseSnapshot at = snapshot();
    at.reason = reason;
    at.line = line_of(from);
    at.range = range_of(from, to);
    const PauseCommand next = pauses.host->pause(at);
    if (next.kind == PauseCommand::WAIT) {
        waiting.stop = where;
        waiting.reason = reason;
        waiting.from = from;
        waiting.to = to;
        suspend(Wait::PAUSE);
    }
    if (next.kind == PauseCommand::HALT) report_error_at(ERR_USER_HALT, from);
    pauses.command = next;
    pauses.command_depth = call_top;
    rearm_pauses();
}

TextRange InterpreterState::range_of(uint32_t from, uint32_t to) {
    // Trailing blanks are not part of what runs.
    while (to > from && (at(to - 1) == ' ' || at(to - 1) == '\t' || at(to - 1) == '\r' || at(to - 1) == '\n')) --to;
    const auto column = [this](uint32_t pos, int line) {
        if (line == 0) return characters_between(0, pos);
        uint32_t start = line_ends[static_cast<size_t>(line)] + 1;
        if (at(start) == '\n') ++start;
        return pos >= start ? characters_between(start, pos) : 0;
    };
    TextRange r;
    r.line = line_of(from);
    r.column = column(from, r.line);
    // The last character's line: `to` itself may be the line's CR.
    uint32_t last = to > from ? to - 1 : from;
    while (last > from && (at(last) & 0xC0) == 0x80) --last;  // its first byte
    r.end_line = line_of(last);
    r.end_column = column(last, r.end_line) + (to > from ? 1 : 0);
    return r;
}

}  // namespace korvane
