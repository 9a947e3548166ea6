// Helpers of the picture tests: a small asymmetric test picture, a scratch
// folder, and readers that decode PNG and JPEG files with libpng and libjpeg.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <png.h>

#include "picture.h"

namespace korvane::testing {

// 400 x 400: an "F" of index 7 on index 200 in the lower left, a block of
// index 45 at the top right, index 1 in the bottom-left pixel. The palette
// has distinct channels (red = i, green = 255 - i, blue = (i * 7) % 256).
Picture test_picture();

// A fresh empty folder, removed with everything in it at destruction.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::filesystem::path path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Names of the files now in the folder.
    std::vector<std::string> entries() const;

private:
    std::filesystem::path path_;
};

// A PNG file as libpng decodes it, without transformations.
struct DecodedPng {
    png_uint_32 width = 0, height = 0;
    int bit_depth = 0, colour_type = 0;
    std::vector<png_color> palette;
    std::vector<std::vector<uint8_t>> rows;  // file order: top row first
};
DecodedPng read_png(const std::string& path);

// A JPEG file decoded by libjpeg to its output colour space.
struct DecodedJpeg {
    unsigned width = 0, height = 0;
    int components = 0;
    bool progressive = true;
    int luminance_dc_step = 0;  // first entry of quantisation table 0
    std::vector<uint8_t> rgb;   // top row first
    uint8_t channel(int x, int row, int c) const { return rgb[(row * width + x) * 3 + c]; }
};
DecodedJpeg read_jpeg(const std::string& path);

}  // namespace korvane::testing
