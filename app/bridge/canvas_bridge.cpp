#include "canvas_bridge.h"

#include <algorithm>
#include <cstring>

#include "raster.h"
#include "text_renderer.h"

namespace korvane {

namespace {

// Colours travel as 16-bit values; the raster routines write the low byte.
uint16_t c16(int32_t colour) { return static_cast<uint16_t>(colour); }

bool on_canvas(int32_t v) { return v >= 0 && v < kCanvasSize; }

}  // namespace

void prepare_canvas(TXImage3& canvas) {
    canvas.ResizeBmp(0, kCanvasSize, kCanvasSize);
    const int32_t last = kCanvasSize - 1;
    ras_set_line_clip(canvas.clips, 0, last, 0, last);
    ras_set_circle_clip(canvas.clips, 0, last, 0, last);
    ras_set_point_clip(canvas.clips, 0, last, 0, last);
}

CanvasBridge::CanvasBridge(TXImage3& canvas)
    : canvas_(canvas), text_(std::make_unique<TextRenderer>()) {}

CanvasBridge::~CanvasBridge() = default;

void CanvasBridge::set_provenance(bool on) {
    provenance_ = on;
    if (on) tags_.resize(static_cast<size_t>(kCanvasSize) * kCanvasSize, 0);
}

void CanvasBridge::begin_run() {
    std::fill(tags_.begin(), tags_.end(), 0);
    origins_.clear();
    tag_of_call_.clear();
    current_tag_ = 0;
}

PixelOrigin CanvasBridge::origin_at(int32_t x, int32_t y) const {
    if (!on_canvas(x) || !on_canvas(y) || tags_.empty()) return {};
    const uint16_t tag = tags_[static_cast<size_t>(y) * kCanvasSize + static_cast<size_t>(x)];
    return tag == 0 ? PixelOrigin{} : origins_[tag - 1u];
}

int CanvasBridge::bridge_before_draw(int32_t line, const char* builtin) {
    auto [it, added] = tag_of_call_.try_emplace({line, builtin}, 0);
    if (added) {
        // Past the last tag, further call sites share it: the table cannot
        // tell them apart, and naming the last one is better than none.
        if (origins_.size() < 0xFFFF) origins_.push_back({line, builtin});
        it->second = static_cast<uint16_t>(origins_.size());
    }
    current_tag_ = it->second;
    return 0;
}

template <class Draw>
void CanvasBridge::draw(Draw&& draw) {
    if (provenance_)
        draw(TrackedRows{canvas_.rows(0), tags_.data(), current_tag_});
    else
        draw(canvas_.rows(0));
}

void CanvasBridge::fill_half_table() {
    for (size_t i = 0; i < HalfTable.size(); ++i) HalfTable[i] = static_cast<int16_t>(i / 2);
}

int32_t CanvasBridge::bridge_getpel(int32_t x, int32_t y) {
    return on_canvas(x) && on_canvas(y) ? ras_getpel(canvas_.rows(0), x, y) : 0;
}

void CanvasBridge::bridge_setcolor(int32_t colour) { CurrentColour = static_cast<int16_t>(colour); }

void CanvasBridge::bridge_clear(int32_t colour) {
    draw([&](const auto& rows) { ras_clear(rows, kCanvasSize, kCanvasSize, c16(colour)); });
}

void CanvasBridge::bridge_textout(int32_t x, int32_t y, const char* text) {
    keep_text(text);
    draw([&](const auto& rows) { text_->draw(rows, x, y, BridgeText.data()); });
}

void CanvasBridge::bridge_textstyle(int32_t index, int32_t size, const char* font) {
    keep_text(font);
    text_->set_style(index, size, BridgeText.data());
}

void CanvasBridge::keep_text(const char* text) {
    const size_t n = strnlen(text, BridgeText.size() - 1);
    std::memcpy(BridgeText.data(), text, n);
    BridgeText[n] = '\0';
}

void CanvasBridge::bridge_point(int32_t x, int32_t y) {
    draw([&](const auto& rows) { ras_point(rows, canvas_.clips.PointClip, x, y, c16(CurrentColour)); });
}

void CanvasBridge::bridge_fpoint(int32_t x, int32_t y) {
    draw([&](const auto& rows) { ras_fpoint(rows, canvas_.clips.PointClip, x, y, c16(CurrentColour)); });
}

void CanvasBridge::bridge_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    draw([&](const auto& rows) { ras_line(rows, canvas_.clips.LineClip, x1, y1, x2, y2, c16(CurrentColour), 1); });
}

void CanvasBridge::bridge_xline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    draw([&](const auto& rows) { ras_xline(rows, x1, y1, x2, y2, c16(CurrentColour)); });
}

void CanvasBridge::bridge_fline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    draw([&](const auto& rows) { ras_fline(rows, x1, y1, x2, y2, c16(CurrentColour)); });
}

void CanvasBridge::bridge_dline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    draw([&](const auto& rows) { ras_dline(rows, x1, y1, x2, y2, c16(CurrentColour), DashPattern, DashDiagAcc); });
}

void CanvasBridge::bridge_fillrect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    draw([&](const auto& rows) { ras_fillrect(rows, x1, y1, x2, y2, c16(CurrentColour)); });
}

void CanvasBridge::bridge_drawrect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    draw([&](const auto& rows) { ras_drawrect(rows, x1, y1, x2, y2, c16(CurrentColour)); });
}

void CanvasBridge::bridge_brect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t fill,
                                int32_t border) {
    draw([&](const auto& rows) { ras_brect(rows, x1, y1, x2, y2, c16(fill), c16(border)); });
}

void CanvasBridge::bridge_grid(int32_t nv, int32_t nh, int32_t colour) {
    draw([&](const auto& rows) { ras_grid(rows, kCanvasSize, kCanvasSize, nv, nh, c16(colour)); });
}

void CanvasBridge::bridge_circle(int32_t x, int32_t y, int32_t r, int32_t colour) {
    draw([&](const auto& rows) { ras_circle(rows, canvas_.clips.CircleClip, x, y, r, c16(colour)); });
}

void CanvasBridge::bridge_xcircle(int32_t x, int32_t y, int32_t r, int32_t colour) {
    draw([&](const auto& rows) { ras_xcircle(rows, x, y, r, c16(colour)); });
}

void CanvasBridge::bridge_disk(int32_t x, int32_t y, int32_t r, int32_t colour) {
    draw([&](const auto& rows) { ras_disk(rows, x, y, r, c16(colour)); });
}

void CanvasBridge::bridge_bdisk(int32_t x, int32_t y, int32_t r, int32_t border, int32_t fill) {
    draw([&](const auto& rows) { ras_bdisk(rows, x, y, r, c16(border), c16(fill)); });
}

void CanvasBridge::bridge_circ2(int32_t x, int32_t y, int32_t colour) {
    draw([&](const auto& rows) { ras_circ2(rows, x, y, c16(colour)); });
}

void CanvasBridge::bridge_fcirc2(int32_t x, int32_t y, int32_t border, int32_t fill) {
    draw([&](const auto& rows) { ras_fcirc2(rows, x, y, c16(border), c16(fill)); });
}

void CanvasBridge::bridge_ellipse(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) {
    draw([&](const auto& rows) { ras_ellipse(rows, x, y, a, b, c16(colour)); });
}

void CanvasBridge::bridge_xellipse(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) {
    draw([&](const auto& rows) { ras_xellipse(rows, x, y, a, b, c16(colour)); });
}

void CanvasBridge::bridge_elldisk(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) {
    draw([&](const auto& rows) { ras_elldisk(rows, x, y, a, b, c16(colour)); });
}

void CanvasBridge::bridge_ellbdisk(int32_t x, int32_t y, int32_t a, int32_t b, int32_t border,
                                   int32_t fill) {
    draw([&](const auto& rows) { ras_ellbdisk(rows, x, y, a, b, c16(border), c16(fill)); });
}

void CanvasBridge::bridge_trifill(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                                  int32_t y3, int32_t fill, int32_t edge) {
    draw([&](const auto& rows) { ras_trifill(rows, x1, y1, x2, y2, x3, y3, c16(fill), c16(edge)); });
}

// Modes from 10 up select the outline variant with the mode less 10; all
// others, negative ones included, go to the plain fill unchanged.
void CanvasBridge::bridge_floodfill(int32_t x, int32_t y, int32_t c1, int32_t c2, int32_t c3,
                                    int32_t mode) {
    draw([&](const auto& rows) {
        if (mode >= 10)
            ras_floodfill_outline(rows, x, y, kCanvasSize, kCanvasSize, c16(c1), c16(c2), c16(c3),
                                  mode - 10, HalfTable.data());
        else
            ras_floodfill(rows, x, y, kCanvasSize, kCanvasSize, c16(c1), c16(c2), c16(c3), mode,
                          HalfTable.data());
    });
}

void CanvasBridge::bridge_h_axis(const int32_t* v) {
    draw([&](const auto& rows) { ras_h_axis(rows, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], c16(v[8]),
               c16(v[9])); });
}

void CanvasBridge::bridge_v_axis(const int32_t* v) {
    draw([&](const auto& rows) { ras_v_axis(rows, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], c16(v[8]),
               c16(v[9])); });
}

}  // namespace korvane
