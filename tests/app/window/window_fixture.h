// SPDX-License-Identifier: GPL-3.0-or-later
// Each test runs in a fresh temporary folder, since Run writes xxx.cg into
// the current folder, with a palette whose first entries are easy to tell
// apart: 0 black, 1 red, 2 green, 3 blue, 4 white.
#pragma once

#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "canvas_view.h"
#include "main_window.h"
#include "program_editor.h"
#include "scripted_dialogs.h"
#include "window_bridge.h"

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        // What an earlier test's window remembered (the palette above all) is not this one's.
        QSettings(QStringLiteral("Korvane"), QStringLiteral("korvane")).clear();
        writePalette();
    }

    void TearDown() override
    {
        watcher_.stop();
        window_.reset();
        QDir::setCurrent(previous_);
    }

    QString path(const QString& name) const { return dir_.filePath(name); }

    static void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray readFile(const QString& name)
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Starts the window choosing allcolr.pal in the palette dialog.
    korvane::MainWindow& openWindow()
    {
        dialogs.fileAnswers.prepend(path(QStringLiteral("allcolr.pal")));
        window_ = std::make_unique<korvane::MainWindow>(dialogs);
        return *window_;
    }

    // Starts the window over an empty xxx.cg, with no start-up messages left.
    korvane::MainWindow& openQuietly()
    {
        writeFile(QStringLiteral("xxx.cg"), QByteArray());
        openWindow();
        dialogs.messages.clear();
        return *window_;
    }

    // Puts a program (LF line ends) into the editor, presses Run and waits
    // for the run's end.
    void run(const QString& program)
    {
        editor()->setText(program);
        window_->runProgram();
        waitForRun();
    }

    // A run goes on in a thread of its own: this waits for its end, which
    // the window signals, letting the window's events through meanwhile.
    void waitForRun()
    {
        if (!window_->isRunning())
            return;
        QSignalSpy ended(window_.get(), &korvane::MainWindow::runFinished);
        ASSERT_TRUE(ended.wait(kRunBoundMs)) << "the run did not end";
    }
    static constexpr int kRunBoundMs = 20000;

    QsciScintilla* editor() const { return window_->findChild<QsciScintilla*>("Memo1"); }
    QPlainTextEdit* output() const { return window_->findChild<QPlainTextEdit*>("Output"); }

    // Opens name (in the test folder) with File > Open, as a named file.
    void openNamed(const QString& name, const QByteArray& bytes)
    {
        writeFile(name, bytes);
        dialogs.fileAnswers = QStringList{path(name)};
        window_->openProgram();
    }

    // The editor lines that carry a marker, in order.
    QList<int> markedLines(korvane::EditorMarker marker) const
    {
        QList<int> lines;
        for (int line = editor()->markerFindNext(0, 1 << marker); line >= 0;
             line = editor()->markerFindNext(line + 1, 1 << marker))
            lines << line;
        return lines;
    }
    korvane::CanvasView* canvas() const { return window_->findChild<korvane::CanvasView*>("xmg"); }
    QPushButton* button(const char* name) const { return window_->findChild<QPushButton*>(name); }

    QAction* menuAction(const QString& text) const
    {
        for (QAction* action : window_->menuBar()->findChildren<QAction*>())
            if (action->text() == text)
                return action;
        return nullptr;
    }

    // Calls atPause once at every pause of the runs that follow; it must end
    // the pause. A pause lasts until it is ended, so no timing is involved.
    void onEachPause(const std::function<void()>& atPause)
    {
        watcher_.setInterval(2);
        QObject::connect(&watcher_, &QTimer::timeout, [this, atPause] {
            if (window_->bridge().isPaused())
                atPause();
        });
        watcher_.start();
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<korvane::MainWindow> window_;
    QTimer watcher_;

private:
    void writePalette()
    {
        QByteArray bytes(1024, '\0');
        const unsigned char colours[5][3] = {
            {0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
        for (int i = 0; i < 5; ++i)
            for (int c = 0; c < 3; ++c)
                bytes[4 * i + c] = static_cast<char>(colours[i][c]);
        writeFile(QStringLiteral("allcolr.pal"), bytes);
    }

    QTemporaryDir dir_;
    QString previous_;
};
