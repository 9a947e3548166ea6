// SPDX-License-Identifier: GPL-3.0-or-later
// One check of an exercise run in this process, judged as the grader judges
// it, and what every front end lists for it. The runner's --check, the
// window's Check and the page's Check all come here, so a student sees the
// same verdict, the same first difference and the same words everywhere.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "exercise.h"
#include "first_divergence.h"
#include "picture.h"
#include "verdict.h"

namespace korvane::exercise {

struct CheckRun {
    Status status = Status::PASS;  // PASS, DIFFERS, a limit, OUT_OF_INPUT, ERROR or NO_MAIN
    std::string report;            // the error report's first line ("... in line 3"); empty when the run ended well
    std::string hint;              // the report's hint; may be empty
    int line = -1;                 // the report's line, counted from 0
    CanvasVerdict verdict;         // when the run ended well
    Divergence divergence;         // when the canvas differs
    Picture canvas;                // the canvas the run left
};

// Runs the program for the check of that index with its answers, seed and
// bounds on a canvas with the exercise's palette. The exercise must be
// loaded (pictures, answers, palette). A stop set from another thread ends
// the run early; its result then means nothing.
CheckRun run_check(const Exercise& exercise, size_t index, const std::string& program,
                   const std::atomic<bool>* stop = nullptr);

// The accepted picture the verdict compared the canvas with.
const Picture& accepted_picture(const Exercise& exercise, size_t index, const CheckRun& run);

// "check 2 of 3 "large circle"": hidden checks count, those a students'
// edition left out too, so students see that there are some.
std::string check_title(const Exercise& exercise, size_t index);

// What the run came to, line by line: "pass"; the error report's first
// line; or "differs, 37 pixels off" and then "first difference: ..." and,
// when a call drew wrong and pixels are missing too, "missing: ...".
std::vector<std::string> check_lines(const CheckRun& run);

}  // namespace korvane::exercise
