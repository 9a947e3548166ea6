// SPDX-License-Identifier: GPL-3.0-or-later
// Indexed PNG through libpng. The pixel values are the palette indices and
// the PLTE chunk carries the picture's palette, so the file keeps both.
#include <png.h>

#include <cstdio>
#include <vector>

#include "atomic_file.h"
#include "picture.h"
#include "png_errors.h"

namespace korvane {

namespace {

// Only plain data lives in this frame: libpng leaves it by longjmp.
bool encode_png(FILE* out, const Picture& picture, png_bytep* rows, png_colorp colours, PngErrors& errors) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &errors, on_png_error, on_png_warning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(errors.message, sizeof errors.message, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, colours, 256);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool write_png(const std::string& path, const Picture& picture, std::string& error) {
    // PNG stores the top row first; the picture keeps the bottom row first.
    std::vector<png_bytep> rows(static_cast<size_t>(picture.height));
    for (int32_t i = 0; i < picture.height; ++i) {
        const size_t y = static_cast<size_t>(picture.height - 1 - i);
        rows[i] = const_cast<png_bytep>(picture.pixels.data() + y * picture.width);
    }
    std::vector<png_color> colours(256);
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = {picture.palette[4 * i], picture.palette[4 * i + 1], picture.palette[4 * i + 2]};

    AtomicFile file(path, error);
    if (!file.stream()) return false;
    PngErrors errors;
    if (!encode_png(file.stream(), picture, rows.data(), colours.data(), errors)) {
        error = std::string("PNG error: ") + errors.message;
        return false;
    }
    return file.commit(error);
}

}  // namespace korvane
