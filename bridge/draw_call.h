// SPDX-License-Identifier: GPL-3.0-or-later
// A drawing built-in's call as the bridge received it (perform.h carries it
// out), and what it reads besides its arguments.
#pragma once

#include <array>
#include <cstdint>

#include "pixel_model.h"

namespace korvane {

class TextRenderer;

// The canvas is 400 x 400 pixels; clear, grid and floodfill are given this
// size whatever the program passes.
constexpr int32_t kCanvasSize = 400;

enum class DrawOp : uint8_t {
    Clear,
    Textout,
    Textstyle,
    Point,
    Fpoint,
    Line,
    Xline,
    Fline,
    Dline,
    Fillrect,
    Drawrect,
    Brect,
    Grid,
    Circle,
    Xcircle,
    Disk,
    Bdisk,
    Circ2,
    Fcirc2,
    Ellipse,
    Xellipse,
    Elldisk,
    Ellbdisk,
    Trifill,
    Floodfill,
    HAxis,
    VAxis
};

struct DrawCall {
    DrawOp op;
    uint16_t colour;            // the current colour, for the built-ins that draw with it
    std::array<int32_t, 10> v;  // the arguments in order
};

inline bool takes_text(DrawOp op) { return op == DrawOp::Textout || op == DrawOp::Textstyle; }

// What a call reads besides its arguments, and the dash state dline moves on.
struct DrawContext {
    const ClipWindows& clips;
    const int16_t* half_table;
    TextRenderer& text;
    uint16_t& dash_pattern;
    uint16_t& dash_acc;
    int32_t fill_work;  // a flood fill's work bound per pixel
};

}  // namespace korvane
