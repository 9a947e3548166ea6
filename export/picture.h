// SPDX-License-Identifier: GPL-3.0-or-later
// A still copy of a canvas slot with its palette: what the screen shows,
// what Save Image exports and what the runner writes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ximage3.h"

namespace korvane {

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;          // bottom row first, width bytes per row
    std::array<uint8_t, 1024> palette{};  // red, green, blue, flags per index

    // Copies the bytes and the logical palette of one slot.
    static Picture snapshot(const TXImage3& canvas, int32_t slot = 0);
    // Palette index at (x, y), y counted from the bottom; no bounds check.
    uint8_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Both writers put the data into a temporary file beside the target and
// rename it over the target only when everything was written, so a failure
// never leaves a half-written file. On failure they return false and set
// error ("Cannot create file NAME", "JPEG error #N", ...).

// 8-bit indexed PNG whose pixel values are the palette indices, top row = y max.
bool write_png(const std::string& path, const Picture& picture, std::string& error);
// Baseline JPEG, quality 90, 24-bit colour.
bool write_jpeg(const std::string& path, const Picture& picture, std::string& error);

// Reads an indexed PNG of any size (1 to 8 bits per pixel) into a picture,
// palette entries the file lacks left zero. Other PNGs are refused with
// "PATH is not an indexed PNG"; unreadable files with "Cannot open file PATH"
// or "PATH: PNG error: ...".
bool read_indexed_png(const std::string& path, Picture& picture, std::string& error);

}  // namespace korvane
