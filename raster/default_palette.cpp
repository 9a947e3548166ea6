// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in palette, made for drawing: sixteen distinct basic colours,
// then a grey ramp and a smooth hue wheel at full saturation.
#include <cstddef>

#include "ximage3.h"

namespace korvane {

namespace {

using Palette = std::array<uint8_t, 1024>;

constexpr uint8_t kBasic[16][3] = {
    {0, 0, 0},       {255, 255, 255}, {255, 0, 0},   {0, 200, 0},    // black, white, red, green
    {0, 0, 255},     {255, 255, 0},   {0, 255, 255}, {255, 0, 255},  // blue, yellow, cyan, magenta
    {128, 128, 128}, {192, 192, 192}, {255, 128, 0}, {128, 64, 0},   // grey, light grey, orange, brown
    {128, 0, 0},     {0, 100, 0},     {0, 0, 128},   {128, 0, 128},  // dark red, dark green, navy, purple
};
constexpr int kGreyFirst = 16, kGreyCount = 48;  // 16..63
constexpr int kHueFirst = 64, kHueStep = 32;     // 64..255: six sextants of 32

constexpr void put(Palette& p, int i, int r, int g, int b) {
    p[static_cast<size_t>(4 * i)] = static_cast<uint8_t>(r);
    p[static_cast<size_t>(4 * i + 1)] = static_cast<uint8_t>(g);
    p[static_cast<size_t>(4 * i + 2)] = static_cast<uint8_t>(b);
}

// Hue h in 0..191: red -> yellow -> green -> cyan -> blue -> magenta -> red.
constexpr void put_hue(Palette& p, int i, int h) {
    const int up = (h % kHueStep) * 255 / kHueStep, down = 255 - up;
    switch (h / kHueStep) {
        case 0: put(p, i, 255, up, 0); break;
        case 1: put(p, i, down, 255, 0); break;
        case 2: put(p, i, 0, 255, up); break;
        case 3: put(p, i, 0, down, 255); break;
        case 4: put(p, i, up, 0, 255); break;
        default: put(p, i, 255, 0, down); break;
    }
}

constexpr Palette make_palette() {
    Palette p{};
    for (int i = 0; i < 16; ++i) put(p, i, kBasic[i][0], kBasic[i][1], kBasic[i][2]);
    for (int i = 0; i < kGreyCount; ++i) {
        const int v = i * 255 / (kGreyCount - 1);
        put(p, kGreyFirst + i, v, v, v);
    }
    for (int i = kHueFirst; i < 256; ++i) put_hue(p, i, i - kHueFirst);
    return p;
}

constexpr Palette kDefault = make_palette();

}  // namespace

const std::array<uint8_t, 1024>& default_palette() { return kDefault; }

}  // namespace korvane
