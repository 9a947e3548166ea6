// SPDX-License-Identifier: GPL-3.0-or-later
// Grading a class: each submission's copy in the report, its run through
// korvane-run, and what its run left.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "exercise.h"
#include "record.h"
#include "report_folder.h"
#include "report_page.h"

namespace korvane::grade {

// Copies the accepted pictures and every readable program into the report;
// a program that cannot be read becomes UNREADABLE. False when the report
// cannot be written.
bool copy_sources(const Exercise& exercise, const ReportFolder& folder, std::vector<Record>& records,
                  std::string& error);

// Runs every submission that has a program copy, `jobs` at a time, and fills
// its record; progress(done, total) after each. False with a message when
// interrupted or when the report cannot be written.
bool run_class(const Exercise& exercise, const ReportFolder& folder, const std::string& runner, int jobs,
               std::vector<Record>& records, const std::function<void(size_t, size_t)>& progress, std::string& error);

// Groups of two or more submissions that did not pass and left the same
// canvas, largest first (then by the first name); sets each record's group.
Groups group_canvases(std::vector<Record>& records);

}  // namespace korvane::grade
