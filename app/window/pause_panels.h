// SPDX-License-Identifier: GPL-3.0-or-later
// The Variables and Call Stack panels: docks beside the editor, hidden until
// a run first pauses, then left as the user sets them (View menu).
// Choosing a call in the Call Stack shows its parameters and locals.
#pragma once

#include <QObject>

#include "pause_models.h"

class QDockWidget;
class QMainWindow;
class QMenu;
class QTreeView;

namespace korvane {

class PausePanels : public QObject {
    Q_OBJECT

public:
    explicit PausePanels(QMainWindow& window);

    // Adds the entries that show and hide the panels.
    void addToMenu(QMenu& menu);
    void showPause(const PauseSnapshot& at);
    // Empties both panels: their values were another run's.
    void clear();

    QDockWidget* variablesDock() const { return variablesDock_; }
    QDockWidget* callStackDock() const { return callStackDock_; }
    VariablesModel& variables() { return variables_; }
    CallStackModel& callStack() { return callStack_; }
    QTreeView* callStackView() const { return callStackView_; }
    QTreeView* variablesView() const { return variablesView_; }

private:
    QDockWidget* addDock(QMainWindow& window, const QString& title, const QString& name,
                         QTreeView* view);

    // The room the panels take beside the editor when they first appear.
    static constexpr int kPanelWidth = 240;

    QMainWindow& window_;
    VariablesModel variables_;
    CallStackModel callStack_;
    QTreeView* variablesView_ = nullptr;
    QTreeView* callStackView_ = nullptr;
    QDockWidget* variablesDock_ = nullptr;
    QDockWidget* callStackDock_ = nullptr;
    bool shownOnce_ = false;
};

}  // namespace korvane
