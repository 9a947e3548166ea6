// The browser's half of the text renderer: the worker draws the glyphs with
// the browser's font engine into a mask; the palette index is written here,
// so text goes through the same tagging as on the desktop.
#include "text_renderer.h"

#include <algorithm>
#include <vector>

#include "host.h"

namespace korvane {

namespace {

// Text further than this from the canvas cannot reach it at the capped size.
constexpr int64_t kReach = int64_t{1} << 20;

}  // namespace

void TextRenderer::set_style(int32_t index, int32_t size, const char* family) {
    index_ = static_cast<uint8_t>(index);
    point_size_ = size > 0 ? std::min(size, kMaxPointSize) : 0;
    family_ = family;
}

template <class Put>
void TextRenderer::draw_mask(const RowTable& rows, int32_t x, int32_t y, const char* text, Put&& put) {
    const int64_t left = x;
    const int64_t top = int64_t{rows.height} - y;
    if (!*text || left >= rows.width || top >= rows.height || left < -kReach || top < -kReach) return;
    std::vector<uint8_t> mask(static_cast<size_t>(rows.width) * rows.height);
    host::text_mask(family_.c_str(), point_size_, text, static_cast<int32_t>(left), static_cast<int32_t>(top),
                    mask.data());
    for (int32_t r = 0; r < rows.height; ++r) {
        const uint8_t* line = mask.data() + static_cast<size_t>(r) * rows.width;
        uint8_t* row = rows.row[rows.height - 1 - r];
        for (int32_t c = 0; c < rows.width; ++c)
            if (line[c]) put(row + c);
    }
}

void TextRenderer::draw(const RowTable& rows, int32_t x, int32_t y, const char* text) {
    draw_mask(rows, x, y, text, [&](uint8_t* p) { *p = index_; });
}

void TextRenderer::draw(const TrackedRows& t, int32_t x, int32_t y, const char* text) {
    if (!t.rows.row) return;
    const uint8_t* base = t.rows.row[0];
    draw_mask(t.rows, x, y, text, [&](uint8_t* p) {
        t.tags[p - base] = t.tag;
        *p = index_;
    });
}

}  // namespace korvane
