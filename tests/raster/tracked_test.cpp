// SPDX-License-Identifier: GPL-3.0-or-later
// The tracked overloads must draw exactly the pixels of the plain routines
// and tag exactly the pixels they write. Random arguments, many of them off
// the canvas, on a small odd-sized canvas with guard bytes.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "raster.h"
#include "test_canvas.h"

namespace korvane {
namespace {

using test::TestCanvas;

constexpr int kW = 72, kH = 52;
constexpr uint32_t kTag = 7;

// Random argument source: coordinates reach well past every edge.
struct Args {
    std::mt19937 g;
    int32_t x() { return int32_t(g() % (kW + 60)) - 30; }
    int32_t y() { return int32_t(g() % (kH + 60)) - 30; }
    int32_t size() { return int32_t(g() % 50); }
    uint16_t colour() { return uint16_t(1 + g() % 100); }  // never a background colour
    int32_t mode() { return std::array{0, 1, 2, 3, 6, 10, 60}[g() % 7]; }
};

// One routine, drawn through either target with the same arguments.
struct Routine {
    const char* name;
    bool writes_change_pixels;  // false where a write may leave a pixel as it was
    std::function<void(const RowTable&, Args&)> plain;
    std::function<void(const TrackedRows&, Args&)> tracked;
};

// Builds both calls of a routine from one generic lambda.
template <class F>
Routine routine(const char* name, bool changes, F f) {
    return {name, changes, [f](const RowTable& r, Args& a) { f(r, a); },
            [f](const TrackedRows& r, Args& a) { f(r, a); }};
}

const int16_t* half_table() {
    static const std::vector<int16_t> half = [] {
        std::vector<int16_t> h(400);
        for (int i = 0; i < 400; ++i) h[size_t(i)] = int16_t(i / 2);
        return h;
    }();
    return half.data();
}

std::vector<Routine> routines() {
    const ClipWindow clip = {3, kW - 5, 2, kH - 4};
    return {
        routine("point", true, [=](const auto& r, Args& a) { ras_point(r, clip, a.x(), a.y(), a.colour()); }),
        routine("fpoint", true, [=](const auto& r, Args& a) { ras_fpoint(r, clip, a.x(), a.y(), a.colour()); }),
        routine("line", true,
                [=](const auto& r, Args& a) { ras_line(r, clip, a.x(), a.y(), a.x(), a.y(), a.colour(), 1); }),
        routine("xline", true, [](const auto& r, Args& a) { ras_xline(r, a.x(), a.y(), a.x(), a.y(), a.colour()); }),
        routine("fline", false, [](const auto& r, Args& a) { ras_fline(r, a.x(), a.y(), a.x(), a.y(), a.colour()); }),
        routine("dline", true,
                [](const auto& r, Args& a) {
                    uint16_t pattern = uint16_t(a.g()), acc = uint16_t(a.g());
                    ras_dline(r, a.x(), a.y(), a.x(), a.y(), a.colour(), pattern, acc);
                }),
        routine("hline", true, [](const auto& r, Args& a) { ras_hline(r, a.x(), a.y(), a.x(), a.colour()); }),
        routine("vline", true, [](const auto& r, Args& a) { ras_vline(r, a.x(), a.y(), a.y(), a.colour()); }),
        routine("clear", true, [](const auto& r, Args& a) { ras_clear(r, a.size(), a.size() * 3, a.colour()); }),
        routine("fillrect", true,
                [](const auto& r, Args& a) { ras_fillrect(r, a.x(), a.y(), a.x(), a.y(), a.colour()); }),
        routine("drawrect", true,
                [](const auto& r, Args& a) { ras_drawrect(r, a.x(), a.y(), a.x(), a.y(), a.colour()); }),
        routine("brect", true,
                [](const auto& r, Args& a) { ras_brect(r, a.x(), a.y(), a.x(), a.y(), a.colour(), a.colour()); }),
        routine("circle", true,
                [=](const auto& r, Args& a) { ras_circle(r, clip, a.x(), a.y(), a.size(), a.colour()); }),
        routine("xcircle", true, [](const auto& r, Args& a) { ras_xcircle(r, a.x(), a.y(), a.size(), a.colour()); }),
        routine("disk", true, [](const auto& r, Args& a) { ras_disk(r, a.x(), a.y(), a.size(), a.colour()); }),
        routine("bdisk", false,
                [](const auto& r, Args& a) { ras_bdisk(r, a.x(), a.y(), a.size(), a.colour(), a.colour()); }),
        routine("circ2", true, [](const auto& r, Args& a) { ras_circ2(r, a.x(), a.y(), a.colour()); }),
        routine("fcirc2", true, [](const auto& r, Args& a) { ras_fcirc2(r, a.x(), a.y(), a.colour(), a.colour()); }),
        routine("ellipse", true,
                [](const auto& r, Args& a) { ras_ellipse(r, a.x(), a.y(), a.size(), a.size(), a.colour()); }),
        routine("xellipse", true,
                [](const auto& r, Args& a) { ras_xellipse(r, a.x(), a.y(), a.size(), a.size(), a.colour()); }),
        routine("elldisk", false,
                [](const auto& r, Args& a) { ras_elldisk(r, a.x(), a.y(), a.size(), a.size(), a.colour()); }),
        routine(
            "ellbdisk", false,
            [](const auto& r, Args& a) { ras_ellbdisk(r, a.x(), a.y(), a.size(), a.size(), a.colour(), a.colour()); }),
        routine("grid", true,
                [](const auto& r, Args& a) {
                    ras_grid(r, a.size() * 2, a.size(), a.size() % 9, a.size() % 7, a.colour());
                }),
        routine("h_axis", false,
                [](const auto& r, Args& a) {
                    ras_h_axis(r, a.y(), a.x(), a.x(), 1 + a.size() % 5, 1 + a.size() % 4, a.size() % 3, a.size() % 9,
                               a.size() % 5, a.colour(), a.colour());
                }),
        routine("v_axis", false,
                [](const auto& r, Args& a) {
                    ras_v_axis(r, a.x(), a.y(), a.y(), 1 + a.size() % 5, 1 + a.size() % 4, a.size() % 3, a.size() % 9,
                               a.size() % 5, a.colour(), a.colour());
                }),
        routine("trifill", false,
                [](const auto& r, Args& a) {
                    ras_trifill(r, a.x(), a.y(), a.x(), a.y(), a.x(), a.y(), a.colour(), a.colour());
                }),
        // The fills start inside the canvas on the background's colours.
        routine("floodfill", false,
                [](const auto& r, Args& a) {
                    ras_floodfill(r, int32_t(a.g() % kW), int32_t(a.g() % kH), kH, kW, a.colour(),
                                  uint16_t(200 + a.g() % 3), uint16_t(200 + a.g() % 3), a.mode(), half_table());
                }),
        routine("floodfill_outline", false,
                [](const auto& r, Args& a) {
                    ras_floodfill_outline(r, int32_t(a.g() % kW), int32_t(a.g() % kH), kH, kW, a.colour(),
                                          uint16_t(200 + a.g() % 3), a.colour(), a.mode(), half_table());
                }),
    };
}

// Rectangles of background colours 200..202, so the fills have regions.
void background(TestCanvas& c, std::mt19937& g) {
    c.fill(200);
    for (int i = 0; i < 6; ++i)
        ras_fillrect(c.rows(), int32_t(g() % kW), int32_t(g() % kH), int32_t(g() % kW), int32_t(g() % kH),
                     uint16_t(200 + g() % 3));
}

TEST(Tracked, DrawsThePlainPixelsAndTagsExactlyTheWrittenOnes) {
    for (const Routine& r : routines()) {
        for (uint32_t trial = 0; trial < 300; ++trial) {
            std::mt19937 g(trial);
            TestCanvas plain(kW, kH), tracked(kW, kH);
            background(plain, g);
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) tracked.set(x, y, plain.at(x, y));
            const std::vector<uint8_t> before = plain.pixels();
            std::vector<uint32_t> tags(size_t(kW * kH), 0);

            Args a1{std::mt19937(trial + 1000)}, a2{std::mt19937(trial + 1000)};
            r.plain(plain.rows(), a1);
            r.tracked(TrackedRows{tracked.rows(), tags.data(), kTag}, a2);

            ASSERT_EQ(plain.pixels(), tracked.pixels()) << r.name << " trial " << trial;
            ASSERT_TRUE(tracked.guards_intact()) << r.name << " trial " << trial;
            const std::vector<uint8_t> after = tracked.pixels();
            for (size_t i = 0; i < tags.size(); ++i) {
                ASSERT_TRUE(tags[i] == 0 || tags[i] == kTag) << r.name;
                const bool changed = after[i] != before[i];
                if (changed) {
                    ASSERT_EQ(tags[i], kTag) << r.name << " trial " << trial << " pixel " << i;
                }
                if (r.writes_change_pixels && tags[i] == kTag) {
                    ASSERT_TRUE(changed) << r.name << " trial " << trial << " pixel " << i;
                }
            }
        }
    }
}

// A later call's tag replaces an earlier one's wherever it writes, XOR too.
TEST(Tracked, TheLastWriterKeepsThePixel) {
    TestCanvas c(9, 5);
    std::vector<uint32_t> tags(45, 0);
    ras_fillrect(TrackedRows{c.rows(), tags.data(), 1}, 0, 0, 8, 4, 3);
    ras_xline(TrackedRows{c.rows(), tags.data(), 2}, 1, 1, 6, 1, 1);
    ras_point(TrackedRows{c.rows(), tags.data(), 3}, c.full(), 2, 3, 5);
    ras_floodfill(TrackedRows{c.rows(), tags.data(), 4}, 0, 4, 5, 9, 6, 3, 0, 0, half_table());
    std::string art;
    for (int y = 4; y >= 0; --y) {
        for (int x = 0; x < 9; ++x) art += char('0' + tags[size_t(y * 9 + x)]);
        art += '\n';
    }
    EXPECT_EQ(art, test::picture({"444444444", "443444444", "444444444",
                                  "422222444",  // xline stops short of its end
                                  "444444444"}));
}

}  // namespace
}  // namespace korvane
