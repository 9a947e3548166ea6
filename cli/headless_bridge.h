// SPDX-License-Identifier: GPL-3.0-or-later
// The bridge of the headless runner: program output goes to a stream, one
// line per print, puts or putch; error reports to another; input answers are
// read line by line; show writes a numbered frame when asked to.
#pragma once

#include <chrono>
#include <istream>
#include <ostream>
#include <string>

#include "canvas_bridge.h"
#include "gif_recording.h"
#include "picture.h"

namespace korvane {

class HeadlessBridge : public CanvasBridge {
public:
    HeadlessBridge(TXImage3& canvas, std::istream& in, std::ostream& out, std::ostream& err);

    // From now on every show writes the canvas as DIR/frame-NNNNN.png.
    void write_frames_to(const std::string& dir) { frames_dir_ = dir; }
    int frames_written() const { return frames_written_; }
    // False once a frame could not be written; the reason went to err.
    bool frames_ok() const { return frames_ok_; }

    // From now on bridge_poll reports POLL_TIME_UP once `seconds` of wall
    // time have passed, and no sleep lasts beyond that moment.
    void set_time_limit(double seconds);
    // The input stream reads the descriptor fd (the process's own input):
    // under a time limit, an answer is awaited only until the limit.
    void await_answers_on(int fd);
    // As a grader runs a check: sleep takes no time, and an answer asked
    // for past the end of the input ends the run with InputRejected.
    void set_grading() { grading_ = true; }
    // From now on every show becomes a frame of a GIF at path, shown until
    // the next show; false with "Cannot create file PATH".
    bool record_gif_to(const std::string& path, std::string& error) { return gif_.start(path, error); }
    bool records_gif() const { return gif_.active(); }
    // After the run: adds the last shown frame, held until now, and then the
    // final canvas if it differs from that frame, and writes the file.
    // False with the reason if it could not be written.
    bool finish_gif(std::string& error);

    int bridge_poll() override;
    void bridge_message(const char* text) override;
    int bridge_show() override;
    void bridge_output(const char* text) override;
    int32_t bridge_getnum() override;
    int8_t bridge_getche() override;
    void bridge_sleep(int32_t ms) override;

private:
    // One line of input without its line end; end of input, or a time limit
    // reached while waiting, is an empty answer.
    std::string read_answer();
    // False when the time limit came before the answer.
    bool answer_in_time() const;
    void write_frame();

    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    std::string frames_dir_;  // empty: no frames
    int frames_written_ = 0;
    bool frames_ok_ = true;
    bool has_deadline_ = false;
    bool grading_ = false;
    uint64_t asked_ = 0;  // answers asked for so far
    int answer_fd_ = -1;  // -1: answers never wait (a file or a string)
    std::chrono::steady_clock::time_point deadline_{};
    GifRecording gif_;
};

}  // namespace korvane
