// SPDX-License-Identifier: GPL-3.0-or-later
// Filled triangles and the line routines they use.
#include <random>

#include "test_canvas.h"

namespace korvane {
namespace {

using test::picture;
using test::TestCanvas;

TEST(Trifill, FlatBottomWithVerticalAndDiagonalEdges) {
    TestCanvas cv(5, 5);
    ras_trifill(cv.rows(), 4, 0, 0, 4, 0, 0, 2, 1);
    EXPECT_EQ(cv.art(), picture({"1....", "11...", "121..", "1221.", "11111"}));
}

TEST(Trifill, MiddleVertexLeftAndRightOfTheLongEdge) {
    TestCanvas left(8, 7), right(8, 7);
    ras_trifill(left.rows(), 6, 0, 0, 3, 7, 6, 2, 1);
    ras_trifill(right.rows(), 1, 0, 7, 3, 0, 6, 2, 1);
    EXPECT_EQ(left.art(), picture({
                              "......11",
                              "....1121",
                              "..112221",
                              "1122221.",
                              "..11221.",
                              "....111.",
                              "......1.",
                          }));
    EXPECT_EQ(right.art(), picture({
                               "11......",
                               "1211....",
                               "122211..",
                               ".1222211",
                               ".12211..",
                               ".111....",
                               ".1......",
                           }));
}

TEST(Trifill, DegenerateTrianglesDrawNothingOrTheirLine) {
    TestCanvas cv(8, 8);
    ras_trifill(cv.rows(), 0, 3, 5, 3, 7, 3, 2, 1);
    ras_trifill(cv.rows(), 4, 0, 4, 5, 4, 7, 2, 1);
    EXPECT_EQ(cv.count(0), 64);
    ras_trifill(cv.rows(), 0, 0, 3, 3, 6, 6, 2, 1);  // collinear: just the diagonal
    EXPECT_EQ(cv.count(1), 7);
    for (int i = 0; i <= 6; ++i) EXPECT_EQ(cv.at(i, i), 1);
}

// Edges are the stepped lines from each lower vertex to each upper one; the
// fill lies strictly inside the rows between them and leaves no holes.
TEST(Trifill, EdgesAreStepLinesAndFillHasNoHoles) {
    std::mt19937 g(11);
    for (int trial = 0; trial < 2000; ++trial) {
        int v[6];
        for (int& c : v) c = int(g() % 40);
        TestCanvas tri(40, 40), edges(40, 40);
        ras_trifill(tri.rows(), v[0], v[1], v[2], v[3], v[4], v[5], 2, 1);
        if ((v[1] == v[3] && v[3] == v[5]) || (v[0] == v[2] && v[2] == v[4])) continue;
        for (int a = 0; a < 3; ++a) {
            const int b = (a + 1) % 3;
            const bool a_low = v[2 * a + 1] < v[2 * b + 1] || (v[2 * a + 1] == v[2 * b + 1] && v[2 * a] < v[2 * b]);
            const int lo = a_low ? a : b, hi = a_low ? b : a;
            if (v[2 * lo + 1] == v[2 * hi + 1])
                ras_hline(edges.rows(), v[2 * lo], v[2 * lo + 1], v[2 * hi], 1);
            else
                ras_line(edges.rows(), edges.full(), v[2 * lo], v[2 * lo + 1], v[2 * hi], v[2 * hi + 1], 1, 1);
        }
        const int ymin = std::min({v[1], v[3], v[5]}), ymax = std::max({v[1], v[3], v[5]});
        for (int y = 0; y < 40; ++y) {
            int first = -1, last = -1;
            for (int x = 0; x < 40; ++x) {
                ASSERT_EQ(tri.at(x, y) == 1, edges.at(x, y) == 1) << trial << " at " << x << "," << y;
                if (tri.at(x, y) == 2) {
                    ASSERT_TRUE(y > ymin && y < ymax) << trial;
                    if (first < 0) first = x;
                    last = x;
                }
            }
            for (int x = first; first >= 0 && x <= last; ++x)
                ASSERT_EQ(tri.at(x, y), 2) << trial << " hole at " << x << "," << y;
            if (first >= 0) {
                ASSERT_EQ(tri.at(first - 1, y), 1) << trial;
                ASSERT_EQ(tri.at(last + 1, y), 1) << trial;
            }
        }
    }
}

TEST(HVLines, EitherEndFirst) {
    TestCanvas a(6, 6), b(6, 6);
    ras_hline(a.rows(), 1, 2, 4, 1);
    ras_hline(b.rows(), 4, 2, 1, 1);
    ras_vline(a.rows(), 5, 0, 3, 2);
    ras_vline(b.rows(), 5, 3, 0, 2);
    EXPECT_EQ(a.pixels(), b.pixels());
    EXPECT_EQ(a.art(), picture({"......", "......", ".....2", ".11112", ".....2", ".....2"}));
}

}  // namespace
}  // namespace korvane
