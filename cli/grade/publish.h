// SPDX-License-Identifier: GPL-3.0-or-later
// korvane-grade --publish EXERCISE OUT: the students' edition of an
// exercise, a new folder with what students may see: the visible checks
// with their answers and pictures, the statement, the starter and every
// other file, but no hidden check (nor one shown only later), none of their
// answers or pictures, and no model solution.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace korvane::grade {

// args are the arguments after --publish: EXERCISE and OUT. OUT must not
// exist yet; the edition is written beside it and renamed into place when
// complete. Returns 0 when written, 1 for a usage or exercise problem, 2
// when it could not be written.
int publish_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace korvane::grade
