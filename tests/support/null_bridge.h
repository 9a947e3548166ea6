// SPDX-License-Identifier: GPL-3.0-or-later
// A bridge that does nothing, so a benchmark measures the interpreter alone.
#pragma once

#include "bridge.h"

namespace korvane {

class NullBridge : public Bridge {
public:
    long draws = 0;

    void bridge_message(const char*) override {}
    int bridge_show() override { return 0; }
    void bridge_output(const char*) override {}
    int32_t bridge_getnum() override { return 0; }
    int8_t bridge_getche() override { return 0; }
    void bridge_sleep(int32_t) override {}
    int32_t bridge_getpel(int32_t, int32_t) override { return 0; }
    void bridge_setcolor(int32_t) override { ++draws; }
    void bridge_clear(int32_t) override { ++draws; }
    void bridge_textout(int32_t, int32_t, const char*) override { ++draws; }
    void bridge_textstyle(int32_t, int32_t, const char*) override {}
    void bridge_point(int32_t, int32_t) override { ++draws; }
    void bridge_fpoint(int32_t, int32_t) override { ++draws; }
    void bridge_line(int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_xline(int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_fline(int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_dline(int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_fillrect(int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_drawrect(int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_brect(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_grid(int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_circle(int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_xcircle(int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_disk(int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_bdisk(int32_t, int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_circ2(int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_fcirc2(int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_ellipse(int32_t, int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_xellipse(int32_t, int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_elldisk(int32_t, int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_ellbdisk(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    void bridge_trifill(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override { ++draws; }
    int bridge_floodfill(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {
        ++draws;
        return 0;
    }
    void bridge_h_axis(const int32_t*) override { ++draws; }
    void bridge_v_axis(const int32_t*) override { ++draws; }
};

}  // namespace korvane
