// SPDX-License-Identifier: GPL-3.0-or-later
// The Breakpoints and Watches panel: a dock listing where a run will pause,
// the breakpoints by line and the watched pixels by coordinates. Delete (or
// Remove) takes the chosen one away; the window owns the lists themselves.
#pragma once

#include <QObject>
#include <vector>

#include "pixel_watches.h"

class QDockWidget;
class QListWidget;
class QMainWindow;
class QMenu;
class QPushButton;

namespace korvane {

class StopList : public QObject {
    Q_OBJECT

public:
    explicit StopList(QMainWindow& window);

    void addToMenu(QMenu& menu);
    // Lists these; lines count from 0, as the editor's margin does.
    void show(const std::vector<int>& breakpoints, const std::vector<PixelWatches::Watch>& watches);
    QDockWidget* dock() const { return dock_; }
    QListWidget* list() const { return list_; }

signals:
    void breakpointRemoved(int line);
    void watchRemoved(int x, int y);

protected:
    // Delete and Backspace in the list remove the chosen entry.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void removeChosen();

    QDockWidget* dock_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* remove_ = nullptr;
};

}  // namespace korvane
