// SPDX-License-Identifier: GPL-3.0-or-later
// What the report says about one submission and each of its checks: the
// CSV, the JSON files and the pages are all written from these records.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "picture_diff.h"
#include "verdict.h"

namespace korvane::grade {

using exercise::Status;

// One check's run of one submission.
struct CheckResult {
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
    std::string canvas_key;  // the canvas's content, for grouping; empty without a canvas
};

struct Record {
    std::string name;                    // the student: the file name without .cg, or the folder's name
    std::string id;                      // the number a learning management system put in the name; empty if none
    std::string program;                 // the .cg file; empty when none was found
    std::string text;                    // the program's copy in the report; empty when it could not be read
    std::string fingerprint;             // the program without comments and blanks
    Status status = Status::UNREADABLE;  // the worst of the checks'
    std::string message;                 // why, when nothing ran; else the deciding check's
    std::string hint;
    int line = -1;
    std::vector<CheckResult> checks;  // one per check of the exercise, once graded
    exercise::Score score;
    int group = 0;                  // 1-based number of its group of the same mistake; 0: none
    std::vector<size_t> same_text;  // other records whose programs are the same
};

}  // namespace korvane::grade
