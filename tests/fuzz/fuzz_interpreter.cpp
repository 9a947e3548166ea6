// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a program: every input must end in a result or an
// error report within the step bound, never a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "interpreter.h"
#include "null_bridge.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static korvane::NullBridge bridge;
    static korvane::Interpreter* interp = [] {
        auto* i = new korvane::Interpreter(bridge);
        i->set_step_limit(50000);
        return i;
    }();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const korvane::RunResult result = interp->run_text(text);
    if (result < korvane::RUN_OK || result > korvane::RUN_ABORTED) __builtin_trap();
    return 0;
}
