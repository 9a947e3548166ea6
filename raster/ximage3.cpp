// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas component: bitmaps stored bottom row first, so row[y + 1] =
// row[y] + width and the whole picture is one block from row[0].
#include "ximage3.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace korvane {

namespace {

// Larger requests are cut to this side so that sizes and offsets stay in 32 bits.
constexpr int64_t kMaxSide = 16384;

int32_t rounded(int64_t value, int64_t multiple) {
    const int64_t v = std::clamp<int64_t>(value, 0, kMaxSide);
    return static_cast<int32_t>((v + multiple - 1) / multiple * multiple);
}

}  // namespace

TXImage3::TXImage3(int32_t count) : slots_(static_cast<size_t>(std::max(count, 0))) {}

void TXImage3::ResizeBmp(int32_t index, int32_t width, int32_t height) {
    if (index < 0 || index >= BmpCount()) return;
    Slot& s = slots_[static_cast<size_t>(index)];
    s.width = rounded(width, 8);
    s.height = rounded(height, 2);
    s.pixels.assign(static_cast<size_t>(s.width) * static_cast<size_t>(s.height), 0);
    s.row_table.resize(static_cast<size_t>(s.height));
    for (int32_t y = 0; y < s.height; ++y)
        s.row_table[static_cast<size_t>(y)] = s.pixels.data() + static_cast<size_t>(y) * s.width;
}

bool TXImage3::LoadPalette(const std::string& file, std::string& error) {
    PaletteFile = file;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot open palette file '" + file + "'";
        return false;
    }
    // Bytes after the first 1024 are not part of the palette and are ignored.
    std::array<char, 1024> buf{};
    in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
    const auto got = in.gcount();
    if (in.bad() || got != 1024) {
        error = "palette file '" + file + "' must hold 1024 bytes (it has " + std::to_string(got) + ")";
        return false;
    }
    std::copy_n(buf.begin(), 1024, PaletteData.begin());
    return true;
}

void TXImage3::LoadDefaultPalette() { PaletteData = default_palette(); }

void TXImage3::AssignPalette(int32_t index) {
    if (index < 0 || index >= BmpCount()) return;
    auto& entries = slots_[static_cast<size_t>(index)].log_palette.entries;
    for (size_t i = 0; i < 256; ++i) {
        entries[4 * i] = PaletteData[4 * i];
        entries[4 * i + 1] = PaletteData[4 * i + 1];
        entries[4 * i + 2] = PaletteData[4 * i + 2];
        entries[4 * i + 3] = 0;
    }
}

int32_t TXImage3::width(int32_t index) const {
    return index < 0 || index >= BmpCount() ? 0 : slots_[static_cast<size_t>(index)].width;
}

int32_t TXImage3::height(int32_t index) const {
    return index < 0 || index >= BmpCount() ? 0 : slots_[static_cast<size_t>(index)].height;
}

uint8_t* TXImage3::bits(int32_t index) {
    return index < 0 || index >= BmpCount() ? nullptr : slots_[static_cast<size_t>(index)].pixels.data();
}

const uint8_t* TXImage3::bits(int32_t index) const {
    return index < 0 || index >= BmpCount() ? nullptr : slots_[static_cast<size_t>(index)].pixels.data();
}

const LogPalette& TXImage3::palette(int32_t index) const { return slots_.at(static_cast<size_t>(index)).log_palette; }

}  // namespace korvane
