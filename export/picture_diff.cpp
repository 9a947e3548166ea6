// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_diff.h"

#include <algorithm>

namespace korvane {

PictureDiff compare_pictures(const Picture& expected, const Picture& actual) {
    PictureDiff d;
    for (int32_t y = 0; y < expected.height; ++y)
        for (int32_t x = 0; x < expected.width; ++x) {
            if (expected.at(x, y) == actual.at(x, y)) continue;
            if (d.count++ == 0) {
                d = {1, x, x, y, y};
                continue;
            }
            d.xmin = std::min(d.xmin, x);
            d.xmax = std::max(d.xmax, x);
            d.ymin = std::min(d.ymin, y);
            d.ymax = std::max(d.ymax, y);
        }
    return d;
}

Picture diff_picture(const Picture& expected, const Picture& actual) {
    constexpr uint8_t kMark = 255;
    Picture out = expected;
    for (int i = 0; i < 128; ++i)
        out.palette[4 * size_t(i)] = out.palette[4 * size_t(i) + 1] = out.palette[4 * size_t(i) + 2] = uint8_t(i);
    for (int i = 128; i < 256; ++i) std::fill_n(&out.palette[4 * size_t(i)], 4, 0);
    out.palette[4 * size_t(kMark)] = 255;
    for (size_t i = 0; i < out.pixels.size(); ++i) {
        if (expected.pixels[i] != actual.pixels[i]) {
            out.pixels[i] = kMark;
            continue;
        }
        const uint8_t* c = &expected.palette[4 * size_t(expected.pixels[i])];
        const int brightness = (299 * c[0] + 587 * c[1] + 114 * c[2]) / 1000;
        out.pixels[i] = static_cast<uint8_t>(brightness / 2);
    }
    return out;
}

}  // namespace korvane
