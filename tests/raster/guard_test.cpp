// SPDX-License-Identifier: GPL-3.0-or-later
// Every routine under extreme and random arguments: only canvas bytes may
// change, and a figure cut by the canvas edge keeps exactly the pixels it
// has when drawn whole on a larger canvas.
#include <climits>
#include <functional>
#include <random>

#include "random_calls.h"
#include "test_canvas.h"

namespace korvane {
namespace {

using test::Args;
using test::draw_random;
using test::TestCanvas;

TEST(Guard, RandomAndExtremeArgumentsStayOnTheCanvas) {
    Args a(2024);
    uint16_t pattern = 0xFF00, acc = 0;
    for (int size = 0; size < 4; ++size) {
        TestCanvas cv(size == 0 ? 1 : 5 + size * 11, size == 0 ? 1 : 3 + size * 7, 0);
        for (int i = 0; i < 15000; ++i) {
            draw_random(cv.rows(), a, pattern, acc);
            ASSERT_TRUE(cv.guards_intact()) << "call " << i;
        }
    }
}

// Draws one random figure shifted by (dx, dy).
using Figure = std::function<void(const RowTable&, int dx, int dy, uint16_t& pattern, uint16_t& acc)>;

Figure random_figure(std::mt19937& g) {
    auto c = [&] { return int(g() % 60) - 20; };
    auto r = [&] { return 1 + int(g() % 25); };
    const int x1 = c(), y1 = c(), x2 = c(), y2 = c(), x3 = c(), y3 = c(), ra = r(), rb = r();
    const uint16_t k = uint16_t(1 + g() % 200), k2 = uint16_t(1 + g() % 200);
    const int kind = int(g() % 20);
    return [=](const RowTable& rows, int dx, int dy, uint16_t& pattern, uint16_t& acc) {
        const ClipWindow wide = {-1000, 1000, -1000, 1000};
        switch (kind) {
            case 0: ras_line(rows, wide, x1 + dx, y1 + dy, x2 + dx, y2 + dy, k, 1); break;
            case 1: ras_xline(rows, x1 + dx, y1 + dy, x2 + dx, y2 + dy, k); break;
            case 2: ras_fline(rows, x1 + dx, y1 + dy, x2 + dx, y2 + dy, k); break;
            case 3: ras_dline(rows, x1 + dx, y1 + dy, x2 + dx, y2 + dy, k, pattern, acc); break;
            case 4: ras_circle(rows, wide, x1 + dx, y1 + dy, ra, k); break;
            case 5: ras_xcircle(rows, x1 + dx, y1 + dy, ra, k); break;
            case 6: ras_disk(rows, x1 + dx, y1 + dy, ra, k); break;
            case 7: ras_bdisk(rows, x1 + dx, y1 + dy, ra, k, k2); break;
            case 8: ras_circ2(rows, x1 + dx, y1 + dy, k); break;
            case 9: ras_fcirc2(rows, x1 + dx, y1 + dy, k, k2); break;
            case 10: ras_ellipse(rows, x1 + dx, y1 + dy, ra, rb, k); break;
            case 11: ras_xellipse(rows, x1 + dx, y1 + dy, ra, rb, k); break;
            case 12: ras_elldisk(rows, x1 + dx, y1 + dy, ra, rb, k); break;
            case 13: ras_ellbdisk(rows, x1 + dx, y1 + dy, ra, rb, k, k2); break;
            case 14: ras_fillrect(rows, x1 + dx, y1 + dy, x2 + dx, y2 + dy, k); break;
            case 15: ras_drawrect(rows, x1 + dx, y1 + dy, x2 + dx, y2 + dy, k); break;
            case 16: ras_brect(rows, x1 + dx, y1 + dy, x2 + dx, y2 + dy, k, k2); break;
            case 17: ras_hline(rows, x1 + dx, y1 + dy, x2 + dx, k); break;
            case 18: ras_vline(rows, x1 + dx, y1 + dy, y2 + dy, k); break;
            default: ras_trifill(rows, x1 + dx, y1 + dy, x2 + dx, y2 + dy, x3 + dx, y3 + dy, k, k2); break;
        }
    };
}

TEST(Guard, CutFiguresKeepTheirOnCanvasPixels) {
    std::mt19937 g(99);
    constexpr int kShift = 60;
    for (int trial = 0; trial < 4000; ++trial) {
        uint16_t p_small = uint16_t(g()), a_small = uint16_t(g());
        uint16_t p_big = p_small, a_big = a_small;
        TestCanvas small(23, 17, 3), big(150, 150, 3);
        const Figure figure = random_figure(g);
        figure(small.rows(), 0, 0, p_small, a_small);
        // The same figure, shifted so that it lies wholly on the big canvas.
        figure(big.rows(), kShift, kShift, p_big, a_big);
        ASSERT_EQ(small.art(), big.art(kShift, kShift, kShift + 22, kShift + 16)) << "trial " << trial;
        ASSERT_EQ(p_small, p_big) << trial;
        ASSERT_EQ(a_small, a_big) << trial;
        ASSERT_TRUE(small.guards_intact());
    }
}

}  // namespace
}  // namespace korvane
