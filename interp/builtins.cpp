// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in functions: found by name before user functions and
// variables, each reading its own arguments from the text and handing plain
// values to one bridge operation.
#include <cstdio>
#include <cstring>

#include "interpreter.h"
#include "language.h"
#include "state.h"

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

constexpr int kCollectionSize = 10;
constexpr int kVAxisCollectionSize = 12;

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

// arguments = "(" expr {"," expr} ")"; more values than the area holds is
// a parameter error, missing ones stay 0. Returns the count.
int InterpreterState::collect_arguments(int32_t* values, int capacity) {
    read_token();
    if (!tok->is('(')) report_error(ERR_PARENS_EXPECTED);
    int count = 0;
    do {
        if (count == capacity) report_error(ERR_PARAMETER);
        values[count++] = evaluate();
        read_token();
    } while (tok->is(','));
    if (!tok->is(')')) report_error(ERR_PARENS_EXPECTED);
    return count;
}

uint32_t InterpreterState::next_random() {
    RandState = RandState * 22695477u + 1u;
    return (RandState >> 16) & 0x7fff;
}

namespace {

void expect_open_paren(InterpreterState& s) {
    s.read_token();
    if (!s.tok->is('(')) s.report_error(ERR_PARENS_EXPECTED);
}

void expect_string(InterpreterState& s) {
    s.read_token();
    if (s.tok->TokenKind != TK_STRING) s.report_error(ERR_QUOTE_EXPECTED);
}

// ")" ";" with the `;` put back: puts and print stand only as statements.
void expect_statement_end(InterpreterState& s) {
    s.read_token();
    if (!s.tok->is(')')) s.report_error(ERR_PARENS_EXPECTED);
    s.read_token();
    if (!s.tok->is(';')) s.report_error(ERR_SEMICOLON_EXPECTED);
    s.unread_token();
}

// Input built-ins do not evaluate their parentheses: the text is passed
// over up to and including the next `)`.
void pass_over_call(InterpreterState& s) {
    while (s.cur() != ')' && s.cur() != '\0') ++s.ScanPos;
    s.step_over(1);
}

// textout and textstyle: "(" expr sep expr sep string ")".
void text_arguments(InterpreterState& s, int32_t& a, int32_t& b) {
    expect_open_paren(s);
    a = s.evaluate();
    s.read_token();
    b = s.evaluate();
    s.read_token();
    expect_string(s);
    std::memcpy(s.BridgeText, s.tok->TokenText, s.tok->len + 1u);
    s.read_token();
    if (!s.tok->is(')')) s.report_error(ERR_PARENS_EXPECTED);
}

int32_t print_builtin(InterpreterState& s) {
    expect_open_paren(s);
    s.read_token();
    if (s.tok->TokenKind == TK_STRING) {
        s.bridge.bridge_output(s.tok->TokenText);
    } else {
        s.unread_token();
        char line[16];
        std::snprintf(line, sizeof line, "%d ", s.evaluate());
        s.bridge.bridge_output(line);
    }
    expect_statement_end(s);
    return 0;
}

int32_t abs_builtin(InterpreterState& s) {
    expect_open_paren(s);
    const int32_t v = s.evaluate();
    s.step_over(1);
    return v < 0 ? static_cast<int32_t>(0u - static_cast<uint32_t>(v)) : v;
}

// A run's time limit may fall while it waits for a sleep or an answer;
// the run must end there, not carry on until the next poll.
void check_time_after_wait(InterpreterState& s) {
    if (s.bridge.bridge_poll() == Bridge::POLL_TIME_UP) s.report_error(ERR_TIME_LIMIT);
}

// The built-ins that hand their collected values straight to the bridge.
void draw_builtin(InterpreterState& s, int index, uint32_t call) {
    int32_t v[kVAxisCollectionSize] = {};
    s.collect_arguments(v, index == B_V_AXIS ? kVAxisCollectionSize : kCollectionSize);
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
                s.error_place = call;
                s.report_error(ERR_ENDLESS_FILL);
            }
            break;
        case B_H_AXIS: b.bridge_h_axis(v); break;
        case B_V_AXIS: b.bridge_v_axis(v); break;
        default: break;
    }
}

}  // namespace

int32_t InterpreterState::call_builtin(int index) {
    const uint32_t call = tok->start;
    if (draws(index)) {
        if (pauses.draws && pauses.command.kind == PauseCommand::NEXT_DRAWING_CALL) before_drawing_call();
        if (bridge.bridge_traces_drawing() &&
            bridge.bridge_before_draw(line_of(ScanPos), builtin_names()[static_cast<size_t>(index)]) != 0) {
            report_error(ERR_USER_HALT);
        }
    }
    int32_t v[kCollectionSize] = {};
    switch (index) {
        case B_GETCHE: {
            const int32_t c = bridge.bridge_getche();
            check_time_after_wait(*this);
            pass_over_call(*this);
            return c;
        }
        case B_GETNUM: {
            const int32_t n = bridge.bridge_getnum();
            check_time_after_wait(*this);
            pass_over_call(*this);
            return n;
        }
        case B_PUTCH: {
            const int32_t value = evaluate();
            const char text[2] = {static_cast<char>(value), '\0'};
            bridge.bridge_output(text);
            return value;
        }
        case B_PUTS:
            expect_open_paren(*this);
            expect_string(*this);
            bridge.bridge_output(tok->TokenText);
            expect_statement_end(*this);
            return 0;
        case B_PRINT: return print_builtin(*this);
        case B_RAND: {
            collect_arguments(v, kCollectionSize);
            const int32_t draw = static_cast<int32_t>(next_random());
            if (v[0] == 0) report_error_at(ERR_DIVISION_BY_ZERO, call);
            return draw % v[0];
        }
        case B_CLEAR: {
            const int32_t value = evaluate();
            bridge.bridge_clear(value);
            if (pauses.draws) after_drawing_call(call);
            return value;
        }
        case B_SETCOLOR: {
            const int32_t value = evaluate();
            bridge.bridge_setcolor(value);
            return value;
        }
        case B_SHOW:
            collect_arguments(v, kCollectionSize);
            if (bridge.bridge_show() != 0) {
                error_place = call;  // mark the show, though the line is where its `)` stands
                report_error(ERR_USER_HALT);
            }
            return 0;
        case B_SLEEP:
            collect_arguments(v, kCollectionSize);
            bridge.bridge_sleep(v[0]);
            check_time_after_wait(*this);
            return 0;
        case B_TEXTOUT:
        case B_TEXTSTYLE: {
            int32_t a = 0, b = 0;
            text_arguments(*this, a, b);
            if (index == B_TEXTOUT) {
                bridge.bridge_textout(a, b, BridgeText);
                if (pauses.draws) after_drawing_call(call);
            } else {
                bridge.bridge_textstyle(a, b, BridgeText);
            }
            return 0;
        }
        case B_ABS: return abs_builtin(*this);
        case B_GETPEL: collect_arguments(v, kCollectionSize); return bridge.bridge_getpel(v[0], v[1]);
        default:
            draw_builtin(*this, index, call);
            if (pauses.draws) after_drawing_call(call);
            return 0;
    }
}

}  // namespace korvane
