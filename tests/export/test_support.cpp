// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace korvane::testing {

Picture test_picture() {
    Picture p;
    p.width = 400;
    p.height = 400;
    p.pixels.assign(400 * 400, 200);
    auto fill = [&](int x0, int y0, int x1, int y1, uint8_t index) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) p.pixels[y * 400 + x] = index;
    };
    fill(40, 40, 71, 199, 7);      // stem of the F
    fill(72, 168, 151, 199, 7);    // top bar
    fill(72, 104, 127, 127, 7);    // middle bar
    fill(320, 336, 383, 391, 45);  // block near the top-right corner
    p.pixels[0] = 1;
    for (int i = 0; i < 256; ++i) {
        p.palette[4 * i] = static_cast<uint8_t>(i);
        p.palette[4 * i + 1] = static_cast<uint8_t>(255 - i);
        p.palette[4 * i + 2] = static_cast<uint8_t>((i * 7) % 256);
    }
    return p;
}

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvane-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

DecodedPng read_png(const std::string& path) {
    DecodedPng out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, f);
        png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        png_get_IHDR(png, info, &out.width, &out.height, &out.bit_depth, &out.colour_type, nullptr, nullptr, nullptr);
        png_colorp colours = nullptr;
        int count = 0;
        png_get_PLTE(png, info, &colours, &count);
        out.palette.assign(colours, colours + count);
        png_bytepp rows = png_get_rows(png, info);
        for (png_uint_32 r = 0; r < out.height; ++r) out.rows.emplace_back(rows[r], rows[r] + out.width);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return out;
}

DecodedJpeg read_jpeg(const std::string& path) {
    DecodedJpeg out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);  // a corrupt file ends the test process: fine here
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    out.progressive = cinfo.progressive_mode;
    out.luminance_dc_step = cinfo.quant_tbl_ptrs[0]->quantval[0];
    jpeg_start_decompress(&cinfo);
    out.width = cinfo.output_width;
    out.height = cinfo.output_height;
    out.components = cinfo.output_components;
    out.rgb.resize(size_t{out.width} * out.height * out.components);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &out.rgb[size_t{cinfo.output_scanline} * out.width * out.components];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    return out;
}

DecodedGif read_gif(const std::string& path) {
    DecodedGif out;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif) return out;
    if (DGifSlurp(gif) == GIF_OK) {
        out.frames = gif->ImageCount;
        if (gif->SColorMap)
            out.colours.assign(gif->SColorMap->Colors, gif->SColorMap->Colors + gif->SColorMap->ColorCount);
        for (int i = 0; i < gif->ImageCount; ++i) {
            GraphicsControlBlock gcb{};
            DGifSavedExtensionToGCB(gif, i, &gcb);
            out.delays_cs.push_back(gcb.DelayTime);
            const SavedImage& image = gif->SavedImages[i];
            for (int e = 0; e < image.ExtensionBlockCount; ++e) {
                const ExtensionBlock& block = image.ExtensionBlocks[e];
                out.loops |= block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                             std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0;
            }
            out.pixels.emplace_back(image.RasterBits,
                                    image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
        }
    }
    DGifCloseFile(gif, &error);
    return out;
}

std::vector<uint8_t> top_first(const Picture& picture) {
    std::vector<uint8_t> rows;
    for (int32_t y = picture.height - 1; y >= 0; --y)
        for (int32_t x = 0; x < picture.width; ++x) rows.push_back(picture.at(x, y));
    return rows;
}

}  // namespace korvane::testing
