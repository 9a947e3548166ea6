// SPDX-License-Identifier: GPL-3.0-or-later
// Palette files of any content and size: the first 1024 bytes of a file
// that long load as they are; a shorter one is refused and leaves the
// palette as it was.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "ximage3.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/korvane-fuzz-palette-" + std::to_string(getpid()) + ".pal";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    korvane::TXImage3 canvas(1);
    canvas.LoadDefaultPalette();
    const auto before = canvas.PaletteData;
    std::string error;
    const bool loaded = canvas.LoadPalette(path, error);
    if (loaded != (size >= 1024)) __builtin_trap();
    if (loaded && std::memcmp(canvas.PaletteData.data(), data, 1024) != 0) __builtin_trap();
    if (!loaded && (canvas.PaletteData != before || error.find(path) == std::string::npos)) __builtin_trap();
    canvas.AssignPalette(0);
    return 0;
}
