// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas in words, for those who cannot see it: the colours on it with
// their pixel counts and bounding boxes, then the drawing calls of the last
// run in order, with their lines and argument values.
#pragma once

#include <QString>

namespace korvane {

struct Picture;
class Timeline;

// Calls listed at most; the rest are counted.
constexpr int kDescribedCalls = 500;

// Coordinates are the program's (y from the bottom); timeline may be null.
QString describe_canvas(const Picture& display, const Timeline* timeline);

}  // namespace korvane
