// SPDX-License-Identifier: GPL-3.0-or-later
// Circles, disks and the radius-2 stamps.
#include <cmath>
#include <random>

#include "test_canvas.h"

namespace korvane {
namespace {

using test::picture;
using test::TestCanvas;

constexpr ClipWindow kStartup = {0, 399, 0, 399};

TEST(Circle, OutlinePixelCountsByRadius) {
    const int expected[] = {4, 12, 16, 24, 28, 32, 40, 44, 52, 56};
    for (int r = 1; r <= 10; ++r) {
        TestCanvas cv(400, 400);
        ras_circle(cv.rows(), kStartup, 200, 200, r, 1);
        EXPECT_EQ(cv.count(1), expected[r - 1]) << "r = " << r;
    }
}

TEST(Circle, RadiusThreeShape) {
    TestCanvas cv(9, 9);
    ras_circle(cv.rows(), {-1, 9, -1, 9}, 4, 4, 3, 1);
    EXPECT_EQ(cv.art(), picture({
                            ".........",
                            "...111...",
                            "..1...1..",
                            ".1.....1.",
                            ".1.....1.",
                            ".1.....1.",
                            "..1...1..",
                            "...111...",
                            ".........",
                        }));
}

TEST(Circle, WindowEdgesCountAsOutside) {
    TestCanvas cv(400, 400);
    ras_circle(cv.rows(), kStartup, 10, 200, 10, 1);
    ras_circle(cv.rows(), kStartup, 389, 200, 10, 1);
    EXPECT_EQ(cv.at(0, 200), 0);
    EXPECT_EQ(cv.at(399, 200), 0);
    EXPECT_EQ(cv.at(20, 200), 1);
    // A circle around a centre far outside draws exactly its pixels inside the window.
    TestCanvas clipped(400, 400), free(800, 400);
    ras_circle(clipped.rows(), kStartup, -100, 200, 150, 1);
    ras_circle(free.rows(), {-1, 800, -1, 400}, 300, 200, 150, 1);
    EXPECT_EQ(clipped.art(1, 1, 398, 398), free.art(401, 1, 798, 398));
    EXPECT_GT(clipped.count(1), 0);
    for (int i = 0; i < 400; ++i) {
        EXPECT_EQ(clipped.at(0, i) | clipped.at(399, i) | clipped.at(i, 0) | clipped.at(i, 399), 0) << i;
    }
}

TEST(Xcircle, SingleCallEqualsCircleAndTwiceRestores) {
    for (int r = 1; r <= 12; ++r) {
        TestCanvas a(40, 40), b(40, 40, 0);
        ras_circle(a.rows(), {-1, 40, -1, 40}, 20, 20, r, 9);
        ras_xcircle(b.rows(), 20, 20, r, 9);
        EXPECT_EQ(a.pixels(), b.pixels()) << r;
        ras_xcircle(b.rows(), 20, 20, r, 9);
        EXPECT_EQ(b.count(0), 1600) << r;
    }
}

TEST(Disk, RowsSpanTheOutlineWithoutGaps) {
    for (int r = 1; r <= 30; ++r) {
        TestCanvas ring(70, 70), disk(70, 70);
        ras_circle(ring.rows(), {-1, 70, -1, 70}, 35, 35, r, 1);
        ras_disk(disk.rows(), 35, 35, r, 1);
        for (int y = 0; y < 70; ++y) {
            int lo = 70, hi = -1, n = 0;
            for (int x = 0; x < 70; ++x) {
                if (ring.at(x, y)) lo = std::min(lo, x), hi = std::max(hi, x);
                n += disk.at(x, y);
            }
            ASSERT_EQ(n, hi < 0 ? 0 : hi - lo + 1) << "r = " << r << " y = " << y;
            if (hi >= 0) {
                EXPECT_TRUE(disk.at(lo, y) && disk.at(hi, y));
            }
        }
    }
}

TEST(Bdisk, BorderIsTheCircleAndFillTheRest) {
    for (int r = 1; r <= 30; ++r) {
        TestCanvas ring(70, 70), disk(70, 70), bd(70, 70);
        ras_circle(ring.rows(), {-1, 70, -1, 70}, 35, 35, r, 1);
        ras_disk(disk.rows(), 35, 35, r, 1);
        ras_bdisk(bd.rows(), 35, 35, r, 5, 6);
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 70; ++x) {
                const int want = ring.at(x, y) ? 5 : disk.at(x, y) ? 6 : 0;
                ASSERT_EQ(bd.at(x, y), want) << "r = " << r << " at " << x << "," << y;
            }
    }
    TestCanvas one(3, 3);
    ras_bdisk(one.rows(), 1, 1, 1, 5, 6);
    EXPECT_EQ(one.art(), picture({".5.", "565", ".5."}));
}

TEST(Stamps, RingAndFilledRingOfRadiusTwo) {
    TestCanvas cv(12, 5);
    ras_circ2(cv.rows(), 2, 2, 1);
    ras_fcirc2(cv.rows(), 8, 2, 2, 3);
    EXPECT_EQ(cv.art(), picture({
                            ".111...222..",
                            "1...1.23332.",
                            "1...1.23332.",
                            "1...1.23332.",
                            ".111...222..",
                        }));
}

// The outline pixels on a w x h canvas, from the walk run step by step.
std::vector<bool> walked_outline(int w, int h, int64_t xc, int64_t yc, int64_t r) {
    std::vector<bool> on(size_t(w * h));
    auto four = [&](int64_t a, int64_t b) {
        for (int64_t x : {xc - a, xc + a})
            for (int64_t y : {yc - b, yc + b})
                if (x >= 0 && x < w && y >= 0 && y < h) on[size_t(y * w + x)] = true;
    };
    for (int pass = 0; pass < 2; ++pass) {
        int64_t u = 0, v = r, d = 5 - 4 * r, k = 4;
        do {
            pass == 0 ? four(v, u) : four(u, v);
            ++u;
            k += 8;
            if (d < 0)
                d += k;
            else
                --v, d += k - 8 * v;
        } while (pass == 0 ? v >= u : u < v);
    }
    return on;
}

TEST(Circles, HugeRadiiDrawTheirVisibleArc) {
    std::mt19937 g(5);
    constexpr int kW = 40, kH = 30;
    for (int trial = 0; trial < 200; ++trial) {
        const int64_t r = trial < 100 ? 1 + g() % 2000 : 60000 + g() % 400000;
        const double angle = (g() % 3600) * 3.14159265358979 / 1800;
        const int64_t xc = 20 - std::llround(double(r) * std::cos(angle)) + int(g() % 9) - 4;
        const int64_t yc = 15 - std::llround(double(r) * std::sin(angle)) + int(g() % 9) - 4;
        const std::vector<bool> ring = walked_outline(kW, kH, xc, yc, r);
        TestCanvas circle(kW, kH), xor_circle(kW, kH), disk(kW, kH), bdisk(kW, kH);
        ras_circle(circle.rows(), {-1, kW, -1, kH}, int32_t(xc), int32_t(yc), int32_t(r), 1);
        ras_xcircle(xor_circle.rows(), int32_t(xc), int32_t(yc), int32_t(r), 1);
        ras_disk(disk.rows(), int32_t(xc), int32_t(yc), int32_t(r), 1);
        ras_bdisk(bdisk.rows(), int32_t(xc), int32_t(yc), int32_t(r), 5, 6);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const bool on = ring[size_t(y * kW + x)];
                ASSERT_EQ(circle.at(x, y), on) << "r " << r << " centre " << xc << "," << yc << " at " << x << "," << y;
                ASSERT_EQ(xor_circle.at(x, y), on) << "r " << r << " at " << x << "," << y;
                ASSERT_EQ(bdisk.at(x, y), on ? 5 : disk.at(x, y) ? 6 : 0) << "r " << r << " at " << x << "," << y;
            }
        ASSERT_TRUE(disk.guards_intact() && bdisk.guards_intact());
    }
    TestCanvas cv(400, 400);
    ras_disk(cv.rows(), 200, 200, 100000, 5);
    EXPECT_EQ(cv.count(5), 400 * 400);
    ras_disk(cv.rows(), 200, 200, INT32_MAX, 6);
    EXPECT_EQ(cv.count(6), 400 * 400);
    TestCanvas arc(400, 400);
    ras_circle(arc.rows(), kStartup, 200, -69800, 70000, 5);
    const std::vector<bool> want = walked_outline(400, 400, 200, -69800, 70000);
    for (int y = 1; y < 399; ++y)
        for (int x = 1; x < 399; ++x) ASSERT_EQ(arc.at(x, y), want[size_t(y * 400 + x)] ? 5 : 0) << x << "," << y;
    EXPECT_GT(arc.count(5), 300);
}

TEST(Circles, RadiusBelowOneDrawsNothing) {
    TestCanvas cv(20, 20);
    for (int r : {0, -1, -1000000, INT32_MIN}) {
        ras_circle(cv.rows(), cv.full(), 10, 10, r, 1);
        ras_xcircle(cv.rows(), 10, 10, r, 1);
        ras_disk(cv.rows(), 10, 10, r, 1);
        ras_bdisk(cv.rows(), 10, 10, r, 1, 2);
    }
    EXPECT_EQ(cv.count(0), 400);
}

}  // namespace
}  // namespace korvane
