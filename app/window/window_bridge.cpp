#include "window_bridge.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QThread>

#include "canvas_view.h"
#include "dialogs.h"
#include "input_answers.h"
#include "picture.h"

namespace korvane {

WindowBridge::WindowBridge(TXImage3& canvas, CanvasView& view, QPlainTextEdit& editor,
                           Dialogs& dialogs)
    : CanvasBridge(canvas), view_(view), editor_(editor), dialogs_(dialogs)
{
    sinceEvents_.start();
}

void WindowBridge::bridge_message(const char* text)
{
    dialogs_.message(QString::fromLatin1(text));
}

int WindowBridge::bridge_show()
{
    showCanvas();
    HaltFlag = 0;
    letEventsThrough();
    return HaltFlag;
}

int WindowBridge::bridge_poll()
{
    if (sinceEvents_.elapsed() >= kPollIntervalMs)
        letEventsThrough();
    return HaltFlag != 0 ? POLL_HALT : POLL_GO_ON;
}

void WindowBridge::bridge_output(const char* text)
{
    editor_.appendPlainText(QString::fromLatin1(text));
}

int32_t WindowBridge::bridge_getnum()
{
    const QString answer = dialogs_.askText(QStringLiteral("Input a number:"), QStringLiteral(">"));
    return getnum_answer(answer.toLatin1().toStdString());
}

int8_t WindowBridge::bridge_getche()
{
    const QString answer =
        dialogs_.askText(QStringLiteral("Input a character:"), QStringLiteral(">"));
    return getche_answer(answer.toLatin1().toStdString());
}

void WindowBridge::bridge_sleep(int32_t ms)
{
    // A negative duration would be a near-endless wait for the OS; treat it as none.
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

void WindowBridge::showCanvas()
{
    view_.setPicture(Picture::snapshot(canvas()));
}

void WindowBridge::letEventsThrough()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sinceEvents_.restart();
}

}  // namespace korvane
