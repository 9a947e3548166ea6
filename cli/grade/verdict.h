// SPDX-License-Identifier: GPL-3.0-or-later
// How a submission's run ended, read from the runner's exit and its
// standard error, and how close its canvas came to the accepted pictures.
#pragma once

#include <string_view>

#include "exercise.h"
#include "picture_diff.h"
#include "process_pool.h"
#include "record.h"

namespace korvane::grade {

// The runner's report on standard error: "warning:" lines come first and are
// passed over; the first other line is the message, "hint:" the line after
// it. A message ending " in line N" gives the line.
struct RunnerMessage {
    std::string message;
    std::string hint;
    int line = -1;
};
RunnerMessage read_runner_message(std::string_view err);

// Sets the status, message, hint and line of a run that ended so. A run that
// ended well gets PASS here; compare_canvas decides whether it stays one.
void judge_ending(const Ending& ending, const RunnerMessage& m, Record& r);

// The accepted picture nearest to the canvas, and how far it is.
struct Nearest {
    size_t index = 0;
    PictureDiff diff;
};
Nearest nearest_accepted(const Exercise& exercise, const Picture& canvas);

// Applies the comparison: pixels off, and for a run that ended well, pass
// within the tolerance or differs with the count and the box.
void judge_canvas(const Exercise& exercise, const Nearest& nearest, Record& r);

}  // namespace korvane::grade
