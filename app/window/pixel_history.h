// SPDX-License-Identifier: GPL-3.0-or-later
// The writes of one pixel in a run's timeline, searched on a thread of their
// own: replaying a run of millions of calls takes a second, and the window
// must not wait for it.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "timeline.h"

namespace korvane {

struct PixelHistory {
    std::vector<PixelWrite> first, last;  // at most `ends` each, in order
    uint64_t count = 0;                   // writes in all
};

// The first and last `ends` writes of pixel (x, y), and how many in all.
PixelHistory find_pixel_history(const Timeline& timeline, int x, int y, size_t ends);

class PixelHistorySearch {
public:
    PixelHistorySearch() = default;
    PixelHistorySearch(const PixelHistorySearch&) = delete;
    PixelHistorySearch& operator=(const PixelHistorySearch&) = delete;
    ~PixelHistorySearch() { wait(); }

    // Searches after any search in progress ends; done runs on context's
    // thread with the result, unless wait() or another start() came first.
    // The timeline must not change until done ran or wait() returned.
    void start(const Timeline& timeline, int x, int y, size_t ends, QObject* context,
               std::function<void(const PixelHistory&)> done);
    // Ends the search in progress, if any, and drops its result.
    void wait();

private:
    std::thread thread_;
    uint64_t serial_ = 0;  // of the search whose result is wanted
};

}  // namespace korvane
