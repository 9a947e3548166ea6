// SPDX-License-Identifier: GPL-3.0-or-later
// Axis-aligned ellipses from one integer walk over a quarter, mirrored into
// the four quadrants. Region 1 steps one row at a time (the steep ends),
// region 2 one column at a time (the flat top and bottom); d1 and d2 are the
// midpoint tests scaled by 4, updated by additions only.
#include "canvas_ops.h"
#include "raster.h"

namespace korvane {

namespace {

using namespace detail;

struct EllipseWalk {
    i64 a2, b2;  // A² and B²
    i64 x, y;    // current offset
    i64 X, Y;    // 8B²x and 8A²y
    i64 d1, d2;

    EllipseWalk(i64 A, i64 B)
        : a2(A * A),
          b2(B * B),
          x(A),
          y(0),
          X(8 * A * B * B),
          Y(0),
          d1(4 * a2 - 4 * A * b2 + b2),
          d2(a2 - 8 * A * b2 + 4 * b2) {}

    // One step of region 1; the walk stays there while d2 < 0.
    bool step1() {
        ++y;
        Y += 8 * a2;
        if (d1 < 0) {
            d2 += Y;
            d1 += Y + 4 * a2;
        } else {
            --x;
            X -= 8 * b2;
            d1 += Y - X + 4 * a2;
            d2 += Y - X + 4 * b2;
        }
        return d2 < 0;
    }
    // One step of region 2; returns whether it moved up a row.
    bool step2() {
        --x;
        X -= 8 * b2;
        if (d2 < 0) {
            ++y;
            Y += 8 * a2;
            d2 += Y - X + 4 * b2;
            return true;
        }
        d2 += 4 * b2 - X;
        return false;
    }
};

// Calls visit(x, y) for every offset of the walk, region 1 then region 2.
template <class Visit>
void walk(i64 A, i64 B, Visit&& visit) {
    EllipseWalk w(A, B);
    do visit(w.x, w.y);
    while (w.step1());
    do {
        visit(w.x, w.y);
        w.step2();
    } while (w.x >= 0);
}

template <class Cv>
void outline(const Cv& cv, i64 xc, i64 yc, i64 A, i64 B, uint8_t c) {
    walk(A, B, [&](i64 x, i64 y) { four(xc, yc, x, y, [&](i64 px, i64 py) { cv.store(px, py, c); }); });
}

// Axis points come twice from the walk: the end points get one XOR more up
// front, the top and bottom points one XOR in place of the last visit.
template <class Cv>
void xor_outline(const Cv& cv, i64 xc, i64 yc, i64 A, i64 B, uint8_t c) {
    auto visit = [&](const EllipseWalk& w) { four(xc, yc, w.x, w.y, [&](i64 px, i64 py) { cv.xor_(px, py, c); }); };
    cv.xor_(xc - A, yc, c);
    cv.xor_(xc + A, yc, c);
    EllipseWalk w(A, B);
    do visit(w);
    while (w.step1());
    while (w.x != 0) {
        visit(w);
        w.step2();
    }
    cv.xor_(xc, yc + w.y, c);
    cv.xor_(xc, yc - w.y, c);
}

template <class Cv>
void solid(const Cv& cv, i64 xc, i64 yc, i64 A, i64 B, uint8_t c) {
    walk(A, B, [&](i64 x, i64 y) {
        cv.span(yc - y, xc - x, xc + x, c);
        cv.span(yc + y, xc - x, xc + x, c);
    });
}

template <class Cv>
void bordered(const Cv& cv, i64 xc, i64 yc, i64 A, i64 B, uint8_t border, uint8_t fill) {
    auto ring = [&](const EllipseWalk& w) {
        four(xc, yc, w.x, w.y, [&](i64 px, i64 py) { cv.store(px, py, border); });
    };
    auto rows = [&](const EllipseWalk& w, i64 right) {
        cv.span(yc - w.y, xc - w.x, xc + right, fill);
        cv.span(yc + w.y, xc - w.x, xc + right, fill);
    };
    EllipseWalk w(A, B);
    do {
        rows(w, w.x - 1);
        ring(w);
    } while (w.step1());
    // Region 2 fills a row when it enters it, at its widest.
    rows(w, w.x);
    do {
        ring(w);
        if (w.step2()) rows(w, w.x);
    } while (w.x >= 0);
}

bool axes_ok(int32_t a, int32_t b) { return a >= 1 && b >= 1 && a <= kMaxSemiAxis && b <= kMaxSemiAxis; }

// Draws with figure(canvas, xc, yc, a, b) over the ellipse's box.
template <class Pen, class Figure>
void ellipse_with(const RowTable& rows, Pen pen, int32_t xc, int32_t yc, int32_t a, int32_t b, Figure&& figure) {
    if (!axes_ok(a, b)) return;
    draw_on_canvas(rows, pen, centred_box(xc, yc, a, b), [&](const auto& cv) { figure(cv, xc, yc, a, b); });
}

auto outline_of(uint16_t colour) {
    return [c = low_byte(colour)](const auto& cv, i64 xc, i64 yc, i64 a, i64 b) { outline(cv, xc, yc, a, b, c); };
}
auto xor_outline_of(uint16_t colour) {
    return [c = low_byte(colour)](const auto& cv, i64 xc, i64 yc, i64 a, i64 b) { xor_outline(cv, xc, yc, a, b, c); };
}
auto solid_of(uint16_t colour) {
    return [c = low_byte(colour)](const auto& cv, i64 xc, i64 yc, i64 a, i64 b) { solid(cv, xc, yc, a, b, c); };
}
auto bordered_of(uint16_t border, uint16_t fill) {
    return [e = low_byte(border), f = low_byte(fill)](const auto& cv, i64 xc, i64 yc, i64 a, i64 b) {
        bordered(cv, xc, yc, a, b, e, f);
    };
}

}  // namespace

void ras_ellipse(const RowTable& rows, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t colour) {
    ellipse_with(rows, PlainPen{}, xc, yc, a, b, outline_of(colour));
}
void ras_ellipse(const TrackedRows& t, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t colour) {
    ellipse_with(t.rows, tag_pen(t), xc, yc, a, b, outline_of(colour));
}

void ras_xellipse(const RowTable& rows, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t colour) {
    ellipse_with(rows, PlainPen{}, xc, yc, a, b, xor_outline_of(colour));
}
void ras_xellipse(const TrackedRows& t, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t colour) {
    ellipse_with(t.rows, tag_pen(t), xc, yc, a, b, xor_outline_of(colour));
}

void ras_elldisk(const RowTable& rows, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t colour) {
    ellipse_with(rows, PlainPen{}, xc, yc, a, b, solid_of(colour));
}
void ras_elldisk(const TrackedRows& t, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t colour) {
    ellipse_with(t.rows, tag_pen(t), xc, yc, a, b, solid_of(colour));
}

void ras_ellbdisk(const RowTable& rows, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t border, uint16_t fill) {
    ellipse_with(rows, PlainPen{}, xc, yc, a, b, bordered_of(border, fill));
}
void ras_ellbdisk(const TrackedRows& t, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t border, uint16_t fill) {
    ellipse_with(t.rows, tag_pen(t), xc, yc, a, b, bordered_of(border, fill));
}

}  // namespace korvane
