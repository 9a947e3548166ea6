// SPDX-License-Identifier: GPL-3.0-or-later
// Runs program texts for tests: line ends become CR LF as the window writes them.
#pragma once

#include <cstdint>
#include <string>

#include "interpreter.h"
#include "recording_bridge.h"

namespace korvane::testing {

std::string crlf(const std::string& text);

// Every run in a test stops here at the latest, so a fault that loops fails
// the test instead of hanging it.
constexpr uint64_t kTestStepLimit = 50'000'000;

struct ProgramRun {
    ProgramRun();

    RecordingBridge bridge;
    Interpreter interp{bridge};
    RunResult result = RUN_OK;

    // Runs the text (LF line ends are turned into CR LF first) on a stack as
    // large as the window's and the runner's.
    RunResult run(const std::string& text);
    // Value of a global after the run; fails the test if there is none.
    int32_t global(const std::string& name) const;
    // The one message of the run, or "" (fails the test if there were several).
    std::string message() const;
};

// Runs the program and expects it to end with exactly this error, reported
// on this line (counted from 0).
void expect_error(const std::string& program, const std::string& message, int line);

}  // namespace korvane::testing
