// SPDX-License-Identifier: GPL-3.0-or-later
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

ProgramRun::ProgramRun() { interp.set_step_limit(kTestStepLimit); }

RunResult ProgramRun::run(const std::string& text) {
    const std::string program = crlf(text);
    result = interp.run_text(program);
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

void expect_error(const std::string& program, const std::string& message, int line) {
    ProgramRun r;
    EXPECT_EQ(r.run(program), RUN_ERROR) << program;
    EXPECT_EQ(r.bridge.messages, std::vector<std::string>{message + " in line " + std::to_string(line) + "\n"})
        << program;
}

}  // namespace korvane::testing
