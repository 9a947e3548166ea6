// SPDX-License-Identifier: GPL-3.0-or-later
// The one interface through which the interpreter reaches the outside world:
// the canvas, the editor's output, input boxes, message boxes and the clock.
// The window and the headless runner each implement it; tests use a fake.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace korvane {

// Thrown by an input operation when the user's answer cannot be used
// (a getnum answer that is not an integer). It ends the run without an
// interpreter error report; run_program returns RUN_ABORTED and keeps the text.
class InputRejected : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Thrown by an input operation whose answer is not there yet, by a host
// that cannot block (the page without shared memory): the run stops before
// the built-in with RUN_WAITING, and Interpreter::resume asks again.
struct InputWaits {};

class Bridge {
public:
    virtual ~Bridge() = default;

    // Shows a modal message and returns once it was dismissed.
    virtual void bridge_message(const char* text) = 0;
    // Copies the canvas to the screen, lets pending events through and
    // returns the halt flag (nonzero: the user asked the program to stop).
    virtual int bridge_show() = 0;
    // Called by the interpreter every few thousand statements: POLL_HALT
    // stops the run as a Halt seen in show does, POLL_TIME_UP reports that
    // the run's time limit was reached, POLL_YIELD stops the run before the
    // next statement with RUN_WAITING, to go on with Interpreter::resume
    // (after a wait a host cannot block for, at the next statement).
    enum PollResult : int { POLL_GO_ON = 0, POLL_HALT = 1, POLL_TIME_UP = 2, POLL_YIELD = 3 };
    virtual int bridge_poll() { return POLL_GO_ON; }
    // Appends one line to the program's output.
    virtual void bridge_output(const char* text) = 0;
    // Input boxes; an empty answer gives 0.
    virtual int32_t bridge_getnum() = 0;
    virtual int8_t bridge_getche() = 0;
    virtual void bridge_sleep(int32_t ms) = 0;

    virtual int32_t bridge_getpel(int32_t x, int32_t y) = 0;
    virtual void bridge_setcolor(int32_t colour) = 0;
    virtual void bridge_clear(int32_t colour) = 0;
    // The text argument of textout and textstyle (at most 79 characters).
    virtual void bridge_textout(int32_t x, int32_t y, const char* text) = 0;
    virtual void bridge_textstyle(int32_t index, int32_t size, const char* font) = 0;

    // Drawing pass-through operations, arguments in program order.
    virtual void bridge_point(int32_t x, int32_t y) = 0;
    virtual void bridge_fpoint(int32_t x, int32_t y) = 0;
    virtual void bridge_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    virtual void bridge_xline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    virtual void bridge_fline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    virtual void bridge_dline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    virtual void bridge_fillrect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    virtual void bridge_drawrect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    virtual void bridge_brect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t fill, int32_t border) = 0;
    virtual void bridge_grid(int32_t nv, int32_t nh, int32_t colour) = 0;
    virtual void bridge_circle(int32_t x, int32_t y, int32_t r, int32_t colour) = 0;
    virtual void bridge_xcircle(int32_t x, int32_t y, int32_t r, int32_t colour) = 0;
    virtual void bridge_disk(int32_t x, int32_t y, int32_t r, int32_t colour) = 0;
    virtual void bridge_bdisk(int32_t x, int32_t y, int32_t r, int32_t border, int32_t fill) = 0;
    virtual void bridge_circ2(int32_t x, int32_t y, int32_t colour) = 0;
    virtual void bridge_fcirc2(int32_t x, int32_t y, int32_t border, int32_t fill) = 0;
    virtual void bridge_ellipse(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) = 0;
    virtual void bridge_xellipse(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) = 0;
    virtual void bridge_elldisk(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) = 0;
    virtual void bridge_ellbdisk(int32_t x, int32_t y, int32_t a, int32_t b, int32_t border, int32_t fill) = 0;
    virtual void bridge_trifill(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t fill,
                                int32_t edge) = 0;
    // Nonzero when the fill would never end and was stopped (the canvas
    // keeps what it filled); the interpreter reports it as an error.
    virtual int bridge_floodfill(int32_t x, int32_t y, int32_t c1, int32_t c2, int32_t c3, int32_t mode) = 0;
    // v[0..9]: position, range ends, nmajor, nminor, place, lmajor, lminor, cmajor, cminor.
    virtual void bridge_h_axis(const int32_t* v) = 0;
    virtual void bridge_v_axis(const int32_t* v) = 0;

    // When a bridge traces drawing, the interpreter tells it, before every
    // drawing built-in, which program line (counted from 0) makes the call;
    // this lets it record where a pixel came from or pause before the call.
    // POLL_YIELD stops the run before the call with RUN_WAITING (the call
    // asks again on resume); any other nonzero result stops it as a Halt does.
    virtual bool bridge_traces_drawing() const { return false; }
    virtual int bridge_before_draw(int32_t /*line*/, const char* /*builtin*/) { return 0; }
};

}  // namespace korvane
