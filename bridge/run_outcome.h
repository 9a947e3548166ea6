// SPDX-License-Identifier: GPL-3.0-or-later
// How a run's result is told to the user, the same in the window, the runner
// and the page: the exit statuses and the report of a program without main.
#pragma once

#include "interpreter.h"

namespace korvane {

// Exit statuses of the runner; the page's korvane.run gives the same.
enum RunnerStatus : int {
    STATUS_RAN = 0,      // main returned or the program executed `end`
    STATUS_NO_MAIN = 1,  // the program has no main
    STATUS_ERROR = 2,    // an error was reported, a rejected input answer included
    STATUS_FILE = 3,     // usage error, or a file that cannot be read or written
    STATUS_DIFFERS = 4,  // the run ended well but the canvas differs from --expect
};

inline RunnerStatus status_of(RunResult result) {
    switch (result) {
        case RUN_OK:
        case RUN_END: return STATUS_RAN;
        case RUN_NO_MAIN: return STATUS_NO_MAIN;
        case RUN_ERROR:
        case RUN_ABORTED:
        case RUN_WAITING: return STATUS_ERROR;  // a run that waits is resumed, not told
        case RUN_CANNOT_READ: return STATUS_FILE;
    }
    return STATUS_ERROR;
}

// Reported when a program has no main.
inline constexpr const char* kNoMainMessage = "Program Error! Can't find main()";

}  // namespace korvane
