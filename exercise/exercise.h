// SPDX-License-Identifier: GPL-3.0-or-later
// An exercise: a folder with exercise.json, the accepted pictures, the
// answers and the files students see. The grader, the runner, the window
// and the page all read it here. Reading the folder is kept apart from
// reading the text, so a front end without files can give the bytes.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "json.h"
#include "picture.h"

namespace korvane::exercise {

// Bounds of a run that the exercise does not set. The step bound decides
// an endless loop the same on a busy machine as on a quiet one; the time
// bound is only a safety net behind it.
constexpr uint64_t kDefaultMaxSteps = 100'000'000;
constexpr double kDefaultTimeout = 60;

// A text file of an exercise (exercise.json, answers) is a few lines;
// anything bigger is not one.
constexpr size_t kMaxTextBytes = size_t{1} << 20;

// Who sees a check, as Gradescope names it.
enum class Visibility { VISIBLE, HIDDEN, AFTER_DUE_DATE, AFTER_PUBLISHED };
// "visible", "hidden", "after_due_date", "after_published".
std::string_view visibility_name(Visibility visibility);

struct Check {
    std::string name;   // "check N" when the file names none
    std::string input;  // answers file in the folder; empty: none
    std::optional<uint32_t> seed;
    std::vector<std::string> expected;  // accepted pictures, alternatives, file names in the folder
    int64_t tolerance = 0;              // differing pixels a pass may still have
    double points = 1;
    Visibility visibility = Visibility::VISIBLE;
    uint64_t max_steps = kDefaultMaxSteps;
    double timeout = kDefaultTimeout;  // seconds
};

struct Exercise {
    std::string title;      // the folder's name when the file gives none
    std::string statement;  // file names in the folder; each empty when not given
    std::string starter;
    std::string model;                // the teacher's solution, left out of the students' edition
    std::string file;                 // the submission's file name in a folder of several .cg files
    std::vector<std::string> forbid;  // built-in names, lower case
    std::string palette;              // "palette.pal" when the folder has one
    std::vector<Check> checks;        // at least one
    int hidden_checks = 0;            // checks the teacher's edition has and this one left out

    std::string folder;                          // where load_exercise read it; empty when parsed from text
    std::map<std::string, Picture> pictures;     // every accepted picture by file name, once loaded
    std::map<std::string, std::string> answers;  // every answers file's text by file name, once loaded
    std::vector<uint8_t> palette_data;           // the palette's 1024 bytes, once loaded; empty: the default

    // The folder's path of one of its files.
    std::string path(const std::string& name) const;
};

// One key of exercise.json: where it may stand and what it holds. The
// documentation lists these; the reader refuses any other key.
struct ExerciseKey {
    const char* name;
    bool top;          // at the top level (a default for every check when in_check too)
    bool in_check;     // in an object of "checks"
    const char* help;  // what it holds, for the documentation
    // Stores the value: into the exercise, or into the check (the defaults
    // at the top level). Null, or what the value should be.
    const char* (*read)(const Json& value, Exercise& exercise, Check& check);
};
std::span<const ExerciseKey> exercise_keys();

// From the text of exercise.json (empty text: the folder has none) and the
// names of the files in the folder. Every file named must be among them.
// Without "checks" the top level is the one check. Without "expected" a
// check accepts every expected*.png, without "input" it gets input.txt when
// the folder has one. False with what is wrong, naming the key, the check
// or the file.
bool parse_exercise(std::string_view json, const std::vector<std::string>& files, Exercise& exercise,
                    std::string& error);

// The contents of the files an exercise names beyond exercise.json, as a
// front end without a file system (the page) hands them over.
struct ExerciseFiles {
    std::map<std::string, Picture> pictures;     // decoded accepted pictures by file name
    std::map<std::string, std::string> answers;  // answers files' texts by file name
    std::vector<uint8_t> palette;                // the palette file's bytes; empty when there is none
};

// Gives an exercise parse_exercise read the contents of its files: every
// accepted picture its checks name (400 x 400), every answers file and the
// palette (its first 1024 bytes). False with what is wrong, naming the file.
bool complete_exercise(Exercise& exercise, ExerciseFiles files, std::string& error);

// Reads the folder (exercise_folder.cpp): exercise.json, then the accepted pictures (indexed,
// 400 x 400) and the palette. Errors name the file at fault.
bool load_exercise(const std::string& dir, Exercise& exercise, std::string& error);

// The first use of a forbidden built-in, found by the interpreter's own
// scanner (names in comments and strings do not count); line from 0.
struct ForbiddenUse {
    std::string builtin;
    int line = -1;
};
std::optional<ForbiddenUse> find_forbidden(const Exercise& exercise, const std::string& program);
// "forbidden built-in circle"; the line goes after it as in the interpreter's
// messages (" in line N").
std::string forbidden_message(const ForbiddenUse& use);

}  // namespace korvane::exercise
