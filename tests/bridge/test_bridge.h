// SPDX-License-Identifier: GPL-3.0-or-later
// A bridge with only the canvas operations, on a prepared 400 x 400 canvas.
#pragma once

#include <cstring>

#include "canvas_bridge.h"

namespace korvane {

// The canvas operations only; the rest is not used here.
class TestBridge : public CanvasBridge {
public:
    using CanvasBridge::CanvasBridge;
    void bridge_message(const char*) override {}
    int bridge_show() override { return 0; }
    void bridge_output(const char*) override {}
    int32_t bridge_getnum() override { return 0; }
    int8_t bridge_getche() override { return 0; }
    void bridge_sleep(int32_t) override {}
};

struct Canvas {
    TXImage3 image;
    Canvas() {
        image.LoadDefaultPalette();
        image.AssignPalette(0);
        prepare_canvas(image);
    }
    RowTable rows() const { return image.rows(0); }
    bool same_as(const Canvas& other) const { return std::memcmp(image.bits(0), other.image.bits(0), 400 * 400) == 0; }
    int count(uint8_t index) const {
        int n = 0;
        for (int i = 0; i < 400 * 400; ++i) n += image.bits(0)[i] == index;
        return n;
    }
};

}  // namespace korvane
