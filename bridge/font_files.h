// SPDX-License-Identifier: GPL-3.0-or-later
// The bundled font files (DejaVu, from Debian's fonts-dejavu-core), compiled
// into the program so text comes out the same on every machine.
#pragma once

#include <cstddef>

namespace korvane {

struct FontFile {
    const unsigned char* bytes;
    size_t size;
};

// In this order; the first is the default.
enum FontFace { kSans, kSerif, kMono, kFontCount };

extern const FontFile kFontFiles[kFontCount];

}  // namespace korvane
