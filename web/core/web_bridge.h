// SPDX-License-Identifier: GPL-3.0-or-later
// The page's bridge, the browser's twin of the runner's headless bridge: the
// canvas half is the desktop's own; output, messages, input, show, sleep
// and Halt go to the worker.
#pragma once

#include "canvas_bridge.h"

namespace korvane {

class WebBridge : public CanvasBridge {
public:
    explicit WebBridge(TXImage3& canvas);

    // While on, the worker is asked before every drawing built-in, so it can
    // slow the run down or stop it for a step.
    void set_trace(bool on) { trace_ = on; }

    bool bridge_traces_drawing() const override { return trace_ || CanvasBridge::bridge_traces_drawing(); }
    int bridge_before_draw(int32_t line, const char* builtin) override;

    int bridge_poll() override;
    void bridge_message(const char* text) override;
    int bridge_show() override;
    void bridge_output(const char* text) override;
    int32_t bridge_getnum() override;
    int8_t bridge_getche() override;
    void bridge_sleep(int32_t ms) override;

private:
    const uint8_t* pixels() { return canvas().bits(0); }

    bool trace_ = false;
};

}  // namespace korvane
