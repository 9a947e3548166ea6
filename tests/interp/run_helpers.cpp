#include "run_helpers.h"

#include <gtest/gtest.h>

namespace korvane::testing {

std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

RunResult ProgramRun::run(const std::string& text) {
    result = interp.run_text(crlf(text));
    return result;
}

int32_t ProgramRun::global(const std::string& name) const {
    int32_t value = 0;
    EXPECT_TRUE(interp.global_value(name, value)) << "no global " << name;
    return value;
}

std::string ProgramRun::message() const {
    EXPECT_LE(bridge.messages.size(), 1u);
    return bridge.messages.empty() ? "" : bridge.messages.front();
}

}  // namespace korvane::testing
