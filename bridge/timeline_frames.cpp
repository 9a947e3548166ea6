// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_frames.h"

#include <algorithm>

#include "timeline.h"

namespace korvane {

void for_each_gif_frame(const Timeline& timeline, uint64_t a, uint64_t b, uint64_t every, TXImage3& canvas,
                        const std::function<void()>& frame) {
    timeline.seek(a, canvas);
    frame();
    const auto& shows = timeline.shows();
    auto show = std::upper_bound(shows.begin(), shows.end(), a);
    timeline.play(a, b, canvas, [&](uint64_t k) {
        bool due = k == b || (every > 0 && (k - a) % every == 0);
        for (; show != shows.end() && *show <= k; ++show) due = due || *show == k;
        if (due) frame();
    });
}

}  // namespace korvane
