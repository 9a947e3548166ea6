// SPDX-License-Identifier: GPL-3.0-or-later
// The frames of a GIF cut from a run's timeline, the same in the window and
// the page.
#pragma once

#include <cstdint>
#include <functional>

#include "ximage3.h"

namespace korvane {

class Timeline;

// Shows calls a..b of the timeline on canvas and calls frame() at each
// frame: the canvas after call a, after each show in the range (every = 0)
// or every `every` calls from a, and after call b.
void for_each_gif_frame(const Timeline& timeline, uint64_t a, uint64_t b, uint64_t every, TXImage3& canvas,
                        const std::function<void()>& frame);

}  // namespace korvane
