// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas in words, for those who cannot see it: the colours on it with
// their pixel counts and bounding boxes, then the drawing calls of the last
// run in order, with their lines and argument values. The window's View >
// Describe Canvas and the page's Describe show this one text.
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

class Timeline;

// Calls listed at most; the rest are counted.
constexpr int kDescribedCalls = 500;

// A canvas slot, or a copy of one, as the front end shows it.
struct CanvasPixels {
    int32_t width = 0;
    int32_t height = 0;
    const uint8_t* pixels = nullptr;   // width bytes per row, bottom row first
    const uint8_t* palette = nullptr;  // red, green, blue, flags per index
};

// Lines joined by '\n', UTF-8; coordinates are the program's (y from the
// bottom); timeline may be null.
std::string describe_canvas(const CanvasPixels& canvas, const Timeline* timeline);

}  // namespace korvane
