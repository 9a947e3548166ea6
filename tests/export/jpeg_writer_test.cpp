// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "picture.h"
#include "test_support.h"

namespace korvane {
namespace {

using testing::DecodedJpeg;
using testing::read_jpeg;
using testing::ScratchDir;
using testing::test_picture;

TEST(JpegWriter, BaselineColourAtQualityNinety) {
    ScratchDir dir;
    std::string error;
    ASSERT_TRUE(write_jpeg(dir.file("f.jpg"), test_picture(), error)) << error;
    const DecodedJpeg jpeg = read_jpeg(dir.file("f.jpg"));
    EXPECT_EQ(jpeg.width, 400u);
    EXPECT_EQ(jpeg.height, 400u);
    EXPECT_EQ(jpeg.components, 3);
    EXPECT_FALSE(jpeg.progressive);
    // Quality 90 scales the standard luminance DC step 16 to 3.
    EXPECT_EQ(jpeg.luminance_dc_step, 3);
}

TEST(JpegWriter, DecodesCloseToThePaletteColours) {
    ScratchDir dir;
    const Picture picture = test_picture();
    std::string error;
    ASSERT_TRUE(write_jpeg(dir.file("f.jpg"), picture, error)) << error;
    const DecodedJpeg jpeg = read_jpeg(dir.file("f.jpg"));
    ASSERT_EQ(jpeg.rgb.size(), 400u * 400u * 3u);

    // Points well inside flat areas, as (x, canvas y): background, the F's
    // stem, the top-right block. File rows run top down.
    struct Probe {
        int x, y, index;
    };
    for (const Probe& p : {Probe{250, 250, 200}, Probe{55, 80, 7}, Probe{350, 360, 45}}) {
        for (int c = 0; c < 3; ++c) {
            const int expected = picture.palette[4 * p.index + c];
            const int got = jpeg.channel(p.x, 399 - p.y, c);
            EXPECT_LE(std::abs(got - expected), 6) << "x " << p.x << " y " << p.y << " channel " << c;
        }
    }
}

TEST(JpegWriter, CompressorErrorBecomesMessageAndNoFile) {
    ScratchDir dir;
    Picture empty;
    std::string error;
    EXPECT_FALSE(write_jpeg(dir.file("e.jpg"), empty, error));
    EXPECT_EQ(error, "JPEG error #" + std::to_string(JERR_EMPTY_IMAGE));
    EXPECT_TRUE(dir.entries().empty());
}

TEST(JpegWriter, FolderThatDoesNotExistIsReported) {
    ScratchDir dir;
    const std::string target = dir.file("missing/out.jpg");
    std::string error;
    EXPECT_FALSE(write_jpeg(target, test_picture(), error));
    EXPECT_EQ(error, "Cannot create file " + target);
}

}  // namespace
}  // namespace korvane
