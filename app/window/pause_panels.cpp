// SPDX-License-Identifier: GPL-3.0-or-later
#include "pause_panels.h"

#include <algorithm>

#include <QDockWidget>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QTreeView>

namespace korvane {

PausePanels::PausePanels(QMainWindow& window) : QObject(&window), window_(window)
{
    variablesView_ = new QTreeView;
    variablesView_->setModel(&variables_);
    variablesView_->setObjectName(QStringLiteral("VariablesView"));
    variablesView_->setAccessibleName(tr("Variables"));
    callStackView_ = new QTreeView;
    callStackView_->setModel(&callStack_);
    callStackView_->setObjectName(QStringLiteral("CallStackView"));
    callStackView_->setAccessibleName(tr("Call Stack"));
    callStackView_->setRootIsDecorated(false);
    for (QTreeView* view : {variablesView_, callStackView_}) {
        view->setUniformRowHeights(true);
        view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    }
    variablesDock_ =
        addDock(window, tr("Variables"), QStringLiteral("VariablesDock"), variablesView_);
    callStackDock_ =
        addDock(window, tr("Call Stack"), QStringLiteral("CallStackDock"), callStackView_);
    connect(callStackView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    variables_.showCall(current.row());
                    variablesView_->expandAll();
                }
            });
}

QDockWidget* PausePanels::addDock(QMainWindow& window, const QString& title, const QString& name,
                                  QTreeView* view)
{
    auto* dock = new QDockWidget(title, &window);
    dock->setObjectName(name);
    dock->setWidget(view);
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea |
                          Qt::BottomDockWidgetArea);
    window.addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();
    return dock;
}

void PausePanels::addToMenu(QMenu& menu)
{
    menu.addAction(variablesDock_->toggleViewAction());
    menu.addAction(callStackDock_->toggleViewAction());
}

void PausePanels::clear()
{
    variables_.clear();
    callStack_.clear();
}

void PausePanels::showPause(const PauseSnapshot& at)
{
    variables_.setSnapshot(at);
    callStack_.setSnapshot(at);
    callStackView_->setCurrentIndex(callStack_.index(0, 0));
    variablesView_->expandAll();
    if (!shownOnce_) {
        shownOnce_ = true;
        // The window grows by the panels' width, so the editor keeps its room,
        // but never past the screen's edge: there the editor gives the room.
        const int spare =
            window_.screen()->availableGeometry().right() - window_.frameGeometry().right();
        const int grow = std::clamp(spare, 0, kPanelWidth);
        if (grow > 0 && !window_.isMaximized() && !window_.isFullScreen())
            window_.resize(window_.width() + grow, window_.height());
        variablesDock_->show();
        callStackDock_->show();
        window_.resizeDocks({variablesDock_}, {kPanelWidth}, Qt::Horizontal);
    }
}

}  // namespace korvane
