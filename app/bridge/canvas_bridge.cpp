#include "canvas_bridge.h"

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

void CanvasBridge::fill_half_table() {
    for (size_t i = 0; i < HalfTable.size(); ++i) HalfTable[i] = static_cast<int16_t>(i / 2);
}

int32_t CanvasBridge::bridge_getpel(int32_t x, int32_t y) {
    return on_canvas(x) && on_canvas(y) ? ras_getpel(canvas_.rows(0), x, y) : 0;
}

void CanvasBridge::bridge_setcolor(int32_t colour) { CurrentColour = static_cast<int16_t>(colour); }

void CanvasBridge::bridge_clear(int32_t colour) {
    ras_clear(canvas_.rows(0), kCanvasSize, kCanvasSize, c16(colour));
}

void CanvasBridge::bridge_textout(int32_t x, int32_t y, const char* text) {
    keep_text(text);
    text_->draw(canvas_.rows(0), x, y, BridgeText.data());
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
    ras_point(canvas_.rows(0), canvas_.clips.PointClip, x, y, c16(CurrentColour));
}

void CanvasBridge::bridge_fpoint(int32_t x, int32_t y) {
    ras_fpoint(canvas_.rows(0), canvas_.clips.PointClip, x, y, c16(CurrentColour));
}

void CanvasBridge::bridge_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    ras_line(canvas_.rows(0), canvas_.clips.LineClip, x1, y1, x2, y2, c16(CurrentColour), 1);
}

void CanvasBridge::bridge_xline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    ras_xline(canvas_.rows(0), x1, y1, x2, y2, c16(CurrentColour));
}

void CanvasBridge::bridge_fline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    ras_fline(canvas_.rows(0), x1, y1, x2, y2, c16(CurrentColour));
}

void CanvasBridge::bridge_dline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    ras_dline(canvas_.rows(0), x1, y1, x2, y2, c16(CurrentColour), DashPattern, DashDiagAcc);
}

void CanvasBridge::bridge_fillrect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    ras_fillrect(canvas_.rows(0), x1, y1, x2, y2, c16(CurrentColour));
}

void CanvasBridge::bridge_drawrect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    ras_drawrect(canvas_.rows(0), x1, y1, x2, y2, c16(CurrentColour));
}

void CanvasBridge::bridge_brect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t fill,
                                int32_t border) {
    ras_brect(canvas_.rows(0), x1, y1, x2, y2, c16(fill), c16(border));
}

void CanvasBridge::bridge_grid(int32_t nv, int32_t nh, int32_t colour) {
    ras_grid(canvas_.rows(0), kCanvasSize, kCanvasSize, nv, nh, c16(colour));
}

void CanvasBridge::bridge_circle(int32_t x, int32_t y, int32_t r, int32_t colour) {
    ras_circle(canvas_.rows(0), canvas_.clips.CircleClip, x, y, r, c16(colour));
}

void CanvasBridge::bridge_xcircle(int32_t x, int32_t y, int32_t r, int32_t colour) {
    ras_xcircle(canvas_.rows(0), x, y, r, c16(colour));
}

void CanvasBridge::bridge_disk(int32_t x, int32_t y, int32_t r, int32_t colour) {
    ras_disk(canvas_.rows(0), x, y, r, c16(colour));
}

void CanvasBridge::bridge_bdisk(int32_t x, int32_t y, int32_t r, int32_t border, int32_t fill) {
    ras_bdisk(canvas_.rows(0), x, y, r, c16(border), c16(fill));
}

void CanvasBridge::bridge_circ2(int32_t x, int32_t y, int32_t colour) {
    ras_circ2(canvas_.rows(0), x, y, c16(colour));
}

void CanvasBridge::bridge_fcirc2(int32_t x, int32_t y, int32_t border, int32_t fill) {
    ras_fcirc2(canvas_.rows(0), x, y, c16(border), c16(fill));
}

void CanvasBridge::bridge_ellipse(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) {
    ras_ellipse(canvas_.rows(0), x, y, a, b, c16(colour));
}

void CanvasBridge::bridge_xellipse(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) {
    ras_xellipse(canvas_.rows(0), x, y, a, b, c16(colour));
}

void CanvasBridge::bridge_elldisk(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) {
    ras_elldisk(canvas_.rows(0), x, y, a, b, c16(colour));
}

void CanvasBridge::bridge_ellbdisk(int32_t x, int32_t y, int32_t a, int32_t b, int32_t border,
                                   int32_t fill) {
    ras_ellbdisk(canvas_.rows(0), x, y, a, b, c16(border), c16(fill));
}

void CanvasBridge::bridge_trifill(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                                  int32_t y3, int32_t fill, int32_t edge) {
    ras_trifill(canvas_.rows(0), x1, y1, x2, y2, x3, y3, c16(fill), c16(edge));
}

// Modes from 10 up select the outline variant with the mode less 10; all
// others, negative ones included, go to the plain fill unchanged.
void CanvasBridge::bridge_floodfill(int32_t x, int32_t y, int32_t c1, int32_t c2, int32_t c3,
                                    int32_t mode) {
    const RowTable rows = canvas_.rows(0);
    if (mode >= 10)
        ras_floodfill_outline(rows, x, y, kCanvasSize, kCanvasSize, c16(c1), c16(c2), c16(c3),
                              mode - 10, HalfTable.data());
    else
        ras_floodfill(rows, x, y, kCanvasSize, kCanvasSize, c16(c1), c16(c2), c16(c3), mode,
                      HalfTable.data());
}

void CanvasBridge::bridge_h_axis(const int32_t* v) {
    ras_h_axis(canvas_.rows(0), v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], c16(v[8]),
               c16(v[9]));
}

void CanvasBridge::bridge_v_axis(const int32_t* v) {
    ras_v_axis(canvas_.rows(0), v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], c16(v[8]),
               c16(v[9]));
}

}  // namespace korvane
