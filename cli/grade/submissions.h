// SPDX-License-Identifier: GPL-3.0-or-later
// The submissions named on the command line: each a .cg file or a folder
// holding one, named after the file (without .cg) or the folder, with the
// number a learning management system put into that name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "record.h"

namespace korvane::grade {

// A submission larger than this is no program a student wrote.
constexpr uintmax_t kMaxProgramBytes = 1 << 20;

// One record per argument, in the order people sort names; a name that
// occurs twice gets " (2)", " (3)"... A folder's one .cg file is the
// program; `file` picks it among several (any case). A link (or a folder holding one), a file over
// 1 MB, a folder without the program, or a path that does not exist is
// UNREADABLE with the reason as its message.
std::vector<Record> find_submissions(const std::vector<std::string>& paths, const std::string& file);

// The student's name and number in a name a learning management system
// gave: Moodle's "Jane Doe_12345_assignsubmission_file_" and Canvas's
// "doejane_12345_67890_circle" (its file name without .cg). Other names are
// the student's name as they stand, without a number.
void split_lms_name(const std::string& name, std::string& student, std::string& id);

// A key that sorts names as people do: case and accents set aside, so
// "Łukasz" comes next to "Lucas" and "émile" before "Zoe".
std::string sort_key(std::string_view name);

}  // namespace korvane::grade
