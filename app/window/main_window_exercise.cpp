// SPDX-License-Identifier: GPL-3.0-or-later
// File > Open Exercise, Check, and the way from a check to the timeline.
#include "main_window.h"

#include <Qsci/qsciscintilla.h>
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QThread>
#include <QToolBar>
#include <utility>

#include "canvas_view.h"
#include "dialogs.h"
#include "exercise_pane.h"
#include "program_editor.h"
#include "program_file.h"
#include "timeline_bar.h"
#include "verdict.h"
#include "window_bridge.h"
#include "zip_folder.h"

namespace korvane {

namespace {

// A zip holds the exercise's files, or one folder that holds them.
QString exerciseFolderIn(const QString& unpacked)
{
    const QDir top(unpacked);
    const QStringList folders = top.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (!top.exists(QStringLiteral("exercise.json")) && folders.size() == 1)
        return top.filePath(folders.first());
    return unpacked;
}

// The unsaved program's name: the submission's file name, or the title's.
QString programNameOf(const exercise::Exercise& e)
{
    if (!e.file.empty())
        return QString::fromStdString(e.file);
    return QString::fromStdString(e.title) + QStringLiteral(".cg");
}

// The check whose answers and seed Run uses: the first a student sees.
size_t firstShownCheck(const exercise::Exercise& e)
{
    const std::vector<size_t> shown = exercise::shown_checks(e, exercise::Moment::BEFORE_DUE_DATE);
    return shown.empty() ? 0 : shown.front();
}

}  // namespace

// Check has its key, a button on a bar of its own and the docks' entries.
void MainWindow::createExerciseMenu()
{
    QMenu* menu = menuBar()->addMenu(tr("E&xercise"));
    menu->setObjectName(QStringLiteral("Exercise1"));
    Check1 = menu->addAction(tr("&Check"));
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setShortcut(Qt::Key_F7);
    Check1->setToolTip(tr("Check the program against the exercise (F7)"));
    Check1->setEnabled(false);
    connect(Check1, &QAction::triggered, this, &MainWindow::checkExercise);
    closeExercise_ = menu->addAction(tr("C&lose Exercise"));
    closeExercise_->setObjectName(QStringLiteral("CloseExercise"));
    closeExercise_->setEnabled(false);
    connect(closeExercise_, &QAction::triggered, this, &MainWindow::closeExercise);
    menu->addSeparator();
    exercisePane_->addToMenu(*menu);
    QToolBar* bar = addToolBar(tr("Exercise"));
    bar->setObjectName(QStringLiteral("ExerciseBar"));
    bar->addAction(Check1);
    connect(exercisePane_, &ExercisePane::pictureChosen, xmg, &CanvasView::setPicture);
    connect(exercisePane_, &ExercisePane::timelineAsked, this, &MainWindow::showCheckInTimeline);
}

void MainWindow::openExercise()
{
    if (running_ || isChecking() || !maybeSave())
        return;
    const QString chosen = dialogs_.openFileName(
        tr("Open Exercise"), tr("Exercises (exercise.json *.zip);;All files (*)"), exerciseName_);
    if (!chosen.isEmpty())
        loadExercise(chosen);
}

// chosen: an exercise folder, a file in it (exercise.json) or a zip of one.
bool MainWindow::loadExercise(const QString& chosen)
{
    exerciseName_ = chosen;
    const QFileInfo info(chosen);
    QString folder = info.isDir() ? chosen : info.path();
    auto unpacked = std::make_unique<QTemporaryDir>();
    const bool zip =
        info.isFile() && info.suffix().compare(QLatin1String("zip"), Qt::CaseInsensitive) == 0;
    if (zip) {
        QString error;
        if (!unpacked->isValid() || !unzip_folder(chosen, unpacked->path(), error)) {
            dialogs_.message(error.isEmpty() ? unpacked->errorString() : error);
            return false;
        }
        folder = exerciseFolderIn(unpacked->path());
    }
    auto loaded = std::make_shared<exercise::Exercise>();
    std::string error;
    QString starter;
    if (!exercise::load_exercise(QFile::encodeName(folder).toStdString(), *loaded, error)) {
        // A zip's files are named by the archive, not by the temporary folder.
        QString text = QString::fromStdString(error);
        if (zip)
            text.replace(folder + QLatin1Char('/'),
                         QDir::toNativeSeparators(chosen) + QStringLiteral(": "));
        dialogs_.message(text);
        return false;
    }
    QString problem;
    if (!loaded->starter.empty() &&
        !read_program_text(QString::fromStdString(loaded->path(loaded->starter)), starter,
                           problem)) {
        dialogs_.message(problem);
        return false;
    }
    exercise_ = std::move(loaded);
    exerciseFolder_ = zip ? std::move(unpacked) : nullptr;
    startExercise(starter);
    return true;
}

// The starter is a new program: Save asks where to keep the student's work.
void MainWindow::startExercise(const QString& starter)
{
    runCheck_ = firstShownCheck(*exercise_);
    keepBreakpoints();
    load_editor_text(*Memo1, starter);
    forgetProgram();
    setCurrentFile(QString());
    programName_ = programNameOf(*exercise_);
    setWindowTitle(tr("%1[*] - Korvane").arg(programName_));
    Memo1->setModified(!starter.isEmpty());
    if (exercise_->palette_data.size() == image_.PaletteData.size())
        std::copy(exercise_->palette_data.begin(), exercise_->palette_data.end(),
                  image_.PaletteData.begin());
    else
        image_.LoadDefaultPalette();
    showPaletteColours();
    exercisePane_->setExercise(exercise_);
    Check1->setEnabled(true);
    closeExercise_->setEnabled(true);
}

// The program stays in the editor; Run no longer answers from a check's
// file, and the canvas takes the palette it had before the exercise.
void MainWindow::closeExercise()
{
    if (!exercise_ || running_ || isChecking())
        return;
    exercise_.reset();
    exerciseFolder_.reset();
    runCheck_ = 0;
    exercisePane_->setExercise(nullptr);
    Check1->setEnabled(false);
    closeExercise_->setEnabled(false);
    restorePalette();
}

// Run draws as the check runRunCheck_ would: its answers and seed.
void MainWindow::prepareExerciseRun()
{
    if (!exercise_) {
        bridge_->setAnswers(std::nullopt);
        return;
    }
    const exercise::Check& check = exercise_->checks.at(runCheck_);
    const auto answers = exercise_->answers.find(check.input);
    bridge_->setAnswers(answers == exercise_->answers.end() ? std::string() : answers->second);
    if (check.seed)
        interpreter_->seed_random(*check.seed);
}

bool MainWindow::isChecking() const
{
    return checker_ != nullptr;
}

// The forbidden built-in first, then each visible check on a thread of its
// own, so the window answers (and Halt stops the check) meanwhile.
void MainWindow::checkExercise()
{
    if (!exercise_ || running_ || isChecking())
        return;
    const std::string program = Memo1->text().toStdString();
    clear_error_mark(*Memo1);
    if (const auto use = exercise::find_forbidden(*exercise_, program)) {
        const QString text = QString::fromStdString(exercise::forbidden_message(*use) +
                                                    " in line " + std::to_string(use->line));
        exercisePane_->setNote(text);
        mark_error(*Memo1, use->line, text, QString());
        return;
    }
    exercisePane_->setNote(tr("Checking…"));
    setRunStatus(tr("Checking"));
    Check1->setEnabled(false);
    stopCheck_ = false;
    auto results = std::make_shared<std::vector<CheckedRun>>();
    checker_ = QThread::create([exercise = exercise_, program, results, stop = &stopCheck_] {
        for (const size_t i :
             exercise::shown_checks(*exercise, exercise::Moment::BEFORE_DUE_DATE)) {
            results->push_back({i, exercise::run_check(*exercise, i, program, stop)});
            if (*stop)
                return;
        }
    });
    checker_->setParent(this);
    connect(checker_, &QThread::finished, this, [this, results] {
        checker_->deleteLater();
        checker_ = nullptr;
        Check1->setEnabled(true);
        if (stopCheck_) {
            exercisePane_->setNote(tr("Check halted"));
            setRunStatus(tr("Halted"));
            return;
        }
        exercisePane_->setResults(std::move(*results));
        setRunStatus(tr("Checked"));
    });
    checker_->start();
}

// Halt and closing end a check; its results then mean nothing.
void MainWindow::stopChecking()
{
    if (!checker_)
        return;
    stopCheck_ = true;
    checker_->wait();
}

// The window runs the program with the check's answers and seed, so the
// timeline holds the calls the check saw, and goes to the first difference
// (the last call when only pixels are missing).
void MainWindow::showCheckInTimeline(const CheckedRun& chosen)
{
    if (running_ || isChecking())
        return;
    const uint64_t call = chosen.run.divergence.call;
    const int line = chosen.run.divergence.line;
    runCheck_ = chosen.index;
    afterRun_ = [this, call, line] {
        runCheck_ = firstShownCheck(*exercise_);
        if (!timeline_->timeline())
            return;
        timeline_->showCall(call > 0 ? call : timeline_->timeline()->calls());
        if (line >= 0) {
            mark_drawing_line(*Memo1, line);
            Memo1->setCursorPosition(line, 0);
            Memo1->ensureLineVisible(line);
        }
    };
    runProgram();
    if (!running_)  // the run never started
        std::exchange(afterRun_, nullptr)();
}

}  // namespace korvane
