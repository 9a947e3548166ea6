// SPDX-License-Identifier: GPL-3.0-or-later
// Every drawing built-in as a call through the bridge, by kind, with the
// values in the order a DrawCall keeps them; and the same calls performed
// with every write tagged at once, which provenance replay must agree with.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "canvas_bridge.h"
#include "draw_call.h"
#include "perform.h"
#include "test_bridge.h"
#include "text_renderer.h"

namespace korvane {

using Args = std::array<int32_t, 10>;

struct Kind {
    DrawOp op;
    const char* name;
    std::function<void(CanvasBridge&, const Args&)> call;
};

// Every drawing built-in, called through the bridge with the given values.
inline const std::vector<Kind>& kinds() {
    static const std::vector<Kind> all = {
        {DrawOp::Point, "point", [](CanvasBridge& b, const Args& v) { b.bridge_point(v[0], v[1]); }},
        {DrawOp::Fpoint, "fpoint", [](CanvasBridge& b, const Args& v) { b.bridge_fpoint(v[0], v[1]); }},
        {DrawOp::Line, "line", [](CanvasBridge& b, const Args& v) { b.bridge_line(v[0], v[1], v[2], v[3]); }},
        {DrawOp::Xline, "xline", [](CanvasBridge& b, const Args& v) { b.bridge_xline(v[0], v[1], v[2], v[3]); }},
        {DrawOp::Fline, "fline", [](CanvasBridge& b, const Args& v) { b.bridge_fline(v[0], v[1], v[2], v[3]); }},
        {DrawOp::Dline, "dline", [](CanvasBridge& b, const Args& v) { b.bridge_dline(v[0], v[1], v[2], v[3]); }},
        {DrawOp::Fillrect, "fillrect",
         [](CanvasBridge& b, const Args& v) { b.bridge_fillrect(v[0], v[1], v[2], v[3]); }},
        {DrawOp::Drawrect, "drawrect",
         [](CanvasBridge& b, const Args& v) { b.bridge_drawrect(v[0], v[1], v[2], v[3]); }},
        {DrawOp::Brect, "brect",
         [](CanvasBridge& b, const Args& v) { b.bridge_brect(v[0], v[1], v[2], v[3], v[4], v[5]); }},
        {DrawOp::Grid, "grid", [](CanvasBridge& b, const Args& v) { b.bridge_grid(v[0], v[1], v[2]); }},
        {DrawOp::Circle, "circle", [](CanvasBridge& b, const Args& v) { b.bridge_circle(v[0], v[1], v[2], v[3]); }},
        {DrawOp::Xcircle, "xcircle", [](CanvasBridge& b, const Args& v) { b.bridge_xcircle(v[0], v[1], v[2], v[3]); }},
        {DrawOp::Disk, "disk", [](CanvasBridge& b, const Args& v) { b.bridge_disk(v[0], v[1], v[2], v[3]); }},
        {DrawOp::Bdisk, "bdisk", [](CanvasBridge& b, const Args& v) { b.bridge_bdisk(v[0], v[1], v[2], v[3], v[4]); }},
        {DrawOp::Circ2, "circ2", [](CanvasBridge& b, const Args& v) { b.bridge_circ2(v[0], v[1], v[2]); }},
        {DrawOp::Fcirc2, "fcirc2", [](CanvasBridge& b, const Args& v) { b.bridge_fcirc2(v[0], v[1], v[2], v[3]); }},
        {DrawOp::Ellipse, "ellipse",
         [](CanvasBridge& b, const Args& v) { b.bridge_ellipse(v[0], v[1], v[2], v[3], v[4]); }},
        {DrawOp::Xellipse, "xellipse",
         [](CanvasBridge& b, const Args& v) { b.bridge_xellipse(v[0], v[1], v[2], v[3], v[4]); }},
        {DrawOp::Elldisk, "elldisk",
         [](CanvasBridge& b, const Args& v) { b.bridge_elldisk(v[0], v[1], v[2], v[3], v[4]); }},
        {DrawOp::Ellbdisk, "ellbdisk",
         [](CanvasBridge& b, const Args& v) { b.bridge_ellbdisk(v[0], v[1], v[2], v[3], v[4], v[5]); }},
        {DrawOp::Trifill, "trifill",
         [](CanvasBridge& b, const Args& v) { b.bridge_trifill(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); }},
        {DrawOp::Floodfill, "floodfill",
         [](CanvasBridge& b, const Args& v) { b.bridge_floodfill(v[0], v[1], v[2], v[3], v[4], v[5]); }},
        {DrawOp::HAxis, "h_axis", [](CanvasBridge& b, const Args& v) { b.bridge_h_axis(v.data()); }},
        {DrawOp::VAxis, "v_axis", [](CanvasBridge& b, const Args& v) { b.bridge_v_axis(v.data()); }},
        {DrawOp::Clear, "clear", [](CanvasBridge& b, const Args& v) { b.bridge_clear(v[0]); }},
        {DrawOp::Textout, "textout", [](CanvasBridge& b, const Args& v) { b.bridge_textout(v[0], v[1], "Ag"); }},
        {DrawOp::Textstyle, "textstyle",
         [](CanvasBridge& b, const Args& v) { b.bridge_textstyle(v[0], v[1], "DejaVu Sans"); }},
    };
    return all;
}

// The same calls performed on a second canvas with every write tagged at
// once: what the replay must reproduce.
struct EagerTags {
    Canvas canvas;
    std::vector<uint32_t> tags = std::vector<uint32_t>(400 * 400, 0);
    TextRenderer text;
    uint16_t pattern, acc;
    int32_t fill_work;

    explicit EagerTags(const CanvasBridge& live)
        : pattern(live.DashPattern), acc(live.DashDiagAcc), fill_work(live.FillWorkPerPixel) {}
    void perform_call(const DrawCall& call, uint32_t tag, const char* text_arg, const int16_t* half) {
        const DrawContext cx{canvas.image.clips, half, text, pattern, acc, fill_work};
        perform(TrackedRows{canvas.rows(), tags.data(), tag}, call, cx, text_arg);
    }
};

}  // namespace korvane
