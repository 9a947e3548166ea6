// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in functions: found by name before user functions and
// variables, each reading its own arguments from the text and handing plain
// values to one bridge operation.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "interpreter.h"
#include "language.h"
#include "simple_run.h"
#include "text_encoding.h"

namespace korvane {

namespace {

enum Builtin : int {
    B_GETCHE,
    B_PUTCH,
    B_PUTS,
    B_PRINT,
    B_GETNUM,
    B_RAND,
    B_CLEAR,
    B_SETCOLOR,
    B_LINE,
    B_XLINE,
    B_FLINE,
    B_POINT,
    B_CIRC2,
    B_FCIRC2,
    B_FPOINT,
    B_GRID,
    B_FILLRECT,
    B_DRAWRECT,
    B_BRECT,
    B_DLINE,
    B_TRIFILL,
    B_CIRCLE,
    B_XCIRCLE,
    B_DISK,
    B_BDISK,
    B_ELLIPSE,
    B_XELLIPSE,
    B_ELLDISK,
    B_ELLBDISK,
    B_FLOODFILL,
    B_SHOW,
    B_SLEEP,
    B_TEXTOUT,
    B_TEXTSTYLE,
    B_H_AXIS,
    B_V_AXIS,
    B_ABS,
    B_GETPEL,
    B_COUNT
};

bool draws(int index) {
    return (index >= B_CLEAR && index <= B_FLOODFILL && index != B_SETCOLOR) || index == B_TEXTOUT ||
           index == B_H_AXIS || index == B_V_AXIS;
}

}  // namespace

int InterpreterState::builtin_index(const char* name) const {
    const std::span<const char* const> names = builtin_names();
    for (size_t i = 0; i < names.size(); ++i) {
        if (std::strcmp(names[i], name) == 0) return static_cast<int>(i);
    }
    return -1;
}

bool InterpreterState::input_builtin(int index) { return index == B_GETCHE || index == B_GETNUM; }

bool InterpreterState::single_builtin(int index) { return index == B_PUTCH || index == B_CLEAR || index == B_SETCOLOR; }

bool InterpreterState::steps_over_close(int index) { return index == B_ABS; }

int InterpreterState::listed_builtin_values(int index) {
    switch (index) {
        case B_GETCHE:
        case B_PUTCH:
        case B_GETNUM:
        case B_RAND:
        case B_SETCOLOR:
        case B_CLEAR:
        case B_ABS:
        case B_GETPEL: return 0;
        case B_PUTS:
        case B_PRINT: return 1;
        case B_TEXTOUT:
        case B_TEXTSTYLE: return 3;
        case B_V_AXIS: return kVAxisCollectionSize;
        default: return kCollectionSize;
    }
}

InterpreterState::LastValue InterpreterState::last_builtin_value(int index) {
    switch (index) {
        case B_PRINT: return LastValue::STRING_OR_NUMBER;
        case B_PUTS:
        case B_TEXTOUT:
        case B_TEXTSTYLE: return LastValue::STRING;
        default: return LastValue::NUMBER;
    }
}

bool InterpreterState::ends_statement(int index) { return index == B_PUTS || index == B_PRINT; }

int InterpreterState::pure_builtin_values(int index) {
    switch (index) {
        case B_ABS:
        case B_RAND: return 1;
        case B_GETPEL: return 2;
        default: return 0;
    }
}

namespace {

int32_t absolute(int32_t value) { return value < 0 ? static_cast<int32_t>(0u - static_cast<uint32_t>(value)) : value; }

}  // namespace

// abs or rand of `last`, or getpel of both.
int32_t InterpreterState::pure_builtin(int index, int32_t first, int32_t last, uint32_t call) {
    switch (index) {
        case B_ABS: return absolute(last);
        case B_RAND: return random_below(last, call);
        default: return bridge.bridge_getpel(first, last);
    }
}

// The next random number drawn, reduced below `bound`; a bound of 0 is a
// division by zero at the call, though the number is drawn first.
int32_t InterpreterState::random_below(int32_t bound, uint32_t call) {
    const auto draw = static_cast<int32_t>(next_random());
    if (bound == 0) report_error_at(ERR_DIVISION_BY_ZERO, call);
    return draw % bound;
}

uint32_t InterpreterState::next_random() {
    random_state = random_state * 22695477u + 1u;
    return (random_state >> 16) & 0x7fff;
}

namespace {

void expect_open_paren(InterpreterState& s) {
    s.read_token();
    if (!s.tok->is('(')) s.report_error(ERR_PARENS_EXPECTED, *s.tok);
}

void expect_string(InterpreterState& s) {
    s.read_token();
    if (s.tok->kind != TK_STRING) s.report_error(ERR_QUOTE_EXPECTED, *s.tok);
}

// ")" ";" with the `;` put back: puts and print stand only as statements.
void expect_statement_end(InterpreterState& s) {
    s.read_token();
    if (!s.tok->is(')')) s.report_error(ERR_PARENS_EXPECTED, *s.tok);
    s.read_token();
    if (!s.tok->is(';')) s.report_error(ERR_SEMICOLON_EXPECTED, *s.tok);
    s.unread_token();
}

// Input built-ins do not evaluate their parentheses: the text is passed
// over up to and including the next `)`.
void pass_over_call(InterpreterState& s) {
    while (s.cur() != ')' && s.cur() != '\0') ++s.scan_pos;
    s.step_over(1);
}

// A run's time limit may fall while it waits for a sleep or an answer;
// the run must end there, not carry on until the next poll. A host that
// could not wait here yields at the next statement.
void check_time_after_wait(InterpreterState& s) {
    switch (s.bridge.bridge_poll()) {
        case Bridge::POLL_TIME_UP: s.report_error(ERR_TIME_LIMIT, *s.tok);
        case Bridge::POLL_YIELD: s.first_poll_at(s.steps + 1); break;
        default: break;
    }
}

// The built-ins that hand their collected values straight to the bridge.
[[gnu::always_inline]] inline void draw_builtin(InterpreterState& s, int index, uint32_t call, const int32_t* v) {
    Bridge& b = s.bridge;
    switch (index) {
        case B_LINE: b.bridge_line(v[0], v[1], v[2], v[3]); break;
        case B_XLINE: b.bridge_xline(v[0], v[1], v[2], v[3]); break;
        case B_FLINE: b.bridge_fline(v[0], v[1], v[2], v[3]); break;
        case B_POINT: b.bridge_point(v[0], v[1]); break;
        case B_CIRC2: b.bridge_circ2(v[0], v[1], v[2]); break;
        case B_FCIRC2: b.bridge_fcirc2(v[0], v[1], v[2], v[3]); break;
        case B_FPOINT: b.bridge_fpoint(v[0], v[1]); break;
        case B_GRID: b.bridge_grid(v[0], v[1], v[2]); break;
        case B_FILLRECT: b.bridge_fillrect(v[0], v[1], v[2], v[3]); break;
        case B_DRAWRECT: b.bridge_drawrect(v[0], v[1], v[2], v[3]); break;
        case B_BRECT: b.bridge_brect(v[0], v[1], v[2], v[3], v[4], v[5]); break;
        case B_DLINE: b.bridge_dline(v[0], v[1], v[2], v[3]); break;
        case B_TRIFILL: b.bridge_trifill(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break;
        case B_CIRCLE: b.bridge_circle(v[0], v[1], v[2], v[3]); break;
        case B_XCIRCLE: b.bridge_xcircle(v[0], v[1], v[2], v[3]); break;
        case B_DISK: b.bridge_disk(v[0], v[1], v[2], v[3]); break;
        case B_BDISK: b.bridge_bdisk(v[0], v[1], v[2], v[3], v[4]); break;
        case B_ELLIPSE: b.bridge_ellipse(v[0], v[1], v[2], v[3], v[4]); break;
        case B_XELLIPSE: b.bridge_xellipse(v[0], v[1], v[2], v[3], v[4]); break;
        case B_ELLDISK: b.bridge_elldisk(v[0], v[1], v[2], v[3], v[4]); break;
        case B_ELLBDISK: b.bridge_ellbdisk(v[0], v[1], v[2], v[3], v[4], v[5]); break;
        case B_FLOODFILL:
            if (b.bridge_floodfill(v[0], v[1], v[2], v[3], v[4], v[5]) != 0) {
                s.report_error_at(ERR_ENDLESS_FILL, call, s.scan_pos);
            }
            break;
        case B_H_AXIS: b.bridge_h_axis(v); break;
        case B_V_AXIS: b.bridge_v_axis(v); break;
        default: break;
    }
}

}  // namespace

int32_t InterpreterState::answer(int index, Wait at) {
    int32_t value = 0;
    try {
        value = index == B_GETCHE ? bridge.bridge_getche() : bridge.bridge_getnum();
    } catch (const InputWaits&) {
        suspend(at);
    }
    check_time_after_wait(*this);
    return value;
}

namespace {

// Before a drawing call whose name is current. Inlined where every
// built-in statement starts.
[[gnu::always_inline]] inline void before_drawing(InterpreterState& s, int index) {
    const uint32_t call = s.tok->start;
    if (s.pauses.draws && s.pauses.command.kind == PauseCommand::NEXT_DRAWING_CALL && call != s.pauses.drawn)
        s.before_drawing_call();
    if (s.bridge.bridge_traces_drawing()) {
        const int go = s.bridge.bridge_before_draw(s.line_of(s.scan_pos), builtin_names()[static_cast<size_t>(index)]);
        if (go == Bridge::POLL_YIELD) {
            s.pauses.drawn = call;  // a pause before it was asked already: not again on resume
            s.suspend(Wait::BUILTIN);
        }
        if (go != 0) s.report_error(ERR_USER_HALT, *s.tok);
    }
    s.pauses.drawn = kNoPlace;
}

}  // namespace

void InterpreterState::before_builtin(int index) {
    if (draws(index)) before_drawing(*this, index);
}

// A built-in whose name is the current token. True with its result in
// `builtin_result` when it takes no values; false when it pushed a frame that waits for its first.
bool InterpreterState::start_builtin(int index) {
    const uint32_t call = tok->start;
    if (draws(index)) before_drawing(*this, index);
    FrameKind kind = FrameKind::BUILTIN;
    switch (index) {
        case B_GETCHE:
        case B_GETNUM:
            builtin_result = answer(index, Wait::BUILTIN);
            pass_over_call(*this);
            return true;
        case B_PUTS:
            expect_open_paren(*this);
            expect_string(*this);
            bridge.bridge_output(tok->text);
            expect_statement_end(*this);
            builtin_result = 0;
            return true;
        case B_PRINT:
            expect_open_paren(*this);
            read_token();
            if (tok->kind == TK_STRING) {
                bridge.bridge_output(tok->text);
                expect_statement_end(*this);
                builtin_result = 0;
                return true;
            }
            unread_token();
            break;
        case B_TEXTOUT:
        case B_TEXTSTYLE:
            kind = FrameKind::TEXT;
            expect_open_paren(*this);
            break;
        case B_ABS: expect_open_paren(*this); break;
        case B_PUTCH:
        case B_CLEAR:
        case B_SETCOLOR: break;
        default:
            // "(" expr {"," expr} ")"
            kind = FrameKind::COLLECTION;
            read_token();
            if (!tok->is('(')) report_error(ERR_PARENS_EXPECTED, *tok);
            break;
    }
    Frame& f = push(kind);
    f.await = Await::FIRST;
    f.builtin.index = static_cast<int16_t>(index);
    f.builtin.call = call;
    f.builtin.first = static_cast<uint32_t>(values.size());
    f.builtin.capacity = index == B_V_AXIS ? kVAxisCollectionSize : kCollectionSize;
    return false;
}

namespace {

// The built-ins that take a list of values, once it is complete. Inlined
// in both places, as one_value is: most built-in statements pass here.
[[gnu::always_inline]] inline int32_t collected(InterpreterState& s, int index, uint32_t call, const int32_t* v) {
    Bridge& b = s.bridge;
    switch (index) {
        case B_RAND: return s.random_below(v[0], call);
        case B_SHOW:
            if (b.bridge_show() != 0) {
                // The show is marked, though the line is where its `)` stands.
                s.report_error_at(ERR_USER_HALT, call, s.scan_pos);
            }
            return 0;
        case B_SLEEP:
            b.bridge_sleep(v[0]);
            check_time_after_wait(s);
            return 0;
        case B_GETPEL: return b.bridge_getpel(v[0], v[1]);
        default:
            draw_builtin(s, index, call, v);
            if (s.pauses.draws) s.after_drawing_call(call, 0);
            return 0;
    }
}

// print's line of a number: the number and a space.
void print_number(InterpreterState& s, int32_t value) {
    char line[16];
    std::snprintf(line, sizeof line, "%d ", value);
    s.bridge.bridge_output(line);
}

// puts, print, textout and textstyle given their values, `text` the string
// they take, or null for print's number.
int32_t write_text(InterpreterState& s, int index, uint32_t call, const int32_t* v, const char* text) {
    switch (index) {
        case B_TEXTOUT:
            s.bridge.bridge_textout(v[0], v[1], text);
            if (s.pauses.draws) s.after_drawing_call(call, 0);
            break;
        case B_TEXTSTYLE: s.bridge.bridge_textstyle(v[0], v[1], text); break;
        default:  // puts and print
            if (text == nullptr) {
                print_number(s, v[0]);
            } else {
                s.bridge.bridge_output(text);
            }
    }
    return 0;
}

// textout and textstyle: "(" expr sep expr sep string ")", the separators
// not checked.
int32_t text_builtin(InterpreterState& s, const BuiltinFrame& b, int32_t second) {
    s.read_token();
    expect_string(s);
    const char* const text = s.tok->text;  // a token's text stays where it is for the run
    s.read_token();
    if (!s.tok->is(')')) s.report_error(ERR_PARENS_EXPECTED, *s.tok);
    const int32_t v[] = {b.value, second};
    return write_text(s, b.index, b.call, v, text);
}

// The built-ins that take one value.
[[gnu::always_inline]] inline int32_t one_value(InterpreterState& s, int index, uint32_t call, int32_t value) {
    switch (index) {
        case B_PUTCH: {
            // The code's low byte is a Latin-1 character; 0 adds an empty line.
            std::string text;
            if ((value & 0xFF) != 0) append_utf8(text, static_cast<uint32_t>(value) & 0xFFu);
            s.bridge.bridge_output(text.c_str());
            return value;
        }
        case B_CLEAR:
            s.bridge.bridge_clear(value);
            if (s.pauses.draws) s.after_drawing_call(call, value);
            return value;
        case B_SETCOLOR: s.bridge.bridge_setcolor(value); return value;
        case B_PRINT:
            print_number(s, value);
            expect_statement_end(s);
            return 0;
        default:  // abs, stepping over its `)`
            s.step_over(1);
            return absolute(value);
    }
}

}  // namespace

// The `)` after a list's last value: the built-in takes the values.
bool InterpreterState::collection_done() {
    const uint32_t first = frames.back().builtin.first;
    int32_t collected_values[kVAxisCollectionSize] = {};
    std::copy(values.begin() + first, values.end(), collected_values);
    values.resize(first);
    return take_collection(collected_values);
}

// The same for a list whose values are each simple, with its `(` read:
// they are worked out at once. False with those before the first that is
// not on the value stack, and that one to be read next.
bool InterpreterState::simple_collection() {
    const SimpleArguments* list = simple_argument_list();
    if (list == nullptr || list->count > static_cast<uint32_t>(frames.back().builtin.capacity)) return false;
    int32_t collected_values[kVAxisCollectionSize] = {};
    if (!simple_argument_values(*list, collected_values)) return false;
    return take_collection(collected_values);
}

// With the token after the list's last value: the built-in takes the values.
bool InterpreterState::take_collection(const int32_t* collected_values) {
    const BuiltinFrame b = frames.back().builtin;
    if (!tok->is(')')) report_error(ERR_PARENS_EXPECTED, *tok);
    frames.pop_back();
    builtin_result = collected(*this, b.index, b.call, collected_values);
    return true;
}

int32_t InterpreterState::take_values(int index, uint32_t call, const int32_t* given_values, const char* text) {
    if (single_builtin(index)) return one_value(*this, index, call, given_values[0]);
    if (last_builtin_value(index) != LastValue::NUMBER) return write_text(*this, index, call, given_values, text);
    return collected(*this, index, call, given_values);
}

bool InterpreterState::single_value(int32_t v) {
    Frame& f = frames.back();
    const BuiltinFrame b = f.builtin;
    if (f.kind == FrameKind::TEXT && f.await == Await::FIRST) {
        f.builtin.value = v;
        f.await = Await::SECOND;
        read_token();
        return false;
    }
    const bool text = f.kind == FrameKind::TEXT;
    frames.pop_back();
    builtin_result = text ? text_builtin(*this, b, v) : one_value(*this, b.index, b.call, v);
    return true;
}

}  // namespace korvane
