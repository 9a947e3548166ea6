// SPDX-License-Identifier: GPL-3.0-or-later
// An exercise folder: the accepted pictures, the answers, the palette and
// the bounds every submission runs with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "picture.h"

namespace korvane::grade {

struct AcceptedPicture {
    std::string path;  // expected*.png in the folder
    Picture picture;   // 400 x 400, indexed
};

struct Exercise {
    std::string title;                      // exercise.json's title, or the folder's name
    std::vector<AcceptedPicture> accepted;  // in file name order, at least one
    std::string input;                      // input.txt, or empty
    std::string palette;                    // palette.pal, or empty
    std::optional<uint32_t> seed;
    double timeout = 10;     // seconds
    uint64_t max_steps = 0;  // 0: no bound
    int64_t tolerance = 0;   // differing pixels a pass may still have
};

// Reads and checks the folder. False with a message naming the file at fault
// (no accepted picture, a picture of the wrong size or type, invalid JSON, a
// palette the canvas refuses).
bool load_exercise(const std::string& dir, Exercise& exercise, std::string& error);

}  // namespace korvane::grade
