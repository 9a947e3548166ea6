// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing two pictures of one size: what the runner's --expect reports
// and --diff draws, and what korvane-grade shows for every student.
#pragma once

#include <cstdint>

#include "picture.h"

namespace korvane {

// Pixels whose palette indices differ, and their bounding box in program
// coordinates (y from the bottom); the box is empty when count is 0.
struct PictureDiff {
    int64_t count = 0;
    int32_t xmin = 0, xmax = -1, ymin = 0, ymax = -1;
};

// Both pictures must have the same size.
PictureDiff compare_pictures(const Picture& expected, const Picture& actual);

// The expected picture in dim grey (indices 0..127, by brightness), with
// every differing pixel in index 255, pure red.
Picture diff_picture(const Picture& expected, const Picture& actual);

}  // namespace korvane
