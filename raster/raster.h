// SPDX-License-Identifier: GPL-3.0-or-later
// Every raster routine, one per drawing built-in. Each takes the row table
// first, then coordinates (x before y, first point first), sizes, colours
// (16-bit values of which the low byte is written) and its own extras.
//
// Contract: no routine reads or writes outside rows.width x rows.height for
// any argument values. The clipped routines (point, fpoint, line, circle) test
// pixels against their window; the others draw what lies on the canvas and
// skip the rest.
#pragma once

#include <cstdint>

#include "pixel_model.h"

namespace korvane {

// Pixels and lines.
void ras_point(const RowTable& rows, const ClipWindow& clip, int32_t x, int32_t y, uint16_t colour);
void ras_fpoint(const RowTable& rows, const ClipWindow& clip, int32_t x, int32_t y, uint16_t colour);
// 0 outside the canvas; inline, as a program may read every pixel.
inline int32_t ras_getpel(const RowTable& rows, int32_t x, int32_t y) {
    const bool inside = static_cast<uint32_t>(x) < static_cast<uint32_t>(rows.width) &&
                        static_cast<uint32_t>(y) < static_cast<uint32_t>(rows.height);
    return inside ? rows.row[y][x] : 0;
}
void ras_line(const RowTable& rows, const ClipWindow& clip, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
              uint16_t colour, int32_t extra);
void ras_xline(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour);
void ras_fline(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour);
void ras_dline(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour, uint16_t& pattern,
               uint16_t& diag_acc);
void ras_hline(const RowTable& rows, int32_t x1, int32_t y, int32_t x2, uint16_t colour);
void ras_vline(const RowTable& rows, int32_t x, int32_t y1, int32_t y2, uint16_t colour);

// Rectangles and clearing.
void ras_clear(const RowTable& rows, int32_t height, int32_t width, uint16_t colour);
void ras_fillrect(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour);
void ras_drawrect(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour);
void ras_brect(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t fill, uint16_t border);

// Circles and disks.
void ras_circle(const RowTable& rows, const ClipWindow& clip, int32_t xc, int32_t yc, int32_t r, uint16_t colour);
void ras_xcircle(const RowTable& rows, int32_t xc, int32_t yc, int32_t r, uint16_t colour);
void ras_disk(const RowTable& rows, int32_t xc, int32_t yc, int32_t r, uint16_t colour);
void ras_bdisk(const RowTable& rows, int32_t xc, int32_t yc, int32_t r, uint16_t border, uint16_t fill);
void ras_circ2(const RowTable& rows, int32_t x, int32_t y, uint16_t colour);
void ras_fcirc2(const RowTable& rows, int32_t x, int32_t y, uint16_t border, uint16_t fill);

// Ellipses.
void ras_ellipse(const RowTable& rows, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t colour);
void ras_xellipse(const RowTable& rows, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t colour);
void ras_elldisk(const RowTable& rows, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t colour);
void ras_ellbdisk(const RowTable& rows, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t border, uint16_t fill);

// Flood fill. half_table: 400 entries i / 2, read by the ramp modes.
// Endless: the colours made the fill walk round for ever; it was stopped,
// and the canvas keeps what was filled until then. A walk that repeats
// itself is stopped where it does; one that does not, after work_per_pixel
// pixel tests per pixel of the fill's area.
enum class FillStatus { Done, Endless };
// Several seconds of work on the 400 x 400 canvas. Mode 1 searches across
// what it painted, and its rescans multiply with every obstacle in a row:
// around a 10 x 10 grid of squares a fill makes 5,200 tests per pixel,
// around 11 x 11 about 16,000, around 12 x 12 more than this bound allows.
constexpr int32_t kFillWorkPerPixel = 32768;
FillStatus ras_floodfill(const RowTable& rows, int32_t x, int32_t y, int32_t height, int32_t width, uint16_t c1,
                         uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table,
                         int32_t work_per_pixel = kFillWorkPerPixel);
FillStatus ras_floodfill_outline(const RowTable& rows, int32_t x, int32_t y, int32_t height, int32_t width, uint16_t c1,
                                 uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table,
                                 int32_t work_per_pixel = kFillWorkPerPixel);

// Grid and axes. v: position, range ends, nmajor, nminor, place, lmajor,
// lminor, cmajor, cminor.
void ras_grid(const RowTable& rows, int32_t width, int32_t height, int32_t nv, int32_t nh, uint16_t colour);
void ras_h_axis(const RowTable& rows, int32_t y, int32_t x1, int32_t x2, int32_t nmajor, int32_t nminor, int32_t place,
                int32_t lmajor, int32_t lminor, uint16_t cmajor, uint16_t cminor);
void ras_v_axis(const RowTable& rows, int32_t x, int32_t y1, int32_t y2, int32_t nmajor, int32_t nminor, int32_t place,
                int32_t lmajor, int32_t lminor, uint16_t cmajor, uint16_t cminor);

// Triangles.
void ras_trifill(const RowTable& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                 uint16_t fill, uint16_t edge);

// The same routines writing tags too: each pixel written, XOR included, gets
// rows.tag in the tag table. The pixels written are exactly those of the
// plain routine with the same arguments.
void ras_point(const TrackedRows& rows, const ClipWindow& clip, int32_t x, int32_t y, uint16_t colour);
void ras_fpoint(const TrackedRows& rows, const ClipWindow& clip, int32_t x, int32_t y, uint16_t colour);
void ras_line(const TrackedRows& rows, const ClipWindow& clip, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
              uint16_t colour, int32_t extra);
void ras_xline(const TrackedRows& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour);
void ras_fline(const TrackedRows& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour);
void ras_dline(const TrackedRows& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour,
               uint16_t& pattern, uint16_t& diag_acc);
void ras_hline(const TrackedRows& rows, int32_t x1, int32_t y, int32_t x2, uint16_t colour);
void ras_vline(const TrackedRows& rows, int32_t x, int32_t y1, int32_t y2, uint16_t colour);
void ras_clear(const TrackedRows& rows, int32_t height, int32_t width, uint16_t colour);
void ras_fillrect(const TrackedRows& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour);
void ras_drawrect(const TrackedRows& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour);
void ras_brect(const TrackedRows& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t fill, uint16_t border);
void ras_circle(const TrackedRows& rows, const ClipWindow& clip, int32_t xc, int32_t yc, int32_t r, uint16_t colour);
void ras_xcircle(const TrackedRows& rows, int32_t xc, int32_t yc, int32_t r, uint16_t colour);
void ras_disk(const TrackedRows& rows, int32_t xc, int32_t yc, int32_t r, uint16_t colour);
void ras_bdisk(const TrackedRows& rows, int32_t xc, int32_t yc, int32_t r, uint16_t border, uint16_t fill);
void ras_circ2(const TrackedRows& rows, int32_t x, int32_t y, uint16_t colour);
void ras_fcirc2(const TrackedRows& rows, int32_t x, int32_t y, uint16_t border, uint16_t fill);
void ras_ellipse(const TrackedRows& rows, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t colour);
void ras_xellipse(const TrackedRows& rows, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t colour);
void ras_elldisk(const TrackedRows& rows, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t colour);
void ras_ellbdisk(const TrackedRows& rows, int32_t xc, int32_t yc, int32_t a, int32_t b, uint16_t border,
                  uint16_t fill);
FillStatus ras_floodfill(const TrackedRows& rows, int32_t x, int32_t y, int32_t height, int32_t width, uint16_t c1,
                         uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table,
                         int32_t work_per_pixel = kFillWorkPerPixel);
FillStatus ras_floodfill_outline(const TrackedRows& rows, int32_t x, int32_t y, int32_t height, int32_t width,
                                 uint16_t c1, uint16_t c2, uint16_t c3, int32_t mode, const int16_t* half_table,
                                 int32_t work_per_pixel = kFillWorkPerPixel);
void ras_grid(const TrackedRows& rows, int32_t width, int32_t height, int32_t nv, int32_t nh, uint16_t colour);
void ras_h_axis(const TrackedRows& rows, int32_t y, int32_t x1, int32_t x2, int32_t nmajor, int32_t nminor,
                int32_t place, int32_t lmajor, int32_t lminor, uint16_t cmajor, uint16_t cminor);
void ras_v_axis(const TrackedRows& rows, int32_t x, int32_t y1, int32_t y2, int32_t nmajor, int32_t nminor,
                int32_t place, int32_t lmajor, int32_t lminor, uint16_t cmajor, uint16_t cminor);
void ras_trifill(const TrackedRows& rows, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                 uint16_t fill, uint16_t edge);

}  // namespace korvane
