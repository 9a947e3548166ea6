// SPDX-License-Identifier: GPL-3.0-or-later
// The bridge a check runs on inside a front end's own process (the runner's
// --check, the window's and the page's Check): the check's answers one line
// at a time, the program's output kept apart, sleeping free and answers past
// the check's refused, as the grader runs it; a time limit behind the step
// limit, and a stop another thread may ask for.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include "canvas_bridge.h"

namespace korvane::exercise {

class CheckBridge : public CanvasBridge {
public:
    // stop may be null; once it holds true the run ends as a Halt ends it.
    CheckBridge(TXImage3& canvas, std::string answers, double seconds, const std::atomic<bool>* stop);

    // Every message the run reported, one per line.
    const std::string& messages() const { return messages_; }

    int bridge_poll() override;
    void bridge_message(const char* text) override;
    int bridge_show() override;
    void bridge_output(const char*) override {}
    int32_t bridge_getnum() override;
    int8_t bridge_getche() override;
    void bridge_sleep(int32_t) override {}

private:
    // The next answer line without its line end; past the last one the run
    // ends, so that a check never goes on with answers nobody gave.
    std::string next_answer();

    std::string answers_;
    size_t read_ = 0;     // bytes of answers_ used so far
    uint64_t asked_ = 0;  // answers asked for so far
    std::chrono::steady_clock::time_point deadline_;
    const std::atomic<bool>* stop_;
    std::string messages_;
};

}  // namespace korvane::exercise
