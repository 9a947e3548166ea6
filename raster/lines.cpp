// SPDX-License-Identifier: GPL-3.0-or-later
// Points and the four stepped lines. Lines are clipped once on their major
// axis (a range of pixel indices), so a line of any length costs only its
// visible pixels; the minor axis is tested per pixel where needed.
#include "line_steps.h"
#include "raster.h"

namespace korvane {

namespace {

using namespace detail;

Box window_box(const ClipWindow& w) { return {w.xmin, w.xmax, w.ymin, w.ymax}; }

// Pixels k of [0, n) whose major coordinate lies inside `range`.
bool visible_range(const LineSteps& s, i64 n, const Box& range, i64& k0, i64& k1) {
    const i64 m1 = s.x_major ? s.x1 : s.y1;
    const i64 sm = s.x_major ? s.sx : s.sy;
    const i64 lo = s.x_major ? range.x0 : range.y0;
    const i64 hi = s.x_major ? range.x1 : range.y1;
    k0 = std::max<i64>(sm > 0 ? lo - m1 : m1 - hi, 0);
    k1 = std::min<i64>(sm > 0 ? hi - m1 : m1 - lo, n - 1);
    return k0 <= k1;
}

// Calls plot(canvas, x, y, next_carries) for pixels k0..k1. `fast` is the box in
// which every pixel operation of plot stays on the canvas without tests.
template <class Pen, class Plot>
void plot_range(const RowTable& rows, Pen pen, const Box& window, const Box& fast, const LineSteps& s, i64 k0, i64 k1,
                Plot&& plot) {
    LineWalker w(s, k0);
    auto run = [&](const auto& cv) {
        for (i64 k = k0; k <= k1; ++k) {
            plot(cv, w.x, w.y, w.next_carries());
            w.step();
        }
    };
    if (fast.contains(s.x_at(k0), s.y_at(k0)) && fast.contains(s.x_at(k1), s.y_at(k1)))
        run(Canvas<Pen, false>{rows.row, window, pen});
    else
        run(Canvas<Pen, true>{rows.row, window, pen});
}

// A line of n pixels from (x1, y1) towards (x2, y2), clipped to `window`.
template <class Pen, class Plot>
void stepped_line(const RowTable& rows, Pen pen, const Box& window, i64 x1, i64 y1, i64 x2, i64 y2, i64 extra,
                  Plot&& plot) {
    LineSteps s;
    if (!LineSteps::make(x1, y1, x2, y2, s)) return;
    i64 k0, k1;
    if (visible_range(s, s.length + extra, window, k0, k1)) plot_range(rows, pen, window, window, s, k0, k1, plot);
}

uint16_t rotate_right(uint16_t p, i64 bits) {
    const int r = static_cast<int>(bits & 15);
    return r == 0 ? p : static_cast<uint16_t>((p >> r) | (p << (16 - r)));
}

// A diagonal step is sqrt(2) pixels long: (sqrt(2) - 1) * 2^16, the extra
// length over a straight step as a 16-bit fraction.
constexpr i64 kDiagonalExtra = 0x6A0A;

// The dash state of a dline: one pattern bit per pixel, and one more per
// overflow of the accumulated extra length of diagonal steps.
struct Dash {
    uint16_t pattern;
    i64 acc;

    void after_pixel(bool diagonal_step) {
        pattern = rotate_right(pattern, 1);
        if (!diagonal_step) return;
        acc += kDiagonalExtra;
        if (acc >> 16) pattern = rotate_right(pattern, 1);
        acc &= kFractionMask;
    }
    // The same as after_pixel for every pixel of [ka, kb), without drawing.
    void skip(const LineSteps& s, i64 ka, i64 kb) {
        if (ka >= kb) return;
        acc += (s.minor_index(kb) - s.minor_index(ka)) * kDiagonalExtra;
        pattern = rotate_right(pattern, (kb - ka) + (acc >> 16));
        acc &= kFractionMask;
    }
};

template <class Pen>
void dashed_line(const RowTable& rows, Pen pen, i64 x1, i64 y1, i64 x2, i64 y2, uint8_t c, Dash& dash) {
    LineSteps s;
    if (!LineSteps::make(x1, y1, x2, y2, s)) return;
    const Box canvas = canvas_box(rows);
    i64 k0, k1;
    if (!visible_range(s, s.length, canvas, k0, k1)) {
        dash.skip(s, 0, s.length);
        return;
    }
    dash.skip(s, 0, k0);
    plot_range(rows, pen, canvas, canvas, s, k0, k1, [&](const auto& cv, i64 x, i64 y, bool diagonal) {
        if (dash.pattern & 1) cv.store(x, y, c);
        dash.after_pixel(diagonal);
    });
    dash.skip(s, k1 + 1, s.length);
}

template <class Pen>
void point(const RowTable& rows, Pen pen, const ClipWindow& clip, int32_t x, int32_t y, uint16_t colour) {
    if (intersect(window_box(clip), canvas_box(rows)).contains(x, y)) pen.store(rows.row[y] + x, low_byte(colour));
}

template <class Pen>
void fpoint(const RowTable& rows, Pen pen, const ClipWindow& clip, int32_t x, int32_t y, uint16_t colour) {
    // The block covers x + 1 and y + 1 too: upper bounds exclusive.
    const Box w = window_box(clip);
    const Box corner = intersect({w.x0, w.x1 - 1, w.y0, w.y1 - 1}, canvas_box(rows));
    if (!corner.contains(x, y) || !canvas_box(rows).contains(i64{x} + 1, i64{y} + 1)) return;
    const uint8_t c = low_byte(colour);
    pen.store(rows.row[y] + x, c);
    pen.store(rows.row[y] + x + 1, c);
    pen.store(rows.row[y + 1] + x, c);
    pen.store(rows.row[y + 1] + x + 1, c);
}

template <class Pen>
void line(const RowTable& rows, Pen pen, const ClipWindow& clip, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
          uint16_t colour, int32_t extra) {
    const uint8_t c = low_byte(colour);
    stepped_line(rows, pen, intersect(window_box(clip), canvas_box(rows)), x1, y1, x2, y2, extra,
                 [c](const auto& cv, i64 x, i64 y, bool) { cv.store(x, y, c); });
}

template <class Pen>
void xline(const RowTable& rows, Pen pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour) {
    const uint8_t c = low_byte(colour);
    stepped_line(rows, pen, canvas_box(rows), x1, y1, x2, y2, 0,
                 [c](const auto& cv, i64 x, i64 y, bool) { cv.xor_(x, y, c); });
}

template <class Pen>
void fline(const RowTable& rows, Pen pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour) {
    LineSteps s;
    if (!LineSteps::make(x1, y1, x2, y2, s)) return;
    // The 2 x 2 brush reaches one column right and one row up of its pixel.
    const Box canvas = canvas_box(rows);
    const Box reach = {canvas.x0 - 1, canvas.x1, canvas.y0 - 1, canvas.y1};
    const Box fast = {canvas.x0, canvas.x1 - 1, canvas.y0, canvas.y1 - 1};
    i64 k0, k1;
    if (!visible_range(s, s.length, reach, k0, k1)) return;
    const uint8_t c = low_byte(colour);
    plot_range(rows, pen, canvas, fast, s, k0, k1, [c](const auto& cv, i64 x, i64 y, bool) {
        cv.store(x, y, c);
        cv.store(x + 1, y, c);
        cv.store(x, y + 1, c);
        cv.store(x + 1, y + 1, c);
    });
}

template <class Pen>
void dline(const RowTable& rows, Pen pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour,
           uint16_t& pattern, uint16_t& diag_acc) {
    Dash dash{pattern, diag_acc};
    dashed_line(rows, pen, x1, y1, x2, y2, low_byte(colour), dash);
    pattern = dash.pattern;
    diag_acc = static_cast<uint16_t>(dash.acc);
}

}  // namespace

void ras_point(const RowTable& rows, const ClipWindow& clip, int32_t x, int32_t y, uint16_t colour) {
    point(rows, PlainPen{}, clip, x, y, colour);
}
void ras_point(const TrackedRows& t, const ClipWindow& clip, int32_t x, int32_t y, uint16_t colour) {
    point(t.rows, tag_pen(t), clip, x, y, colour);
}

void ras_fpoint(const RowTable& rows, const ClipWindow& clip, int32_t x, int32_t y, uint16_t colour) {
    fpoint(rows, PlainPen{}, clip, x, y, colour);
}
void ras_fpoint(const TrackedRows& t, const ClipWindow& clip, int32_t x, int32_t y, uint16_t colour) {
    fpoint(t.rows, tag_pen(t), clip, x, y, colour);
}

void ras_line(const RowTable& rows, const ClipWindow& clip, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
              uint16_t colour, int32_t extra) {
    line(rows, PlainPen{}, clip, x1, y1, x2, y2, colour, extra);
}
void ras_line(const TrackedRows& t, const ClipWindow& clip, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
              uint16_t colour, int32_t extra) {
    line(t.rows, tag_pen(t), clip, x1, y1, x2, y2, colour, extra);
}

void ras_xline(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour) {
    xline(rows, PlainPen{}, x1, y1, x2, y2, colour);
}
void ras_xline(const TrackedRows& t, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour) {
    xline(t.rows, tag_pen(t), x1, y1, x2, y2, colour);
}

void ras_fline(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour) {
    fline(rows, PlainPen{}, x1, y1, x2, y2, colour);
}
void ras_fline(const TrackedRows& t, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour) {
    fline(t.rows, tag_pen(t), x1, y1, x2, y2, colour);
}

void ras_dline(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour, uint16_t& pattern,
               uint16_t& diag_acc) {
    dline(rows, PlainPen{}, x1, y1, x2, y2, colour, pattern, diag_acc);
}
void ras_dline(const TrackedRows& t, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour, uint16_t& pattern,
               uint16_t& diag_acc) {
    dline(t.rows, tag_pen(t), x1, y1, x2, y2, colour, pattern, diag_acc);
}

}  // namespace korvane
