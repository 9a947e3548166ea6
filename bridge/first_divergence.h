// SPDX-License-Identifier: GPL-3.0-or-later
// Where a run's drawing first left the accepted picture: what Check tells a
// student about a check that differs, in every front end.
//
// A pixel is off when its final colour differs from the accepted picture's.
// The call that gave an off pixel its final colour drew it wrong, unless
// that call is a clear (which paints the background, not a figure) or no
// call wrote the pixel at all: then the pixel is missing, a part of the
// accepted picture that nothing drew. The first divergence is the drawing
// call with the smallest number that drew an off pixel; the pixel named is
// its lowest off pixel (then the leftmost). Only the calls the timeline
// holds count: a pixel last written before them counts as missing.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "timeline.h"

namespace korvane {

struct Divergence {
    uint64_t call = 0;                                 // counted from 1; 0: no call drew an off pixel
    int32_t line = -1;                                 // of the call, counted from 0
    std::string call_text;                             // "point(270, 231)"
    bool names_pixel = false;                          // false for point, whose values are the pixel
    int32_t x = 0, y = 0;                              // the off pixel, y from the bottom
    uint8_t accepted = 0;                              // the accepted picture's colour there
    int64_t missing = 0;                               // off pixels no call drew
    int32_t xmin = 0, xmax = -1, ymin = 0, ymax = -1;  // their bounding box
};

// The timeline of the run and the accepted picture (400 x 400 palette
// indices, bottom row first).
Divergence first_divergence(const Timeline& timeline, std::span<const uint8_t> accepted);

// "call 37, line 14: `point(270, 231)` drew where the accepted picture has
// background" (index 0), or "... has colour 5"; other built-ins name the
// pixel: "`line(0, 0, 9, 3)` drew (4, 1) where ...". Empty when no call
// drew an off pixel.
std::string divergence_text(const Divergence& d);
// "12 pixels of the accepted picture that no call drew, within x 30..50,
// y 40..60"; empty when there are none.
std::string missing_text(const Divergence& d);

}  // namespace korvane
