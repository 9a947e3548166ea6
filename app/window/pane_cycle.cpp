// SPDX-License-Identifier: GPL-3.0-or-later
#include "pane_cycle.h"

#include <QWidget>

namespace korvane {

namespace {

bool canTakeFocus(const QWidget* pane)
{
    return pane->isVisible() && pane->isEnabled() && pane->focusPolicy() != Qt::NoFocus;
}

// The last pane that is or holds focus, since a pane may sit inside another.
int holder(const QList<QWidget*>& panes, const QWidget* focus)
{
    int found = -1;
    for (int i = 0; i < panes.size(); ++i)
        if (focus && (panes[i] == focus || panes[i]->isAncestorOf(focus)))
            found = i;
    return found;
}

}  // namespace

QWidget* next_pane(const QList<QWidget*>& panes, const QWidget* focus, int step)
{
    const int n = static_cast<int>(panes.size());
    const int from = holder(panes, focus);
    int at = from < 0 ? (step > 0 ? -1 : 0) : from;
    for (int tried = 0; tried < n; ++tried) {
        at = ((at + step) % n + n) % n;
        if (canTakeFocus(panes[at]))
            return panes[at];
    }
    return nullptr;
}

}  // namespace korvane
