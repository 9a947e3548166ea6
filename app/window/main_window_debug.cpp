// SPDX-License-Identifier: GPL-3.0-or-later
// The Debug menu and toolbar: breakpoints, statement steps, run to cursor,
// next drawing call, pixel watches, and what a pause shows (the statement,
// the panels, the status line).
#include "main_window.h"

#include <Qsci/qsciscintilla.h>
#include <QActionGroup>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QToolBar>

#include "canvas_view.h"
#include "dialogs.h"
#include "editor_pauses.h"
#include "inspector_text.h"
#include "pause_panels.h"
#include "program_editor.h"
#include "stop_list.h"
#include "timeline_bar.h"
#include "window_bridge.h"

namespace korvane {

void MainWindow::createDebugMenu()
{
    QMenu* debug = menuBar()->addMenu(tr("&Debug"));
    debug->setObjectName(QStringLiteral("Debug1"));
    QToolBar* bar = addToolBar(tr("Debug"));
    bar->setObjectName(QStringLiteral("DebugBar"));
    const auto add = [&](const QString& text, QKeySequence keys, void (MainWindow::*slot)()) {
        QAction* action = debug->addAction(text);
        action->setShortcut(keys);
        bar->addAction(action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    // F5 runs, or continues at a pause, as debuggers have it.
    QAction* run = debug->addAction(tr("&Run"));
    run->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_R), QKeySequence(Qt::Key_F5)});
    connect(run, &QAction::triggered, this, &MainWindow::runOrContinue);
    add(tr("&Continue"), QKeySequence(), &MainWindow::continueProgram);
    add(tr("Step &Over"), Qt::Key_F10, &MainWindow::stepOver);
    add(tr("Step &Into"), Qt::Key_F11, &MainWindow::stepInto);
    add(tr("Step O&ut"), QKeySequence(Qt::SHIFT | Qt::Key_F11), &MainWindow::stepOut);
    add(tr("Run to C&ursor"), QKeySequence(Qt::CTRL | Qt::Key_F10), &MainWindow::runToCursor);
    add(tr("&Next Drawing Call"), Qt::Key_F8, &MainWindow::stepProgram);
    add(tr("&Halt"), QKeySequence(), &MainWindow::haltProgram);
    debug->addSeparator();
    QAction* toggle = debug->addAction(tr("Toggle &Breakpoint"));
    toggle->setShortcut(Qt::Key_F9);
    connect(toggle, &QAction::triggered, this, &MainWindow::toggleBreakpoint);
    QAction* watch = debug->addAction(tr("&Watch Pixel…"));
    connect(watch, &QAction::triggered, this, &MainWindow::askPixelWatch);
    QAction* unwatch = debug->addAction(tr("Clear Pixel &Watches"));
    connect(unwatch, &QAction::triggered, this,
            [this] { changeWatches([](PixelWatches& watches) { watches = PixelWatches(); }); });
    connect(stops_, &StopList::breakpointRemoved, this, [this](int line) {
        toggle_breakpoint(*Memo1, line);
        breakpointsChanged();
    });
    connect(stops_, &StopList::watchRemoved, this, [this](int x, int y) {
        changeWatches([x, y](PixelWatches& watches) { watches.remove(x, y); });
    });
    debug->addSeparator();
    createSpeedMenu(*debug);

    // Triggered, not toggled: unchecking it after a cancelled dialog must
    // not count as a stop.
    RecordGif1 = debug->addAction(tr("&Record GIF…"));
    RecordGif1->setCheckable(true);
    connect(RecordGif1, &QAction::triggered, this, &MainWindow::recordGif);
}

void MainWindow::createSpeedMenu(QMenu& debug)
{
    QMenu* speed = debug.addMenu(tr("S&peed"));
    auto* speeds = new QActionGroup(speed);
    for (int delay : kDrawDelaysMs) {
        const QString text =
            delay == 0 ? tr("Full speed") : tr("%1 drawing calls a second").arg(1000 / delay);
        QAction* choice = speed->addAction(delay == 1000 ? tr("1 drawing call a second") : text);
        choice->setCheckable(true);
        choice->setChecked(delay == 0);
        speeds->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, delay] { setDrawSpeed(delay); });
    }
}

// Idle, a command starts a run that follows it from the start; paused, it
// ends the pause; running, it applies from the next statement or call.
void MainWindow::debugCommand(PauseCommand command)
{
    if (!running_) {
        startCommand_ = command;
        runProgram();
        startCommand_ = {};
        return;
    }
    if (bridge_->isPaused()) {
        pauseChanged(false);
        clear_statement_mark(*Memo1);
        setRunStatus(tr("Running"));
        bridge_->answerPause(command);
        return;
    }
    touchRun([this, command] { interpreter_->request(command); });
}

void MainWindow::continueProgram()
{
    debugCommand({PauseCommand::CONTINUE});
}

void MainWindow::stepOver()
{
    debugCommand({PauseCommand::STEP_OVER});
}

void MainWindow::stepInto()
{
    debugCommand({PauseCommand::STEP_INTO});
}

void MainWindow::stepOut()
{
    debugCommand({PauseCommand::STEP_OUT});
}

void MainWindow::runToCursor()
{
    int line = 0, index = 0;
    Memo1->getCursorPosition(&line, &index);
    debugCommand({PauseCommand::RUN_TO_LINE, line});
}

// Next Drawing Call: before a run, starts one that pauses at its first drawing call.
void MainWindow::stepProgram()
{
    debugCommand({PauseCommand::NEXT_DRAWING_CALL});
}

void MainWindow::toggleBreakpoint()
{
    int line = 0, index = 0;
    Memo1->getCursorPosition(&line, &index);
    toggle_breakpoint(*Memo1, line);
    breakpointsChanged();
}

void MainWindow::breakpointsChanged()
{
    if (running_)
        touchRun(
            [this, lines = breakpoint_lines(*Memo1)] { interpreter_->set_breakpoints(lines); });
    listStops();
}

// A watch takes the colour its pixel has in the working bitmap, so a run
// going on makes the change itself and has the list shown again.
void MainWindow::changeWatches(const std::function<void(PixelWatches&)>& change)
{
    const bool now = touchRun([this, change] {
        bridge_->editWatches(change);
        interpreter_->set_pixel_watch(!bridge_->pixelWatches().empty());
        bridge_->mailbox().toWindow([this] { listStops(); });
    });
    if (now)
        listStops();
}

void MainWindow::listStops()
{
    stops_->show(breakpoint_lines(*Memo1), bridge_->pixelWatches().all());
}

// Breakpoints are kept per file for the session: those of the text shown
// are put away before another text replaces it.
void MainWindow::keepBreakpoints()
{
    breakpointsByFile_[currentFile_] = breakpoint_lines(*Memo1);
}

void MainWindow::restoreBreakpoints(const QString& path)
{
    const auto kept = breakpointsByFile_.find(path);
    set_breakpoint_lines(*Memo1,
                         kept == breakpointsByFile_.end() ? std::vector<int>() : kept->second);
    listStops();
}

void MainWindow::askPixelWatch()
{
    const QString answer =
        dialogs_.askText(tr("Watch Pixel"), tr("Pause when this pixel changes (x, y):"), QString());
    const QStringList parts =
        answer.split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts);
    bool xOk = false, yOk = false;
    const int x = parts.size() == 2 ? parts[0].toInt(&xOk) : -1;
    const int y = parts.size() == 2 ? parts[1].toInt(&yOk) : -1;
    if (answer.trimmed().isEmpty())
        return;
    const Picture& canvas = xmg->picture();
    if (!xOk || !yOk || x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) {
        dialogs_.message(
            tr("Not a pixel of the canvas: %1\nGive x and y from 0 to 399, as in 120, 45.")
                .arg(answer));
        return;
    }
    changeWatches([this, x, y](PixelWatches& watches) { watches.add(image_, x, y); });
    stops_->dock()->show();
}

// The canvas's context menu, at the pixel under the mouse or the cursor;
// position is in the view's own pixels, the zoom included.
void MainWindow::canvasMenu(QPoint position)
{
    const Picture& display = xmg->picture();
    const QPoint pixel(position.x() / xmg->zoom(), position.y() / xmg->zoom());
    if (!QRect(0, 0, display.width, display.height).contains(pixel))
        return;
    const QPoint p = program_point(display, pixel);
    const PixelWatches watches = bridge_->pixelWatches();
    QMenu menu(this);
    QAction* watch = menu.addAction(tr("Pause when this pixel changes"));
    watch->setCheckable(true);
    watch->setChecked(watches.contains(p.x(), p.y()));
    if (menu.exec(xmg->mapToGlobal(position)) != watch)
        return;
    const bool on = watch->isChecked();
    changeWatches([this, on, p](PixelWatches& changed) {
        if (on)
            changed.add(image_, p.x(), p.y());
        else
            changed.remove(p.x(), p.y());
    });
    if (watch->isChecked())
        stops_->dock()->show();
}

void MainWindow::showPause(const PauseSnapshot& at)
{
    mark_statement(*Memo1, at.range);
    panels_->showPause(at);
    pauseChanged(true);
    QString reason = QLatin1String(pause_reason_name(at.reason));
    if (at.reason == PauseReason::PIXEL) {
        QStringList pixels;
        for (const PixelWatches::Watch& w : bridge_->changedWatches())
            pixels << QStringLiteral("%1, %2").arg(w.x).arg(w.y);
        reason = tr("pixel %1").arg(pixels.join(tr(" and ")));
    }
    setRunStatus(tr("Paused at line %1 (%2)").arg(at.line).arg(reason));
}

void MainWindow::forgetLastRun()
{
    panels_->clear();
    timeline_->setTimeline(nullptr);
    timeline_->history()->hide();
    bridge_->forgetRun();
    Status1->clear();
    if (runStatus_)
        runStatus_->clear();
}

void MainWindow::setRunStatus(const QString& text)
{
    if (!runStatus_) {
        runStatus_ = new QLabel(this);
        runStatus_->setObjectName(QStringLiteral("RunStatus"));
        statusBar()->addWidget(runStatus_);
    }
    runStatus_->setText(text);
}

}  // namespace korvane
