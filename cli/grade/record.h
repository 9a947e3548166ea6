// SPDX-License-Identifier: GPL-3.0-or-later
// What the report says about one submission: the CSV, the JSON and the page
// are all written from these records.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "picture_diff.h"

namespace korvane::grade {

enum class Status { PASS, DIFFERS, ERROR, TIME_LIMIT, STEP_LIMIT, NO_MAIN, UNREADABLE, CRASHED };

// "pass", "differs", "error", "time limit", "step limit", "no main",
// "unreadable", "crashed": the words of the CSV, the JSON and the page.
std::string_view status_name(Status status);
constexpr int kStatusCount = 8;

struct Record {
    std::string name;     // the student: the file name without .cg, or the folder's name
    std::string program;  // the .cg file; empty when none was found
    Status status = Status::UNREADABLE;
    std::optional<int64_t> pixels_off;  // against the nearest accepted picture, when a canvas was left
    PictureDiff off;                    // the count and box of those pixels
    std::string message;                // without " in line N"
    std::string hint;                   // the runner's hint, when it gave one
    int line = -1;                      // -1: none
    std::optional<uint64_t> steps;
    std::optional<double> seconds;  // wall time of the run; none when it never ran

    // Files in the report folder, relative to it; empty when there is none.
    std::string canvas;      // the final canvas
    std::string accepted;    // the nearest accepted picture
    std::string difference;  // the differing pixels in red over the accepted picture
    std::string text;        // a copy of the program
    int group = 0;           // 1-based number of its group of identical canvases; 0: none
};

}  // namespace korvane::grade
