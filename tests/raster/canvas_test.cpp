// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas component, palette files and the clip window setters.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "test_canvas.h"
#include "ximage3.h"

namespace korvane {
namespace {

std::string temp_file(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

TEST(Canvas, ResizeRoundsAndBuildsBottomUpRows) {
    TXImage3 img;
    EXPECT_EQ(img.BmpCount(), 3);
    img.ResizeBmp(0, 401, 399);
    EXPECT_EQ(img.width(0), 408);
    EXPECT_EQ(img.height(0), 400);
    const RowTable rows = img.rows(0);
    ASSERT_EQ(rows.height, 400);
    EXPECT_EQ(rows.row[1] - rows.row[0], 408);
    EXPECT_EQ(rows.row[399], img.bits(0) + 399 * 408);
    EXPECT_EQ(rows.row[0], img.bits(0));
}

TEST(Canvas, BadSlotsAndSizesGiveEmptyTables) {
    TXImage3 img(1);
    EXPECT_EQ(img.rows(0).row, nullptr);  // no rows before the first resize
    img.ResizeBmp(5, 10, 10);
    EXPECT_EQ(img.rows(5).row, nullptr);
    img.ResizeBmp(0, -3, 7);
    EXPECT_EQ(img.width(0), 0);
    ras_point(img.rows(0), {0, 10, 0, 10}, 0, 0, 1);  // nothing to draw into, nothing happens
}

TEST(Canvas, AssignPaletteCopiesRgbAndClearsFlags) {
    TXImage3 img;
    for (size_t i = 0; i < 1024; ++i) img.PaletteData[i] = uint8_t(i * 7);
    img.AssignPalette(1);
    const LogPalette& p = img.palette(1);
    EXPECT_EQ(p.version, 0x300);
    EXPECT_EQ(p.count, 256);
    EXPECT_EQ(p.entries[4 * 3], uint8_t(12 * 7));
    EXPECT_EQ(p.entries[4 * 3 + 2], uint8_t(14 * 7));
    EXPECT_EQ(p.entries[4 * 3 + 3], 0);
}

TEST(Palette, ExactFileIsReadWithEveryByteValue) {
    std::vector<uint8_t> bytes(1024);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i);
    bytes[0] = 0x0A;
    bytes[1] = 0x20;
    bytes[2] = 0x1A;
    TXImage3 img;
    std::string error;
    ASSERT_TRUE(img.LoadPalette(temp_file("exact.pal", bytes), error)) << error;
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), img.PaletteData.begin()));
}

TEST(Palette, ALongerFileGivesItsFirst1024Bytes) {
    std::vector<uint8_t> bytes(1500);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7);
    TXImage3 img;
    std::string error;
    ASSERT_TRUE(img.LoadPalette(temp_file("long.pal", bytes), error)) << error;
    EXPECT_TRUE(std::equal(img.PaletteData.begin(), img.PaletteData.end(), bytes.begin()));
}

TEST(Palette, ShortFilesAreRefusedWholeAndNamed) {
    for (size_t size : {size_t{10}, size_t{1023}, size_t{0}}) {
        TXImage3 img;
        img.PaletteData.fill(9);
        const std::string path = temp_file("bad" + std::to_string(size) + ".pal", std::vector<uint8_t>(size, 1));
        std::string error;
        EXPECT_FALSE(img.LoadPalette(path, error)) << size;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_EQ(std::count(img.PaletteData.begin(), img.PaletteData.end(), 9), 1024) << size;
    }
    TXImage3 img;
    std::string error;
    EXPECT_FALSE(img.LoadPalette("/nonexistent/none.pal", error));
    EXPECT_NE(error.find("/nonexistent/none.pal"), std::string::npos);
}

TEST(Palette, ShippedFileIsTheBuiltInDefault) {
    std::ifstream in(std::string(KORVANE_SOURCE_DIR) + "/examples/allcolr.pal", std::ios::binary);
    const std::vector<char> file{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(file.size(), 1024u);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), default_palette().begin(),
                           [](char a, uint8_t b) { return uint8_t(a) == b; }));
    TXImage3 img;
    img.LoadDefaultPalette();
    EXPECT_EQ(img.PaletteData, default_palette());
}

TEST(Palette, DefaultStartsWithDistinctBasicsThenSmoothRamps) {
    const auto& p = default_palette();
    auto rgb = [&](int i) { return std::array<int, 3>{p[size_t(4 * i)], p[size_t(4 * i + 1)], p[size_t(4 * i + 2)]}; };
    EXPECT_EQ(rgb(0), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(rgb(1), (std::array<int, 3>{255, 255, 255}));
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < i; ++j) EXPECT_NE(rgb(i), rgb(j)) << i << " " << j;
    for (int i = 17; i < 256; ++i) {
        if (i == 64) continue;  // the grey ramp ends, the hue wheel begins
        for (int k = 0; k < 3; ++k) EXPECT_LE(std::abs(rgb(i)[k] - rgb(i - 1)[k]), 8) << i;
    }
}

TEST(ClipSetters, LineClipKeepsBoundsOfEqualPairs) {
    ClipWindows c;
    ras_set_line_clip(c, 0, 399, 0, 399);
    ras_set_line_clip(c, 5, 5, 0, 10);
    EXPECT_EQ(c.LineClip.xmax, 399);
    EXPECT_EQ(c.LineClip.ymax, 399);
    ras_set_line_clip(c, 10, 0, 7, 7);
    EXPECT_EQ(c.LineClip.xmin, 0);
    EXPECT_EQ(c.LineClip.xmax, 10);
    EXPECT_EQ(c.LineClip.ymin, 0);
    EXPECT_EQ(c.LineClip.ymax, 399);
    ras_set_line_clip(c, 9, 3, 20, -4);
    EXPECT_EQ(c.LineClip.xmin, 3);
    EXPECT_EQ(c.LineClip.ymin, -4);
    EXPECT_EQ(c.LineClip.ymax, 20);
}

TEST(ClipSetters, InvertedPointClipPassesNothing) {
    test::TestCanvas cv(400, 400);
    ClipWindows c;
    ras_set_point_clip(c, 10, 0, 0, 399);
    ras_set_circle_clip(c, 1, 2, 3, 4);
    EXPECT_EQ(c.CircleClip.ymax, 4);
    ras_point(cv.rows(), c.PointClip, 5, 5, 1);
    ras_fpoint(cv.rows(), c.PointClip, 5, 5, 1);
    EXPECT_EQ(cv.count(0), 400 * 400);
}

}  // namespace
}  // namespace korvane
