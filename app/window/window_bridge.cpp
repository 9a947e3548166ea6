// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_bridge.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QThread>
#include <QTimer>
#include <algorithm>

#include "canvas_view.h"
#include "dialogs.h"
#include "input_answers.h"
#include "picture.h"
#include "pixel_model.h"
#include "program_editor.h"

namespace korvane {

WindowBridge::WindowBridge(TXImage3& canvas, CanvasView& view, QsciScintilla& editor,
                           QPlainTextEdit& output, Dialogs& dialogs)
    : CanvasBridge(canvas), view_(view), editor_(editor), output_(output), dialogs_(dialogs)
{
    sinceEvents_.start();
}

void WindowBridge::bridge_message(const char* text)
{
    lastMessage_ = QString::fromUtf8(text);
    // The report of a Halt is news, not a fault of the program.
    if (HaltFlag != 0)
        dialogs_.note(lastMessage_);
    else
        dialogs_.message(lastMessage_);
}

int WindowBridge::bridge_show()
{
    note_show();
    showFrame();
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
    // Each piece of output is a line of its own, kept in view as it comes.
    output_.appendPlainText(QString::fromUtf8(text));
}

void WindowBridge::setAnswers(std::optional<std::string> answers)
{
    answers_ = std::move(answers);
    answersRead_ = 0;
}

std::optional<std::string> WindowBridge::nextAnswer()
{
    if (!answers_ || answersRead_ >= answers_->size())
        return std::nullopt;
    const size_t end = std::min(answers_->find('\n', answersRead_), answers_->size());
    std::string line = answers_->substr(answersRead_, end - answersRead_);
    answersRead_ = end + 1;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

int32_t WindowBridge::bridge_getnum()
{
    if (const auto given = nextAnswer())
        return getnum_answer(*given);
    const QString answer = dialogs_.askText(QString::fromLatin1(input_caption(INPUT_NUMBER)),
                                            QString::fromLatin1(kInputPrompt), QString());
    return getnum_answer(answer.toLatin1().toStdString());
}

int8_t WindowBridge::bridge_getche()
{
    if (const auto given = nextAnswer())
        return getche_answer(*given);
    const QString answer = dialogs_.askText(QString::fromLatin1(input_caption(INPUT_CHARACTER)),
                                            QString::fromLatin1(kInputPrompt), QString());
    return getche_answer(answer.toUtf8().toStdString());
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

void WindowBridge::showFrame()
{
    const Picture picture = Picture::snapshot(canvas());
    gif_.show(picture, GifRecording::Clock::now());
    view_.setPicture(picture);
}

bool WindowBridge::bridge_traces_drawing() const
{
    return CanvasBridge::bridge_traces_drawing() || drawDelay_ > 0;
}

// The call itself follows this one, so what the canvas shows here is the
// previous call's work; endRun shows the last call's.
int WindowBridge::bridge_before_draw(int32_t line, const char* builtin)
{
    if (CanvasBridge::bridge_before_draw(line, builtin) != 0)
        return 1;
    if (drawDelay_ <= 0)
        return 0;
    tracedThisRun_ = true;
    showFrame();
    mark_drawing_line(editor_, line);
    wait(drawDelay_);
    return HaltFlag != 0 ? 1 : 0;
}

// A pause before a drawing call shows what the calls before it drew, as a
// stop in slow motion does.
PauseCommand WindowBridge::pause(const PauseSnapshot& at)
{
    tracedThisRun_ = true;
    showFrame();
    mark_drawing_line(editor_, at.line);
    if (onPause_)
        onPause_(at);
    answer_.reset();
    paused_ = true;
    while (!answer_ && HaltFlag == 0)
        wait(-1);
    paused_ = false;
    if (HaltFlag != 0)
        return {PauseCommand::HALT};
    return *answer_;
}

bool WindowBridge::watched_pixel_changed()
{
    // The watches take their new colours in changed(): which ones moved is noted first.
    changedWatches_.clear();
    const RowTable rows = canvas().rows(0);
    for (const PixelWatches::Watch& w : watches_.all())
        if (rows.row != nullptr && w.x < rows.width && w.y < rows.height &&
            rows.row[w.y][w.x] != w.index)
            changedWatches_.push_back(w);
    return watches_.changed(canvas());
}

void WindowBridge::answerPause(PauseCommand command)
{
    answer_ = command;
    wake();
}

void WindowBridge::beginRun()
{
    watches_.look(canvas());
    tracedThisRun_ = false;
    begin_run();           // forgets the pixel origins of earlier runs
    sinceEvents_.start();  // the first poll waits its full interval
}

void WindowBridge::endRun(bool finished)
{
    // A recording holds what the window showed: the final canvas only when
    // the window shows it, not the half-drawn one of an error or a halt.
    if (gif_.active()) {
        const auto now = GifRecording::Clock::now();
        if (finished || tracedThisRun_)
            gif_.end_run(Picture::snapshot(canvas()), now);
        else
            gif_.flush(now);
    }
    if (!tracedThisRun_)
        return;
    tracedThisRun_ = false;
    showCanvas();
    mark_drawing_line(editor_, -1);
}

bool WindowBridge::startRecording(const std::string& path, std::string& error)
{
    return gif_.start(path, error);
}

bool WindowBridge::stopRecording(std::string& error)
{
    return gif_.finish(GifRecording::Clock::now(), error);
}

void WindowBridge::setDrawDelay(int ms)
{
    drawDelay_ = ms > 0 ? ms : 0;
    if (!paused_)
        wake();  // a long wait for the old speed would hold up the new one
}

void WindowBridge::halt()
{
    HaltFlag = 1;
    wake();
}

void WindowBridge::wait(int ms)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (ms >= 0)
        timer.start(ms);
    waiting_ = &loop;
    if (HaltFlag == 0)
        loop.exec();
    waiting_ = nullptr;
    sinceEvents_.restart();
}

void WindowBridge::wake()
{
    if (waiting_)
        waiting_->quit();
}

void WindowBridge::letEventsThrough()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sinceEvents_.restart();
}

}  // namespace korvane
