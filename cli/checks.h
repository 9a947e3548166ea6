// SPDX-License-Identifier: GPL-3.0-or-later
// What the runner records after a run: the provenance dump. The comparison
// with an expected picture lives with the pictures (picture_diff.h).
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "canvas_bridge.h"
#include "picture.h"
#include "picture_diff.h"
#include "timeline.h"

namespace korvane {

// Writes "x y index line builtin" for every pixel with an origin, bottom
// row first, left to right.
bool write_provenance(const std::string& path, const CanvasBridge& bridge, const Picture& canvas, std::string& error);

// Says which calls a timeline that ran out of memory still holds.
std::string kept_part(const Timeline& timeline);

// Writes "call line builtin colour" for every write of pixel (x, y) in
// order to out; to err, that the first calls are missing if they are.
void write_history(std::ostream& out, std::ostream& err, const Timeline& timeline, int32_t x, int32_t y);

}  // namespace korvane
