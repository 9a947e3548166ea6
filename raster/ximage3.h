// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas component: a set of 8-bit palettized bitmaps, each with its own
// logical palette and bottom-up row table, and the raw palette bytes read
// from a palette file. Slot 0 is the 400 x 400 working canvas.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "pixel_model.h"

namespace korvane {

// The platform's logical palette layout: version, count, then 256 entries of
// red, green, blue, flags.
struct LogPalette {
    uint16_t version = 0x300;
    uint16_t count = 256;
    std::array<uint8_t, 1024> entries{};
};

class TXImage3 {
public:
    explicit TXImage3(int32_t count = 3);

    int32_t BmpCount() const { return static_cast<int32_t>(slots_.size()); }

    // Width rounded up to a multiple of 8, height to an even number; rebuilds
    // the slot's row table (earlier row pointers become invalid).
    void ResizeBmp(int32_t index, int32_t width, int32_t height);

    // Reads the first 1024 bytes into PaletteData; any after them are ignored.
    // A file that cannot be read or is shorter is refused: PaletteData stays
    // as it was, PaletteFile keeps its name and the result is false with a
    // message naming the file.
    bool LoadPalette(const std::string& file, std::string& error);
    // Copies the built-in default palette into PaletteData.
    void LoadDefaultPalette();
    // PaletteData -> logical palette of the slot (the fourth byte is ignored).
    void AssignPalette(int32_t index);

    // Inline: a getpel reads it for every pixel.
    RowTable rows(int32_t index) const {
        if (index < 0 || index >= BmpCount()) return {};
        const Slot& s = slots_[static_cast<size_t>(index)];
        if (s.row_table.empty()) return {};
        return {s.row_table.data(), s.width, s.height};
    }
    int32_t width(int32_t index) const;
    int32_t height(int32_t index) const;
    // Rows of the slot in memory order, bottom row first: width * height bytes.
    uint8_t* bits(int32_t index);
    const uint8_t* bits(int32_t index) const;
    const LogPalette& palette(int32_t index) const;

    std::string PaletteFile;
    std::array<uint8_t, 1024> PaletteData{};
    ClipWindows clips;

private:
    struct Slot {
        std::vector<uint8_t> pixels;
        std::vector<uint8_t*> row_table;
        int32_t width = 0;
        int32_t height = 0;
        LogPalette log_palette;
    };
    std::vector<Slot> slots_;
};

// The palette shipped with the program (also written as examples/allcolr.pal).
const std::array<uint8_t, 1024>& default_palette();

}  // namespace korvane
