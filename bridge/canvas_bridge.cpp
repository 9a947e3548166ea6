// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_bridge.h"

#include <cstring>

#include "perform.h"
#include "provenance.h"
#include "raster.h"
#include "text_renderer.h"
#include "timeline.h"

namespace korvane {

namespace {

bool on_canvas(int32_t v) { return v >= 0 && v < kCanvasSize; }

}  // namespace

void prepare_canvas(TXImage3& canvas) {
    canvas.ResizeBmp(0, kCanvasSize, kCanvasSize);
    const int32_t last = kCanvasSize - 1;
    ras_set_line_clip(canvas.clips, 0, last, 0, last);
    ras_set_circle_clip(canvas.clips, 0, last, 0, last);
    ras_set_point_clip(canvas.clips, 0, last, 0, last);
}

CanvasBridge::CanvasBridge(TXImage3& canvas) : canvas_(canvas), text_(std::make_unique<TextRenderer>()) {
    for (size_t i = 0; i < HalfTable.size(); ++i) HalfTable[i] = static_cast<int16_t>(i / 2);
}

CanvasBridge::~CanvasBridge() = default;

void CanvasBridge::set_provenance(bool on) {
    if (!on)
        provenance_.reset();
    else if (!provenance_)
        provenance_ = std::make_unique<Provenance>(canvas_, live_context());
}

void CanvasBridge::set_timeline(bool on) {
    if (on == (timeline_ != nullptr)) return;
    timeline_ = on ? std::make_unique<Timeline>() : nullptr;
    if (timeline_) timeline_->restart(canvas_, live_context());
}

void CanvasBridge::note_show() {
    if (timeline_) timeline_->mark_show();
}

void CanvasBridge::begin_run() {
    if (provenance_) provenance_->restart(canvas_, live_context());
    if (timeline_) timeline_->restart(canvas_, live_context());
}

PixelOrigin CanvasBridge::origin_at(int32_t x, int32_t y) const {
    return provenance_ ? provenance_->origin_at(x, y) : PixelOrigin{};
}

int CanvasBridge::bridge_before_draw(int32_t line, const char* builtin) {
    if (provenance_) provenance_->announce(line, builtin);
    if (timeline_) timeline_->announce(line);
    return 0;
}

inline DrawContext CanvasBridge::live_context() {
    return {canvas_.clips, HalfTable.data(), *text_, DashPattern, DashDiagAcc, FillWorkPerPixel};
}

// Inlined into each built-in, so with provenance off a call costs what the
// raster routine costs.
[[gnu::always_inline]] inline bool CanvasBridge::submit(const DrawCall& call, const char* text) {
    const DrawContext live = live_context();
    if (provenance_) provenance_->record(call, text, live);
    if (timeline_) timeline_->record(call, text, live);
    return perform(canvas_.rows(0), call, live, text);
}

int32_t CanvasBridge::bridge_getpel(int32_t x, int32_t y) {
    return on_canvas(x) && on_canvas(y) ? ras_getpel(canvas_.rows(0), x, y) : 0;
}

void CanvasBridge::bridge_setcolor(int32_t colour) { CurrentColour = static_cast<int16_t>(colour); }

void CanvasBridge::bridge_clear(int32_t colour) { submit({DrawOp::Clear, 0, {colour}}); }

void CanvasBridge::bridge_textout(int32_t x, int32_t y, const char* text) {
    keep_text(text);
    submit({DrawOp::Textout, 0, {x, y}}, BridgeText.data());
}

void CanvasBridge::bridge_textstyle(int32_t index, int32_t size, const char* font) {
    keep_text(font);
    submit({DrawOp::Textstyle, 0, {index, size}}, BridgeText.data());
}

void CanvasBridge::keep_text(const char* text) {
    const size_t n = strnlen(text, BridgeText.size() - 1);
    std::memcpy(BridgeText.data(), text, n);
    BridgeText[n] = '\0';
}

void CanvasBridge::bridge_point(int32_t x, int32_t y) { submit({DrawOp::Point, colour(), {x, y}}); }

void CanvasBridge::bridge_fpoint(int32_t x, int32_t y) { submit({DrawOp::Fpoint, colour(), {x, y}}); }

void CanvasBridge::bridge_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    submit({DrawOp::Line, colour(), {x1, y1, x2, y2}});
}

void CanvasBridge::bridge_xline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    submit({DrawOp::Xline, colour(), {x1, y1, x2, y2}});
}

void CanvasBridge::bridge_fline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    submit({DrawOp::Fline, colour(), {x1, y1, x2, y2}});
}

void CanvasBridge::bridge_dline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    submit({DrawOp::Dline, colour(), {x1, y1, x2, y2}});
}

void CanvasBridge::bridge_fillrect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    submit({DrawOp::Fillrect, colour(), {x1, y1, x2, y2}});
}

void CanvasBridge::bridge_drawrect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    submit({DrawOp::Drawrect, colour(), {x1, y1, x2, y2}});
}

void CanvasBridge::bridge_brect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t fill, int32_t border) {
    submit({DrawOp::Brect, 0, {x1, y1, x2, y2, fill, border}});
}

void CanvasBridge::bridge_grid(int32_t nv, int32_t nh, int32_t colour) { submit({DrawOp::Grid, 0, {nv, nh, colour}}); }

void CanvasBridge::bridge_circle(int32_t x, int32_t y, int32_t r, int32_t colour) {
    submit({DrawOp::Circle, 0, {x, y, r, colour}});
}

void CanvasBridge::bridge_xcircle(int32_t x, int32_t y, int32_t r, int32_t colour) {
    submit({DrawOp::Xcircle, 0, {x, y, r, colour}});
}

void CanvasBridge::bridge_disk(int32_t x, int32_t y, int32_t r, int32_t colour) {
    submit({DrawOp::Disk, 0, {x, y, r, colour}});
}

void CanvasBridge::bridge_bdisk(int32_t x, int32_t y, int32_t r, int32_t border, int32_t fill) {
    submit({DrawOp::Bdisk, 0, {x, y, r, border, fill}});
}

void CanvasBridge::bridge_circ2(int32_t x, int32_t y, int32_t colour) { submit({DrawOp::Circ2, 0, {x, y, colour}}); }

void CanvasBridge::bridge_fcirc2(int32_t x, int32_t y, int32_t border, int32_t fill) {
    submit({DrawOp::Fcirc2, 0, {x, y, border, fill}});
}

void CanvasBridge::bridge_ellipse(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) {
    submit({DrawOp::Ellipse, 0, {x, y, a, b, colour}});
}

void CanvasBridge::bridge_xellipse(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) {
    submit({DrawOp::Xellipse, 0, {x, y, a, b, colour}});
}

void CanvasBridge::bridge_elldisk(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) {
    submit({DrawOp::Elldisk, 0, {x, y, a, b, colour}});
}

void CanvasBridge::bridge_ellbdisk(int32_t x, int32_t y, int32_t a, int32_t b, int32_t border, int32_t fill) {
    submit({DrawOp::Ellbdisk, 0, {x, y, a, b, border, fill}});
}

void CanvasBridge::bridge_trifill(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t fill,
                                  int32_t edge) {
    submit({DrawOp::Trifill, 0, {x1, y1, x2, y2, x3, y3, fill, edge}});
}

int CanvasBridge::bridge_floodfill(int32_t x, int32_t y, int32_t c1, int32_t c2, int32_t c3, int32_t mode) {
    return submit({DrawOp::Floodfill, 0, {x, y, c1, c2, c3, mode}}) ? 0 : 1;
}

void CanvasBridge::bridge_h_axis(const int32_t* v) {
    submit({DrawOp::HAxis, 0, {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]}});
}

void CanvasBridge::bridge_v_axis(const int32_t* v) {
    submit({DrawOp::VAxis, 0, {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]}});
}

}  // namespace korvane
