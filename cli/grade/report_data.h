// SPDX-License-Identifier: GPL-3.0-or-later
// The report's data files: results.csv for spreadsheets and learning
// management systems, results.json in the layout Gradescope reads.
#pragma once

#include <string>
#include <vector>

#include "record.h"

namespace korvane::grade {

// One row per record: student, status, pixels_off, message, line, steps,
// seconds; fields quoted as RFC 4180 says.
std::string results_csv(const std::vector<Record>& records);

// {"tests": [{"name", "score", "max_score", "status", "output", "extra_data"}]},
// one test per student, score 1 for a pass.
std::string results_json(const std::string& title, const std::vector<Record>& records);

// The message as the runner wrote it: " in line N" back on.
std::string full_message(const Record& r);

}  // namespace korvane::grade
