// The frames of a GIF recording as a program shows them. A frame is on the
// screen until the next one comes, so each shown picture is held here until
// then and goes into the recording with that time as its delay.
#pragma once

#include <chrono>

#include "gif_writer.h"
#include "picture.h"

namespace korvane {

class ShownFrames {
public:
    using Clock = std::chrono::steady_clock;

    explicit ShownFrames(GifRecorder& gif) : gif_(gif) {}

    // Adds the frame held so far, shown until now, and holds this one.
    void show(const Picture& picture, Clock::time_point now);
    // Adds the held frame, shown until now; the recording may end after it.
    void flush(Clock::time_point now);
    // The end of a run: flushes, then adds the final canvas unless the last
    // frame already shows it. Nothing of the run follows the final canvas,
    // so it gets the shortest delay.
    void end_run(const Picture& final_canvas, Clock::time_point now);

private:
    GifRecorder& gif_;
    Picture last_;  // the frame shown last, held or added
    bool has_last_ = false;
    bool held_ = false;  // last_ is not added yet
    Clock::time_point shown_at_{};
};

}  // namespace korvane
