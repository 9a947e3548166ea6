// SPDX-License-Identifier: GPL-3.0-or-later
// Scan-line flood fill. The span step fills one span of a row; the frame
// keeps pending segments on an up stack and a down stack and always pops
// from the fuller one. Spans connect only through pixels directly above or
// below each other. The stacks grow as needed, so no segment is ever lost.
//
// Some colour choices make the walk revisit the same spans for ever: mode 2
// passes over c3 pixels without changing them, a ramp colour equal to c2
// leaves painted pixels fillable, and the outline marks of mode 1 are
// themselves fillable. Such a fill is stopped and reported, never passed off
// as done: at the first pop that finds the canvas and both stacks as at an
// earlier pop (compared by 64-bit hashes; from there on the walk can only go
// round again), or, for walks that wander without repeating for long or
// whose stacks keep growing, at work and memory bounds far above what any
// fill that ends needs.
#include <algorithm>
#include <unordered_set>
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
// Pending segments per canvas pixel before a fill counts as endless: fills
// that end were measured to keep at most one for every seventeen pixels.
constexpr size_t kPendingPerPixel = 4;
// States remembered for the repeat test; past this, the bounds above decide.
constexpr size_t kRememberedStates = size_t{1} << 20;

// splitmix64: a bijection of 64-bit values that scatters every input bit.
uint64_t mix(uint64_t z) {
    z += 0x9E3779B97F4A7C15u;  // keeps 0 from mapping to 0
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

// A segment stack that also keeps a hash of its whole contents, so the
// state test compares stacks in constant time.
class SegmentStack {
public:
    void push(const Segment& s) {
        const uint64_t code = uint64_t(uint32_t(s.left)) << 42 ^ uint64_t(uint32_t(s.right)) << 21 ^ uint32_t(s.row);
        items_.push_back(s);
        prefix_.push_back(mix(prefix_.back() ^ code));
    }
    Segment pop() {
        const Segment s = items_.back();
        items_.pop_back();
        prefix_.pop_back();
        return s;
    }
    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    uint64_t hash() const { return prefix_.back(); }

private:
    std::vector<Segment> items_;
    std::vector<uint64_t> prefix_{0};  // prefix_[i]: hash of the first i segments
};

// What decides the rest of the walk at a pop: the canvas and both stacks.
struct WalkState {
    uint64_t canvas, up, down;
    bool operator==(const WalkState&) const = default;
};
struct WalkStateHash {
    size_t operator()(const WalkState& s) const { return size_t(mix(s.canvas ^ mix(s.up ^ mix(s.down)))); }
};

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
    int64_t work_left = 0;          // pixel tests left before the fill counts as endless
    size_t max_pending = 0;
    bool endless = false;
    // Identifies the canvas within this fill. The plain fill writes each pixel
    // only its one fill colour, so its canvas grows monotonically and the count
    // of changed pixels names it; the outline marks can be filled over and
    // marked again, so there the canvas is hashed.
    uint64_t canvas_key = 0;
    SegmentStack up{}, down{};
    std::unordered_set<WalkState, WalkStateHash> seen{};

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
    void run(int32_t x, int32_t seed_y, int32_t work_per_pixel);

    void put(int32_t x, uint8_t c) {
        uint8_t* p = row[y] + x;
        if (*p != c) {
            const uint64_t at = uint64_t(uint32_t(y)) << 24 | uint32_t(x) << 8;
            canvas_key = outline ? canvas_key ^ mix(at | *p) ^ mix(at | c) : canvas_key + 1;
        }
        pen.store(p, c);
    }
    void mark(int32_t x) { put(x, c3); }
    void mark_unless_c1(int32_t xa, int32_t xb) {
        for (int32_t x = xa; x <= xb; ++x)
            if (row[y][x] != c1_word) put(x, c3);
        work_left -= xb - xa + 1;
    }
    bool repeats_state();
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
        put(x, M == 60 ? ramp(x) : row_colour);
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
    work_left -= (R > L ? R - L : 0) + (t > s ? t - s : 0) + 2;
}

// From row y and the span [pl, pr] on it, scans row by row in direction dir.
// The span found on each new row is filled; what the scan cannot follow
// itself is pushed, and only that: a span reaching past pl - 1 or pr + 1
// hangs over pixels of the row behind that no scan has looked at (pixels
// pl - 1 and pr + 1 of it are not in the region, else the span there would
// have covered them), and a span ending short of pr leaves the rest of the
// previous span's columns on this row unsearched. A span starting right of
// pl needs no push: the span step's search covered pl..L already.
template <class Pen>
void FloodFill<Pen>::scan(int32_t dir) {
    SegmentStack& ahead = dir > 0 ? up : down;   // rest of a row the scan leaves
    SegmentStack& behind = dir > 0 ? down : up;  // overhangs over rows not yet seen
    while (dir > 0 ? y < ylast : y > 0) {
        y += dir;
        span_step(pl, pr);
        if (L > R) {
            if (outline) mark_unless_c1(pl, pr);
            return;
        }
        if (L < pl - 1)
            behind.push({L, pl - 2, y});
        else if (outline && L > pl)
            mark_unless_c1(pl, L - 1);
        if (R > pr + 1)
            behind.push({pr + 2, R, y});
        else if (R < pr - 1)
            ahead.push({R + 2, pr, y - dir});
        if (outline && L > 0) mark(L - 1);
        if (outline && R < xlast) mark(R + 1);
        pl = L;
        pr = R;
        if (work_left < 0) return;
    }
}

// True, and the fill marked endless, when the walk must not go on: it stands
// where it stood at an earlier pop, or it ran past the work bounds.
template <class Pen>
bool FloodFill<Pen>::repeats_state() {
    if (work_left < 0 || up.size() + down.size() > max_pending) return endless = true;
    const WalkState state{canvas_key, up.hash(), down.hash()};
    if (seen.size() < kRememberedStates ? !seen.insert(state).second : seen.count(state) != 0) return endless = true;
    return false;
}

template <class Pen>
void FloodFill<Pen>::run(int32_t x, int32_t seed_y, int32_t work_per_pixel) {
    y = seed_y;
    pl = pr = x;
    const int64_t area = int64_t{xlast + 1} * (ylast + 1);
    work_left = std::max(work_per_pixel, 1) * area;
    max_pending = kPendingPerPixel * size_t(area);
    span_step(x, x);
    if (L > R) return;  // nothing around the seed to fill
    if (outline && L > 0) mark(L - 1);
    if (outline && R < xlast) mark(R + 1);
    down.push({L, R, y});
    pl = L;
    pr = R;
    scan(+1);
    for (;;) {
        const bool from_up = up.size() > down.size();
        SegmentStack& stack = from_up ? up : down;
        if (stack.empty() || repeats_state()) return;
        const Segment s = stack.pop();
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
FillStatus flood(const RowTable& rows, Pen pen, int32_t x, int32_t y, int32_t height, int32_t width, uint16_t c1,
                 uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table, int32_t work_per_pixel,
                 bool outline) {
    if (height < 1 || width < 1) return FillStatus::Done;
    const int32_t xlast = std::min(width, rows.width) - 1, ylast = std::min(height, rows.height) - 1;
    if (!rows.row || !known_mode(mode) || x < 0 || x > xlast || y < 0 || y > ylast) return FillStatus::Done;
    assert(half_table || (mode != 6 && mode != 60));
    FloodFill<Pen> f{rows.row,     pen, xlast, ylast,      low_byte(c1), low_byte(c2),
                     low_byte(c3), c1,  mode,  half_table, outline};
    const uint8_t seed = rows.row[y][x];
    if (seed == f.c1) return FillStatus::Done;
    // The seed conditions; the outline variant tests the ramp modes' seed only through the span step.
    const bool needs_c2 = mode == 0 || mode == 2 || (!outline && (mode == 6 || mode == 60));
    if ((needs_c2 && seed != f.c2) || (mode == 1 && seed == f.c2)) return FillStatus::Done;
    f.run(x, y, work_per_pixel);
    return f.endless ? FillStatus::Endless : FillStatus::Done;
}

}  // namespace

FillStatus ras_floodfill(const RowTable& rows, int32_t x, int32_t y, int32_t height, int32_t width, uint16_t c1,
                         uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table, int32_t work_per_pixel) {
    return flood(rows, PlainPen{}, x, y, height, width, c1, c2, c3, mode, half_table, work_per_pixel, false);
}
FillStatus ras_floodfill(const TrackedRows& t, int32_t x, int32_t y, int32_t height, int32_t width, uint16_t c1,
                         uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table, int32_t work_per_pixel) {
    return flood(t.rows, tag_pen(t), x, y, height, width, c1, c2, c3, mode, half_table, work_per_pixel, false);
}

FillStatus ras_floodfill_outline(const RowTable& rows, int32_t x, int32_t y, int32_t height, int32_t width, uint16_t c1,
                                 uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table,
                                 int32_t work_per_pixel) {
    return flood(rows, PlainPen{}, x, y, height, width, c1, c2, c3, mode, half_table, work_per_pixel, true);
}
FillStatus ras_floodfill_outline(const TrackedRows& t, int32_t x, int32_t y, int32_t height, int32_t width, uint16_t c1,
                                 uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table,
                                 int32_t work_per_pixel) {
    return flood(t.rows, tag_pen(t), x, y, height, width, c1, c2, c3, mode, half_table, work_per_pixel, true);
}

}  // namespace korvane
