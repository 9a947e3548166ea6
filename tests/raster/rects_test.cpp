// SPDX-License-Identifier: GPL-3.0-or-later
// Clearing and rectangles.
#include "test_canvas.h"

namespace korvane {
namespace {

using test::picture;
using test::TestCanvas;

TEST(Clear, FillsTheCanvasWithTheLowByte) {
    TestCanvas cv(400, 400);
    ras_clear(cv.rows(), 400, 400, 300);
    EXPECT_EQ(cv.count(44), 400 * 400);
    ras_clear(cv.rows(), 400, 400, uint16_t(-1));
    EXPECT_EQ(cv.count(255), 400 * 400);
    ras_clear(cv.rows(), 1000, 1000, 3);  // more than the canvas: stops at its end
    EXPECT_EQ(cv.count(3), 400 * 400);
    EXPECT_TRUE(cv.guards_intact());
}

TEST(Clear, WritesWholeWordsFromTheBottomRow) {
    TestCanvas cv(8, 2);
    ras_clear(cv.rows(), 1, 7, 1);  // 7 bytes: one word
    EXPECT_EQ(cv.art(), picture({"........", "1111...."}));
}

TEST(Fillrect, OrdersCornersAndSkipsFlatRectangles) {
    TestCanvas cv(12, 12);
    ras_fillrect(cv.rows(), 9, 9, 5, 5, 2);
    EXPECT_EQ(cv.count(2), 25);
    EXPECT_EQ(cv.at(5, 5), 2);
    EXPECT_EQ(cv.at(9, 9), 2);
    ras_fillrect(cv.rows(), 0, 0, 0, 4, 3);
    ras_fillrect(cv.rows(), 0, 0, 4, 0, 3);
    EXPECT_EQ(cv.count(3), 0);
}

TEST(Drawrect, DegenerateRectanglesBecomeLines) {
    TestCanvas cv(7, 5);
    ras_drawrect(cv.rows(), 5, 3, 1, 1, 4);
    ras_drawrect(cv.rows(), 0, 0, 0, 4, 1);
    ras_drawrect(cv.rows(), 3, 2, 3, 2, 2);
    EXPECT_EQ(cv.art(), picture({
                            "1......",
                            "144444.",
                            "14.2.4.",
                            "144444.",
                            "1......",
                        }));
    TestCanvas border(400, 400);
    ras_drawrect(border.rows(), 0, 0, 399, 399, 1);
    EXPECT_EQ(border.count(1), 1596);
}

TEST(Brect, BoxesNeedThreeRows) {
    TestCanvas cv(16, 16);
    ras_brect(cv.rows(), 0, 0, 4, 1, 3, 7);
    EXPECT_EQ(cv.count(0), 256);
    ras_brect(cv.rows(), 0, 0, 1, 2, 3, 7);
    EXPECT_EQ(cv.count(7), 6);
    EXPECT_EQ(cv.count(3), 0);
    ras_brect(cv.rows(), 14, 14, 10, 10, 3, 7);
    EXPECT_EQ(cv.art(10, 10, 14, 14), picture({"77777", "73337", "73337", "73337", "77777"}));
}

TEST(Rects, FiguresOverTheEdgeKeepTheirOnCanvasPixels) {
    TestCanvas cv(6, 4);
    ras_fillrect(cv.rows(), -5, -5, 1, 1, 1);
    ras_drawrect(cv.rows(), 3, 2, 100, 100, 2);
    ras_brect(cv.rows(), -2, -1, 2, 2, 3, 4);
    EXPECT_EQ(cv.art(), picture({
                            "...2..",
                            "444222",
                            "334...",
                            "334...",
                        }));
    EXPECT_TRUE(cv.guards_intact());
}

}  // namespace
}  // namespace korvane
