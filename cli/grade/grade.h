// SPDX-License-Identifier: GPL-3.0-or-later
// korvane-grade: runs every submission of a class through korvane-run with
// an exercise's options and writes one report for the teacher.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace korvane::grade {

// Exit statuses of korvane-grade.
enum GradeStatus : int {
    GRADE_WRITTEN = 0,      // the report was written, whatever the students' results
    GRADE_BAD_INPUT = 1,    // usage, an exercise folder that cannot be used, or a report it would not replace
    GRADE_NOT_WRITTEN = 2,  // no runner, an interruption, or a report that could not be written
};

struct GradeOptions {
    std::string exercise;
    std::vector<std::string> submissions;
    std::string out = "grade-report";
    int jobs = 0;            // 0: one per core
    std::string runner;      // empty: korvane-run beside this program, else on PATH
    bool update = false;     // merge into the report in `out`
    std::string gradescope;  // one submission's results for Gradescope; empty: a report
};

extern const char* const kGradeUsage;
extern const char* const kGradeHelp;

// False with a message when the arguments do not fit the usage.
bool parse_grade_arguments(const std::vector<std::string>& args, GradeOptions& options, std::string& error);

// The runner to start: the given path, korvane-run beside `self` (this
// program's own path), or korvane-run on PATH. Empty when none is executable.
std::string find_runner(const std::string& given, const std::string& self);

// The whole command. `self` is this program's path; progress goes to err
// when it is a terminal.
int grade_main(const std::vector<std::string>& args, const std::string& self, std::ostream& out, std::ostream& err,
               bool progress);

}  // namespace korvane::grade
