// SPDX-License-Identifier: GPL-3.0-or-later
// Flood fill: the regions each mode fills, the outline variant, the ramps.
#include <array>
#include <queue>
#include <random>
#include <string>

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
            if (n[0] >= 0 && n[0] < w && n[1] >= 0 && n[1] < h && !seen[size_t(n[1] * w + n[0])] &&
                in(cv.at(n[0], n[1]))) {
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
                want.set(xx, yy,
                         in(xx, yy)                                                               ? 5
                         : (in(xx - 1, yy) || in(xx + 1, yy) || in(xx, yy - 1) || in(xx, yy + 1)) ? 7
                                                                                                  : cv.at(xx, yy));
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
    // A boundary fill around a 7 x 7 grid of small squares rescans what it
    // painted hundreds of times over, and must still fill all of it.
    TestCanvas squares(100, 100);
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j) ras_fillrect(squares.rows(), 6 + 12 * i, 6 + 12 * j, 10 + 12 * i, 10 + 12 * j, 2);
    const auto outside = region(squares, 0, 0, [](uint8_t p) { return p != 2; });
    EXPECT_EQ(ras_floodfill(squares.rows(), 0, 0, 100, 100, 5, 2, 0, 1, kHalf.v), FillStatus::Done);
    EXPECT_EQ(squares.count(5), filled_count(outside));
}

TEST(Floodfill, SeedConditionsRefuseTheFill) {
    struct Case {
        int mode;
        uint8_t seed;
        bool outline;
    } cases[] = {
        {0, 3, false}, {2, 3, false},  {6, 3, false}, {60, 3, false},  // seed not c2
        {1, 1, false}, {1, 1, true},                                   // seed is c2
        {3, 5, false}, {10, 5, true},                                  // seed already c1
        {4, 0, false}, {-1, 0, false}, {7, 0, true},                   // unknown modes
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

// The span fill as its description reads, with stacks that never drop a
// segment and a bound on span steps: false when the bound cut it short.
class ReferenceFill {
public:
    ReferenceFill(TestCanvas& cv, uint16_t c1, uint8_t c2, uint8_t c3, int mode, bool outline)
        : cv_(cv), c1w_(c1), c1_(uint8_t(c1)), c2_(c2), c3_(c3), mode_(mode), outline_(outline) {}

    bool run(int x, int y, long steps) {
        steps_ = steps;
        const uint8_t seed = cv_.at(x, y);
        if (seed == c1_) return true;
        const bool needs_c2 = mode_ == 0 || mode_ == 2 || (!outline_ && (mode_ == 6 || mode_ == 60));
        if ((needs_c2 && seed != c2_) || (mode_ == 1 && seed == c2_)) return true;
        y_ = y;
        span(x, x);
        if (l_ > r_) return true;
        mark_sides();
        down_.push_back({l_, r_, y_});
        pl_ = l_, pr_ = r_;
        scan(+1);
        for (;;) {
            if (steps_ < 0) return false;
            auto& stack = up_.size() > down_.size() ? up_ : down_;
            if (stack.empty()) return true;
            const int dir = &stack == &up_ ? 1 : -1;
            const auto seg = stack.back();
            stack.pop_back();
            pl_ = seg[0], pr_ = seg[1], y_ = seg[2];
            scan(dir);
        }
    }

private:
    enum Act { STOP, KEEP, PAINT };
    // role 0: the pixel at the start column; 1: found by the search; 2: met by the extension.
    Act act(int role, uint8_t p) const {
        switch (mode_) {
            case 1: return role == 0 ? (p == c2_ || p == c1_ ? STOP : PAINT) : p == c2_ ? STOP : PAINT;
            case 2: return p == c3_ && role != 1 ? KEEP : p == c2_ ? PAINT : STOP;
            case 3:
                if (role == 1) return p == c3_ ? KEEP : p != c2_ ? PAINT : STOP;
                return p == c3_ || p == c1_ ? KEEP : p == c2_ ? STOP : PAINT;
            case 10:
                if (role == 2) return p == c2_ || p == c3_ ? STOP : PAINT;
                return p == c1_ || p == c2_ || p == c3_ ? STOP : PAINT;
            default: return p == c2_ ? PAINT : STOP;
        }
    }
    void take(int x, Act a) {
        if (a != PAINT) return;
        cv_.set(x, y_, mode_ == 6 ? uint8_t(y_ / 2) : mode_ == 60 ? uint8_t(x / 2) : c1_);
        ++painted_;
    }
    void span(int s, int t) {
        --steps_;
        painted_ = 0;
        int x = s;
        if (act(0, cv_.at(s, y_)) != STOP) {
            take(s, act(0, cv_.at(s, y_)));
            while (x > 0 && act(2, cv_.at(x - 1, y_)) != STOP) --x, take(x, act(2, cv_.at(x, y_)));
            l_ = x;
            x = s;
        } else {
            do ++x;
            while (x <= t && act(1, cv_.at(x, y_)) == STOP);
            if (x > t) {
                l_ = t + 1, r_ = t;
                return;
            }
            take(x, act(1, cv_.at(x, y_)));
            l_ = x;
        }
        while (x < cv_.width() - 1 && act(2, cv_.at(x + 1, y_)) != STOP) ++x, take(x, act(2, cv_.at(x, y_)));
        r_ = x;
        if ((mode_ == 3 || mode_ == 10) && painted_ == 0) l_ = t + 1, r_ = t;
    }
    void mark(int x) { cv_.set(x, y_, c3_); }
    void mark_open(int from, int to) {
        for (int x = from; x <= to; ++x)
            if (cv_.at(x, y_) != c1w_) mark(x);
    }
    void mark_sides() {
        if (!outline_) return;
        if (l_ > 0) mark(l_ - 1);
        if (r_ < cv_.width() - 1) mark(r_ + 1);
    }
    void scan(int dir) {
        auto& ahead = dir > 0 ? up_ : down_;
        auto& behind = dir > 0 ? down_ : up_;
        while (steps_ >= 0 && (dir > 0 ? y_ < cv_.height() - 1 : y_ > 0)) {
            y_ += dir;
            span(pl_, pr_);
            if (l_ > r_) {
                if (outline_) mark_open(pl_, pr_);
                return;
            }
            if (l_ < pl_ - 1)
                behind.push_back({l_, pl_ - 2, y_});
            else if (outline_ && l_ > pl_)
                mark_open(pl_, l_ - 1);
            if (r_ > pr_ + 1)
                behind.push_back({pr_ + 2, r_, y_});
            else if (r_ < pr_ - 1)
                ahead.push_back({r_ + 2, pr_, y_ - dir});
            mark_sides();
            pl_ = l_, pr_ = r_;
        }
    }

    TestCanvas& cv_;
    uint16_t c1w_;
    uint8_t c1_, c2_, c3_;
    int mode_;
    bool outline_;
    int y_ = 0, pl_ = 0, pr_ = 0, l_ = 0, r_ = 0, painted_ = 0;
    long steps_ = 0;
    std::vector<std::array<int, 3>> up_, down_;
};

// Pictures made of the fill's own colours, so every test of a pixel against
// c1, c2 and c3 matters; the fill must match the reference wherever that ends,
// and report the walk endless wherever the reference runs on.
TEST(Floodfill, MatchesTheSpanFillOnPicturesOfItsOwnColours) {
    std::mt19937 g(11);
    const int modes[] = {0, 1, 2, 3, 6, 10, 60};
    int ended = 0, endless = 0;
    for (int trial = 0; trial < 7000; ++trial) {
        const int mode = modes[trial % 7];
        const bool outline = trial / 7 % 2 == 1;
        TestCanvas cv(4 + int(g() % 12), 3 + int(g() % 10));
        const uint8_t c1 = uint8_t(g() % 4), c2 = uint8_t(g() % 4), c3 = uint8_t(g() % 4);
        const uint8_t palette[] = {c1, c2, c3, uint8_t(4 + g() % 2)};
        for (int y = 0; y < cv.height(); ++y)
            for (int x = 0; x < cv.width(); ++x) cv.set(x, y, palette[g() % 4]);
        const int x = int(g() % unsigned(cv.width())), y = int(g() % unsigned(cv.height()));
        TestCanvas want = cv;
        const bool ends = ReferenceFill(want, c1, c2, c3, mode, outline).run(x, y, 100000);
        const std::string before = cv.art();
        const FillStatus status =
            outline ? ras_floodfill_outline(cv.rows(), x, y, cv.height(), cv.width(), c1, c2, c3, mode, kHalf.v)
                    : ras_floodfill(cv.rows(), x, y, cv.height(), cv.width(), c1, c2, c3, mode, kHalf.v);
        const auto context = [&] {
            return "mode " + std::to_string(mode) + (outline ? " outline" : "") + " c1 c2 c3 " + std::to_string(c1) +
                   " " + std::to_string(c2) + " " + std::to_string(c3) + " seed " + std::to_string(x) + "," +
                   std::to_string(y) + "\n" + before;
        };
        ASSERT_EQ(status, ends ? FillStatus::Done : FillStatus::Endless) << context();
        if (ends) {
            ASSERT_EQ(cv.art(), want.art()) << context();
        }
        (ends ? ended : endless) += 1;
    }
    EXPECT_GT(endless, 0);
    EXPECT_GT(ended, 5000);
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
