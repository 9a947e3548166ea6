// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the picture tests: a small asymmetric test picture, a scratch
// folder, and readers that decode PNG, JPEG and GIF files with libpng,
// libjpeg and giflib.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gif_lib.h>
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

// Every pixel of a GIF, decoded with giflib: frames, delays and colours.
// A file giflib cannot decode gives no frames.
struct DecodedGif {
    int frames = 0;
    std::vector<int> delays_cs;
    bool loops = false;                        // a NETSCAPE2.0 block asks viewers to repeat it
    std::vector<std::vector<uint8_t>> pixels;  // per frame, top row first
    std::vector<GifColorType> colours;         // global map
};
DecodedGif read_gif(const std::string& path);

// A picture's indices in the order the files store them: top row first.
std::vector<uint8_t> top_first(const Picture& picture);

}  // namespace korvane::testing
