// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG through libjpeg with its default settings: quality 90, three 8-bit
// colour components, baseline. libjpeg's own error exit would end the
// process, so errors come back here by longjmp and become a message.
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "atomic_file.h"
#include "picture.h"

namespace korvane {

namespace {

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void on_jpeg_error(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1); }

void on_jpeg_message(j_common_ptr) {}

// Only plain data lives in this frame: libjpeg leaves it by longjmp.
// Returns 0 or the libjpeg message code of the failure.
int encode_jpeg(FILE* out, const Picture& picture, const uint8_t* rgb) {
    jpeg_compress_struct cinfo{};
    JpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = on_jpeg_error;
    errors.manager.output_message = on_jpeg_message;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        return errors.manager.msg_code;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = static_cast<size_t>(picture.width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return 0;
}

// The palette colours of the picture, top row first.
std::vector<uint8_t> rgb_rows(const Picture& picture) {
    std::vector<uint8_t> rgb;
    rgb.reserve(picture.pixels.size() * 3);
    for (int32_t y = picture.height - 1; y >= 0; --y)
        for (int32_t x = 0; x < picture.width; ++x) {
            const uint8_t* entry = &picture.palette[4 * size_t{picture.at(x, y)}];
            rgb.insert(rgb.end(), entry, entry + 3);
        }
    return rgb;
}

}  // namespace

bool write_jpeg(const std::string& path, const Picture& picture, std::string& error) {
    const std::vector<uint8_t> rgb = rgb_rows(picture);
    AtomicFile file(path, error);
    if (!file.stream()) return false;
    if (const int code = encode_jpeg(file.stream(), picture, rgb.data()); code != 0) {
        error = "JPEG error #" + std::to_string(code);
        return false;
    }
    return file.commit(error);
}

}  // namespace korvane
