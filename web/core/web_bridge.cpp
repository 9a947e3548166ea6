// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_bridge.h"

#include <array>
#include <string>

#include "host.h"
#include "input_answers.h"

namespace korvane {

namespace {

// The answer to the input box of kind. An answer is one line; a longer one
// is cut, not overrun. A worker without shared memory has none yet the
// first time it is asked: the run waits, and asks again on resume.
std::string answer(InputKind kind) {
    std::array<char, 4096> buffer{};
    const int n = host_answer(kind, buffer.data(), static_cast<int>(buffer.size()));
    if (n < 0) throw InputWaits{};
    return std::string(buffer.data(), n <= static_cast<int>(buffer.size()) ? n : 0);
}

}  // namespace

WebBridge::WebBridge(TXImage3& canvas) : CanvasBridge(canvas) {}

int WebBridge::bridge_before_draw(int32_t line, const char* builtin) {
    CanvasBridge::bridge_before_draw(line, builtin);
    return trace_ ? host_before_draw(line, builtin, pixels()) : 0;
}

// Halt is seen here too, so a program that never shows can still be stopped;
// a worker without shared memory gets its thread back here between slices.
int WebBridge::bridge_poll() {
    const int poll = host_poll();
    if (poll == POLL_YIELD) return POLL_YIELD;
    return poll != 0 ? POLL_HALT : POLL_GO_ON;
}

void WebBridge::bridge_message(const char* text) { host_message(text); }

int WebBridge::bridge_show() {
    note_show();
    HaltFlag = 0;
    HaltFlag = host_show(pixels());
    return HaltFlag;
}

void WebBridge::bridge_output(const char* text) { host_output(text); }

int32_t WebBridge::bridge_getnum() { return getnum_answer(answer(INPUT_NUMBER)); }

int8_t WebBridge::bridge_getche() { return getche_answer(answer(INPUT_CHARACTER)); }

void WebBridge::bridge_sleep(int32_t ms) {
    // A negative duration counts as no wait, as in the runner.
    if (ms > 0) host_sleep(ms);
}

}  // namespace korvane
