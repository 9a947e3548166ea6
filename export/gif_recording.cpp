// SPDX-License-Identifier: GPL-3.0-or-later
#include "gif_recording.h"

#include <algorithm>
#include <climits>

namespace korvane {

bool GifRecording::start(const std::string& path, std::string& error) {
    has_last_ = false;
    held_ = false;
    return gif_.open(path, error);
}

void GifRecording::show(const Picture& picture, Clock::time_point now) {
    if (!active()) return;
    flush(now);
    last_ = picture;
    has_last_ = true;
    held_ = true;
    shown_at_ = now;
}

void GifRecording::flush(Clock::time_point now) {
    if (!held_) return;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - shown_at_).count();
    gif_.add_frame(last_, static_cast<int32_t>(std::min<int64_t>(ms, INT32_MAX)));
    held_ = false;
}

void GifRecording::end_run(const Picture& final_canvas, Clock::time_point now) {
    if (!active()) return;
    flush(now);
    if (has_last_ && final_canvas.pixels == last_.pixels && final_canvas.palette == last_.palette) return;
    gif_.add_frame(final_canvas, GifRecorder::kMinDelayMs);
    last_ = final_canvas;
    has_last_ = true;
}

bool GifRecording::finish(Clock::time_point now, std::string& error) {
    flush(now);
    has_last_ = false;
    return gif_.finish(error);
}

}  // namespace korvane
