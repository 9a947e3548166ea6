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

bool PixelWatches::changed(const TXImage3& canvas) {
    bool any = false;
    for (Watch& w : watches_) {
        const int32_t now = ras_getpel(canvas.rows(0), w.x, w.y);
        any = any || now != w.index;
        w.index = now;
    }
    return any;
}

}  // namespace korvane
