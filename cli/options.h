// SPDX-License-Identifier: GPL-3.0-or-later
// The runner's options in one table: the parser reads it, --help is made
// from it, and a test checks that the man page names every row. A new
// option is a field in RunnerOptions and a row here.
#pragma once

#include <span>
#include <string>

#include "runner.h"

namespace korvane {

struct RunnerOption {
    const char* name;   // "--png"
    const char* value;  // what --help calls the value ("OUT.png"); null for a switch
    const char* help;   // for --help; '\n' starts a continuation line
    // Stores the value (empty for a switch) in the options. Returns null,
    // or what the option wants when the value is not one ("a positive number").
    const char* (*apply)(RunnerOptions& options, const std::string& value);
};

std::span<const RunnerOption> runner_options();

// The --help text: usage, one entry per row, the exit statuses.
std::string runner_help();

}  // namespace korvane
