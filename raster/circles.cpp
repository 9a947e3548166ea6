// Circles and disks from one integer walk. The side pass visits the offsets
// (a, b) with a >= b, the cap pass the mirrored ones with a < b; d is the
// midpoint decision scaled by 4 and k its running increment.
#include "canvas_ops.h"
#include "raster.h"

namespace korvane {

namespace {

using namespace detail;

struct Walk {
    i64 a, b, d, k;
};

Walk side_start(i64 r) { return {r, 0, 5 - 4 * r, 4}; }
Walk cap_start(i64 r) { return {0, r, 5 - 4 * r, 4}; }

template <class Visit>
void side_pass(i64 r, Visit&& visit) {
    Walk w = side_start(r);
    do {
        visit(w.a, w.b);
        ++w.b;
        w.k += 8;
        if (w.d < 0) {
            w.d += w.k;
        } else {
            --w.a;
            w.d += w.k - 8 * w.a;
        }
    } while (w.a >= w.b);
}

template <class Visit>
void cap_pass(i64 r, Visit&& visit) {
    Walk w = cap_start(r);
    do {
        visit(w.a, w.b);
        ++w.a;
        w.k += 8;
        if (w.d < 0) {
            w.d += w.k;
        } else {
            --w.b;
            w.d += w.k - 8 * w.b;
        }
    } while (w.a < w.b);
}

// The four mirror points of an offset, in the order the routines visit them.
template <class Op>
void four(i64 xc, i64 yc, i64 a, i64 b, Op&& op) {
    op(xc - a, yc + b);
    op(xc - a, yc - b);
    op(xc + a, yc + b);
    op(xc + a, yc - b);
}

template <class Cv>
void outline(const Cv& cv, i64 xc, i64 yc, i64 r, uint8_t c) {
    auto visit = [&](i64 a, i64 b) { four(xc, yc, a, b, [&](i64 x, i64 y) { cv.store(x, y, c); }); };
    side_pass(r, visit);
    cap_pass(r, visit);
}

// Axis points come twice from the walk, so each gets one XOR more up front.
template <class Cv>
void xor_outline(const Cv& cv, i64 xc, i64 yc, i64 r, uint8_t c) {
    auto visit = [&](i64 a, i64 b) { four(xc, yc, a, b, [&](i64 x, i64 y) { cv.xor_(x, y, c); }); };
    cv.xor_(xc - r, yc, c);
    cv.xor_(xc + r, yc, c);
    side_pass(r, visit);
    cv.xor_(xc, yc + r, c);
    cv.xor_(xc, yc - r, c);
    cap_pass(r, visit);
}

template <class Cv>
void solid(const Cv& cv, i64 xc, i64 yc, i64 r, uint8_t c) {
    side_pass(r, [&](i64 a, i64 b) {
        cv.span(yc - b, xc - a, xc + a, c);
        cv.span(yc + b, xc - a, xc + a, c);
    });
    // The cap pass fills each row once, at its widest, when it leaves the row.
    Walk w = cap_start(r);
    do {
        if (w.d < 0) {
            ++w.a;
            w.k += 8;
            w.d += w.k;
        } else {
            cv.span(yc - w.b, xc - w.a, xc + w.a, c);
            cv.span(yc + w.b, xc - w.a, xc + w.a, c);
            ++w.a;
            --w.b;
            w.k += 8;
            w.d += w.k - 8 * w.b;
        }
    } while (w.a < w.b);
}

// Fill first, outline over it: a row is filled when the walk enters it, at
// its narrowest, so its later outline points keep the border colour.
template <class Cv>
void bordered(const Cv& cv, i64 xc, i64 yc, i64 r, uint8_t border, uint8_t fill) {
    auto ring = [&](i64 a, i64 b) { four(xc, yc, a, b, [&](i64 x, i64 y) { cv.store(x, y, border); }); };
    auto rows = [&](i64 a, i64 b) {
        cv.span(yc - b, xc - a, xc + a - 1, fill);
        cv.span(yc + b, xc - a, xc + a - 1, fill);
    };
    side_pass(r, [&](i64 a, i64 b) {
        rows(a, b);
        ring(a, b);
    });
    Walk w = cap_start(r);
    do {
        ring(w.a, w.b);
        ++w.a;
        w.k += 8;
        if (w.d < 0) {
            w.d += w.k;
        } else {
            --w.b;
            rows(w.a, w.b);
            ring(w.a, w.b);
            w.d += w.k - 8 * w.b;
        }
    } while (w.a < w.b);
}

// The offsets of the radius-2 ring, bottom row first.
constexpr int kRing[12][2] = {{-1, -2}, {0, -2}, {1, -2}, {-2, -1}, {2, -1}, {-2, 0},
                              {2, 0},   {-2, 1}, {2, 1},  {-1, 2},  {0, 2},  {1, 2}};

template <class Cv>
void ring2(const Cv& cv, i64 x, i64 y, uint8_t c) {
    for (const auto& o : kRing) cv.store(x + o[0], y + o[1], c);
}

bool radius_ok(int32_t r) { return r >= 1 && r <= kMaxRadius; }

template <class Pen>
void circle(const RowTable& rows, Pen pen, const ClipWindow& clip, int32_t xc, int32_t yc, int32_t r,
            uint16_t colour) {
    if (!radius_ok(r)) return;
    // The window's own edges are outside: x strictly between xmin and xmax.
    const Box inner = {i64{clip.xmin} + 1, i64{clip.xmax} - 1, i64{clip.ymin} + 1, i64{clip.ymax} - 1};
    draw_in(rows, pen, inner, centred_box(xc, yc, r, r),
            [&](const auto& cv) { outline(cv, xc, yc, r, low_byte(colour)); });
}

template <class Pen>
void xcircle(const RowTable& rows, Pen pen, int32_t xc, int32_t yc, int32_t r, uint16_t colour) {
    if (!radius_ok(r)) return;
    draw_on_canvas(rows, pen, centred_box(xc, yc, r, r),
                   [&](const auto& cv) { xor_outline(cv, xc, yc, r, low_byte(colour)); });
}

template <class Pen>
void disk(const RowTable& rows, Pen pen, int32_t xc, int32_t yc, int32_t r, uint16_t colour) {
    if (!radius_ok(r)) return;
    draw_on_canvas(rows, pen, centred_box(xc, yc, r, r), [&](const auto& cv) { solid(cv, xc, yc, r, low_byte(colour)); });
}

template <class Pen>
void bdisk(const RowTable& rows, Pen pen, int32_t xc, int32_t yc, int32_t r, uint16_t border, uint16_t fill) {
    if (!radius_ok(r)) return;
    draw_on_canvas(rows, pen, centred_box(xc, yc, r, r),
                   [&](const auto& cv) { bordered(cv, xc, yc, r, low_byte(border), low_byte(fill)); });
}

template <class Pen>
void circ2(const RowTable& rows, Pen pen, int32_t x, int32_t y, uint16_t colour) {
    draw_on_canvas(rows, pen, centred_box(x, y, 2, 2), [&](const auto& cv) { ring2(cv, x, y, low_byte(colour)); });
}

template <class Pen>
void fcirc2(const RowTable& rows, Pen pen, int32_t x, int32_t y, uint16_t border, uint16_t fill) {
    draw_on_canvas(rows, pen, centred_box(x, y, 2, 2), [&](const auto& cv) {
        ring2(cv, x, y, low_byte(border));
        for (i64 dy = -1; dy <= 1; ++dy) cv.span(i64{y} + dy, i64{x} - 1, i64{x} + 1, low_byte(fill));
    });
}

}  // namespace

void ras_circle(const RowTable& rows, const ClipWindow& clip, int32_t xc, int32_t yc, int32_t r,
                uint16_t colour) {
    circle(rows, PlainPen{}, clip, xc, yc, r, colour);
}
void ras_circle(const TrackedRows& t, const ClipWindow& clip, int32_t xc, int32_t yc, int32_t r,
                uint16_t colour) {
    circle(t.rows, tag_pen(t), clip, xc, yc, r, colour);
}

void ras_xcircle(const RowTable& rows, int32_t xc, int32_t yc, int32_t r, uint16_t colour) {
    xcircle(rows, PlainPen{}, xc, yc, r, colour);
}
void ras_xcircle(const TrackedRows& t, int32_t xc, int32_t yc, int32_t r, uint16_t colour) {
    xcircle(t.rows, tag_pen(t), xc, yc, r, colour);
}

void ras_disk(const RowTable& rows, int32_t xc, int32_t yc, int32_t r, uint16_t colour) {
    disk(rows, PlainPen{}, xc, yc, r, colour);
}
void ras_disk(const TrackedRows& t, int32_t xc, int32_t yc, int32_t r, uint16_t colour) {
    disk(t.rows, tag_pen(t), xc, yc, r, colour);
}

void ras_bdisk(const RowTable& rows, int32_t xc, int32_t yc, int32_t r, uint16_t border, uint16_t fill) {
    bdisk(rows, PlainPen{}, xc, yc, r, border, fill);
}
void ras_bdisk(const TrackedRows& t, int32_t xc, int32_t yc, int32_t r, uint16_t border, uint16_t fill) {
    bdisk(t.rows, tag_pen(t), xc, yc, r, border, fill);
}

void ras_circ2(const RowTable& rows, int32_t x, int32_t y, uint16_t colour) { circ2(rows, PlainPen{}, x, y, colour); }
void ras_circ2(const TrackedRows& t, int32_t x, int32_t y, uint16_t colour) { circ2(t.rows, tag_pen(t), x, y, colour); }

void ras_fcirc2(const RowTable& rows, int32_t x, int32_t y, uint16_t border, uint16_t fill) {
    fcirc2(rows, PlainPen{}, x, y, border, fill);
}
void ras_fcirc2(const TrackedRows& t, int32_t x, int32_t y, uint16_t border, uint16_t fill) {
    fcirc2(t.rows, tag_pen(t), x, y, border, fill);
}

}  // namespace korvane
