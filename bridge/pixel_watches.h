// SPDX-License-Identifier: GPL-3.0-or-later
// Pixels a run pauses at when a drawing call changes one: each remembers
// its colour index, so a call that writes the same index again is no change.
#pragma once

#include <cstdint>
#include <vector>

#include "ximage3.h"

namespace korvane {

class PixelWatches {
public:
    struct Watch {
        int32_t x, y;  // program coordinates: x from the left, y from the bottom
        int32_t index = 0;
    };

    // False for a pixel off the canvas; a pixel watched twice is one watch.
    bool add(const TXImage3& canvas, int32_t x, int32_t y);
    void remove(int32_t x, int32_t y);
    bool contains(int32_t x, int32_t y) const;
    bool empty() const { return watches_.empty(); }
    const std::vector<Watch>& all() const { return watches_; }

    // Takes the colours as they are now: at the start of a run.
    void look(const TXImage3& canvas);
    // True when a watched pixel differs from the colour it had at the last
    // look; every watch takes its colour anew.
    bool changed(const TXImage3& canvas);

private:
    std::vector<Watch> watches_;
};

}  // namespace korvane
