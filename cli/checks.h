// What the runner checks and records after a run: the comparison with an
// expected picture, the picture of the differences, and the provenance dump.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "canvas_bridge.h"
#include "picture.h"
#include "timeline.h"

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

// Writes "x y index line builtin" for every pixel with an origin, bottom
// row first, left to right.
bool write_provenance(const std::string& path, const CanvasBridge& bridge, const Picture& canvas, std::string& error);

// Says which calls a timeline that ran out of memory still holds.
std::string kept_part(const Timeline& timeline);

// Writes "call line builtin colour" for every write of pixel (x, y) in
// order to out; to err, that the first calls are missing if they are.
void write_history(std::ostream& out, std::ostream& err, const Timeline& timeline, int32_t x, int32_t y);

}  // namespace korvane
