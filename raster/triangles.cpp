// SPDX-License-Identifier: GPL-3.0-or-later
// Filled triangles. Each edge is stepped from its lower to its upper end as
// a line is, and leaves a bound per row: one column inside its pixels on that
// row. Rows strictly between the bottom and the top are filled between the
// bounds, so the fill never covers an edge pixel.
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "line_steps.h"
#include "raster.h"

namespace korvane {

namespace {

using namespace detail;

struct Vertex {
    i64 x, y;
};

i64 ceil_div(i64 a, i64 b) { return a >= 0 ? (a + b - 1) / b : -((-a) / b); }

// An edge's stepping. The class comes from the single-precision slope, so a
// slope that rounds to +-1 takes the diagonal walker's unit steps.
LineSteps edge_steps(const Vertex& lo, const Vertex& hi) {
    LineSteps s;
    LineSteps::make(lo.x, lo.y, hi.x, hi.y, s);
    const i64 dy = hi.y - lo.y, dx = hi.x - lo.x;
    if (dx != 0 && std::abs(static_cast<float>(dy) / static_cast<float>(dx)) == 1.0f) {
        s.x_major = false;
        s.length = dy;
        s.slope = kFixedOne;
    }
    return s;
}

// Per-row bounds over the rows that can be filled: base .. base + size - 1.
struct Bounds {
    static constexpr i64 kNone = std::numeric_limits<i64>::max();
    i64 base;
    std::vector<i64> left, right;  // left: -kNone until set; right: kNone until set

    Bounds(i64 first, i64 last)
        : base(first),
          left(static_cast<size_t>(std::max<i64>(last - first + 1, 0)), -kNone),
          right(left.size(), kNone) {}

    // Two edges meet on the middle row: the bound further inside wins.
    void note(i64 y, i64 xmin, i64 xmax, bool left_side) {
        const i64 i = y - base;
        if (i < 0 || i >= static_cast<i64>(left.size())) return;
        const auto k = static_cast<size_t>(i);
        if (left_side)
            left[k] = std::max(left[k], xmax + 1);
        else
            right[k] = std::min(right[k], xmin - 1);
    }
    bool fillable(size_t k) const { return left[k] != -kNone && right[k] != kNone && right[k] >= left[k]; }
};

// The columns of an edge's pixels on row lo.y + j; false when it has none there.
bool edge_row(const LineSteps& s, i64 j, i64& xmin, i64& xmax) {
    i64 ka = j, kb = j;
    if (s.x_major) {
        ka = s.slope == 0 ? 0 : std::max<i64>(ceil_div(j * kFixedOne - kFixedHalf, s.slope), 0);
        kb = s.slope == 0 ? (j == 0 ? s.length : -1)
                          : std::min<i64>(ceil_div((j + 1) * kFixedOne - kFixedHalf, s.slope) - 1, s.length);
    }
    if (ka > kb) return false;
    xmin = std::min(s.x_at(ka), s.x_at(kb));
    xmax = std::max(s.x_at(ka), s.x_at(kb));
    return true;
}

template <class Cv>
void walk_edge(const Cv& cv, i64 height, const Vertex& lo, const Vertex& hi, bool left_side, uint8_t c, Bounds& b) {
    const LineSteps s = edge_steps(lo, hi);
    const i64 j0 = std::max<i64>(0, -lo.y), j1 = std::min<i64>(hi.y - lo.y, height - 1 - lo.y);
    for (i64 j = j0; j <= j1; ++j) {
        i64 xmin, xmax;
        if (!edge_row(s, j, xmin, xmax)) continue;
        if (xmin == xmax)
            cv.store(xmin, lo.y + j, c);
        else
            cv.span(lo.y + j, xmin, xmax, c);
        b.note(lo.y + j, xmin, xmax, left_side);
    }
}

template <class Pen>
void triangle(const RowTable& rows, Pen pen, std::array<Vertex, 3> v, uint8_t fill, uint8_t edge) {
    std::sort(v.begin(), v.end(), [](const Vertex& a, const Vertex& b) { return a.y > b.y; });
    Vertex top = v[0], mid = v[1], bot = v[2];
    const Box figure = {std::min({top.x, mid.x, bot.x}), std::max({top.x, mid.x, bot.x}), bot.y, top.y};
    draw_on_canvas(rows, pen, figure, [&](const auto& cv) {
        const i64 h = rows.height;
        Bounds b(std::max<i64>(bot.y + 1, 0), std::min<i64>(top.y - 1, h - 1));
        auto left = [&](const Vertex& lo, const Vertex& hi) { walk_edge(cv, h, lo, hi, true, edge, b); };
        auto right = [&](const Vertex& lo, const Vertex& hi) { walk_edge(cv, h, lo, hi, false, edge, b); };
        if (top.y == mid.y) {
            if (top.x > mid.x) std::swap(top, mid);
            left(bot, top);
            right(bot, mid);
            ordered_span(cv, top.y, top.x, mid.x, edge);
        } else if (mid.y == bot.y) {
            if (mid.x > bot.x) std::swap(mid, bot);
            left(mid, top);
            right(bot, top);
            ordered_span(cv, bot.y, mid.x, bot.x, edge);
        } else {
            const __int128 c = __int128(mid.y - bot.y) * (top.x - bot.x) - __int128(mid.x - bot.x) * (top.y - bot.y);
            if (c >= 1) {
                left(bot, mid);
                left(mid, top);
                right(bot, top);
            } else {
                left(bot, top);
                right(bot, mid);
                right(mid, top);
            }
        }
        for (size_t k = 0; k < b.left.size(); ++k)
            if (b.fillable(k)) cv.span(b.base + static_cast<i64>(k), b.left[k], b.right[k], fill);
    });
}

template <class Pen>
void trifill(const RowTable& rows, Pen pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
             uint16_t fill, uint16_t edge) {
    if ((y1 == y2 && y2 == y3) || (x1 == x2 && x2 == x3)) return;
    triangle(rows, pen, {Vertex{x1, y1}, Vertex{x2, y2}, Vertex{x3, y3}}, low_byte(fill), low_byte(edge));
}

}  // namespace

void ras_trifill(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                 uint16_t fill, uint16_t edge) {
    trifill(rows, PlainPen{}, x1, y1, x2, y2, x3, y3, fill, edge);
}
void ras_trifill(const TrackedRows& t, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                 uint16_t fill, uint16_t edge) {
    trifill(t.rows, tag_pen(t), x1, y1, x2, y2, x3, y3, fill, edge);
}

}  // namespace korvane
