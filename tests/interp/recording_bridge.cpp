// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_bridge.h"

#include <cstdlib>

namespace korvane::testing {

void RecordingBridge::record(const char* name, std::vector<int32_t> values, const char* text) {
    std::string call = std::string(name) + "(";
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) call += ",";
        call += std::to_string(values[i]);
    }
    if (text != nullptr) call += std::string(values.empty() ? "" : ",") + "\"" + text + "\"";
    calls.push_back(call + ")");
}

std::string RecordingBridge::next_answer() {
    if (answers.empty()) return "";
    std::string a = answers.front();
    answers.pop_front();
    return a;
}

int32_t RecordingBridge::bridge_getnum() {
    const std::string a = next_answer();
    if (a.empty()) return 0;
    char* end = nullptr;
    const long v = std::strtol(a.c_str(), &end, 10);
    if (*end != '\0') throw InputRejected("'" + a + "' is not a valid integer value");
    return static_cast<int32_t>(v);
}

int8_t RecordingBridge::bridge_getche() {
    const std::string a = next_answer();
    return a.empty() ? 0 : static_cast<int8_t>(a[0]);
}

}  // namespace korvane::testing
