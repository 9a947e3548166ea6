// SPDX-License-Identifier: GPL-3.0-or-later
// Grid lines and axis ticks.
#include "test_canvas.h"

namespace korvane {
namespace {

using test::picture;
using test::TestCanvas;

std::vector<int> full_rows(const TestCanvas& cv, uint8_t c) {
    std::vector<int> r;
    for (int y = 0; y < cv.height(); ++y) {
        bool all = true;
        for (int x = 0; x < cv.width(); ++x) all = all && cv.at(x, y) == c;
        if (all) r.push_back(y);
    }
    return r;
}

std::vector<int> full_columns(const TestCanvas& cv, uint8_t c) {
    std::vector<int> r;
    for (int x = 0; x < cv.width(); ++x) {
        bool all = true;
        for (int y = 0; y < cv.height(); ++y) all = all && cv.at(x, y) == c;
        if (all) r.push_back(x);
    }
    return r;
}

TEST(Grid, PositionsRoundSinglePrecisionSteps) {
    TestCanvas cv(400, 400);
    ras_grid(cv.rows(), 400, 400, 5, 3, 1);
    EXPECT_EQ(full_rows(cv, 1), (std::vector<int>{0, 200, 399}));
    EXPECT_EQ(full_columns(cv, 1), (std::vector<int>{0, 100, 200, 299, 399}));
    EXPECT_EQ(cv.count(1), 3 * 400 + 5 * 400 - 15);
    TestCanvas frame(400, 400);
    ras_grid(frame.rows(), 400, 400, 2, 2, 1);
    EXPECT_EQ(frame.count(1), 1596);
}

TEST(Grid, CountsThatWouldDivideByZeroDrawNothing) {
    TestCanvas cv(400, 400);
    for (auto [nv, nh] : {std::pair{1, 5}, {5, 1}, {0, 0}, {-3, 4}, {INT32_MIN, INT32_MIN}})
        ras_grid(cv.rows(), 400, 400, nv, nh, 1);
    EXPECT_EQ(cv.count(0), 400 * 400);
    ras_grid(cv.rows(), 400, 400, 1000, 2, 1);  // more lines than columns: every column
    EXPECT_EQ(cv.count(1), 400 * 400);
}

struct TickCase {
    int place, major_from, major_to, minor_from, minor_to;
};

TEST(Axes, VerticalAxisTicksByPlace) {
    const TickCase cases[] = {{0, 100, 106, 100, 103}, {1, 94, 100, 97, 100}, {2, 97, 104, 99, 102}};
    for (const TickCase& c : cases) {
        TestCanvas cv(400, 400);
        ras_v_axis(cv.rows(), 100, 0, 300, 3, 5, c.place, 6, 3, 7, 8);
        for (int y = 0; y < 400; ++y) {
            const bool major = y % 100 == 0 && y <= 300, minor = y % 20 == 0 && y <= 300;
            for (int x = 90; x < 110; ++x) {
                const int want = major && x >= c.major_from && x <= c.major_to   ? 7
                                 : minor && x >= c.minor_from && x <= c.minor_to ? 8
                                                                                 : 0;
                ASSERT_EQ(cv.at(x, y), want) << "place " << c.place << " at " << x << "," << y;
            }
        }
        EXPECT_EQ(cv.count(8) + cv.count(7),
                  12 * (c.minor_to - c.minor_from + 1) + 4 * (c.major_to - c.major_from + 1));
    }
}

TEST(Axes, HorizontalAxisIsTheSamePatternTurned) {
    TestCanvas v(400, 400), h(400, 400);
    ras_v_axis(v.rows(), 100, 0, 300, 3, 5, 0, 6, 3, 7, 8);
    ras_h_axis(h.rows(), 100, 0, 300, 3, 5, 0, 6, 3, 7, 8);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) ASSERT_EQ(v.at(x, y), h.at(y, x));
}

TEST(Axes, ReversedRangeAndSmallPicture) {
    TestCanvas cv(9, 5);
    ras_h_axis(cv.rows(), 1, 8, 0, 2, 2, 2, 2, 0, 3, 4);  // place 2: length 3, from row 0
    EXPECT_EQ(cv.art(), picture({".........", "3...3...3", "3.4.3.4.3", "3.4.3.4.3", "3...3...3"}));
}

TEST(Axes, MinorTicksLongerThanMajorOnesShowTheirEnds) {
    TestCanvas cv(9, 5);
    ras_h_axis(cv.rows(), 0, 0, 8, 2, 2, 0, 1, 3, 3, 4);
    EXPECT_EQ(cv.art(), picture({".........", "4.4.4.4.4", "4.4.4.4.4", "3.4.3.4.3", "3.4.3.4.3"}));
}

TEST(Axes, CountsThatWouldDivideByZeroDrawNothing) {
    TestCanvas cv(50, 50);
    for (auto [major, minor] : {std::pair{0, 5}, {5, 0}, {-1, -1}}) {
        ras_h_axis(cv.rows(), 10, 0, 40, major, minor, 0, 5, 3, 1, 2);
        ras_v_axis(cv.rows(), 10, 0, 40, major, minor, 0, 5, 3, 1, 2);
    }
    EXPECT_EQ(cv.count(0), 2500);
}

TEST(Axes, TicksBeyondTheCountOfPixelsStillDraw) {
    // 80,000 one-pixel ticks over 400 rows: every row gets one.
    TestCanvas many(400, 400);
    ras_v_axis(many.rows(), 0, 0, 399, 400, 200, 0, 0, 0, 1, 2);
    EXPECT_EQ(many.count(0), 400 * 399);
    // Steps too small to move the single-precision sums: every tick lands on the first.
    TestCanvas stuck(50, 50);
    ras_h_axis(stuck.rows(), 10, 0, 40, INT32_MAX, INT32_MAX, 0, 5, 3, 1, 2);
    ras_v_axis(stuck.rows(), 10, 0, 40, INT32_MAX, INT32_MAX, 0, 5, 3, 1, 2);
    EXPECT_EQ(stuck.count(1), 12);
    EXPECT_EQ(stuck.at(0, 15), 1);
    EXPECT_EQ(stuck.at(15, 0), 1);
}

}  // namespace
}  // namespace korvane
