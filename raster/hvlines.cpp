// SPDX-License-Identifier: GPL-3.0-or-later
// Horizontal and vertical lines, both ends included, ends in either order.
#include "canvas_ops.h"
#include "raster.h"

namespace korvane {

using namespace detail;

namespace {

template <class Pen>
void hline(const RowTable& rows, Pen pen, int32_t x1, int32_t y, int32_t x2, uint16_t colour) {
    const Box figure = {std::min(x1, x2), std::max(x1, x2), y, y};
    draw_on_canvas(rows, pen, figure, [&](const auto& cv) { cv.span(y, figure.x0, figure.x1, low_byte(colour)); });
}

template <class Pen>
void vline(const RowTable& rows, Pen pen, int32_t x, int32_t y1, int32_t y2, uint16_t colour) {
    const Box figure = {x, x, std::min(y1, y2), std::max(y1, y2)};
    draw_on_canvas(rows, pen, figure, [&](const auto& cv) { cv.column(x, figure.y0, figure.y1, low_byte(colour)); });
}

}  // namespace

void ras_hline(const RowTable& rows, int32_t x1, int32_t y, int32_t x2, uint16_t colour) {
    hline(rows, PlainPen{}, x1, y, x2, colour);
}
void ras_hline(const TrackedRows& t, int32_t x1, int32_t y, int32_t x2, uint16_t colour) {
    hline(t.rows, tag_pen(t), x1, y, x2, colour);
}

void ras_vline(const RowTable& rows, int32_t x, int32_t y1, int32_t y2, uint16_t colour) {
    vline(rows, PlainPen{}, x, y1, y2, colour);
}
void ras_vline(const TrackedRows& t, int32_t x, int32_t y1, int32_t y2, uint16_t colour) {
    vline(t.rows, tag_pen(t), x, y1, y2, colour);
}

}  // namespace korvane
