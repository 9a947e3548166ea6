// SPDX-License-Identifier: GPL-3.0-or-later
// What a check says of a run, and what the checks add up to: the statuses,
// the comparison with the accepted pictures, the score and who sees what.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exercise.h"
#include "picture_diff.h"

namespace korvane::exercise {

// From best to worst: a submission's status is the worst of its checks'.
enum class Status {
    PASS,
    DIFFERS,
    STEP_LIMIT,
    TIME_LIMIT,
    OUT_OF_INPUT,  // asked for more answers than the check gives
    ERROR,
    NO_MAIN,
    FORBIDDEN,
    UNREADABLE,
    CRASHED,  // the runner itself failed: not the student's doing
};
constexpr int kStatusCount = 10;
// "pass", "differs", "step limit", "time limit", "out of input", "error",
// "no main", "forbidden", "unreadable", "crashed".
std::string_view status_name(Status status);
// The status of that name; false for another word.
bool status_from_name(std::string_view name, Status& status);

// The status of a run that ended with an error report, told by the
// report's first words: a time or step limit, answers run out, or an error.
Status status_of_report(std::string_view message);

// The accepted picture of a check nearest to a canvas, and the verdict.
struct CanvasVerdict {
    bool pass = false;
    size_t nearest = 0;  // index into check.expected
    PictureDiff diff;    // against that picture
};
// The exercise's pictures must be loaded, and the canvas of their size.
CanvasVerdict judge_canvas(const Exercise& exercise, const Check& check, const Picture& canvas);
// "" for no difference, else "1 pixel differs from expected.png, within x
// 10..10, y 10..10" (or "N pixels differ ...").
std::string difference_message(const Check& check, const CanvasVerdict& verdict);

// "1 pixel", "2 pixels": count and noun with the plural a reader expects.
std::string count_of(int64_t n, std::string_view noun, std::string_view plural = {});

// The worst of the statuses; PASS for none.
Status worst_status(std::span<const Status> statuses);

struct Score {
    double score = 0;
    double max_score = 0;
};
// The points of the checks that pass, out of all points; statuses in the
// order of exercise.checks.
Score score_of(const Exercise& exercise, std::span<const Status> statuses);

// When students look: before the due date, after it, or once the teacher
// has published the grades.
enum class Moment { BEFORE_DUE_DATE, AFTER_DUE_DATE, AFTER_PUBLISHED };
bool shown_to_students(Visibility visibility, Moment moment);
// Indices of the checks students see at that moment.
std::vector<size_t> shown_checks(const Exercise& exercise, Moment moment);

// Submissions that went wrong the same way: one key per status, message and
// final canvas (any text naming it, empty for none).
std::string mistake_key(Status status, std::string_view message, std::string_view canvas);

// The program without its comments and blanks (strings kept as written):
// two texts with the same fingerprint are the same program.
std::string program_fingerprint(std::string_view text);

}  // namespace korvane::exercise
