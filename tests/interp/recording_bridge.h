// SPDX-License-Identifier: GPL-3.0-or-later
// A bridge that records every call as text, for tests of the interpreter.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "bridge.h"

namespace korvane::testing {

class RecordingBridge : public Bridge {
public:
    std::vector<std::string> calls;     // drawing and canvas calls, e.g. "line(0,0,10,10)"
    std::vector<std::string> messages;  // bridge_message texts
    std::vector<std::string> output;    // bridge_output lines
    std::deque<std::string> answers;    // input box answers, in order; empty when used up
    int halt_after_shows = -1;          // show returns 1 from this show on (counted from 1)
    int halt_after_polls = -1;          // poll returns poll_answer from this poll on
    int poll_answer = POLL_HALT;
    int shows = 0;
    int polls = 0;
    int32_t pixel = 0;  // what getpel answers

    void bridge_message(const char* text) override { messages.emplace_back(text); }
    int bridge_show() override {
        ++shows;
        calls.emplace_back("show");
        return halt_after_shows > 0 && shows >= halt_after_shows ? 1 : 0;
    }
    int bridge_poll() override {
        ++polls;
        return halt_after_polls > 0 && polls >= halt_after_polls ? poll_answer : POLL_GO_ON;
    }
    void bridge_output(const char* text) override { output.emplace_back(text); }
    int32_t bridge_getnum() override;
    int8_t bridge_getche() override;
    void bridge_sleep(int32_t ms) override { record("sleep", {ms}); }

    int32_t bridge_getpel(int32_t x, int32_t y) override {
        record("getpel", {x, y});
        return pixel;
    }
    void bridge_setcolor(int32_t c) override { record("setcolor", {c}); }
    void bridge_clear(int32_t c) override { record("clear", {c}); }
    void bridge_textout(int32_t x, int32_t y, const char* text) override { record("textout", {x, y}, text); }
    void bridge_textstyle(int32_t i, int32_t s, const char* font) override { record("textstyle", {i, s}, font); }
    void bridge_point(int32_t x, int32_t y) override { record("point", {x, y}); }
    void bridge_fpoint(int32_t x, int32_t y) override { record("fpoint", {x, y}); }
    void bridge_line(int32_t a, int32_t b, int32_t c, int32_t d) override { record("line", {a, b, c, d}); }
    void bridge_xline(int32_t a, int32_t b, int32_t c, int32_t d) override { record("xline", {a, b, c, d}); }
    void bridge_fline(int32_t a, int32_t b, int32_t c, int32_t d) override { record("fline", {a, b, c, d}); }
    void bridge_dline(int32_t a, int32_t b, int32_t c, int32_t d) override { record("dline", {a, b, c, d}); }
    void bridge_fillrect(int32_t a, int32_t b, int32_t c, int32_t d) override { record("fillrect", {a, b, c, d}); }
    void bridge_drawrect(int32_t a, int32_t b, int32_t c, int32_t d) override { record("drawrect", {a, b, c, d}); }
    void bridge_brect(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f) override {
        record("brect", {a, b, c, d, e, f});
    }
    void bridge_grid(int32_t a, int32_t b, int32_t c) override { record("grid", {a, b, c}); }
    void bridge_circle(int32_t a, int32_t b, int32_t c, int32_t d) override { record("circle", {a, b, c, d}); }
    void bridge_xcircle(int32_t a, int32_t b, int32_t c, int32_t d) override { record("xcircle", {a, b, c, d}); }
    void bridge_disk(int32_t a, int32_t b, int32_t c, int32_t d) override { record("disk", {a, b, c, d}); }
    void bridge_bdisk(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) override {
        record("bdisk", {a, b, c, d, e});
    }
    void bridge_circ2(int32_t a, int32_t b, int32_t c) override { record("circ2", {a, b, c}); }
    void bridge_fcirc2(int32_t a, int32_t b, int32_t c, int32_t d) override { record("fcirc2", {a, b, c, d}); }
    void bridge_ellipse(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) override {
        record("ellipse", {a, b, c, d, e});
    }
    void bridge_xellipse(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) override {
        record("xellipse", {a, b, c, d, e});
    }
    void bridge_elldisk(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) override {
        record("elldisk", {a, b, c, d, e});
    }
    void bridge_ellbdisk(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f) override {
        record("ellbdisk", {a, b, c, d, e, f});
    }
    void bridge_trifill(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f, int32_t g,
                        int32_t h) override {
        record("trifill", {a, b, c, d, e, f, g, h});
    }
    int bridge_floodfill(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f) override {
        record("floodfill", {a, b, c, d, e, f});
        return 0;
    }
    void bridge_h_axis(const int32_t* v) override { record("h_axis", {v, v + 10}); }
    void bridge_v_axis(const int32_t* v) override { record("v_axis", {v, v + 10}); }

private:
    void record(const char* name, std::vector<int32_t> values, const char* text = nullptr);
    std::string next_answer();
};

}  // namespace korvane::testing
