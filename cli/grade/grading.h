// SPDX-License-Identifier: GPL-3.0-or-later
// Grading a class: each submission's copy in the report, the forbidden
// built-ins, its run of every check through korvane-run, and what they add up to.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "exercise.h"
#include "record.h"
#include "report_folder.h"

namespace korvane::grade {

// The accepted picture's name in the report: pictures/accepted-K.png, K
// counting the exercise's pictures in file name order from 1.
std::string accepted_in_report(const exercise::Exercise& exercise, const std::string& name);

// Copies the accepted pictures and every readable program into the report
// (programs/PREFIXN.txt); a program that cannot be read becomes UNREADABLE,
// one that calls a forbidden built-in FORBIDDEN. False when the report
// cannot be written.
bool copy_sources(const exercise::Exercise& exercise, const ReportFolder& folder, const std::string& prefix,
                  std::vector<Record>& records, std::string& error);

// Runs every check of every submission that has a program copy and uses no
// forbidden built-in, `jobs` at a time, and fills its results; progress(done,
// total) after each run. False with a message when interrupted or when the
// report cannot be written.
bool run_class(const exercise::Exercise& exercise, const ReportFolder& folder, const std::string& prefix,
               const std::string& runner, int jobs, std::vector<Record>& records,
               const std::function<void(size_t, size_t)>& progress, std::string& error);

// A record's status (the worst of its checks'), score, and the message of
// the check that decides the status.
void settle(const exercise::Exercise& exercise, Record& r);

// Groups of two or more submissions that did not pass and went wrong the
// same way (status, message and canvas), largest first, then by the first
// name; sets each record's group.
using Groups = std::vector<std::vector<size_t>>;
Groups group_mistakes(std::vector<Record>& records);

// Marks the submissions whose programs are the same once comments and
// blanks are set aside.
void mark_same_texts(std::vector<Record>& records);

}  // namespace korvane::grade
