// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel model every raster routine shares: a row table over one
// contiguous 8-bit bitmap, row 0 at the bottom, and the clip windows.
#pragma once

#include <cstdint>

namespace korvane {

// Row pointers into a bitmap of width x height bytes. row[0] is the bottom
// scan line and row[y + 1] = row[y] + pitch with pitch == width > 0, so the
// whole picture is the block of width * height bytes starting at row[0].
struct RowTable {
    uint8_t* const* row = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};

// A row table with a tag table beside it, for the tracked overloads of the
// raster routines: every pixel they write also gets `tag` at the same offset
// (y * width + x) of `tags`, which has width * height entries.
struct TrackedRows {
    RowTable rows;
    uint32_t* tags = nullptr;
    uint32_t tag = 0;
};

// One clip window, bounds as given (a window with xmin > xmax passes nothing).
struct ClipWindow {
    int32_t xmin = 0;
    int32_t xmax = 0;
    int32_t ymin = 0;
    int32_t ymax = 0;
};

// The three independent windows; all zero until start-up sets them.
struct ClipWindows {
    ClipWindow PointClip;   // point, fpoint
    ClipWindow LineClip;    // line
    ClipWindow CircleClip;  // circle
};

void ras_set_point_clip(ClipWindows& clips, int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax);
// Ignores an equal x pair entirely and an equal y pair for the y bounds.
void ras_set_line_clip(ClipWindows& clips, int32_t xa, int32_t xb, int32_t ya, int32_t yb);
void ras_set_circle_clip(ClipWindows& clips, int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax);

}  // namespace korvane
