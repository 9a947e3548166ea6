// SPDX-License-Identifier: GPL-3.0-or-later
// korvane-run: runs one program headless, as Run does in the window, and
// writes the final canvas as pictures; options.h lists the options.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "run_outcome.h"

namespace korvane {

struct RunnerOptions {
    std::string program;
    std::string palette;  // empty: the built-in default palette
    std::string png;      // each empty: not written
    std::string jpeg;
    std::string frames;
    std::string gif;
    std::string stats;                                 // empty: no figures of the run written
    std::string input;                                 // empty: answers from the input stream
    std::string expect;                                // golden indexed PNG; empty: no comparison
    std::string diff;                                  // with expect: picture of the differences
    std::string check;                                 // exercise folder whose visible checks run; empty: none
    std::string provenance;                            // empty: provenance stays off
    std::string pauses;                                // JSON lines, one per pause; empty: the run never pauses
    std::vector<int> breaks;                           // lines counted from 0
    std::vector<std::pair<int32_t, int32_t>> watches;  // program coordinates
    std::optional<uint64_t> at_call;                   // --png and --jpeg show the canvas after this drawing call
    struct Pixel {
        int32_t x, y;
    };
    std::optional<Pixel> history;  // every write of this pixel goes to the output after the run
    std::optional<uint32_t> seed;
    uint64_t max_steps = 0;  // 0: no bound
    double timeout = 0;      // seconds; 0: no bound
    // "warning:" lines before the run and a "hint:" line after an error
    // report; the command line turns them on unless --no-hints is given.
    bool hints = false;
    // As korvane-grade runs a check: sleep takes no time, and asking past
    // the last answer of the input ends the run.
    bool grading = false;
};

extern const char* const kUsage;  // one line, shown with every usage error

// Reads the arguments after the program name. False with a message when
// they do not fit the usage.
bool parse_arguments(const std::vector<std::string>& args, RunnerOptions& options, std::string& error);

// Runs the program of the options: output lines to out, error reports to
// err, input answers from in. Returns the exit status.
int run_program_file(const RunnerOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

// The whole command: arguments after the program name, then a run.
int runner_main(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace korvane
