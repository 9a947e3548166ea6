// SPDX-License-Identifier: GPL-3.0-or-later
// Indexed PNG back into a Picture, through libpng. Packed depths (1, 2, 4
// bits) are widened to one byte per pixel; other colour types are refused,
// since only palette indices can be compared with a canvas.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "picture.h"
#include "png_errors.h"

namespace korvane {

namespace {

enum class Decoded { Ok, NotIndexed, Failed };

// Only plain data lives in this frame: libpng leaves it by longjmp. The
// pixels are read into `pixels` (top row first) once the header fits.
Decoded decode_png(FILE* in, Picture& picture, std::vector<uint8_t>& pixels, PngErrors& errors) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, on_png_error, on_png_warning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        std::snprintf(errors.message, sizeof errors.message, "out of memory");
        return Decoded::Failed;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return Decoded::Failed;
    }
    png_init_io(png, in);
    png_read_info(png, info);
    if (png_get_color_type(png, info) != PNG_COLOR_TYPE_PALETTE) {
        png_destroy_read_struct(&png, &info, nullptr);
        return Decoded::NotIndexed;
    }
    png_set_packing(png);
    png_read_update_info(png, info);
    picture.width = static_cast<int32_t>(png_get_image_width(png, info));
    picture.height = static_cast<int32_t>(png_get_image_height(png, info));
    png_colorp colours = nullptr;
    int count = 0;
    png_get_PLTE(png, info, &colours, &count);
    for (int i = 0; i < count && i < 256; ++i) {
        picture.palette[4 * size_t(i)] = colours[i].red;
        picture.palette[4 * size_t(i) + 1] = colours[i].green;
        picture.palette[4 * size_t(i) + 2] = colours[i].blue;
    }
    pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
    std::vector<png_bytep> rows(static_cast<size_t>(picture.height));
    for (size_t r = 0; r < rows.size(); ++r) rows[r] = pixels.data() + r * static_cast<size_t>(picture.width);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return Decoded::Ok;
}

}  // namespace

bool read_indexed_png(const std::string& path, Picture& picture, std::string& error) {
    const std::unique_ptr<FILE, int (*)(FILE*)> in(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!in) {
        error = "Cannot open file " + path;
        return false;
    }
    Picture read;
    std::vector<uint8_t> top_first;
    PngErrors errors;
    switch (decode_png(in.get(), read, top_first, errors)) {
        case Decoded::NotIndexed: error = path + " is not an indexed PNG"; return false;
        case Decoded::Failed: error = path + ": PNG error: " + errors.message; return false;
        case Decoded::Ok: break;
    }
    // The picture keeps the bottom row first.
    const size_t w = static_cast<size_t>(read.width);
    read.pixels.resize(top_first.size());
    for (size_t r = 0; r < static_cast<size_t>(read.height); ++r)
        std::copy_n(top_first.data() + r * w, w, read.pixels.data() + (read.height - 1 - r) * w);
    picture = std::move(read);
    return true;
}

}  // namespace korvane
