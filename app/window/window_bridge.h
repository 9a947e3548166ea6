// The window's half of the bridge: showing the canvas, the editor as the
// program's output, the input and message boxes, sleeping, and letting
// window events through during a run so that Halt and the close box work.
#pragma once

#include <QElapsedTimer>

#include "canvas_bridge.h"

class QPlainTextEdit;

namespace korvane {

class CanvasView;
class Dialogs;

class WindowBridge : public CanvasBridge {
public:
    // Events are let through at a poll once this many ms passed since the last time.
    static constexpr qint64 kPollIntervalMs = 30;

    WindowBridge(TXImage3& canvas, CanvasView& view, QPlainTextEdit& editor, Dialogs& dialogs);

    void bridge_message(const char* text) override;
    int bridge_show() override;
    int bridge_poll() override;
    void bridge_output(const char* text) override;
    int32_t bridge_getnum() override;
    int8_t bridge_getche() override;
    void bridge_sleep(int32_t ms) override;

    // Copies the working bitmap to the display picture.
    void showCanvas();
    // Run calls this before each run so the first poll waits its full interval.
    void restartPollClock() { sinceEvents_.start(); }

private:
    void letEventsThrough();

    CanvasView& view_;
    QPlainTextEdit& editor_;
    Dialogs& dialogs_;
    QElapsedTimer sinceEvents_;
};

}  // namespace korvane
