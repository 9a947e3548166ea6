// Runs program texts for tests: line ends become CR LF as the window writes them.
#pragma once

#include <cstdint>
#include <string>

#include "interpreter.h"
#include "recording_bridge.h"

namespace korvane::testing {

std::string crlf(const std::string& text);

struct ProgramRun {
    RecordingBridge bridge;
    Interpreter interp{bridge};
    RunResult result = RUN_OK;

    // Runs the text (LF line ends are turned into CR LF first).
    RunResult run(const std::string& text);
    // Value of a global after the run; fails the test if there is none.
    int32_t global(const std::string& name) const;
    // The one message of the run, or "" (fails the test if there were several).
    std::string message() const;
};

}  // namespace korvane::testing
