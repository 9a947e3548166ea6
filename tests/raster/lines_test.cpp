// SPDX-License-Identifier: GPL-3.0-or-later
// Points and the four stepped lines.
#include "test_canvas.h"

namespace korvane {
namespace {

using test::picture;
using test::TestCanvas;

TEST(Point, ClipsInclusiveAndWritesTheLowByte) {
    TestCanvas cv(400, 400);
    ras_point(cv.rows(), cv.full(), 399, 399, 256 + 3);
    ras_point(cv.rows(), cv.full(), 0, 0, uint16_t(-1));
    ras_point(cv.rows(), cv.full(), 400, 0, 1);
    ras_point(cv.rows(), cv.full(), -1, 5, 1);
    ras_point(cv.rows(), {-100, 1000, -100, 1000}, 400, 400, 1);  // a window past the canvas
    EXPECT_EQ(cv.at(399, 399), 3);
    EXPECT_EQ(cv.at(0, 0), 255);
    EXPECT_EQ(cv.count(0), 400 * 400 - 2);
    EXPECT_EQ(ras_getpel(cv.rows(), 0, 0), 255);
    EXPECT_EQ(ras_getpel(cv.rows(), 400, 0), 0);
    EXPECT_EQ(ras_getpel(cv.rows(), 0, -1), 0);
}

TEST(Fpoint, DrawsWholeBlockOrNothing) {
    TestCanvas cv(400, 400);
    ras_fpoint(cv.rows(), cv.full(), 398, 398, 4);
    ras_fpoint(cv.rows(), cv.full(), 399, 0, 4);
    ras_fpoint(cv.rows(), cv.full(), 0, 399, 4);
    ras_fpoint(cv.rows(), {0, 397, 0, 399}, 397, 396, 4);  // would cross the window's right edge
    EXPECT_EQ(cv.art(396, 396, 399, 399), picture({"..44", "..44", "....", "...."}));
    EXPECT_EQ(cv.count(4), 4);
}

TEST(Line, StepsWithTheHalfStartedAccumulator) {
    TestCanvas cv(6, 4);
    ras_line(cv.rows(), cv.full(), 0, 0, 3, 1, 1, 1);
    ras_line(cv.rows(), cv.full(), 5, 0, 4, 3, 2, 1);  // y major, going up-left
    EXPECT_EQ(cv.art(), picture({
                            "....2.",
                            "....2.",
                            "..11.2",
                            "11...2",
                        }));
}

TEST(Line, EqualEndsDrawNothingAndExtraExtendsTheLine) {
    TestCanvas cv(8, 3);
    ras_line(cv.rows(), cv.full(), 2, 1, 2, 1, 5, 1);
    EXPECT_EQ(cv.count(0), 24);
    ras_line(cv.rows(), cv.full(), 0, 1, 2, 1, 5, 3);  // 2 + 3 pixels
    EXPECT_EQ(cv.art(), picture({"........", "55555...", "........"}));
}

TEST(Line, ClipsEveryPixelToTheWindow) {
    struct Case {
        int x1, y1, x2, y2, pixels;
    } cases[] = {{100, -50, 100, 450, 400}, {-100, 200, 500, 200, 400}, {-200, -200, 600, 600, 400}};
    for (const Case& c : cases) {
        TestCanvas cv(400, 400);
        ras_line(cv.rows(), cv.full(), c.x1, c.y1, c.x2, c.y2, 1, 1);
        EXPECT_EQ(cv.count(1), c.pixels) << c.x1;
    }
    TestCanvas cv(400, 400);
    ras_line(cv.rows(), cv.full(), -200, -200, 600, 600, 1, 1);
    for (int i = 0; i < 400; ++i) EXPECT_EQ(cv.at(i, i), 1);
    TestCanvas win(10, 10);
    ras_line(win.rows(), {2, 6, 3, 7}, 0, 0, 9, 9, 1, 1);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(win.at(i, i), i >= 3 && i <= 6 ? 1 : 0) << i;
}

TEST(Line, ReversedLineOnExactDiagonalHitsTheSamePixels) {
    TestCanvas a(5, 5), b(5, 5);
    ras_line(a.rows(), a.full(), 0, 0, 4, 4, 1, 1);
    ras_line(b.rows(), b.full(), 4, 4, 0, 0, 1, 1);
    EXPECT_EQ(a.pixels(), b.pixels());
    EXPECT_EQ(a.count(1), 5);
}

TEST(Xline, LeavesTheEndPointAndUndoesItself) {
    TestCanvas cv(8, 2, 3);
    ras_xline(cv.rows(), 0, 0, 5, 0, 6);
    EXPECT_EQ(cv.art(), picture({"33333333", "55555333"}));
    ras_xline(cv.rows(), 0, 0, 5, 0, 6);
    EXPECT_EQ(cv.count(3), 16);
    // A closed chain XORs every joint once.
    TestCanvas chain(8, 8);
    ras_xline(chain.rows(), 1, 1, 6, 1, 1);
    ras_xline(chain.rows(), 6, 1, 6, 6, 1);
    ras_xline(chain.rows(), 6, 6, 1, 1, 1);
    EXPECT_EQ(chain.count(1), 5 + 5 + 5);
}

TEST(Fline, MovesA2x2BrushAndSkipsTheLastStep) {
    TestCanvas cv(6, 3);
    ras_fline(cv.rows(), 0, 0, 3, 0, 7);
    EXPECT_EQ(cv.art(), picture({"......", "7777..", "7777.."}));
    TestCanvas edge(4, 4);
    ras_fline(edge.rows(), 3, 3, 0, 0, 7);  // the brush at the top right hangs over the edge
    EXPECT_EQ(edge.art(), picture({"..77", ".777", ".77.", "...."}));
}

TEST(Dline, DashPhaseRunsOnAcrossCalls) {
    TestCanvas cv(40, 1);
    uint16_t pattern = 0xFF00, acc = 0;
    ras_dline(cv.rows(), 0, 0, 10, 0, 1, pattern, acc);
    ras_dline(cv.rows(), 10, 0, 30, 0, 1, pattern, acc);
    EXPECT_EQ(cv.art(), picture({"........11111111........111111.........."}));
    EXPECT_EQ(pattern, uint16_t((0xFF00 >> 14) | (0xFF00 << 2)));  // rotated by 30 = 16 + 14
    EXPECT_EQ(acc, 0);
    ras_dline(cv.rows(), 3, 0, 3, 0, 1, pattern, acc);  // equal ends: state unchanged
    EXPECT_EQ(pattern, uint16_t((0xFF00 >> 14) | (0xFF00 << 2)));
}

// Longest run of drawn pixels along the diagonal.
int longest_diagonal_dash(const TestCanvas& cv) {
    int best = 0, run = 0;
    for (int i = 0; i < cv.width(); ++i) {
        run = cv.at(i, i) ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}

TEST(Dline, DiagonalDashesAreShorterByRootTwo) {
    TestCanvas cv(101, 101);
    uint16_t pattern = 0xFF00, acc = 0;
    ras_dline(cv.rows(), 0, 0, 100, 100, 1, pattern, acc);
    const int dash = longest_diagonal_dash(cv);
    EXPECT_GE(dash, 5);
    EXPECT_LE(dash, 6);
    EXPECT_EQ(acc, (100 * 0x6A0A) & 0xFFFF);
}

TEST(Dline, OffCanvasPixelsStillAdvanceTheDash) {
    // The same line on a small canvas and, shifted, wholly on a big one.
    TestCanvas small(20, 20), big(750, 330);
    uint16_t p1 = 0xF0F0, a1 = 0x1234, p2 = 0xF0F0, a2 = 0x1234;
    ras_dline(small.rows(), -700, -301, 25, 9, 2, p1, a1);
    ras_dline(big.rows(), 20, 9, 745, 319, 2, p2, a2);
    EXPECT_EQ(small.art(), big.art(720, 310, 739, 329));
    EXPECT_EQ(p1, p2);
    EXPECT_EQ(a1, a2);
    EXPECT_GT(small.count(2), 0);
}

}  // namespace
}  // namespace korvane
