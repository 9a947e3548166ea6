// Draws text into an 8-bit canvas with a font engine (Qt's on the desktop,
// the browser's in the page): the glyphs are rendered without antialiasing
// into a mask, and the text's palette index is written wherever the mask is
// set, so no blended indices appear.
#pragma once

#include <cstdint>
#include <string>

#include "pixel_model.h"

namespace korvane {

class TextRenderer {
public:
    // Font settings of textstyle: index is taken modulo 256, size in points
    // (non-positive sizes keep the default size, huge ones are capped), and a
    // family that is not installed falls back to the default font.
    void set_style(int32_t index, int32_t size, const char* family);

    // Draws text with the top-left corner of its cell at device column x and
    // device row rows.height - y (rows counted from the top). Pixels outside
    // the canvas are dropped.
    void draw(const RowTable& rows, int32_t x, int32_t y, const char* text);
    // The same pixels, each also tagged in the tag table.
    void draw(const TrackedRows& rows, int32_t x, int32_t y, const char* text);

    uint8_t index() const { return index_; }

    // Caps the point size so one call stays cheap and all geometry fits int.
    static constexpr int32_t kMaxPointSize = 400;

private:
    // Renders the text's mask and calls put(pixel) for every glyph pixel.
    template <class Put>
    void draw_mask(const RowTable& rows, int32_t x, int32_t y, const char* text, Put&& put);

    uint8_t index_ = 0;       // palette index the glyphs are written with
    int32_t point_size_ = 0;  // 0: the default font's size
    std::string family_;      // empty: the default family
};

// Text needs a QGuiApplication for its fonts. The window has one; the runner
// gets one the first time it draws text (offscreen unless QT_QPA_PLATFORM
// says otherwise), so programs without text never start Qt.
void ensure_gui_application();

}  // namespace korvane
