// SPDX-License-Identifier: GPL-3.0-or-later
#include "stop_list.h"

#include <QDockWidget>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace korvane {

namespace {

// What an entry stands for: a line, or a pixel.
enum Role { KindRole = Qt::UserRole, XRole, YRole };
enum Kind { Breakpoint, Watch };

}  // namespace

StopList::StopList(QMainWindow& window) : QObject(&window)
{
    auto* panel = new QWidget;
    list_ = new QListWidget(panel);
    list_->setObjectName(QStringLiteral("StopList"));
    list_->setAccessibleName(tr("Breakpoints and watches"));
    remove_ = new QPushButton(tr("&Remove"), panel);
    remove_->setObjectName(QStringLiteral("RemoveStop"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(list_);
    layout->addWidget(remove_);

    dock_ = new QDockWidget(tr("Breakpoints and Watches"), &window);
    dock_->setObjectName(QStringLiteral("StopDock"));
    dock_->setWidget(panel);
    dock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea |
                           Qt::BottomDockWidgetArea);
    window.addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->hide();

    list_->installEventFilter(this);
    connect(remove_, &QPushButton::clicked, this, &StopList::removeChosen);
}

void StopList::addToMenu(QMenu& menu)
{
    menu.addAction(dock_->toggleViewAction());
}

void StopList::show(const std::vector<int>& breakpoints,
                    const std::vector<PixelWatches::Watch>& watches)
{
    list_->clear();
    for (const int line : breakpoints) {
        auto* item = new QListWidgetItem(tr("Breakpoint at line %1").arg(line), list_);
        item->setData(KindRole, Breakpoint);
        item->setData(YRole, line);
    }
    for (const PixelWatches::Watch& w : watches) {
        auto* item = new QListWidgetItem(tr("Watch pixel (%1, %2)").arg(w.x).arg(w.y), list_);
        item->setData(KindRole, Watch);
        item->setData(XRole, w.x);
        item->setData(YRole, w.y);
    }
    if (list_->count() == 0)
        new QListWidgetItem(tr("No breakpoints or watched pixels"), list_);
    remove_->setEnabled(!breakpoints.empty() || !watches.empty());
}

bool StopList::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Delete && key != Qt::Key_Backspace)
        return false;
    removeChosen();
    return true;
}

void StopList::removeChosen()
{
    const QListWidgetItem* item = list_->currentItem();
    if (!item || !item->data(KindRole).isValid())
        return;
    const int y = item->data(YRole).toInt();
    if (item->data(KindRole).toInt() == Breakpoint)
        emit breakpointRemoved(y);
    else
        emit watchRemoved(item->data(XRole).toInt(), y);
}

}  // namespace korvane
