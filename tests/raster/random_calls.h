// SPDX-License-Identifier: GPL-3.0-or-later
// Random calls of every raster routine, shared by the guard test and the
// raster fuzz target (which feeds its own argument source).
#pragma once

#include <climits>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <random>

#include "raster.h"

namespace korvane::test {

struct HalfTable {
    int16_t v[400];
    HalfTable() {
        for (int i = 0; i < 400; ++i) v[i] = int16_t(i / 2);
    }
};
inline const HalfTable kHalf;

// Fills that never end stop after this much work, not the seconds of a run,
// so that a fuzz input may hold many of them.
constexpr int32_t kRandomFillWork = 64;

// Arguments from a seeded generator: extremes, any value, or small values.
class Args {
public:
    explicit Args(uint32_t seed) : g_(seed) {}
    int32_t any() {
        static const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -65536, -65535, -401,          -1,       0, 1, 2,
                                           399,       400,           65535,  65536,  INT32_MAX - 1, INT32_MAX};
        switch (g_() % 4) {
            case 0: return extremes[g_() % std::size(extremes)];
            case 1: return int32_t(g_());
            default: return int32_t(g_() % 80) - 20;
        }
    }
    uint16_t colour() { return uint16_t(g_()); }
    int32_t small(int n) { return int32_t(g_() % unsigned(n)); }

private:
    std::mt19937 g_;
};

// One call of a routine chosen by the source, with the source's arguments.
template <class Source>
void draw_random(const RowTable& rows, Source& a, uint16_t& pattern, uint16_t& acc) {
    const ClipWindow clip = {a.any(), a.any(), a.any(), a.any()};
    static const int modes[] = {0, 1, 2, 3, 6, 10, 60, -1, 7};
    switch (a.small(34)) {
        case 0: ras_point(rows, clip, a.any(), a.any(), a.colour()); break;
        case 1: ras_fpoint(rows, clip, a.any(), a.any(), a.colour()); break;
        case 2: ras_getpel(rows, a.any(), a.any()); break;
        case 3: ras_line(rows, clip, a.any(), a.any(), a.any(), a.any(), a.colour(), a.any()); break;
        case 4: ras_xline(rows, a.any(), a.any(), a.any(), a.any(), a.colour()); break;
        case 5: ras_fline(rows, a.any(), a.any(), a.any(), a.any(), a.colour()); break;
        case 6: ras_dline(rows, a.any(), a.any(), a.any(), a.any(), a.colour(), pattern, acc); break;
        case 7: ras_hline(rows, a.any(), a.any(), a.any(), a.colour()); break;
        case 8: ras_vline(rows, a.any(), a.any(), a.any(), a.colour()); break;
        case 9: ras_clear(rows, a.any(), a.any(), a.colour()); break;
        case 10: ras_fillrect(rows, a.any(), a.any(), a.any(), a.any(), a.colour()); break;
        case 11: ras_drawrect(rows, a.any(), a.any(), a.any(), a.any(), a.colour()); break;
        case 12: ras_brect(rows, a.any(), a.any(), a.any(), a.any(), a.colour(), a.colour()); break;
        case 13: ras_circle(rows, clip, a.any(), a.any(), a.any(), a.colour()); break;
        case 14: ras_xcircle(rows, a.any(), a.any(), a.any(), a.colour()); break;
        case 15: ras_disk(rows, a.any(), a.any(), a.any(), a.colour()); break;
        case 16: ras_bdisk(rows, a.any(), a.any(), a.any(), a.colour(), a.colour()); break;
        case 17: ras_circ2(rows, a.any(), a.any(), a.colour()); break;
        case 18: ras_fcirc2(rows, a.any(), a.any(), a.colour(), a.colour()); break;
        case 19: ras_ellipse(rows, a.any(), a.any(), a.any(), a.any(), a.colour()); break;
        case 20: ras_xellipse(rows, a.any(), a.any(), a.any(), a.any(), a.colour()); break;
        case 21: ras_elldisk(rows, a.any(), a.any(), a.any(), a.any(), a.colour()); break;
        case 22: ras_ellbdisk(rows, a.any(), a.any(), a.any(), a.any(), a.colour(), a.colour()); break;
        case 23:
            ras_floodfill(rows, a.any(), a.any(), a.any(), a.any(), a.colour() % 4, a.colour() % 4, a.colour() % 4,
                          modes[a.small(9)], kHalf.v, kRandomFillWork);
            break;
        case 24:
            ras_floodfill_outline(rows, a.small(rows.width), a.small(rows.height), rows.height, rows.width,
                                  a.colour() % 4, a.colour() % 4, a.colour() % 4, modes[a.small(9)], kHalf.v,
                                  kRandomFillWork);
            break;
        case 25: ras_grid(rows, a.any(), a.any(), a.any(), a.any(), a.colour()); break;
        case 26:
            ras_h_axis(rows, a.any(), a.any(), a.any(), a.any(), a.any(), a.any(), a.any(), a.any(), a.colour(),
                       a.colour());
            break;
        case 27:
            ras_v_axis(rows, a.any(), a.any(), a.any(), a.small(300), a.small(300), a.small(3), a.any(), a.any(),
                       a.colour(), a.colour());
            break;
        case 28:
            ras_grid(rows, rows.width + a.small(3), rows.height - a.small(3), a.small(60), a.small(60), a.colour());
            break;
        default: ras_trifill(rows, a.any(), a.any(), a.any(), a.any(), a.any(), a.any(), a.colour(), a.colour()); break;
    }
}

// Argument source over the fuzz input; runs dry as zeros.
class BytesArgs {
public:
    BytesArgs(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    int32_t any() {
        int32_t v = 0;
        const size_t n = size_ - at_ < 4 ? size_ - at_ : 4;
        std::memcpy(&v, data_ + at_, n);
        at_ += n;
        return v;
    }
    uint16_t colour() { return static_cast<uint16_t>(any()); }
    int32_t small(int n) { return static_cast<int32_t>(static_cast<uint32_t>(any()) % static_cast<uint32_t>(n)); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace korvane::test
