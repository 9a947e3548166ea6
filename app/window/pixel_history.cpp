// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixel_history.h"

#include <QMetaObject>
#include <deque>

namespace korvane {

PixelHistory find_pixel_history(const Timeline& timeline, int x, int y, size_t ends)
{
    PixelHistory found;
    std::deque<PixelWrite> last;
    timeline.for_each_write(x, y, [&](const PixelWrite& w) {
        if (++found.count <= ends) {
            found.first.push_back(w);
            return;
        }
        last.push_back(w);
        if (last.size() > ends)
            last.pop_front();
    });
    found.last.assign(last.begin(), last.end());
    return found;
}

void PixelHistorySearch::start(const Timeline& timeline, int x, int y, size_t ends,
                               QObject* context, std::function<void(const PixelHistory&)> done)
{
    wait();
    const uint64_t serial = ++serial_;
    thread_ = std::thread([this, &timeline, x, y, ends, context, serial, done = std::move(done)] {
        PixelHistory found = find_pixel_history(timeline, x, y, ends);
        QMetaObject::invokeMethod(
            context,
            [this, serial, done, found = std::move(found)] {
                if (serial == serial_)
                    done(found);
            },
            Qt::QueuedConnection);
    });
}

void PixelHistorySearch::wait()
{
    if (thread_.joinable())
        thread_.join();
    ++serial_;
}

}  // namespace korvane
