// SPDX-License-Identifier: GPL-3.0-or-later
// Ellipses and elliptic disks.
#include "test_canvas.h"

namespace korvane {
namespace {

using test::picture;
using test::TestCanvas;

TEST(Ellipse, PixelCountsAndMirrorImage) {
    TestCanvas wide(400, 400), tall(400, 400), small(400, 400);
    ras_ellipse(wide.rows(), 200, 200, 10, 4, 1);
    ras_ellipse(tall.rows(), 200, 200, 4, 10, 1);
    ras_ellipse(small.rows(), 200, 200, 5, 3, 1);
    EXPECT_EQ(wide.count(1), 44);
    EXPECT_EQ(tall.count(1), 44);
    EXPECT_EQ(small.count(1), 24);
    for (int dy = -10; dy <= 10; ++dy)
        for (int dx = -10; dx <= 10; ++dx) EXPECT_EQ(wide.at(200 + dx, 200 + dy), tall.at(200 + dy, 200 + dx));
}

TEST(Ellipse, FiveByThreeShape) {
    TestCanvas cv(11, 7);
    ras_ellipse(cv.rows(), 5, 3, 5, 3, 1);
    EXPECT_EQ(cv.art(), picture({
                            "...11111...",
                            ".11.....11.",
                            "1.........1",
                            "1.........1",
                            "1.........1",
                            ".11.....11.",
                            "...11111...",
                        }));
}

TEST(Ellipse, EqualAxesMatchTheCircle) {
    for (int r = 1; r <= 40; ++r) {
        TestCanvas c(90, 90), e(90, 90);
        ras_circle(c.rows(), {-1, 90, -1, 90}, 45, 45, r, 1);
        ras_ellipse(e.rows(), 45, 45, r, r, 1);
        ASSERT_EQ(c.pixels(), e.pixels()) << r;
        ras_disk(c.rows(), 45, 45, r, 2);
        ras_elldisk(e.rows(), 45, 45, r, r, 2);
        ASSERT_EQ(c.pixels(), e.pixels()) << r;
        ras_bdisk(c.rows(), 45, 45, r, 3, 4);
        ras_ellbdisk(e.rows(), 45, 45, r, r, 3, 4);
        ASSERT_EQ(c.pixels(), e.pixels()) << r;
    }
}

struct Axes {
    int a, b;
};
const Axes kAxes[] = {{1, 1}, {1, 5}, {5, 1}, {10, 4}, {4, 10}, {17, 3}, {3, 17}, {30, 29}, {2, 31}, {40, 1}, {7, 35}};

TEST(Xellipse, OnceEqualsEllipseAndTwiceRestores) {
    for (const Axes& ax : kAxes) {
        TestCanvas a(90, 90), b(90, 90);
        ras_ellipse(a.rows(), 45, 45, ax.a, ax.b, 7);
        ras_xellipse(b.rows(), 45, 45, ax.a, ax.b, 7);
        EXPECT_EQ(a.pixels(), b.pixels()) << ax.a << "x" << ax.b;
        ras_xellipse(b.rows(), 45, 45, ax.a, ax.b, 7);
        EXPECT_EQ(b.count(0), 90 * 90) << ax.a << "x" << ax.b;
    }
}

TEST(Elldisk, FillsBetweenTheOutlineAndBordersWithIt) {
    for (const Axes& ax : kAxes) {
        TestCanvas ring(90, 90), disk(90, 90), bd(90, 90);
        ras_ellipse(ring.rows(), 45, 45, ax.a, ax.b, 1);
        ras_elldisk(disk.rows(), 45, 45, ax.a, ax.b, 1);
        ras_ellbdisk(bd.rows(), 45, 45, ax.a, ax.b, 5, 6);
        for (int y = 0; y < 90; ++y) {
            int lo = 90, hi = -1, n = 0;
            for (int x = 0; x < 90; ++x) {
                if (ring.at(x, y)) lo = std::min(lo, x), hi = std::max(hi, x);
                n += disk.at(x, y);
                ASSERT_EQ(bd.at(x, y), ring.at(x, y) ? 5 : disk.at(x, y) ? 6 : 0) << ax.a << "x" << ax.b;
            }
            ASSERT_EQ(n, hi < 0 ? 0 : hi - lo + 1) << ax.a << "x" << ax.b << " y = " << y;
        }
        EXPECT_EQ(disk.at(45 - ax.a, 45), 1);
        EXPECT_EQ(disk.at(45 + ax.a, 45), 1);
        EXPECT_EQ(disk.at(45 - ax.a - 1, 45), 0);
    }
}

TEST(Ellipse, SlimEllipsesEndWhereTheWalkEnds) {
    // For B >= 8A² region 2 reaches the vertical axis before row yc +- B.
    TestCanvas cv(5, 50);
    ras_ellipse(cv.rows(), 2, 24, 1, 20, 1);
    int top = 0;
    for (int y = 0; y < 50; ++y)
        if (cv.at(2, y)) top = std::max(top, y);
    EXPECT_EQ(top, 24 + 18);
}

TEST(Ellipses, SemiAxesBelowOneDrawNothing) {
    TestCanvas cv(20, 20);
    for (const Axes& ax : {Axes{0, 3}, Axes{3, 0}, Axes{-2, 5}, Axes{INT32_MIN, INT32_MIN}}) {
        ras_ellipse(cv.rows(), 10, 10, ax.a, ax.b, 1);
        ras_xellipse(cv.rows(), 10, 10, ax.a, ax.b, 1);
        ras_elldisk(cv.rows(), 10, 10, ax.a, ax.b, 1);
        ras_ellbdisk(cv.rows(), 10, 10, ax.a, ax.b, 1, 2);
    }
    EXPECT_EQ(cv.count(0), 400);
}

}  // namespace
}  // namespace korvane
