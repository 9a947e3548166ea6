// SPDX-License-Identifier: GPL-3.0-or-later
// index.html: a static page that opens from the file system, every text in
// it escaped (names, messages and hints come from untrusted programs).
#pragma once

#include <string>
#include <vector>

#include "exercise.h"
#include "record.h"

namespace korvane::grade {

// Submissions that left the same canvas without passing, as indices into
// the records, largest group first.
using Groups = std::vector<std::vector<size_t>>;

std::string report_page(const Exercise& exercise, const std::vector<Record>& records, const Groups& groups);

// Text for HTML elements and attribute values.
std::string html_escape(const std::string& text);

}  // namespace korvane::grade
