// SPDX-License-Identifier: GPL-3.0-or-later
// A GIF recording of what a front end shows, the one recording policy of
// the window and the runner: a frame is on the screen until the next one
// comes, so each shown picture is held here until then and goes into the
// file with that time as its delay. The file plays once, and delays are
// clamped as GifRecorder says. The recording owns its file, so ending it
// always adds the held frame before the file is closed.
#pragma once

#include <chrono>
#include <string>

#include "gif_writer.h"
#include "picture.h"

namespace korvane {

class GifRecording {
public:
    using Clock = std::chrono::steady_clock;

    // Starts recording into path; false with "Cannot create file PATH".
    bool start(const std::string& path, std::string& error);
    bool active() const { return gif_.is_open(); }

    // While active: adds the frame held so far, shown until now, and holds this one.
    void show(const Picture& picture, Clock::time_point now);
    // While active: adds the held frame, shown until now.
    void flush(Clock::time_point now);
    // While active, at the end of a run: flushes, then adds the final canvas
    // unless the last frame already shows it. Nothing of the run follows
    // the final canvas, so it gets the shortest delay.
    void end_run(const Picture& final_canvas, Clock::time_point now);

    // Flushes, ends the file and moves it into place; the recording is then
    // over. False with the reason when nothing could be kept.
    bool finish(Clock::time_point now, std::string& error);

private:
    GifRecorder gif_;
    Picture last_;  // the frame shown last, held or added
    bool has_last_ = false;
    bool held_ = false;  // last_ is not added yet
    Clock::time_point shown_at_{};
};

}  // namespace korvane
