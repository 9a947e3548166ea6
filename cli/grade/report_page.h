// SPDX-License-Identifier: GPL-3.0-or-later
// index.html for the teacher and students/NAME.html for each student:
// static pages that open from the file system, every text in them escaped
// (names, messages, hints and programs come from untrusted submissions).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "exercise.h"
#include "grading.h"
#include "html_text.h"
#include "record.h"

namespace korvane::grade {

// The texts of the programs, by their names in the report.
using Programs = std::map<std::string, std::string>;

std::string report_page(const exercise::Exercise& exercise, const std::vector<Record>& records, const Groups& groups,
                        const Programs& programs);

// A student's own page: the checks they may see, each with its canvas,
// difference, message and hint, and their program.
std::string student_page(const exercise::Exercise& exercise, const Record& record, const Programs& programs);

// students/NAME.html, NAME made of letters, digits, '-' and '_' only; each
// record its own (a second "ann" gets "ann-2").
std::vector<std::string> student_page_names(const std::vector<Record>& records);

}  // namespace korvane::grade
