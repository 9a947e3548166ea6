// What the runner records after a run: the provenance dump. The comparison
// with an expected picture lives with the pictures (picture_diff.h).
#pragma once

#include <cstdint>
#include <string>

#include "canvas_bridge.h"
#include "picture.h"
#include "picture_diff.h"

namespace korvane {

// Writes "x y index line builtin" for every pixel with an origin, bottom
// row first, left to right.
bool write_provenance(const std::string& path, const CanvasBridge& bridge, const Picture& canvas, std::string& error);

}  // namespace korvane
