// SPDX-License-Identifier: GPL-3.0-or-later
#include "thumbnail.h"

#include <algorithm>
#include <array>

namespace korvane::grade {

namespace {

constexpr int kFactor = 4;

uint8_t commonest(const Picture& p) {
    std::array<size_t, 256> count{};
    for (const uint8_t v : p.pixels) ++count[v];
    return static_cast<uint8_t>(std::max_element(count.begin(), count.end()) - count.begin());
}

}  // namespace

Picture thumbnail(const Picture& picture) {
    Picture small;
    small.width = picture.width / kFactor;
    small.height = picture.height / kFactor;
    small.palette = picture.palette;
    const uint8_t background = commonest(picture);
    small.pixels.assign(static_cast<size_t>(small.width) * small.height, background);
    for (int32_t y = 0; y < small.height * kFactor; ++y) {
        for (int32_t x = 0; x < small.width * kFactor; ++x) {
            const uint8_t v = picture.at(x, y);
            if (v != background) small.pixels[static_cast<size_t>(y / kFactor) * small.width + x / kFactor] = v;
        }
    }
    return small;
}

std::string thumbnail_name(const std::string& picture_name) {
    const size_t dot = picture_name.rfind(".png");
    return dot == std::string::npos ? picture_name + ".small.png" : picture_name.substr(0, dot) + ".small.png";
}

bool write_thumbnail(const Picture& picture, const std::string& path, std::string& error) {
    return write_png(thumbnail_name(path), thumbnail(picture), error);
}

}  // namespace korvane::grade
