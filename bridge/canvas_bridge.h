// SPDX-License-Identifier: GPL-3.0-or-later
// The bridge half that is the same in the window and in the runner: state
// that lives as long as the bridge (current colour, dash state, halving
// table, text font) and every operation that touches the canvas. Showing,
// output, input, messages and sleeping are left to the window or runner.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "bridge.h"
#include "draw_call.h"
#include "pixel_origin.h"
#include "raster.h"
#include "ximage3.h"

namespace korvane {

class Provenance;
class TextRenderer;
class Timeline;

// Sizes slot 0 to the canvas size and opens the three clip windows over it,
// as start-up does in the window and the runner alike. Loading and assigning
// the palette is the caller's part.
void prepare_canvas(TXImage3& canvas);

class CanvasBridge : public Bridge {
public:
    // The canvas must already have slot 0 sized and its clip windows set.
    explicit CanvasBridge(TXImage3& canvas);
    ~CanvasBridge() override;

    TXImage3& canvas() { return canvas_; }

    // Pixel provenance, off by default. While on, every pixel a drawing
    // built-in writes is tagged with the call the interpreter announced in
    // bridge_before_draw; with it off the routines run untracked.
    void set_provenance(bool on);
    bool provenance_on() const { return provenance_ != nullptr; }
    // The drawing timeline, off by default: while on, every drawing call
    // and its line is kept, and the canvas after any call can be shown.
    void set_timeline(bool on);
    // Null while off.
    const Timeline* timeline() const { return timeline_.get(); }
    // To be called before every run (the window's Run and the runner do):
    // forgets the provenance and the timeline of earlier runs.
    void begin_run();
    // Origin of the pixel at program coordinates (x from the left, y from
    // the bottom); line -1 off the canvas too.
    PixelOrigin origin_at(int32_t x, int32_t y) const;

    // True while provenance or the timeline is on; subclasses may OR in
    // their own reasons.
    bool bridge_traces_drawing() const override { return provenance_on() || timeline_; }
    // Makes (line, builtin) the current tag. A subclass that overrides this
    // must call CanvasBridge::bridge_before_draw first, so the tag stays
    // right, and may then add its own reasons to stop (nonzero).
    int bridge_before_draw(int32_t line, const char* builtin) override;

    int32_t bridge_getpel(int32_t x, int32_t y) override;
    void bridge_setcolor(int32_t colour) override;
    void bridge_clear(int32_t colour) override;
    void bridge_textout(int32_t x, int32_t y, const char* text) override;
    void bridge_textstyle(int32_t index, int32_t size, const char* font) override;

    void bridge_point(int32_t x, int32_t y) override;
    void bridge_fpoint(int32_t x, int32_t y) override;
    void bridge_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void bridge_xline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void bridge_fline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void bridge_dline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void bridge_fillrect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void bridge_drawrect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void bridge_brect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t fill, int32_t border) override;
    void bridge_grid(int32_t nv, int32_t nh, int32_t colour) override;
    void bridge_circle(int32_t x, int32_t y, int32_t r, int32_t colour) override;
    void bridge_xcircle(int32_t x, int32_t y, int32_t r, int32_t colour) override;
    void bridge_disk(int32_t x, int32_t y, int32_t r, int32_t colour) override;
    void bridge_bdisk(int32_t x, int32_t y, int32_t r, int32_t border, int32_t fill) override;
    void bridge_circ2(int32_t x, int32_t y, int32_t colour) override;
    void bridge_fcirc2(int32_t x, int32_t y, int32_t border, int32_t fill) override;
    void bridge_ellipse(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) override;
    void bridge_xellipse(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) override;
    void bridge_elldisk(int32_t x, int32_t y, int32_t a, int32_t b, int32_t colour) override;
    void bridge_ellbdisk(int32_t x, int32_t y, int32_t a, int32_t b, int32_t border, int32_t fill) override;
    void bridge_trifill(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t fill,
                        int32_t edge) override;
    int bridge_floodfill(int32_t x, int32_t y, int32_t c1, int32_t c2, int32_t c3, int32_t mode) override;
    void bridge_h_axis(const int32_t* v) override;
    void bridge_v_axis(const int32_t* v) override;

    // State kept across runs; only HaltFlag is reset by Run and by show.
    int32_t HaltFlag = 0;
    int16_t CurrentColour = 0;
    uint16_t DashPattern = 0xFF00;
    uint16_t DashDiagAcc = 0;
    std::array<int16_t, kCanvasSize> HalfTable{};  // i / 2, read by the ramp fills
    // Pixel tests per pixel before a flood fill counts as endless; only
    // tests that run many endless fills lower it.
    int32_t FillWorkPerPixel = kFillWorkPerPixel;
    // Text of the last textout or textstyle: at most 79 characters, longer
    // texts are cut so the buffer never overflows.
    std::array<char, 80> BridgeText{};

protected:
    // A front end's show calls this, so the timeline knows where shows fell.
    void note_show();

private:
    // Copies a text argument into BridgeText, cut to the room it has.
    void keep_text(const char* text);
    // Performs a drawing call on the canvas, recording it first while
    // provenance or the timeline is on. False when the call could not finish.
    bool submit(const DrawCall& call, const char* text = nullptr);
    DrawContext live_context();
    uint16_t colour() const { return static_cast<uint16_t>(CurrentColour); }

    TXImage3& canvas_;
    std::unique_ptr<TextRenderer> text_;

    std::unique_ptr<Provenance> provenance_;  // null while off
    std::unique_ptr<Timeline> timeline_;      // null while off
};

}  // namespace korvane
