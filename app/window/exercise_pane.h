// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise's two docks beside the editor: the statement (its title and
// its text, plain or Markdown, pictures read from the exercise's folder),
// and the checks, one line each as korvane-run --check words them. For a
// check that differs the canvas can show the student's canvas, the
// accepted picture or the differences, and "Show in timeline" asks the
// window to replay that check up to its first difference.
#pragma once

#include <QObject>
#include <QStringList>
#include <memory>
#include <vector>

#include "check_run.h"

class QButtonGroup;
class QDockWidget;
class QLabel;
class QListWidget;
class QMainWindow;
class QMenu;
class QPushButton;
class QTextBrowser;

namespace korvane {

struct CheckedRun {
    size_t index;  // of the check in the exercise
    exercise::CheckRun run;
};

class ExercisePane : public QObject {
    Q_OBJECT

public:
    enum View { CANVAS, ACCEPTED, DIFFERENCES };

    explicit ExercisePane(QMainWindow& window);

    // Shows the statement and empties the checks; null hides both docks.
    void setExercise(std::shared_ptr<const exercise::Exercise> exercise);
    // One line in place of the results: "Checking…", a forbidden built-in.
    void setNote(const QString& text);
    void setResults(std::vector<CheckedRun> runs);
    // Every line listed, as korvane-run --check prints them.
    QStringList lines() const;
    // The differing check chosen in the list; null when none is.
    const CheckedRun* chosenDifference() const;
    void setView(View view);
    void addToMenu(QMenu& menu);

    QDockWidget* statementDock() const { return statementDock_; }
    QDockWidget* checksDock() const { return checksDock_; }
    QTextBrowser* statement() const { return statement_; }
    QListWidget* results() const { return results_; }
    QLabel* detail() const { return detail_; }
    QPushButton* timelineButton() const { return timelineButton_; }

signals:
    // The canvas is to show this picture.
    void pictureChosen(const Picture& picture);
    // Replay the chosen check in the window and show its first difference.
    void timelineAsked(const CheckedRun& chosen);

private:
    QWidget* createChecks();
    void chooseRun();
    void showView();

    QMainWindow& window_;
    std::shared_ptr<const exercise::Exercise> exercise_;
    std::vector<CheckedRun> runs_;
    QDockWidget* statementDock_ = nullptr;
    QDockWidget* checksDock_ = nullptr;
    QTextBrowser* statement_ = nullptr;
    QListWidget* results_ = nullptr;
    QLabel* detail_ = nullptr;
    QButtonGroup* views_ = nullptr;
    QWidget* viewRow_ = nullptr;
    QPushButton* timelineButton_ = nullptr;
};

}  // namespace korvane
