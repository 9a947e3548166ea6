// Flood fill: the regions each mode fills, the outline variant, the ramps.
#include <queue>
#include <random>

#include "test_canvas.h"

namespace korvane {
namespace {

using test::picture;
using test::TestCanvas;

struct HalfTable {
    int16_t v[400];
    HalfTable() {
        for (int i = 0; i < 400; ++i) v[i] = int16_t(i / 2);
    }
};
const HalfTable kHalf;

// The 4-connected region of the seed over pixels for which `in` holds.
template <class In>
std::vector<bool> region(const TestCanvas& cv, int sx, int sy, In in) {
    const int w = cv.width(), h = cv.height();
    std::vector<bool> seen(size_t(w * h));
    std::queue<std::pair<int, int>> q;
    q.push({sx, sy});
    seen[size_t(sy * w + sx)] = true;
    while (!q.empty()) {
        auto [x, y] = q.front();
        q.pop();
        const int nb[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (auto& n : nb)
            if (n[0] >= 0 && n[0] < w && n[1] >= 0 && n[1] < h && !seen[size_t(n[1] * w + n[0])] && in(cv.at(n[0], n[1]))) {
                seen[size_t(n[1] * w + n[0])] = true;
                q.push({n[0], n[1]});
            }
    }
    return seen;
}

void random_picture(TestCanvas& cv, std::mt19937& g, int colours, int density) {
    for (int y = 0; y < cv.height(); ++y)
        for (int x = 0; x < cv.width(); ++x) cv.set(x, y, int(g() % 100) < density ? uint8_t(1 + g() % colours) : 0);
}

// Mode 0 fills the seed's colour, mode 1 all but the boundary colour, mode 10 all but two.
TEST(Floodfill, FillsExactlyTheConnectedRegion) {
    std::mt19937 g(42);
    for (int trial = 0; trial < 600; ++trial) {
        TestCanvas cv(3 + int(g() % 30), 3 + int(g() % 20));
        random_picture(cv, g, 2, 20 + int(g() % 40));
        const int x = int(g() % unsigned(cv.width())), y = int(g() % unsigned(cv.height()));
        const int mode = trial % 3 == 0 ? 0 : trial % 3 == 1 ? 1 : 10;
        const uint8_t c2 = mode == 0 ? cv.at(x, y) : 1, c3 = 2, seed = cv.at(x, y);
        if (seed == c2 && mode != 0) continue;
        if (mode == 10 && seed == c3) continue;
        TestCanvas want = cv;
        const auto in = [&](uint8_t p) { return mode == 0 ? p == c2 : mode == 1 ? p != c2 : p != c2 && p != c3; };
        const auto reg = region(cv, x, y, in);
        for (int yy = 0; yy < cv.height(); ++yy)
            for (int xx = 0; xx < cv.width(); ++xx)
                if (reg[size_t(yy * cv.width() + xx)]) want.set(xx, yy, 5);
        const std::string before = cv.art();
        ras_floodfill(cv.rows(), x, y, cv.height(), cv.width(), 5, c2, c3, mode, kHalf.v);
        ASSERT_EQ(cv.art(), want.art()) << "mode " << mode << " seed " << x << "," << y << "\n" << before;
    }
}

TEST(Floodfill, ModeTenFillsAllButTwoColours) {
    TestCanvas cv(7, 4);
    cv.paint(0, 0, {"..1.2..", ".1..2.1", "1.2....", "..2.1.."});
    ras_floodfill(cv.rows(), 1, 0, 4, 7, 5, 1, 2, 10, kHalf.v);
    EXPECT_EQ(cv.art(), picture({"..1.2..", ".1..2.1", "152....", "552.1.."}));
}

TEST(FloodfillOutline, MarksEveryOutsideNeighbour) {
    std::mt19937 g(7);
    for (int trial = 0; trial < 400; ++trial) {
        TestCanvas cv(3 + int(g() % 25), 3 + int(g() % 20));
        random_picture(cv, g, 2, 20 + int(g() % 40));
        const int x = int(g() % unsigned(cv.width())), y = int(g() % unsigned(cv.height()));
        const uint8_t c2 = cv.at(x, y);
        const auto reg = region(cv, x, y, [&](uint8_t p) { return p == c2; });
        TestCanvas want = cv;
        const int w = cv.width(), h = cv.height();
        auto in = [&](int xx, int yy) { return xx >= 0 && xx < w && yy >= 0 && yy < h && reg[size_t(yy * w + xx)]; };
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx)
                want.set(xx, yy, in(xx, yy) ? 5 : (in(xx - 1, yy) || in(xx + 1, yy) || in(xx, yy - 1) || in(xx, yy + 1)) ? 7 : cv.at(xx, yy));
        const std::string before = cv.art();
        ras_floodfill_outline(cv.rows(), x, y, h, w, 5, c2, 7, 0, kHalf.v);
        ASSERT_EQ(cv.art(), want.art()) << "seed " << x << "," << y << "\n" << before;
    }
}

int filled_count(const std::vector<bool>& reg) { return int(std::count(reg.begin(), reg.end(), true)); }

TEST(Floodfill, MazesAndTheFullCanvas) {
    // A serpentine of one-pixel corridors, each wall open at alternate ends.
    TestCanvas snake(400, 400);
    for (int y = 1; y < 400; y += 2)
        for (int x = 0; x < 400; ++x) snake.set(x, y, x == ((y / 2) % 2 ? 0 : 399) ? 0 : 1);
    ras_floodfill(snake.rows(), 0, 0, 400, 400, 5, 0, 0, 0, kHalf.v);
    EXPECT_EQ(snake.count(0), 0);
    // A comb of one-pixel teeth hanging from the top row, and a seed at the bottom of one.
    TestCanvas comb(400, 400);
    for (int x = 1; x < 400; x += 2)
        for (int y = 0; y < 399; ++y) comb.set(x, y, 1);
    const auto reg = region(comb, 0, 0, [](uint8_t p) { return p == 0; });
    ras_floodfill(comb.rows(), 0, 0, 400, 400, 5, 0, 0, 0, kHalf.v);
    EXPECT_EQ(comb.count(5), filled_count(reg));
    EXPECT_EQ(comb.count(0), 0);
    TestCanvas full(400, 400);
    ras_floodfill(full.rows(), 123, 321, 400, 400, 9, 0, 0, 0, kHalf.v);
    EXPECT_EQ(full.count(9), 400 * 400);
}

TEST(Floodfill, SeedConditionsRefuseTheFill) {
    struct Case {
        int mode;
        uint8_t seed;
        bool outline;
    } cases[] = {
        {0, 3, false}, {2, 3, false}, {6, 3, false}, {60, 3, false},  // seed not c2
        {1, 1, false}, {1, 1, true},                                  // seed is c2
        {3, 5, false}, {10, 5, true},                                 // seed already c1
        {4, 0, false}, {-1, 0, false}, {7, 0, true},                  // unknown modes
    };
    for (const Case& c : cases) {
        TestCanvas cv(5, 5, c.seed);
        if (c.outline)
            ras_floodfill_outline(cv.rows(), 2, 2, 5, 5, 5, 1, 2, c.mode, kHalf.v);
        else
            ras_floodfill(cv.rows(), 2, 2, 5, 5, 5, 1, 2, c.mode, kHalf.v);
        EXPECT_EQ(cv.count(c.seed), 25) << "mode " << c.mode;
    }
    TestCanvas cv(5, 5);
    for (int xy : {-1, 5, INT32_MIN, INT32_MAX}) ras_floodfill(cv.rows(), xy, 2, 5, 5, 5, 0, 0, 0, kHalf.v);
    ras_floodfill(cv.rows(), 4, 4, 4, 4, 5, 0, 0, 0, kHalf.v);  // outside the given height and width
    EXPECT_EQ(cv.count(0), 25);
}

TEST(Floodfill, ModeTwoKeepsItsThirdColour) {
    TestCanvas across(5, 3);
    across.paint(0, 0, {".....", "33333", "....."});
    ras_floodfill(across.rows(), 0, 0, 3, 5, 5, 0, 3, 2, kHalf.v);
    EXPECT_EQ(across.art(), picture({"55555", "33333", "55555"}));
    // The search starts spans on c2 only: what joins through passed-over c3 stays.
    TestCanvas pocket(3, 3);
    pocket.paint(0, 0, {"9.9", "933", "..."});
    ras_floodfill(pocket.rows(), 0, 0, 3, 3, 5, 0, 3, 2, kHalf.v);
    EXPECT_EQ(pocket.art(), picture({"9.9", "933", "555"}));
}

TEST(Floodfill, ModeThreeStopsOnRowsWithNothingToPaint) {
    TestCanvas cv(3, 3);
    cv.paint(0, 0, {"...", "333", "..."});
    ras_floodfill(cv.rows(), 1, 0, 3, 3, 5, 9, 3, 3, kHalf.v);
    EXPECT_EQ(cv.art(), picture({"...", "333", "555"}));
}

TEST(Floodfill, RampsColourByRowOrColumn) {
    TestCanvas rows(6, 8), cols(8, 3);
    ras_floodfill(rows.rows(), 3, 3, 8, 6, 9, 0, 0, 6, kHalf.v);
    ras_floodfill(cols.rows(), 0, 0, 3, 8, 9, 0, 0, 60, kHalf.v);
    EXPECT_EQ(rows.art(), picture({"333333", "333333", "222222", "222222", "111111", "111111", "......", "......"}));
    EXPECT_EQ(cols.art(), picture({"..112233", "..112233", "..112233"}));
}

TEST(Floodfill, ColourfulFillsAlwaysEnd) {
    // Kept or still-fillable colours make the walk revisit spans; the fill must still end.
    std::mt19937 g(3);
    for (int trial = 0; trial < 3000; ++trial) {
        TestCanvas cv(12, 10);
        random_picture(cv, g, 3, 60);
        const int modes[] = {0, 1, 2, 3, 6, 10, 60};
        const int mode = modes[g() % 7];
        const uint16_t c1 = uint16_t(g() % 4), c2 = uint16_t(g() % 4), c3 = uint16_t(g() % 4);
        const int x = int(g() % 12), y = int(g() % 10);
        if (g() % 2)
            ras_floodfill_outline(cv.rows(), x, y, 10, 12, c1, c2, c3, mode, kHalf.v);
        else
            ras_floodfill(cv.rows(), x, y, 10, 12, c1, c2, c3, mode, kHalf.v);
        ASSERT_TRUE(cv.guards_intact()) << trial;
    }
}

}  // namespace
}  // namespace korvane
