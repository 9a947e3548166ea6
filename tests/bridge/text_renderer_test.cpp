// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace korvane {
namespace {

constexpr int kSize = 400;
constexpr int kGuard = 4096;
constexpr uint8_t kBackground = 200;
constexpr uint8_t kGuardByte = 0xA5;

// A 400 x 400 canvas with guard bytes before and after it, to see any write
// outside the picture.
class GuardedCanvas {
public:
    GuardedCanvas() : block_(kGuard + kSize * kSize + kGuard, kGuardByte) {
        std::fill_n(block_.begin() + kGuard, kSize * kSize, kBackground);
        for (int y = 0; y < kSize; ++y) rows_.push_back(&block_[kGuard + y * kSize]);
    }
    RowTable rows() const { return {rows_.data(), kSize, kSize}; }
    uint8_t at(int x, int y) const { return rows_[y][x]; }
    bool guards_intact() const {
        auto is_guard = [](uint8_t b) { return b == kGuardByte; };
        return std::all_of(block_.begin(), block_.begin() + kGuard, is_guard) &&
               std::all_of(block_.end() - kGuard, block_.end(), is_guard);
    }
    // Pixels that are no longer the background, as (x, y) pairs.
    std::vector<std::pair<int, int>> ink() const {
        std::vector<std::pair<int, int>> set;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (at(x, y) != kBackground) set.emplace_back(x, y);
        return set;
    }

private:
    std::vector<uint8_t> block_;
    std::vector<uint8_t*> rows_;
};

std::vector<std::pair<int, int>> draw(TextRenderer& text, int x, int y, const char* s) {
    GuardedCanvas canvas;
    text.draw(canvas.rows(), x, y, s);
    EXPECT_TRUE(canvas.guards_intact());
    return canvas.ink();
}

std::vector<std::pair<int, int>> shifted(std::vector<std::pair<int, int>> ink, int dx, int dy) {
    for (auto& [x, y] : ink) x += dx, y += dy;
    return ink;
}

TEST(TextRenderer, WritesOnlyTheTextIndex) {
    TextRenderer text;
    text.set_style(7, 24, "DejaVu Sans");
    GuardedCanvas canvas;
    text.draw(canvas.rows(), 20, 300, "Korvane @ 400");
    ASSERT_GT(canvas.ink().size(), 100u);
    for (auto [x, y] : canvas.ink()) ASSERT_EQ(canvas.at(x, y), 7) << x << "," << y;
}

TEST(TextRenderer, IndexIsTakenModulo256) {
    const struct {
        int32_t index;
        uint8_t written;
    } cases[] = {
        {301, 45}, {-1, 255}, {256, 0}, {INT32_MIN, 0}, {255, 255},
    };
    for (const auto& c : cases) {
        TextRenderer text;
        text.set_style(c.index, 20, "");
        GuardedCanvas canvas;
        text.draw(canvas.rows(), 10, 200, "H");
        ASSERT_FALSE(canvas.ink().empty() && c.written == kBackground);
        EXPECT_EQ(text.index(), c.written) << c.index;
        for (auto [x, y] : canvas.ink()) ASSERT_EQ(canvas.at(x, y), c.written) << c.index;
    }
}

// The cell's top-left corner is device row 400 - y: the text hangs down from
// program row y - 1, and moving the anchor moves the ink by the same amount.
// The ring of DejaVu Sans's "Å" reaches the top of its cell.
TEST(TextRenderer, CellHangsBelowRowYMinusOne) {
    TextRenderer text;
    text.set_style(1, 30, "DejaVu Sans");
    const auto at_top = draw(text, 0, 399, "\xc3\x85g");
    ASSERT_FALSE(at_top.empty());
    EXPECT_EQ(
        std::max_element(at_top.begin(), at_top.end(), [](auto a, auto b) { return a.second < b.second; })->second,
        398);
    EXPECT_EQ(draw(text, 37, 250, "\xc3\x85g"), shifted(at_top, 37, -149));
}

// Text is UTF-8: "€" is its letter, not "â" and two more, and DejaVu has
// "😀"; a character the font lacks ("中") draws the font's box for a missing
// letter, as any other does.
TEST(TextRenderer, TextIsUtf8AndALetterTheFontLacksDrawsItsBox) {
    TextRenderer text;
    text.set_style(1, 30, "DejaVu Sans");
    const auto euro = draw(text, 0, 399, "\xe2\x82\xac");
    ASSERT_FALSE(euro.empty());
    EXPECT_NE(euro, draw(text, 0, 399, "\xc3\xa2\xc2\x82\xc2\xac"));
    const auto missing = draw(text, 0, 399, "\xe4\xb8\xad");
    ASSERT_FALSE(missing.empty());
    EXPECT_EQ(missing, draw(text, 0, 399, "\xf4\x8f\xbf\xbd"));
    const auto emoji = draw(text, 0, 399, "\xf0\x9f\x98\x80");
    EXPECT_FALSE(emoji.empty());
    EXPECT_NE(emoji, missing);
    EXPECT_NE(emoji, euro);
}

TEST(TextRenderer, TextBelowOrRightOfTheCanvasDrawsNothing) {
    TextRenderer text;
    text.set_style(1, 30, "");
    const struct {
        int32_t x, y;
    } cases[] = {
        {10, 0},         {10, -5},         {400, 200},      {INT32_MAX, 200},
        {10, INT32_MIN}, {INT32_MIN, 200}, {10, INT32_MAX}, {-100000, 200},
    };
    for (const auto& c : cases) EXPECT_TRUE(draw(text, c.x, c.y, "Wide text").empty()) << c.x << "," << c.y;
}

TEST(TextRenderer, TextOverlappingAnEdgeIsCut) {
    TextRenderer text;
    text.set_style(1, 40, "");
    const auto whole = draw(text, 100, 200, "MMMM");
    // Half off the left, the right and the top edge: the visible part is
    // exactly the shifted whole cut to the canvas.
    const struct { int dx, dy; } moves[] = {{-160, 0}, {260, 0}, {0, 210}};
    for (const auto& m : moves) {
        std::vector<std::pair<int, int>> expected;
        for (auto [x, y] : shifted(whole, m.dx, m.dy))
            if (x >= 0 && x < kSize && y >= 0 && y < kSize) expected.emplace_back(x, y);
        std::sort(expected.begin(), expected.end(),
                  [](auto a, auto b) { return a.second != b.second ? a.second < b.second : a.first < b.first; });
        EXPECT_EQ(draw(text, 100 + m.dx, 200 + m.dy, "MMMM"), expected) << m.dx << "," << m.dy;
    }
}

TEST(TextRenderer, FontNamesMapOntoTheBundledFamilies) {
    const struct {
        const char* name;
        FontFace face;
    } names[] = {
        {"", kSans},
        {"No Such Font Anywhere", kSans},
        {"Arial", kSans},
        {"DejaVu Sans", kSans},
        {"Microsoft Sans Serif", kSans},
        {"DejaVu Serif", kSerif},
        {"times new roman", kSerif},
        {"Georgia", kSerif},
        {"COURIER", kMono},
        {"Courier New", kMono},
        {"DejaVu Sans Mono", kMono},
        {"Consolas", kMono},
    };
    for (const auto& n : names) EXPECT_EQ(face_for_family(n.name), n.face) << n.name;
    TextRenderer sans, serif, mono;
    sans.set_style(1, 18, "Helvetica");
    serif.set_style(1, 18, "Times");
    mono.set_style(1, 18, "Courier");
    const auto ink = draw(sans, 10, 200, "Fallback");
    EXPECT_FALSE(ink.empty());
    EXPECT_NE(ink, draw(serif, 10, 200, "Fallback"));
    EXPECT_NE(ink, draw(mono, 10, 200, "Fallback"));
}

TEST(TextRenderer, SizeChangesTheHeight) {
    auto height = [](int32_t size) {
        TextRenderer text;
        text.set_style(1, size, "DejaVu Sans");
        const auto ink = draw(text, 0, 399, "H");
        auto [lo, hi] = std::minmax_element(ink.begin(), ink.end(), [](auto a, auto b) { return a.second < b.second; });
        return ink.empty() ? 0 : hi->second - lo->second + 1;
    };
    const int small = height(10), large = height(40);
    EXPECT_GT(small, 5);
    EXPECT_NEAR(large, 4 * small, small);
    // Huge sizes are capped, not refused; non-positive sizes keep the default.
    EXPECT_EQ(height(INT32_MAX), height(TextRenderer::kMaxPointSize));
    EXPECT_EQ(height(0), height(-12));
    EXPECT_GT(height(0), 0);
}

TEST(TextRenderer, EmptyTextDrawsNothing) {
    TextRenderer text;
    EXPECT_TRUE(draw(text, 10, 200, "").empty());
}

}  // namespace
}  // namespace korvane
