// SPDX-License-Identifier: GPL-3.0-or-later
// Carries out a drawing call on a canvas: the live one and the provenance
// replay both come here, so a replayed call draws exactly what the live one
// drew. Inlined into each caller, a call whose kind is known folds down to
// the one raster routine.
#pragma once

#include "draw_call.h"

#include "raster.h"
#include "text_renderer.h"

namespace korvane {

namespace perform_detail {

// Colours travel as 16-bit values; the raster routines write the low byte.
inline uint16_t c16(int32_t colour) { return static_cast<uint16_t>(colour); }

template <class Rows>
[[gnu::always_inline]] inline void draw_figure(const Rows& rows, const DrawCall& call, const DrawContext& cx) {
    const auto& v = call.v;
    const uint16_t c = call.colour;
    switch (call.op) {
        case DrawOp::Point: ras_point(rows, cx.clips.PointClip, v[0], v[1], c); break;
        case DrawOp::Fpoint: ras_fpoint(rows, cx.clips.PointClip, v[0], v[1], c); break;
        case DrawOp::Line: ras_line(rows, cx.clips.LineClip, v[0], v[1], v[2], v[3], c, 1); break;
        case DrawOp::Xline: ras_xline(rows, v[0], v[1], v[2], v[3], c); break;
        case DrawOp::Fline: ras_fline(rows, v[0], v[1], v[2], v[3], c); break;
        case DrawOp::Dline: ras_dline(rows, v[0], v[1], v[2], v[3], c, cx.dash_pattern, cx.dash_acc); break;
        case DrawOp::Fillrect: ras_fillrect(rows, v[0], v[1], v[2], v[3], c); break;
        case DrawOp::Drawrect: ras_drawrect(rows, v[0], v[1], v[2], v[3], c); break;
        case DrawOp::Brect: ras_brect(rows, v[0], v[1], v[2], v[3], c16(v[4]), c16(v[5])); break;
        case DrawOp::Grid: ras_grid(rows, kCanvasSize, kCanvasSize, v[0], v[1], c16(v[2])); break;
        case DrawOp::Circle: ras_circle(rows, cx.clips.CircleClip, v[0], v[1], v[2], c16(v[3])); break;
        case DrawOp::Xcircle: ras_xcircle(rows, v[0], v[1], v[2], c16(v[3])); break;
        case DrawOp::Disk: ras_disk(rows, v[0], v[1], v[2], c16(v[3])); break;
        case DrawOp::Bdisk: ras_bdisk(rows, v[0], v[1], v[2], c16(v[3]), c16(v[4])); break;
        case DrawOp::Circ2: ras_circ2(rows, v[0], v[1], c16(v[2])); break;
        case DrawOp::Fcirc2: ras_fcirc2(rows, v[0], v[1], c16(v[2]), c16(v[3])); break;
        case DrawOp::Ellipse: ras_ellipse(rows, v[0], v[1], v[2], v[3], c16(v[4])); break;
        case DrawOp::Xellipse: ras_xellipse(rows, v[0], v[1], v[2], v[3], c16(v[4])); break;
        case DrawOp::Elldisk: ras_elldisk(rows, v[0], v[1], v[2], v[3], c16(v[4])); break;
        case DrawOp::Ellbdisk: ras_ellbdisk(rows, v[0], v[1], v[2], v[3], c16(v[4]), c16(v[5])); break;
        case DrawOp::Trifill: ras_trifill(rows, v[0], v[1], v[2], v[3], v[4], v[5], c16(v[6]), c16(v[7])); break;
        default: break;
    }
}

// Modes from 10 up select the outline variant with the mode less 10; all
// others, negative ones included, go to the plain fill unchanged.
template <class Rows>
inline FillStatus flood_fill(const Rows& rows, const DrawCall& call, const DrawContext& cx) {
    const auto& v = call.v;
    if (v[5] >= 10)
        return ras_floodfill_outline(rows, v[0], v[1], kCanvasSize, kCanvasSize, c16(v[2]), c16(v[3]), c16(v[4]),
                                     v[5] - 10, cx.half_table, cx.fill_work);
    return ras_floodfill(rows, v[0], v[1], kCanvasSize, kCanvasSize, c16(v[2]), c16(v[3]), c16(v[4]), v[5],
                         cx.half_table, cx.fill_work);
}

}  // namespace perform_detail

// text: the text of textout and the font of textstyle, unused by the others.
// False when the call could not finish: a flood fill that would never end.
template <class Rows>
[[gnu::always_inline]] inline bool perform(const Rows& rows, const DrawCall& call, const DrawContext& cx,
                                           const char* text) {
    using namespace perform_detail;
    const auto& v = call.v;
    switch (call.op) {
        case DrawOp::Clear: ras_clear(rows, kCanvasSize, kCanvasSize, c16(v[0])); break;
        case DrawOp::Textout: cx.text.draw(rows, v[0], v[1], text); break;
        case DrawOp::Textstyle: cx.text.set_style(v[0], v[1], text); break;
        case DrawOp::Floodfill: return flood_fill(rows, call, cx) == FillStatus::Done;
        case DrawOp::HAxis:
            ras_h_axis(rows, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], c16(v[8]), c16(v[9]));
            break;
        case DrawOp::VAxis:
            ras_v_axis(rows, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], c16(v[8]), c16(v[9]));
            break;
        default: draw_figure(rows, call, cx); break;
    }
    return true;
}

}  // namespace korvane
