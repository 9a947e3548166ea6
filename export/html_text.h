// SPDX-License-Identifier: GPL-3.0-or-later
// Text for the HTML pages we write (the grader's reports, the printed
// reference): every text in them is escaped, as names, messages and
// programs may come from untrusted submissions.
#pragma once

#include <string>

namespace korvane {

// Text for HTML elements and attribute values.
std::string html_escape(const std::string& text);

}  // namespace korvane
