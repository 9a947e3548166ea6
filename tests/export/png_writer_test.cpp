// SPDX-License-Identifier: GPL-3.0-or-later
#include <png.h>

#include <gtest/gtest.h>
#include <fstream>
#include <vector>

#include "picture.h"
#include "test_support.h"

namespace korvane {
namespace {

using testing::DecodedPng;
using testing::read_png;
using testing::ScratchDir;
using testing::test_picture;

TEST(PngWriter, StoresPaletteIndicesTopRowFirst) {
    ScratchDir dir;
    const Picture picture = test_picture();
    std::string error;
    ASSERT_TRUE(write_png(dir.file("f.png"), picture, error)) << error;

    const DecodedPng png = read_png(dir.file("f.png"));
    ASSERT_EQ(png.width, 400u);
    ASSERT_EQ(png.height, 400u);
    EXPECT_EQ(png.bit_depth, 8);
    EXPECT_EQ(png.colour_type, PNG_COLOR_TYPE_PALETTE);
    ASSERT_EQ(png.palette.size(), 256u);
    for (int i : {0, 1, 7, 45, 200, 255}) {
        EXPECT_EQ(png.palette[i].red, i) << i;
        EXPECT_EQ(png.palette[i].green, 255 - i) << i;
        EXPECT_EQ(png.palette[i].blue, (i * 7) % 256) << i;
    }
    // Every pixel: file row r holds canvas row 399 - r.
    int mismatches = 0;
    for (int r = 0; r < 400; ++r)
        for (int x = 0; x < 400; ++x) mismatches += png.rows[r][x] != picture.at(x, 399 - r);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(png.rows[399][0], 1);    // bottom-left pixel is the last file row
    EXPECT_EQ(png.rows[20][330], 45);  // the block near the top right
}

TEST(PngWriter, ReplacesAnExistingFileAndLeavesNoTemporary) {
    ScratchDir dir;
    std::ofstream(dir.file("out.png")) << "old contents";
    std::string error;
    ASSERT_TRUE(write_png(dir.file("out.png"), test_picture(), error)) << error;
    EXPECT_EQ(read_png(dir.file("out.png")).width, 400u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.png"});
}

TEST(PngWriter, FolderThatDoesNotExistIsReported) {
    ScratchDir dir;
    const std::string target = dir.file("missing/out.png");
    std::string error;
    EXPECT_FALSE(write_png(target, test_picture(), error));
    EXPECT_EQ(error, "Cannot create file " + target);
}

TEST(PngWriter, EncoderFailureKeepsTheOldFile) {
    ScratchDir dir;
    std::ofstream(dir.file("out.png")) << "old contents";
    Picture empty;  // libpng refuses a zero-sized image
    std::string error;
    EXPECT_FALSE(write_png(dir.file("out.png"), empty, error));
    EXPECT_EQ(error.rfind("PNG error: ", 0), 0u) << error;
    std::ifstream in(dir.file("out.png"));
    std::string kept;
    std::getline(in, kept);
    EXPECT_EQ(kept, "old contents");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.png"});
}

}  // namespace
}  // namespace korvane
