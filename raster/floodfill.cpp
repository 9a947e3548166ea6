// Scan-line flood fill. The span step fills one span of a row; the frame
// keeps pending segments on an up stack and a down stack and always pops
// from the fuller one. Spans connect only through pixels directly above or
// below each other. The stacks grow as needed, so no segment is ever lost.
//
// Some colour choices make the walk revisit the same spans for ever: mode 2
// passes over c3 pixels without changing them, and a ramp or outline colour
// equal to c2 leaves painted pixels fillable. A budget of pixel tests, a
// fixed multiple of the canvas area, ends such fills within milliseconds;
// fills that end by themselves (mode 1 scans over pixels it has already
// painted) stay far below it.
#include <algorithm>
#include <vector>

#include "canvas_ops.h"
#include "raster.h"

namespace korvane {

namespace {

using namespace detail;

// What the span step does with a pixel: stop at it, pass over it, or paint it.
enum class Px { Stop, Keep, Paint };

struct Segment {
    int32_t left, right, row;
};

constexpr int32_t kHalfTableSize = 400;
constexpr int64_t kBudgetPerPixel = 64;

template <class Pen>
struct FloodFill {
    uint8_t* const* row;
    [[no_unique_address]] Pen pen;
    int32_t xlast, ylast;
    uint8_t c1, c2, c3;
    uint16_t c1_word;  // the outline marks compare pixel bytes with the full value
    int32_t mode;
    const int16_t* half;
    bool outline;

    int32_t y = 0, pl = 0, pr = 0;  // current row and the span the scan came from
    int32_t L = 0, R = 0;           // result of the span step; L > R: no span
    int64_t budget = 0;             // pixel tests left
    std::vector<Segment> up{}, down{};

    // May the pixel at the start column begin a span?
    template <int M>
    Px start(uint8_t p) const {
        switch (M) {
            case 1: return p == c2 || p == c1 ? Px::Stop : Px::Paint;
            case 2: return p == c3 ? Px::Keep : p == c2 ? Px::Paint : Px::Stop;
            case 3: return p == c3 || p == c1 ? Px::Keep : p == c2 ? Px::Stop : Px::Paint;
            case 10: return p == c2 || p == c3 || p == c1 ? Px::Stop : Px::Paint;
            default: return p == c2 ? Px::Paint : Px::Stop;
        }
    }
    // May a pixel found by the search to the right begin a span?
    template <int M>
    Px search(uint8_t p) const {
        switch (M) {
            case 1: return p != c2 ? Px::Paint : Px::Stop;
            case 3: return p == c3 ? Px::Keep : p != c2 ? Px::Paint : Px::Stop;
            case 10: return p == c1 || p == c2 || p == c3 ? Px::Stop : Px::Paint;
            default: return p == c2 ? Px::Paint : Px::Stop;
        }
    }
    // Does the span extend over the pixel?
    template <int M>
    Px extend(uint8_t p) const {
        switch (M) {
            case 1: return p == c2 ? Px::Stop : Px::Paint;
            case 2: return p == c3 ? Px::Keep : p == c2 ? Px::Paint : Px::Stop;
            case 3: return p == c3 || p == c1 ? Px::Keep : p == c2 ? Px::Stop : Px::Paint;
            case 10: return p == c2 || p == c3 ? Px::Stop : Px::Paint;
            default: return p == c2 ? Px::Paint : Px::Stop;
        }
    }
    uint8_t ramp(int32_t i) const { return static_cast<uint8_t>(i < kHalfTableSize ? half[i] : i / 2); }

    template <int M>
    void span_step(int32_t s, int32_t t);
    void span_step(int32_t s, int32_t t);
    void scan(int32_t dir);
    void run(int32_t x, int32_t seed_y);

    void mark(int32_t x) const { pen.store(row[y] + x, c3); }
    void mark_unless_c1(int32_t xa, int32_t xb) const {
        for (int32_t x = xa; x <= xb; ++x)
            if (row[y][x] != c1_word) pen.store(row[y] + x, c3);
    }
};

// Fills one span of row y from start column s (searching up to t) into [L, R].
// One instance per mode keeps the pixel tests free of mode checks.
template <class Pen>
template <int M>
void FloodFill<Pen>::span_step(int32_t s, int32_t t) {
    uint8_t* r = row[y];
    const uint8_t row_colour = M == 6 ? ramp(y) : c1;
    int32_t painted = 0;
    auto take = [&](int32_t x, Px what) {
        if (what != Px::Paint) return;
        pen.store(r + x, M == 60 ? ramp(x) : row_colour);
        ++painted;
    };
    int32_t x = s;
    const Px first = start<M>(r[s]);
    if (first != Px::Stop) {
        take(s, first);
        for (Px e; x > 0 && (e = extend<M>(r[x - 1])) != Px::Stop;) take(--x, e);
        L = x;
        x = s;
    } else {
        do ++x;
        while (x <= t && search<M>(r[x]) == Px::Stop);
        if (x > t) {
            L = t + 1;
            R = t;
            return;
        }
        take(x, search<M>(r[x]));
        L = x;
    }
    for (Px e; x < xlast && (e = extend<M>(r[x + 1])) != Px::Stop;) take(++x, e);
    R = x;
    // These modes pass over pixels without painting: a span of only such is none.
    if ((M == 3 || M == 10) && painted == 0) {
        L = t + 1;
        R = t;
    }
}

template <class Pen>
void FloodFill<Pen>::span_step(int32_t s, int32_t t) {
    switch (mode) {
        case 1: span_step<1>(s, t); break;
        case 2: span_step<2>(s, t); break;
        case 3: span_step<3>(s, t); break;
        case 6: span_step<6>(s, t); break;
        case 10: span_step<10>(s, t); break;
        case 60: span_step<60>(s, t); break;
        default: span_step<0>(s, t); break;
    }
    // Charged here, outside the per-mode steps: about the pixels the step looked at.
    budget -= (R > L ? R - L : 0) + (t > s ? t - s : 0) + 2;
}

// From row y and the span [pl, pr] on it, scans row by row in direction dir.
template <class Pen>
void FloodFill<Pen>::scan(int32_t dir) {
    std::vector<Segment>& ahead = dir > 0 ? up : down;    // rest of a row the scan leaves
    std::vector<Segment>& behind = dir > 0 ? down : up;   // overhangs over rows not yet seen
    while ((dir > 0 ? y < ylast : y > 0) && budget > 0) {
        y += dir;
        span_step(pl, pr);
        if (L > R) {
            if (outline) mark_unless_c1(pl, pr);
            return;
        }
        if (L < pl - 1)
            behind.push_back({L, pl - 2, y});
        else if (outline && L > pl)
            mark_unless_c1(pl, L - 1);
        if (R > pr + 1)
            behind.push_back({pr + 2, R, y});
        else if (R < pr - 1)
            ahead.push_back({R + 2, pr, y - dir});
        if (outline && L > 0) mark(L - 1);
        if (outline && R < xlast) mark(R + 1);
        pl = L;
        pr = R;
    }
}

template <class Pen>
void FloodFill<Pen>::run(int32_t x, int32_t seed_y) {
    y = seed_y;
    pl = pr = x;
    budget = kBudgetPerPixel * (xlast + 1) * (ylast + 1) + 1;
    span_step(x, x);
    if (L > R) return;  // nothing around the seed to fill
    if (outline && L > 0) mark(L - 1);
    if (outline && R < xlast) mark(R + 1);
    up.reserve(333);
    down.reserve(333);
    down.push_back({L, R, y});
    pl = L;
    pr = R;
    scan(+1);
    for (;;) {
        const bool from_up = up.size() > down.size();
        std::vector<Segment>& stack = from_up ? up : down;
        if (stack.empty() || budget <= 0) return;
        const Segment s = stack.back();
        stack.pop_back();
        pl = s.left;
        pr = s.right;
        y = s.row;
        scan(from_up ? +1 : -1);
    }
}

bool known_mode(int32_t mode) {
    return mode == 0 || mode == 1 || mode == 2 || mode == 3 || mode == 6 || mode == 10 || mode == 60;
}

template <class Pen>
void flood(const RowTable& rows, Pen pen, int32_t x, int32_t y, int32_t height, int32_t width, uint16_t c1, uint16_t c2,
           uint16_t c3, int32_t mode, const int16_t* half_table, bool outline) {
    if (height < 1 || width < 1) return;
    const int32_t xlast = std::min(width, rows.width) - 1, ylast = std::min(height, rows.height) - 1;
    if (!rows.row || !known_mode(mode) || x < 0 || x > xlast || y < 0 || y > ylast) return;
    assert(half_table || (mode != 6 && mode != 60));
    FloodFill<Pen> f{rows.row, pen, xlast, ylast, low_byte(c1), low_byte(c2), low_byte(c3), c1, mode, half_table, outline};
    const uint8_t seed = rows.row[y][x];
    if (seed == f.c1) return;
    // The seed conditions; the outline variant tests the ramp modes' seed only through the span step.
    const bool needs_c2 = mode == 0 || mode == 2 || (!outline && (mode == 6 || mode == 60));
    if ((needs_c2 && seed != f.c2) || (mode == 1 && seed == f.c2)) return;
    f.run(x, y);
}

}  // namespace

void ras_floodfill(const RowTable& rows, int32_t x, int32_t y, int32_t height, int32_t width, uint16_t c1,
                   uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table) {
    flood(rows, PlainPen{}, x, y, height, width, c1, c2, c3, mode, half_table, false);
}
void ras_floodfill(const TrackedRows& t, int32_t x, int32_t y, int32_t height, int32_t width, uint16_t c1,
                   uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table) {
    flood(t.rows, tag_pen(t), x, y, height, width, c1, c2, c3, mode, half_table, false);
}

void ras_floodfill_outline(const RowTable& rows, int32_t x, int32_t y, int32_t height, int32_t width,
                           uint16_t c1, uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table) {
    flood(rows, PlainPen{}, x, y, height, width, c1, c2, c3, mode, half_table, true);
}
void ras_floodfill_outline(const TrackedRows& t, int32_t x, int32_t y, int32_t height, int32_t width,
                           uint16_t c1, uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table) {
    flood(t.rows, tag_pen(t), x, y, height, width, c1, c2, c3, mode, half_table, true);
}

}  // namespace korvane
