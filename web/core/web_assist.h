// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's editor knows of the language, as JSON from the
// interpreter's own tables: the built-ins, a program's outline with its
// warnings, and the last run's error details. Exported in korvane_web.h.
#pragma once

namespace korvane {

class Interpreter;

// The interpreter of the last run (the page's or korvane.run's), or null
// before the first run; boundary.cpp keeps it.
const Interpreter* last_run_interpreter();

}  // namespace korvane
