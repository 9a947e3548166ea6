// SPDX-License-Identifier: GPL-3.0-or-later
// The window's half of the bridge. The program runs on a thread of its
// own: what it shows (the canvas at each show, what it prints, its boxes
// and pauses) goes to the window through a RunMailbox, and it waits there
// for the answers, while Halt and the close box reach it at every poll,
// drawing call and wait. Below full speed it also stops before every
// drawing built-in: it shows the canvas, marks the calling line and waits.
// At a pause of the run (breakpoint, step, next drawing call, watched
// pixel) it shows the canvas, hands the snapshot to the window and waits
// for the next command; while it waits the window may read the canvas, the
// timeline and the origins, as it may between runs. While recording, each
// of these shows is a frame of an animated GIF.
#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "canvas_bridge.h"
#include "gif_recording.h"
#include "input_answers.h"
#include "pause_host.h"
#include "pixel_watches.h"
#include "run_mailbox.h"

class QObject;
class QPlainTextEdit;
class QsciScintilla;

namespace korvane {

class CanvasView;
class Dialogs;

class WindowBridge : public CanvasBridge, public PauseHost {
public:
    // Jobs for the window run in the thread of context.
    WindowBridge(TXImage3& canvas, CanvasView& view, QsciScintilla& editor, QPlainTextEdit& output,
                 Dialogs& dialogs, QObject& context);

    // Called on the run's thread.
    void bridge_message(const char* text) override;
    int bridge_show() override;
    int bridge_poll() override;
    void bridge_output(const char* text) override;
    int32_t bridge_getnum() override;
    int8_t bridge_getche() override;
    void bridge_sleep(int32_t ms) override;
    bool bridge_traces_drawing() const override;
    int bridge_before_draw(int32_t line, const char* builtin) override;
    PauseCommand pause(const PauseSnapshot& at) override;
    bool watched_pixel_changed() override;

    // The rest on the window's thread. The canvas, the timeline, the
    // origins and the interpreter are the window's only while no run goes
    // on or the run is paused; otherwise a job for the run touches them.
    RunMailbox& mailbox() { return mail_; }
    // Copies the working bitmap to the display picture.
    void showCanvas();
    // Run calls this before each run.
    void beginRun();
    // Forgets the last run's pixel origins and timeline, as New and Open do.
    void forgetRun() { begin_run(); }
    // And this after it: shows what the last traced call drew, drops the line
    // mark, and gives a recording the final canvas if the window shows it.
    // finished: the run reached its end, so the window shows its canvas.
    void endRun(bool finished);

    // From now on, also across runs, every show and every stop before a
    // drawing call becomes a frame of a GIF at path; false with the reason
    // if the file cannot be created.
    bool startRecording(const std::string& path, std::string& error);
    bool isRecording();
    // Ends the file with the frames so far, also in the middle of a run;
    // false with the reason if it could not be written.
    bool stopRecording(std::string& error);

    // Wait before each drawing call in ms; 0 is full speed, nothing waits.
    void setDrawDelay(int ms);
    int drawDelay() const { return drawDelay_; }
    // Called at each pause, after the canvas is shown and before the wait.
    void onPause(std::function<void(const PauseSnapshot&)> shown) { onPause_ = std::move(shown); }
    // Ends a pause with this command.
    void answerPause(PauseCommand command);
    // A copy of the watched pixels, and a change of them; change them only
    // where the canvas may be read (see above), as a watch takes its colour.
    PixelWatches pixelWatches() const;
    void editWatches(const std::function<void(PixelWatches&)>& edit);
    // The watched pixels whose change caused the last pause.
    const std::vector<PixelWatches::Watch>& changedWatches() const { return changedWatches_; }
    // Halt and the close box: stops the run, also from a pause or a wait.
    void halt();
    bool isPaused() const { return pauseReply_ != nullptr; }
    // Answers for the input boxes, one a line, as an exercise's check gives
    // them; past the last one (or with none) the boxes ask again.
    void setAnswers(std::optional<std::string> answers);
    // The text of the last message box the program caused.
    const QString& lastMessage() const { return lastMessage_; }

private:
    // Shows the canvas as a show or a stop does, and records it.
    Picture recordFrame();
    // Asks in an input box on the window's thread. A Halt meanwhile stops
    // the run before the input built-in: the program never sees an answer
    // nobody gave.
    QString ask(InputKind kind);
    // The next given answer without its line end; none when all are used.
    std::optional<std::string> nextAnswer();
    // Notes a Halt the window asked for, so the run reports it.
    bool halted();

    CanvasView& view_;
    QsciScintilla& editor_;
    QPlainTextEdit& output_;
    QString lastMessage_;
    Dialogs& dialogs_;
    RunMailbox mail_;
    std::atomic<int> drawDelay_ = 0;
    std::shared_ptr<RunMailbox::Reply> pauseReply_;  // the pause the window shows
    std::function<void(const PauseSnapshot&)> onPause_;
    mutable std::mutex watchMutex_;
    PixelWatches watches_;
    std::vector<PixelWatches::Watch> changedWatches_;
    bool tracedThisRun_ = false;  // a drawing call was shown and waited for
    std::mutex gifMutex_;
    GifRecording gif_;
    std::optional<std::string> answers_;
    size_t answersRead_ = 0;  // bytes of answers_ used so far
};

}  // namespace korvane
