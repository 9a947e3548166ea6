#include "shown_frames.h"

#include <algorithm>
#include <climits>

namespace korvane {

void ShownFrames::show(const Picture& picture, Clock::time_point now) {
    flush(now);
    last_ = picture;
    has_last_ = true;
    held_ = true;
    shown_at_ = now;
}

void ShownFrames::flush(Clock::time_point now) {
    if (!held_) return;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - shown_at_).count();
    gif_.add_frame(last_, static_cast<int32_t>(std::min<int64_t>(ms, INT32_MAX)));
    held_ = false;
}

void ShownFrames::end_run(const Picture& final_canvas, Clock::time_point now) {
    flush(now);
    if (has_last_ && final_canvas.pixels == last_.pixels && final_canvas.palette == last_.palette) return;
    gif_.add_frame(final_canvas, GifRecorder::kMinDelayMs);
    last_ = final_canvas;
    has_last_ = true;
}

}  // namespace korvane
