// SPDX-License-Identifier: GPL-3.0-or-later
// Internal building blocks of the raster routines: the write policy, clip
// boxes and the canvas view the figure walks draw through.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>

#include "pixel_model.h"

namespace korvane::detail {

using i64 = int64_t;

inline uint8_t low_byte(uint16_t colour) { return static_cast<uint8_t>(colour); }

// Every pixel write goes through a pen. The plain pen is empty, so the
// routines instantiated with it compile to the bare writes.
struct PlainPen {
    static void store(uint8_t* p, uint8_t c) { *p = c; }
    static void xor_(uint8_t* p, uint8_t c) { *p ^= c; }
    static void fill(uint8_t* p, i64 n, uint8_t c) { std::memset(p, c, static_cast<size_t>(n)); }
};

// Writes the pixel and, at the same offset of the tag table, the current tag.
// The bitmap is one block from `base`, so a pixel's offset is p - base. The
// tag goes first: a byte store may alias anything, so the members are read
// before it.
struct TagPen {
    const uint8_t* base;
    uint32_t* tags;
    uint32_t tag;

    void store(uint8_t* p, uint8_t c) const {
        tags[p - base] = tag;
        *p = c;
    }
    void xor_(uint8_t* p, uint8_t c) const {
        tags[p - base] = tag;
        *p ^= c;
    }
    void fill(uint8_t* p, i64 n, uint8_t c) const {
        fill_tags(tags + (p - base), n, tag);
        std::memset(p, c, static_cast<size_t>(n));
    }
    // fill_n over 32-bit values is not vectorised at -O2; whole 32-byte
    // blocks copied by memcpy are, which keeps fills near memset speed.
    static void fill_tags(uint32_t* q, i64 n, uint32_t tag) {
        uint32_t block[8];
        std::fill_n(block, 8, tag);
        for (; n >= 8; n -= 8, q += 8) std::memcpy(q, block, sizeof block);
        std::fill_n(q, n, tag);
    }
};

inline TagPen tag_pen(const TrackedRows& t) { return {t.rows.row ? t.rows.row[0] : nullptr, t.tags, t.tag}; }

// Inclusive bounds; 64-bit so that figure extents of any 32-bit arguments fit.
struct Box {
    i64 x0, x1, y0, y1;

    bool empty() const { return x0 > x1 || y0 > y1; }
    bool contains(i64 x, i64 y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
    bool contains(const Box& b) const { return b.x0 >= x0 && b.x1 <= x1 && b.y0 >= y0 && b.y1 <= y1; }
};

inline Box intersect(const Box& a, const Box& b) {
    return {std::max(a.x0, b.x0), std::min(a.x1, b.x1), std::max(a.y0, b.y0), std::min(a.y1, b.y1)};
}

inline Box canvas_box(const RowTable& rows) {
    if (!rows.row) return {0, -1, 0, -1};
    return {0, i64{rows.width} - 1, 0, i64{rows.height} - 1};
}

// Box around a centre with half extents a and b.
inline Box centred_box(i64 xc, i64 yc, i64 a, i64 b) { return {xc - a, xc + a, yc - b, yc + b}; }

// The canvas as a figure walk sees it. Checked = false is the fast path for
// figures known to lie inside `clip`; Checked = true tests every pixel and
// clips every span against `clip` (which always lies on the canvas).
template <class Pen, bool Checked>
struct Canvas {
    uint8_t* const* row;
    Box clip;
    [[no_unique_address]] Pen pen;

    void store(i64 x, i64 y, uint8_t c) const {
        if (Checked && !clip.contains(x, y)) return;
        assert(clip.contains(x, y));
        pen.store(row[y] + x, c);
    }
    void xor_(i64 x, i64 y, uint8_t c) const {
        if (Checked && !clip.contains(x, y)) return;
        assert(clip.contains(x, y));
        pen.xor_(row[y] + x, c);
    }
    // Columns xa..xb of row y; nothing when xa > xb.
    void span(i64 y, i64 xa, i64 xb, uint8_t c) const {
        if constexpr (Checked) {
            if (y < clip.y0 || y > clip.y1) return;
            xa = std::max(xa, clip.x0);
            xb = std::min(xb, clip.x1);
        }
        if (xa > xb) return;
        assert(clip.contains(xa, y) && clip.contains(xb, y));
        pen.fill(row[y] + xa, xb - xa + 1, c);
    }
    // Rows ya..yb of column x; nothing when ya > yb.
    void column(i64 x, i64 ya, i64 yb, uint8_t c) const {
        if constexpr (Checked) {
            if (x < clip.x0 || x > clip.x1) return;
            ya = std::max(ya, clip.y0);
            yb = std::min(yb, clip.y1);
        }
        for (i64 y = ya; y <= yb; ++y) pen.store(row[y] + x, c);
    }
};

// Runs draw(canvas) with the fast canvas when `figure` lies inside `clip` and
// the canvas, with the checked one when it only overlaps, not at all otherwise.
template <class Pen, class Draw>
void draw_in(const RowTable& rows, Pen pen, const Box& clip, const Box& figure, Draw&& draw) {
    const Box window = intersect(clip, canvas_box(rows));
    if (intersect(window, figure).empty()) return;
    if (window.contains(figure))
        draw(Canvas<Pen, false>{rows.row, window, pen});
    else
        draw(Canvas<Pen, true>{rows.row, window, pen});
}

template <class Pen, class Draw>
void draw_on_canvas(const RowTable& rows, Pen pen, const Box& figure, Draw&& draw) {
    draw_in(rows, pen, canvas_box(rows), figure, draw);
}

// For figures whose extent is not known ahead: every pixel is tested.
template <class Pen>
Canvas<Pen, true> checked_canvas(const RowTable& rows, Pen pen) {
    return {rows.row, canvas_box(rows), pen};
}

// Span with the ends in either order.
template <class Cv>
void ordered_span(const Cv& cv, i64 y, i64 xa, i64 xb, uint8_t c) {
    cv.span(y, std::min(xa, xb), std::max(xa, xb), c);
}

// Semi-axes beyond this draw nothing: the ellipse walk takes one step per
// unit and its terms grow with the fourth power of the axes.
constexpr i64 kMaxSemiAxis = 65535;

// The four mirror points of an offset, in the order the walks visit them.
template <class Op>
void four(i64 xc, i64 yc, i64 a, i64 b, Op&& op) {
    op(xc - a, yc + b);
    op(xc - a, yc - b);
    op(xc + a, yc + b);
    op(xc + a, yc - b);
}

}  // namespace korvane::detail
