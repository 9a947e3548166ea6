// SPDX-License-Identifier: GPL-3.0-or-later
// The submissions named on the command line: each a .cg file or a folder
// holding one, named after the file (without .cg) or the folder.
#pragma once

#include <string>
#include <vector>

#include "record.h"

namespace korvane::grade {

// One record per argument, sorted by name; a name that occurs twice gets
// " (2)", " (3)"... A folder without exactly one .cg file, or a path that
// does not exist, is UNREADABLE with the reason as its message.
std::vector<Record> find_submissions(const std::vector<std::string>& paths);

}  // namespace korvane::grade
