// SPDX-License-Identifier: GPL-3.0-or-later
// Circles and disks from one integer walk. The side pass visits the offsets
// (a, b) with a >= b, the cap pass the mirrored ones with a < b; both run the
// same recurrence, so one walk serves both.
#include <cmath>

#include "canvas_ops.h"
#include "raster.h"

namespace korvane {

namespace {

using namespace detail;

// The floor of the square root; the double estimate is off by a few units
// at most, and is kept below 2^32 so that s * s cannot overflow.
uint64_t isqrt(uint64_t n) {
    uint64_t s = std::min<uint64_t>(static_cast<uint64_t>(std::sqrt(static_cast<double>(n))), 0xFFFFFFFFu);
    while (s * s > n) --s;
    while (s < 0xFFFFFFFFu && (s + 1) * (s + 1) <= n) ++s;
    return s;
}

// The walk advances u by one per step and lets v follow the circle; the side
// pass reads it as (a, b) = (v, u), the cap pass as (a, b) = (u, v). d is the
// midpoint test (2v - 1)^2 + 4(u + 1)^2 - 4r^2, kept by additions, and k its
// running increment 8u + 4.
struct CircleWalk {
    i64 r, u = 0, v = r, d = 5 - 4 * r, k = 4;

    // Advances u; true when v stepped down too.
    bool step() {
        ++u;
        k += 8;
        if (d < 0) {
            d += k;
            return false;
        }
        --v;
        d += k - 8 * v;
        return true;
    }

    // While 2u^2 <= r^2 the circle falls at most one unit per step, so the
    // walk's v at u is the largest v with (2v - 1)^2 + 4u^2 < 4r^2. A huge
    // radius shows only an arc; this lets the walk start next to it.
    i64 last_exact_u() const { return static_cast<i64>(isqrt(static_cast<uint64_t>(r * r) / 2)); }
    i64 v_at(i64 t) const {
        const uint64_t m = 4 * static_cast<uint64_t>(r * r) - 4 * static_cast<uint64_t>(t * t);
        const uint64_t s = isqrt(m);
        return static_cast<i64>(s * s == m ? s / 2 : (s + 1) / 2);
    }
    void jump_to(i64 t) {
        t = std::min(t, last_exact_u());
        if (t <= u) return;
        u = t;
        v = v_at(t);
        k = 8 * t + 4;
        // Exact in 64-bit wrap-around: the true value is small.
        const uint64_t dv = static_cast<uint64_t>(2 * v - 1), du = static_cast<uint64_t>(t + 1);
        d = static_cast<i64>(dv * dv + 4 * du * du - 4 * static_cast<uint64_t>(r * r));
    }
    // Smallest u (up to the last exact one) whose v is at most `row`.
    i64 first_u_with_v_at_most(i64 row) const {
        i64 lo = 0, hi = last_exact_u();
        if (v_at(hi) > row) return hi;
        while (lo < hi) {
            const i64 mid = lo + (hi - lo) / 2;
            if (v_at(mid) <= row)
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    }
};

// The rows a canvas can show, as distances lo..hi from the centre row.
struct RowReach {
    i64 lo, hi;
};

template <class Cv>
RowReach row_reach(const Cv& cv, i64 yc) {
    return {std::max({i64{0}, cv.clip.y0 - yc, yc - cv.clip.y1}), std::max(yc - cv.clip.y0, cv.clip.y1 - yc)};
}

// The passes skip the steps whose rows lie outside `reach`, so a figure far
// larger than the canvas costs what its visible arc costs. body(walk) does
// one visit and steps the walk.
template <class Body>
void side_pass(i64 r, RowReach reach, Body&& body) {
    CircleWalk w{r};
    w.jump_to(reach.lo);
    while (w.v >= w.u && w.u <= reach.hi) body(w);
}

// Starts one step before v reaches the rows, so a routine that acts when the
// walk enters a row sees that step.
template <class Body>
void cap_pass(i64 r, RowReach reach, Body&& body) {
    CircleWalk w{r};
    w.jump_to(w.first_u_with_v_at_most(reach.hi) - 1);
    while (w.u < w.v && w.v >= reach.lo) body(w);
}

template <class Cv>
void outline(const Cv& cv, i64 xc, i64 yc, i64 r, uint8_t c) {
    auto put = [&](i64 x, i64 y) { cv.store(x, y, c); };
    const RowReach reach = row_reach(cv, yc);
    side_pass(r, reach, [&](CircleWalk& w) {
        four(xc, yc, w.v, w.u, put);
        w.step();
    });
    cap_pass(r, reach, [&](CircleWalk& w) {
        four(xc, yc, w.u, w.v, put);
        w.step();
    });
}

// Axis points come twice from the walk, so each gets one XOR more up front.
template <class Cv>
void xor_outline(const Cv& cv, i64 xc, i64 yc, i64 r, uint8_t c) {
    auto flip = [&](i64 x, i64 y) { cv.xor_(x, y, c); };
    const RowReach reach = row_reach(cv, yc);
    flip(xc - r, yc);
    flip(xc + r, yc);
    side_pass(r, reach, [&](CircleWalk& w) {
        four(xc, yc, w.v, w.u, flip);
        w.step();
    });
    flip(xc, yc + r);
    flip(xc, yc - r);
    cap_pass(r, reach, [&](CircleWalk& w) {
        four(xc, yc, w.u, w.v, flip);
        w.step();
    });
}

template <class Cv>
void solid(const Cv& cv, i64 xc, i64 yc, i64 r, uint8_t c) {
    auto rows = [&](i64 a, i64 b) {
        cv.span(yc - b, xc - a, xc + a, c);
        cv.span(yc + b, xc - a, xc + a, c);
    };
    const RowReach reach = row_reach(cv, yc);
    side_pass(r, reach, [&](CircleWalk& w) {
        rows(w.v, w.u);
        w.step();
    });
    // The cap pass fills each row once, at its widest, when it leaves the row.
    cap_pass(r, reach, [&](CircleWalk& w) {
        if (w.d >= 0) rows(w.u, w.v);
        w.step();
    });
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
    const RowReach reach = row_reach(cv, yc);
    side_pass(r, reach, [&](CircleWalk& w) {
        rows(w.v, w.u);
        ring(w.v, w.u);
        w.step();
    });
    cap_pass(r, reach, [&](CircleWalk& w) {
        ring(w.u, w.v);
        if (w.step()) {
            rows(w.u, w.v);
            ring(w.u, w.v);
        }
    });
}

// The offsets of the radius-2 ring, bottom row first.
constexpr int kRing[12][2] = {{-1, -2}, {0, -2}, {1, -2}, {-2, -1}, {2, -1}, {-2, 0},
                              {2, 0},   {-2, 1}, {2, 1},  {-1, 2},  {0, 2},  {1, 2}};

template <class Cv>
void ring2(const Cv& cv, i64 x, i64 y, uint8_t c) {
    for (const auto& o : kRing) cv.store(x + o[0], y + o[1], c);
}

bool radius_ok(int32_t r) { return r >= 1; }

template <class Pen>
void circle(const RowTable& rows, Pen pen, const ClipWindow& clip, int32_t xc, int32_t yc, int32_t r, uint16_t colour) {
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
    draw_on_canvas(rows, pen, centred_box(xc, yc, r, r),
                   [&](const auto& cv) { solid(cv, xc, yc, r, low_byte(colour)); });
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

void ras_circle(const RowTable& rows, const ClipWindow& clip, int32_t xc, int32_t yc, int32_t r, uint16_t colour) {
    circle(rows, PlainPen{}, clip, xc, yc, r, colour);
}
void ras_circle(const TrackedRows& t, const ClipWindow& clip, int32_t xc, int32_t yc, int32_t r, uint16_t colour) {
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
