#include "web_bridge.h"

#include "host.h"
#include "input_answers.h"

namespace korvane {

namespace {
constexpr int kGetnum = 0;
constexpr int kGetche = 1;
}  // namespace

WebBridge::WebBridge(TXImage3& canvas) : CanvasBridge(canvas) {}

int WebBridge::bridge_before_draw(int32_t line, const char* builtin) {
    CanvasBridge::bridge_before_draw(line, builtin);
    return trace_ ? host::before_draw(line, builtin, pixels()) : 0;
}

// Halt is seen here too, so a program that never shows can still be stopped.
int WebBridge::bridge_poll() { return host::poll() ? POLL_HALT : POLL_GO_ON; }

void WebBridge::bridge_message(const char* text) { host::message(text); }

int WebBridge::bridge_show() {
    HaltFlag = 0;
    HaltFlag = host::show(pixels());
    return HaltFlag;
}

void WebBridge::bridge_output(const char* text) { host::output(text); }

int32_t WebBridge::bridge_getnum() { return getnum_answer(host::answer(kGetnum)); }

int8_t WebBridge::bridge_getche() { return getche_answer(host::answer(kGetche)); }

void WebBridge::bridge_sleep(int32_t ms) {
    // A negative duration counts as no wait, as in the runner.
    if (ms > 0) host::sleep(ms);
}

}  // namespace korvane
