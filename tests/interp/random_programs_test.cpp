// Arbitrary and mutated program texts end in a result or an error report,
// never a crash or a hang (run under the sanitizers in CI).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "random_programs.h"
#include "run_helpers.h"

namespace korvane::testing {
namespace {

TEST(RandomPrograms, EndInAResultOrAnErrorReport) {
    std::mt19937 rng(20261208);
    RecordingBridge bridge;
    bridge.answers.assign(100000, "7");
    Interpreter interp(bridge);
    interp.set_step_limit(20000);
    int errors = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string text = random_program(rng, i);
        bridge.messages.clear();
        const RunResult result = interp.run_text(text);
        ASSERT_GE(result, RUN_OK) << text;
        ASSERT_LE(result, RUN_ABORTED) << text;
        if (result == RUN_ERROR) {
            ++errors;
            ASSERT_EQ(bridge.messages.size(), 1u) << text;
            ASSERT_NE(bridge.messages[0].find(" in line "), std::string::npos) << text;
        }
    }
    EXPECT_GT(errors, 100);  // the mutations really do reach the error paths
}

}  // namespace
}  // namespace korvane::testing
