// SPDX-License-Identifier: GPL-3.0-or-later
// Raster routines on arguments taken from the input bytes: whatever they
// are, only the canvas bytes may change.
#include <cstddef>
#include <cstdint>

#include "random_calls.h"
#include "test_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A fresh canvas per input, so that every finding replays on its own.
    static korvane::test::TestCanvas canvas(400, 400, 0);
    canvas.fill(0);
    korvane::test::BytesArgs args(data, size);
    uint16_t pattern = 0xFF00, acc = 0;
    for (int calls = 0; calls < 16 && !args.empty(); ++calls) {
        korvane::test::draw_random(canvas.rows(), args, pattern, acc);
        if (!canvas.guards_intact()) __builtin_trap();
    }
    return 0;
}
