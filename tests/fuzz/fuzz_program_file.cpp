// SPDX-License-Identifier: GPL-3.0-or-later
// A program file of any bytes, loaded as every front end loads it (line ends made
// CR LF, then read from disk), must end in a result or a report.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "interpreter.h"
#include "null_bridge.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/korvane-fuzz-program-" + std::to_string(getpid()) + ".cg";
    static korvane::NullBridge bridge;
    static korvane::Interpreter* interp = [] {
        auto* i = new korvane::Interpreter(bridge);
        i->set_step_limit(50000);
        return i;
    }();
    const std::string text = korvane::normalise_line_ends(std::string(reinterpret_cast<const char*>(data), size));
    for (size_t i = 0; i < text.size(); ++i) {
        // Every CR is followed by its LF, and no LF stands alone.
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) __builtin_trap();
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) __builtin_trap();
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    const korvane::RunResult result = interp->run_program(path);
    if (result < korvane::RUN_OK || result > korvane::RUN_ABORTED) __builtin_trap();
    return 0;
}
