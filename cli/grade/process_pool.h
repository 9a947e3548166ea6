// SPDX-License-Identifier: GPL-3.0-or-later
// Runs commands as child processes, a few at a time, each with a wall-time
// bound after which it is killed. Ctrl+C or a termination request stops the
// whole batch.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace korvane::grade {

struct Command {
    std::vector<std::string> argv;  // argv[0] is the program's path
    std::string stderr_path;        // standard error goes here; input and output are /dev/null
    double limit = 0;               // seconds of wall time before it is killed
};

struct Ending {
    enum Kind {
        EXITED,       // code is the exit status
        SIGNALLED,    // code is the signal that ended it
        KILLED,       // still running at its limit
        NOT_STARTED,  // code is the errno of the failed start
    };
    Kind kind = NOT_STARTED;
    int code = 0;
    double seconds = 0;  // wall time from start to end
};

// Runs every command, `parallel` at a time, calling done(index, ending) as
// each one ends. False when the batch was interrupted: the running commands
// were killed and the rest never started.
bool run_commands(const std::vector<Command>& commands, int parallel,
                  const std::function<void(size_t, const Ending&)>& done);

}  // namespace korvane::grade
