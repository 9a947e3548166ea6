// SPDX-License-Identifier: GPL-3.0-or-later
// The report's data files: results.csv for spreadsheets and learning
// management systems; grades.json, every record in full, for scripts and for
// merging a later grading (--update); and Gradescope's results.json for one
// submission.
#pragma once

#include <string>
#include <vector>

#include "exercise.h"
#include "record.h"

namespace korvane::grade {

// One row per record: student, id, status, score, max_score, a column per
// check (its status), then the deciding check's pixels_off, message and
// line, and the steps and seconds of all checks together; fields quoted as
// RFC 4180 says.
std::string results_csv(const exercise::Exercise& exercise, const std::vector<Record>& records);

// {"title", "checks": [names], "submissions": [records with their checks]}.
std::string grades_json(const exercise::Exercise& exercise, const std::vector<Record>& records);
// The records of a grades.json; false with a message when it is not one of
// this exercise's (other checks).
bool read_grades_json(const std::string& text, const exercise::Exercise& exercise, std::vector<Record>& records,
                      std::string& error);

// Gradescope's results of one submission: the score, the time, a summary
// that names no hidden check, and a test per check with its points and
// visibility. The checks' details follow their visibility.
std::string gradescope_json(const exercise::Exercise& exercise, const Record& record);

// The message as the runner wrote it: " in line N" back on.
std::string full_message(const std::string& message, int line);

// "3", "2.5": points without needless digits.
std::string points_text(double points);

}  // namespace korvane::grade
