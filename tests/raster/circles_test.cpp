// Circles, disks and the radius-2 stamps.
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
