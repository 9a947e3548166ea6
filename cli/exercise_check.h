// SPDX-License-Identifier: GPL-3.0-or-later
// korvane-run PROGRAM --check EXERCISE: the exercise's visible checks, each
// run in this process with its answers, seed, palette and bounds, judged by
// the exercise library as the grader judges them, and for each that
// differs, where the drawing first left the accepted picture.
#pragma once

#include <ostream>
#include <string>

namespace korvane {

// One line per visible check to out ("check 2 of 3 "large circle":
// differs, 37 pixels off"), and a "first difference:" line (and a "missing:"
// line) after each that differs; a forbidden built-in, or an exercise or
// program that cannot be read, to err before anything runs. Returns 0 when
// every visible check passes, 4 when one differs and none failed worse, 2
// on an error, a limit or a forbidden built-in, 3 when a file cannot be read.
int check_exercise(const std::string& program, const std::string& exercise_dir, std::ostream& out, std::ostream& err);

}  // namespace korvane
