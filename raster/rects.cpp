// SPDX-License-Identifier: GPL-3.0-or-later
// Clearing and rectangles. Corners are inclusive and may come in any order;
// whatever lies off the canvas is cut away.
#include "canvas_ops.h"
#include "raster.h"

namespace korvane {

namespace {

using namespace detail;

Box corners(i64 x1, i64 y1, i64 x2, i64 y2) {
    return {std::min(x1, x2), std::max(x1, x2), std::min(y1, y2), std::max(y1, y2)};
}

template <class Pen>
void fill_box(const RowTable& rows, Pen pen, const Box& b, uint8_t c) {
    draw_on_canvas(rows, pen, b, [&](const auto& cv) {
        for (i64 y = std::max(b.y0, i64{0}); y <= std::min(b.y1, i64{rows.height} - 1); ++y) cv.span(y, b.x0, b.x1, c);
    });
}

template <class Pen>
void outline_box(const RowTable& rows, Pen pen, const Box& b, uint8_t c) {
    draw_on_canvas(rows, pen, b, [&](const auto& cv) {
        cv.column(b.x0, b.y0, b.y1, c);
        cv.span(b.y1, b.x0, b.x1 - 1, c);
        cv.span(b.y0, b.x0, b.x1 - 1, c);
        cv.column(b.x1, b.y0, b.y1, c);
    });
}

// A box whose outer ring is `border` and whose inside is `fill`.
template <class Pen>
void bordered_box(const RowTable& rows, Pen pen, const Box& b, uint8_t fill, uint8_t border) {
    draw_on_canvas(rows, pen, b, [&](const auto& cv) {
        cv.span(b.y0, b.x0, b.x1, border);
        for (i64 y = std::max(b.y0 + 1, i64{0}); y <= std::min(b.y1 - 1, i64{rows.height} - 1); ++y) {
            cv.store(b.x0, y, border);
            cv.span(y, b.x0 + 1, b.x1 - 1, fill);
            cv.store(b.x1, y, border);
        }
        cv.span(b.y1, b.x0, b.x1, border);
    });
}

template <class Pen>
void clear(const RowTable& rows, Pen pen, int32_t height, int32_t width, uint16_t colour) {
    if (!rows.row) return;
    // Whole 32-bit words of the unsigned product, as far as the canvas goes.
    const uint64_t words = (static_cast<uint32_t>(height) * static_cast<uint32_t>(width)) / 4u;
    const uint64_t canvas = uint64_t(uint32_t(rows.width)) * uint64_t(uint32_t(rows.height));
    const uint64_t bytes = std::min<uint64_t>(words * 4, canvas);
    if (bytes > 0) pen.fill(rows.row[0], static_cast<i64>(bytes), low_byte(colour));
}

template <class Pen>
void fillrect(const RowTable& rows, Pen pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour) {
    if (x1 == x2 || y1 == y2) return;  // a rectangle without width or height is not drawn
    fill_box(rows, pen, corners(x1, y1, x2, y2), low_byte(colour));
}

template <class Pen>
void brect(const RowTable& rows, Pen pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t fill,
           uint16_t border) {
    const Box b = corners(x1, y1, x2, y2);
    if (x1 == x2 || y1 == y2 || b.y1 - b.y0 == 1) return;  // no box thinner than three rows
    bordered_box(rows, pen, b, low_byte(fill), low_byte(border));
}

}  // namespace

void ras_clear(const RowTable& rows, int32_t height, int32_t width, uint16_t colour) {
    clear(rows, PlainPen{}, height, width, colour);
}
void ras_clear(const TrackedRows& t, int32_t height, int32_t width, uint16_t colour) {
    clear(t.rows, tag_pen(t), height, width, colour);
}

void ras_fillrect(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour) {
    fillrect(rows, PlainPen{}, x1, y1, x2, y2, colour);
}
void ras_fillrect(const TrackedRows& t, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour) {
    fillrect(t.rows, tag_pen(t), x1, y1, x2, y2, colour);
}

void ras_drawrect(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour) {
    outline_box(rows, PlainPen{}, corners(x1, y1, x2, y2), low_byte(colour));
}
void ras_drawrect(const TrackedRows& t, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour) {
    outline_box(t.rows, tag_pen(t), corners(x1, y1, x2, y2), low_byte(colour));
}

void ras_brect(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t fill, uint16_t border) {
    brect(rows, PlainPen{}, x1, y1, x2, y2, fill, border);
}
void ras_brect(const TrackedRows& t, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t fill, uint16_t border) {
    brect(t.rows, tag_pen(t), x1, y1, x2, y2, fill, border);
}

}  // namespace korvane
