// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_renderer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb_truetype.h>

#include "text_encoding.h"

namespace korvane {

namespace {

// Text further than this from the canvas cannot reach it at the capped size;
// it also keeps all sums in int.
constexpr int64_t kReach = int64_t{1} << 20;

// Names that stand for a fixed-pitch or a serif face, lower case.
constexpr std::array kFixedPitch{"mono", "courier", "consol", "fixed", "typewriter", "terminal", "menlo", "monaco"};
constexpr std::array kSerifNames{"times",   "georgia", "garamond",    "palatino", "roman",  "book",
                                 "cambria", "century", "baskerville", "bodoni",   "charter"};

// Parsed once, read only afterwards.
const stbtt_fontinfo& font_info(FontFace face) {
    static const std::array<stbtt_fontinfo, kFontCount> infos = [] {
        std::array<stbtt_fontinfo, kFontCount> all{};
        for (int f = 0; f < kFontCount; ++f) stbtt_InitFont(&all[f], kFontFiles[f].bytes, 0);
        return all;
    }();
    return infos[face];
}

// Points to pixels at the 96 dots per inch that font sizes are meant for.
int pixels_for_points(int32_t points) { return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))); }

}  // namespace

FontFace face_for_family(std::string_view family) {
    std::string name(family);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto has = [&](const char* part) { return name.find(part) != std::string::npos; };
    if (std::any_of(kFixedPitch.begin(), kFixedPitch.end(), has)) return kMono;
    if (has("sans")) return kSans;
    if (has("serif") || std::any_of(kSerifNames.begin(), kSerifNames.end(), has)) return kSerif;
    return kSans;
}

void TextRenderer::set_style(int32_t index, int32_t size, const char* family) {
    index_ = static_cast<uint8_t>(index);
    point_size_ = size > 0 ? std::min(size, kMaxPointSize) : kDefaultPointSize;
    face_ = face_for_family(family);
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

template <class Put>
void TextRenderer::draw_mask(const RowTable& rows, int32_t x, int32_t y, const char* text, Put&& put) {
    const int64_t left = x;
    const int64_t top = int64_t{rows.height} - y;
    if (!*text || left >= rows.width || top >= rows.height || left < -kReach || top < -kReach) return;
    const stbtt_fontinfo& font = font_info(face_);
    const float scale = stbtt_ScaleForMappingEmToPixels(&font, static_cast<float>(pixels_for_points(point_size_)));
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(&font, &ascent, &descent, &gap);
    const int64_t baseline = top + std::lround(ascent * scale);

    std::vector<unsigned char> glyph;
    double pen = static_cast<double>(left);  // the pen's column, with its fraction
    int previous = 0;
    // The text is UTF-8; a character the font lacks draws as its missing-glyph box.
    for (std::string_view rest = text; !rest.empty();) {
        size_t length = 0;
        const int g = stbtt_FindGlyphIndex(&font, static_cast<int>(utf8_code(rest, length)));
        rest.remove_prefix(length);
        if (previous) pen += scale * stbtt_GetGlyphKernAdvance(&font, previous, g);
        previous = g;
        const double column = std::floor(pen);
        const float shift = static_cast<float>(pen - column);
        int advance = 0, bearing = 0;
        stbtt_GetGlyphHMetrics(&font, g, &advance, &bearing);
        pen += scale * advance;
        if (column >= rows.width) break;
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetGlyphBitmapBoxSubpixel(&font, g, scale, scale, shift, 0, &x0, &y0, &x1, &y1);
        const int64_t gx = static_cast<int64_t>(column) + x0, gy = baseline + y0;
        const int w = x1 - x0, h = y1 - y0;
        if (w <= 0 || h <= 0 || gx + w <= 0 || gy + h <= 0 || gy >= rows.height) continue;
        glyph.assign(static_cast<size_t>(w) * h, 0);
        stbtt_MakeGlyphBitmapSubpixel(&font, glyph.data(), w, h, w, scale, scale, shift, 0, g);
        for (int r = 0; r < h; ++r) {
            const int64_t device_row = gy + r;
            if (device_row < 0 || device_row >= rows.height) continue;
            uint8_t* row = rows.row[rows.height - 1 - device_row];
            for (int col = 0; col < w; ++col) {
                const int64_t device_col = gx + col;
                if (device_col >= 0 && device_col < rows.width && glyph[static_cast<size_t>(r) * w + col] >= 128)
                    put(row + device_col);
            }
        }
    }
}

}  // namespace korvane
