// SPDX-License-Identifier: GPL-3.0-or-later
// How a check's run ended, read from the runner's exit and its standard
// error; the canvas is judged by the exercise's own verdict.
#pragma once

#include <string_view>

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
// ended well gets PASS here; its canvas decides whether it stays one.
void judge_ending(const Ending& ending, const RunnerMessage& m, CheckResult& r);

}  // namespace korvane::grade
