// SPDX-License-Identifier: GPL-3.0-or-later
// Draws text into an 8-bit canvas with stb_truetype over the bundled DejaVu
// fonts, the same in the window, the runner and the page: each glyph's
// coverage is cut at one half into a mask, and the text's palette index is
// written wherever the mask is set, so no blended indices appear.
#pragma once

#include <cstdint>
#include <string_view>

#include "font_files.h"
#include "pixel_model.h"

namespace korvane {

// The bundled family a textstyle font name stands for: a fixed-pitch name
// (Courier, Consolas, ... or one with "Mono") is DejaVu Sans Mono, a serif
// name (Times, Georgia, ... or one with "Serif" but not "Sans") is DejaVu
// Serif, and any other name is DejaVu Sans. Case does not matter.
FontFace face_for_family(std::string_view family);

class TextRenderer {
public:
    // Font settings of textstyle: index is taken modulo 256, size in points
    // (non-positive sizes keep the default size, huge ones are capped), and
    // the family is mapped onto a bundled one by face_for_family.
    void set_style(int32_t index, int32_t size, const char* family);

    // Draws UTF-8 text with the top-left corner of its cell at device column x and
    // device row rows.height - y (rows counted from the top). Pixels outside
    // the canvas are dropped.
    void draw(const RowTable& rows, int32_t x, int32_t y, const char* text);
    // The same pixels, each also tagged in the tag table.
    void draw(const TrackedRows& rows, int32_t x, int32_t y, const char* text);

    uint8_t index() const { return index_; }

    // Caps the point size so one call stays cheap and all geometry fits int.
    static constexpr int32_t kMaxPointSize = 400;
    // The size until textstyle sets one.
    static constexpr int32_t kDefaultPointSize = 9;

private:
    // Calls put(pixel) for every glyph pixel of text on the canvas.
    template <class Put>
    void draw_mask(const RowTable& rows, int32_t x, int32_t y, const char* text, Put&& put);

    uint8_t index_ = 0;  // palette index the glyphs are written with
    int32_t point_size_ = kDefaultPointSize;
    FontFace face_ = kSans;
};

}  // namespace korvane
