// SPDX-License-Identifier: GPL-3.0-or-later
// Grid lines and axis ticks. Positions advance by repeated single-precision
// additions, so the k-th position carries the rounding of k additions.
#include "canvas_ops.h"
#include "raster.h"

namespace korvane {

namespace {

using namespace detail;

// Rows (or columns) of n evenly spaced lines over 0..size - 1; draw(pos).
// Beyond one line per pixel the lines merge, so n is cut to size.
template <class Draw>
void grid_lines(int32_t size, int32_t n, int32_t canvas_size, Draw&& draw) {
    if (size < 2) return;
    n = std::min(n, size);
    const float step = static_cast<float>(size - 1) / static_cast<float>(n - 1);
    for (float p = 0; p < static_cast<float>(size); p += step) {
        const i64 pos = static_cast<i64>(p + 0.5f);
        if (pos >= canvas_size) return;
        draw(pos);
    }
}

// Start across the axis of a tick of length L; place 2 also makes L odd.
i64 tick_start(i64 a, int32_t place, i64& L) {
    if (place == 1) return a - L;
    if (place != 2) return a;
    L |= 1;
    return a - L / 2;
}

// Calls draw(trunc(p)) for p = start and each of the next n sums p + step.
// Ticks far outnumbering the pixels pile up on the same positions, so a run
// of equal positions is drawn once, and the series ends where its sums stop
// moving or have left 0..last for good: the same picture at the cost of the
// positions it shows.
template <class Draw>
void tick_series(float p, float step, i64 n, i64 last, Draw&& draw) {
    i64 drawn = -1;
    for (i64 i = 0; i <= n; ++i) {
        const i64 pos = static_cast<i64>(p);
        if (pos != drawn || i == 0) draw(pos);
        drawn = pos;
        const float next = p + step;
        if (next == p || (step > 0 && pos > last) || (step < 0 && p <= -1)) return;
        p = next;
    }
}

// Minor ticks, then major ticks over them; tick(pos, from, to, colour).
// last: the last pixel along the axis.
template <class Tick>
void axis_ticks(i64 a, i64 r1, i64 r2, int32_t nmajor, int32_t nminor, int32_t place, i64 lmajor, i64 lminor,
                uint8_t cmajor, uint8_t cminor, i64 last, Tick&& tick) {
    if (nmajor < 1 || nminor < 1) return;
    const i64 count = i64{nmajor} * nminor;
    const i64 smin = tick_start(a, place, lminor), smaj = tick_start(a, place, lmajor);
    const float step = static_cast<float>(r2 - r1) / static_cast<float>(count);
    const float start = static_cast<float>(r1) + 0.5f;
    tick_series(start, step, count, last, [&](i64 pos) { tick(pos, smin, smin + lminor, cminor); });
    const float major_step = step * static_cast<float>(nminor);
    tick_series(start, major_step, nmajor, last, [&](i64 pos) { tick(pos, smaj, smaj + lmajor, cmajor); });
}

template <class Pen>
void grid(const RowTable& rows, Pen pen, int32_t width, int32_t height, int32_t nv, int32_t nh, uint16_t colour) {
    if (nv < 2 || nh < 2) return;  // one line has no spacing: the count divides by zero
    const uint8_t c = low_byte(colour);
    const i64 right = i64{width} - 1, top = i64{height} - 1;
    draw_on_canvas(rows, pen, {0, right, 0, top}, [&](const auto& cv) {
        grid_lines(height, nh, rows.height, [&](i64 y) { cv.span(y, 0, right, c); });
        grid_lines(width, nv, rows.width, [&](i64 x) { cv.column(x, 0, top, c); });
    });
}

template <class Pen>
void h_axis(const RowTable& rows, Pen pen, int32_t y, int32_t x1, int32_t x2, int32_t nmajor, int32_t nminor,
            int32_t place, int32_t lmajor, int32_t lminor, uint16_t cmajor, uint16_t cminor) {
    const auto cv = checked_canvas(rows, pen);
    axis_ticks(y, x1, x2, nmajor, nminor, place, lmajor, lminor, low_byte(cmajor), low_byte(cminor), rows.width - 1,
               [&](i64 x, i64 ya, i64 yb, uint8_t c) { cv.column(x, std::min(ya, yb), std::max(ya, yb), c); });
}

template <class Pen>
void v_axis(const RowTable& rows, Pen pen, int32_t x, int32_t y1, int32_t y2, int32_t nmajor, int32_t nminor,
            int32_t place, int32_t lmajor, int32_t lminor, uint16_t cmajor, uint16_t cminor) {
    const auto cv = checked_canvas(rows, pen);
    axis_ticks(x, y1, y2, nmajor, nminor, place, lmajor, lminor, low_byte(cmajor), low_byte(cminor), rows.height - 1,
               [&](i64 y, i64 xa, i64 xb, uint8_t c) { ordered_span(cv, y, xa, xb, c); });
}

}  // namespace

void ras_grid(const RowTable& rows, int32_t width, int32_t height, int32_t nv, int32_t nh, uint16_t colour) {
    grid(rows, PlainPen{}, width, height, nv, nh, colour);
}
void ras_grid(const TrackedRows& t, int32_t width, int32_t height, int32_t nv, int32_t nh, uint16_t colour) {
    grid(t.rows, tag_pen(t), width, height, nv, nh, colour);
}

void ras_h_axis(const RowTable& rows, int32_t y, int32_t x1, int32_t x2, int32_t nmajor, int32_t nminor, int32_t place,
                int32_t lmajor, int32_t lminor, uint16_t cmajor, uint16_t cminor) {
    h_axis(rows, PlainPen{}, y, x1, x2, nmajor, nminor, place, lmajor, lminor, cmajor, cminor);
}
void ras_h_axis(const TrackedRows& t, int32_t y, int32_t x1, int32_t x2, int32_t nmajor, int32_t nminor, int32_t place,
                int32_t lmajor, int32_t lminor, uint16_t cmajor, uint16_t cminor) {
    h_axis(t.rows, tag_pen(t), y, x1, x2, nmajor, nminor, place, lmajor, lminor, cmajor, cminor);
}

void ras_v_axis(const RowTable& rows, int32_t x, int32_t y1, int32_t y2, int32_t nmajor, int32_t nminor, int32_t place,
                int32_t lmajor, int32_t lminor, uint16_t cmajor, uint16_t cminor) {
    v_axis(rows, PlainPen{}, x, y1, y2, nmajor, nminor, place, lmajor, lminor, cmajor, cminor);
}
void ras_v_axis(const TrackedRows& t, int32_t x, int32_t y1, int32_t y2, int32_t nmajor, int32_t nminor, int32_t place,
                int32_t lmajor, int32_t lminor, uint16_t cmajor, uint16_t cminor) {
    v_axis(t.rows, tag_pen(t), x, y1, y2, nmajor, nminor, place, lmajor, lminor, cmajor, cminor);
}

}  // namespace korvane
