// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

// The drawing call that last wrote a pixel while provenance was on: its
// program line (counted from 0) and built-in name. Line -1: the pixel was not
// drawn while recording.
struct PixelOrigin {
    int32_t line = -1;
    std::string builtin;
};

}  // namespace korvane
