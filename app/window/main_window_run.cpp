// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <Qsci/qsciscintilla.h>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <utility>

#include "canvas_view.h"
#include "dialogs.h"
#include "editor_assist.h"
#include "editor_pauses.h"
#include "picture.h"
#include "program_editor.h"
#include "run_outcome.h"
#include "timeline_bar.h"
#include "window_bridge.h"

namespace korvane {

// The program runs on a thread of its own, so the window answers meanwhile;
// what it shows comes back through the bridge's mailbox, its end last.
void MainWindow::runProgram()
{
    // One run at a time: Run is off while one goes on, F5 continues it.
    if (running_)
        return;
    // The interpreter reads the program from xxx.cg; that saves the text
    // only when xxx.cg is the file being edited.
    if (!writeProgram(QString::fromLatin1(kProgramFile)))
        return;
    if (isScratchFile(currentFile_))
        Memo1->setModified(false);
    clear_error_mark(*Memo1);
    output_->clear();
    forgetLastRun();
    setRunning(true);
    bridge_->beginRun();
    prepareExerciseRun();
    interpreter_->set_breakpoints(breakpoint_lines(*Memo1));
    interpreter_->set_pixel_watch(!bridge_->pixelWatches().empty());
    interpreter_->set_start_command(startCommand_);
    setRunStatus(tr("Running"));
    runner_ = QThread::create([this] {
        RunResult result = RUN_ABORTED;
        try {
            result = interpreter_->run_program(kProgramFile);
        } catch (const std::exception& failure) {
            bridge_->bridge_message(failure.what());
        }
        bridge_->mailbox().toWindow([this, result] { finishRun(result); });
    });
    runner_->start();
}

void MainWindow::finishRun(RunResult result)
{
    if (!runner_)
        return;
    runner_->wait();
    delete runner_;
    runner_ = nullptr;
    // Jobs for the run that came after its last poll apply to the next one.
    bridge_->mailbox().serve();
    setRunning(false);
    clear_statement_mark(*Memo1);
    bridge_->endRun(result == RUN_OK);
    setRunStatus(runStatus(result));
    reportRunResult(result);
    timeline_->setTimeline(bridge_->timeline());
    timeline_->show();
    fitCanvasArea();  // the timeline takes its height from the canvas area
    if (result == RUN_END)
        close();
    else
        Memo1->setFocus();  // a run started with the mouse leaves the typing where it was
    emit runFinished();
    if (afterRun_)
        std::exchange(afterRun_, nullptr)();
}

// Every wait of the run ends at a Halt, so its thread ends soon; what it
// queued for the window, its end included, is shown now.
void MainWindow::stopRun()
{
    if (!runner_)
        return;
    haltProgram();
    runner_->wait();
    bridge_->mailbox().drain();
}

bool MainWindow::touchRun(const std::function<void()>& job)
{
    if (running_ && !bridge_->isPaused()) {
        bridge_->mailbox().toRun(job);
        return false;
    }
    job();
    return true;
}

void MainWindow::runOrContinue()
{
    if (running_)
        continueProgram();
    else
        runProgram();
}

void MainWindow::reportRunResult(RunResult result)
{
    switch (result) {
    case RUN_OK:
        bridge_->showCanvas();
        break;
    case RUN_NO_MAIN:
        dialogs_.message(QString::fromLatin1(kNoMainMessage));
        break;
    case RUN_ERROR:
        if (interpreter_->error_line() < 0)
            break;
        {
            const ErrorDetails& details = interpreter_->error_details();
            const QString message = bridge_->lastMessage().trimmed();
            const QString hint = QString::fromStdString(details.hint);
            if (bridge_->HaltFlag != 0)
                mark_halt(*Memo1, interpreter_->error_line(), message, hint);
            else
                mark_error(*Memo1, interpreter_->error_line(), message, hint);
            assist_->underline_error(details.token);
        }
        break;
    default:  // already reported by the interpreter, or `end`
        break;
    }
}

void MainWindow::setRunning(bool running)
{
    running_ = running;
    for (QAction* action : {New1, Open1, Save1, SaveAs1, Undo1, Redo1, Cut1, Paste1, Replace1,
                            ToggleComment1, ChoosePalette1})
        action->setEnabled(!running);
    Recent1->setEnabled(!running);
    examples_->setEnabled(!running);
    Button1->setEnabled(!running);
    Memo1->setReadOnly(running);
}

// At a pause the timeline covers the calls so far; the run goes on from the
// canvas it paused at, which the display shows again.
void MainWindow::pauseChanged(bool paused)
{
    timeline_->setTimeline(paused ? bridge_->timeline() : nullptr);
    timeline_->show();
    fitCanvasArea();
    if (!paused)
        xmg->setPicture(Picture::snapshot(image_));
}

// A pause's timeline and canvas are the window's until the run goes on.
void MainWindow::haltProgram()
{
    stopCheck_ = true;
    if (bridge_->isPaused())
        pauseChanged(false);
    bridge_->halt();
}

void MainWindow::setDrawSpeed(int delayMs)
{
    bridge_->setDrawDelay(delayMs);
}

// How the status line names the end of a run: an error is not a finish.
QString MainWindow::runStatus(RunResult result) const
{
    if (bridge_->HaltFlag != 0)
        return tr("Halted");
    if (result == RUN_ERROR && interpreter_->error_line() >= 0)
        return tr("Stopped at an error in line %1").arg(interpreter_->error_line());
    return tr("Finished");
}

}  // namespace korvane
