// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed-point stepping every line and triangle edge shares: pixel k of a
// line lies k steps from its first pixel along the major axis and
// floor((0x8000 + k * slope) / 65536) steps along the minor axis, where slope
// is the 16-bit fraction minor delta * 65536 / major delta.
#pragma once

#include "canvas_ops.h"

namespace korvane::detail {

// Fixed point with 16 fraction bits.
constexpr i64 kFixedOne = 0x10000;
constexpr i64 kFixedHalf = 0x8000;  // starts each line half a pixel in, so steps round
constexpr i64 kFractionMask = 0xFFFF;

struct LineSteps {
    i64 x1 = 0, y1 = 0;  // first pixel
    i64 sx = 0, sy = 0;  // direction of each axis: -1, 0 or +1
    bool x_major = true;
    i64 slope = 0;   // 16-bit fraction; kFixedOne on an exact diagonal (every step carries)
    i64 length = 0;  // major delta

    // False when both ends are the same point: such a line has no direction.
    static bool make(i64 x1, i64 y1, i64 x2, i64 y2, LineSteps& s) {
        const i64 dx = x2 - x1, dy = y2 - y1;
        if (dx == 0 && dy == 0) return false;
        const i64 adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
        s.x1 = x1;
        s.y1 = y1;
        s.sx = dx < 0 ? -1 : dx > 0;
        s.sy = dy < 0 ? -1 : dy > 0;
        s.x_major = adx >= ady;
        s.length = s.x_major ? adx : ady;
        s.slope = adx == ady ? kFixedOne : (s.x_major ? ady : adx) * kFixedOne / s.length;
        return true;
    }

    i64 minor_index(i64 k) const { return (kFixedHalf + k * slope) >> 16; }
    i64 x_at(i64 k) const { return x1 + sx * (x_major ? k : minor_index(k)); }
    i64 y_at(i64 k) const { return y1 + sy * (x_major ? minor_index(k) : k); }
};

// Walks the pixels of a line one step at a time from pixel k.
struct LineWalker {
    const LineSteps& s;
    i64 x, y, acc;

    LineWalker(const LineSteps& steps, i64 k)
        : s(steps), x(steps.x_at(k)), y(steps.y_at(k)), acc((kFixedHalf + k * steps.slope) & kFractionMask) {}

    // Whether the next step moves both coordinates.
    bool next_carries() const { return ((acc + s.slope) >> 16) != 0; }

    void step() {
        acc += s.slope;
        const bool carry = (acc >> 16) != 0;
        acc &= kFractionMask;
        if (s.x_major) {
            x += s.sx;
            y += carry ? s.sy : 0;
        } else {
            y += s.sy;
            x += carry ? s.sx : 0;
        }
    }
};

}  // namespace korvane::detail
