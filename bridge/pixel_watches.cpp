// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixel_watches.h"

#include <algorithm>

#include "draw_call.h"
#include "raster.h"

namespace korvane {

namespace {

bool on_canvas(int32_t v) { return v >= 0 && v < kCanvasSize; }

}  // namespace

bool PixelWatches::add(const TXImage3& canvas, int32_t x, int32_t y) {
    if (!on_canvas(x) || !on_canvas(y)) return false;
    if (!contains(x, y)) watches_.push_back({x, y, ras_getpel(canvas.rows(0), x, y)});
    return true;
}

void PixelWatches::remove(int32_t x, int32_t y) {
    std::erase_if(watches_, [&](const Watch& w) { return w.x == x && w.y == y; });
}

bool PixelWatches::contains(int32_t x, int32_t y) const {
    return std::any_of(watches_.begin(), watches_.end(), [&](const Watch& w) { return w.x == x && w.y == y; });
}

void PixelWatches::look(const TXImage3& canvas) {
    for (Watch& w : watches_) w.index = ras_getpel(canvas.rows(0), w.x, w.y);
}

// After every drawing call of a watched run: the rows once, then a plain
// read per watch (add keeps every watch on the canvas).
bool PixelWatches::changed(const TXImage3& canvas) {
    const RowTable rows = canvas.rows(0);
    bool any = false;
    for (Watch& w : watches_) {
        const bool inside = rows.row != nullptr && w.x < rows.width && w.y < rows.height;
        const int32_t now = inside ? rows.row[w.y][w.x] : 0;
        any = any || now != w.index;
        w.index = now;
    }
    return any;
}

}  // namespace korvane
