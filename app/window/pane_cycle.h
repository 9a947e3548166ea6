// SPDX-License-Identifier: GPL-3.0-or-later
// F6 and Shift+F6: focus goes round the window's panes (editor, canvas,
// timeline, output, the docks), skipping those hidden or switched off, as
// it does in the editors students know.
#pragma once

#include <QList>

class QWidget;

namespace korvane {

// The pane step places after the one holding focus (the first pane when
// none does), or null when no pane can take focus.
QWidget* next_pane(const QList<QWidget*>& panes, const QWidget* focus, int step);

}  // namespace korvane
