// SPDX-License-Identifier: GPL-3.0-or-later
// The clip window setters.
#include <algorithm>

#include "pixel_model.h"

namespace korvane {

void ras_set_point_clip(ClipWindows& clips, int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax) {
    clips.PointClip = {xmin, xmax, ymin, ymax};
}

// An equal pair would make an empty window: keep the bounds already there.
void ras_set_line_clip(ClipWindows& clips, int32_t xa, int32_t xb, int32_t ya, int32_t yb) {
    if (xa == xb) return;
    clips.LineClip.xmin = std::min(xa, xb);
    clips.LineClip.xmax = std::max(xa, xb);
    if (ya == yb) return;
    clips.LineClip.ymin = std::min(ya, yb);
    clips.LineClip.ymax = std::max(ya, yb);
}

void ras_set_circle_clip(ClipWindows& clips, int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax) {
    clips.CircleClip = {xmin, xmax, ymin, ymax};
}

}  // namespace korvane
