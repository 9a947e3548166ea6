// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_bridge.h"

#include <QPlainTextEdit>
#include <algorithm>

#include "canvas_view.h"
#include "dialogs.h"
#include "picture.h"
#include "pixel_model.h"
#include "program_editor.h"

namespace korvane {

WindowBridge::WindowBridge(TXImage3& canvas, CanvasView& view, QsciScintilla& editor,
                           QPlainTextEdit& output, Dialogs& dialogs, QObject& context)
    : CanvasBridge(canvas),
      view_(view),
      editor_(editor),
      output_(output),
      dialogs_(dialogs),
      mail_(
          context, [this](const Picture& picture) { view_.setPicture(picture); },
          [this](const QString& lines) { output_.appendPlainText(lines); })
{
}

bool WindowBridge::halted()
{
    if (mail_.halted())
        HaltFlag = 1;
    return HaltFlag != 0;
}

// The run waits until the box is dismissed, as the message ends it.
void WindowBridge::bridge_message(const char* text)
{
    lastMessage_ = QString::fromUtf8(text);
    // The report of a Halt is news, not a fault of the program.
    const bool news = halted();
    auto reply = std::make_shared<RunMailbox::Reply>();
    mail_.toWindow([this, text = lastMessage_, news, reply] {
        if (news)
            dialogs_.note(text);
        else
            dialogs_.message(text);
        mail_.give(reply, [](RunMailbox::Reply&) {});
    });
    mail_.await(reply, true);
}

int WindowBridge::bridge_show()
{
    note_show();
    mail_.frame(recordFrame());
    mail_.serve();
    return halted() ? 1 : 0;
}

int WindowBridge::bridge_poll()
{
    mail_.serve();
    return halted() ? POLL_HALT : POLL_GO_ON;
}

void WindowBridge::bridge_output(const char* text)
{
    // Each piece of output is a line of its own, kept in view as it comes.
    mail_.output(QString::fromUtf8(text));
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

// A box for a run halted meanwhile would ask for nothing.
QString WindowBridge::ask(InputKind kind)
{
    auto reply = std::make_shared<RunMailbox::Reply>();
    mail_.toWindow([this, kind, reply] {
        if (mail_.halted())
            return;
        QString answer;
        if (!dialogs_.askInput(QString::fromLatin1(input_caption(kind)),
                               QString::fromLatin1(kInputPrompt), answer)) {
            halt();
            return;
        }
        mail_.give(reply, [&](RunMailbox::Reply& r) { r.text = answer; });
    });
    if (!mail_.await(reply, true)) {
        halted();
        throw InputWaits{};
    }
    return reply->text;
}

int32_t WindowBridge::bridge_getnum()
{
    if (const auto given = nextAnswer())
        return getnum_answer(*given);
    return getnum_answer(ask(INPUT_NUMBER).toLatin1().toStdString());
}

int8_t WindowBridge::bridge_getche()
{
    if (const auto given = nextAnswer())
        return getche_answer(*given);
    return getche_answer(ask(INPUT_CHARACTER).toUtf8().toStdString());
}

// Halt ends a sleep at once.
void WindowBridge::bridge_sleep(int32_t ms)
{
    // A negative duration would be a near-endless wait; treat it as none.
    if (ms > 0)
        mail_.sleep(ms, mail_.wakes());
}

// The window is handed a copy: it never reads the bitmap the run writes.
void WindowBridge::showCanvas()
{
    view_.setPicture(Picture::snapshot(canvas()));
}

Picture WindowBridge::recordFrame()
{
    Picture picture = Picture::snapshot(canvas());
    std::lock_guard lock(gifMutex_);
    gif_.show(picture, GifRecording::Clock::now());
    return picture;
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
    mail_.serve();
    const int delay = drawDelay_;
    if (delay > 0 && !halted()) {
        tracedThisRun_ = true;
        // A new speed chosen once the call is shown ends this wait too.
        const uint64_t since = mail_.wakes();
        mail_.toWindow([this, picture = recordFrame(), line] {
            view_.setPicture(picture);
            mark_drawing_line(editor_, line);
        });
        mail_.sleep(delay, since);
    }
    return halted() ? 1 : 0;
}

// A pause before a drawing call shows what the calls before it drew, as a
// stop in slow motion does. While the window shows the pause, the run
// touches nothing: the window reads the canvas, timeline and origins.
PauseCommand WindowBridge::pause(const PauseSnapshot& at)
{
    tracedThisRun_ = true;
    auto reply = std::make_shared<RunMailbox::Reply>();
    mail_.toWindow([this, picture = recordFrame(), at, reply] {
        if (mail_.halted())
            return;
        view_.setPicture(picture);
        mark_drawing_line(editor_, at.line);
        pauseReply_ = reply;
        if (onPause_)
            onPause_(at);
    });
    if (!mail_.await(reply, false) || halted())
        return {PauseCommand::HALT};
    return reply->command;
}

bool WindowBridge::watched_pixel_changed()
{
    // The watches take their new colours in changed(): which ones moved is noted first.
    std::lock_guard lock(watchMutex_);
    changedWatches_.clear();
    const RowTable rows = canvas().rows(0);
    for (const PixelWatches::Watch& w : watches_.all())
        if (rows.row != nullptr && w.x < rows.width && w.y < rows.height &&
            rows.row[w.y][w.x] != w.index)
            changedWatches_.push_back(w);
    return watches_.changed(canvas());
}

PixelWatches WindowBridge::pixelWatches() const
{
    std::lock_guard lock(watchMutex_);
    return watches_;
}

void WindowBridge::editWatches(const std::function<void(PixelWatches&)>& edit)
{
    std::lock_guard lock(watchMutex_);
    edit(watches_);
}

void WindowBridge::answerPause(PauseCommand command)
{
    if (!pauseReply_)
        return;
    mail_.give(pauseReply_, [&](RunMailbox::Reply& r) { r.command = command; });
    pauseReply_.reset();
}

void WindowBridge::beginRun()
{
    mail_.reset();
    HaltFlag = 0;
    editWatches([this](PixelWatches& watches) { watches.look(canvas()); });
    tracedThisRun_ = false;
    begin_run();  // forgets the pixel origins of earlier runs
}

void WindowBridge::endRun(bool finished)
{
    pauseReply_.reset();
    // A recording holds what the window showed: the final canvas only when
    // the window shows it, not the half-drawn one of an error or a halt.
    {
        std::lock_guard lock(gifMutex_);
        if (gif_.active()) {
            const auto now = GifRecording::Clock::now();
            if (finished || tracedThisRun_)
                gif_.end_run(Picture::snapshot(canvas()), now);
            else
                gif_.flush(now);
        }
    }
    if (!tracedThisRun_)
        return;
    tracedThisRun_ = false;
    showCanvas();
    mark_drawing_line(editor_, -1);
}

bool WindowBridge::startRecording(const std::string& path, std::string& error)
{
    std::lock_guard lock(gifMutex_);
    return gif_.start(path, error);
}

bool WindowBridge::isRecording()
{
    std::lock_guard lock(gifMutex_);
    return gif_.active();
}

bool WindowBridge::stopRecording(std::string& error)
{
    std::lock_guard lock(gifMutex_);
    return gif_.finish(GifRecording::Clock::now(), error);
}

void WindowBridge::setDrawDelay(int ms)
{
    drawDelay_ = ms > 0 ? ms : 0;
    mail_.wake();  // a long wait for the old speed would hold up the new one
}

void WindowBridge::halt()
{
    pauseReply_.reset();
    mail_.halt();
}

}  // namespace korvane
