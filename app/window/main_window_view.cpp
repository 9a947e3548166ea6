// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <Qsci/qsciscintilla.h>
#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QLayout>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>

#include "canvas_view.h"
#include "window_memory.h"

namespace korvane {

void MainWindow::resizeBy(QSize before, QSize delta)
{
    if (delta.isNull() || isMaximized() || isFullScreen())
        return;
    // The new minimum first, or the window could not shrink.
    centralWidget()->layout()->activate();
    layout()->activate();
    QSize target = before + delta;
    // A window that fits its screen stays on it; one made larger is left so.
    if (const QScreen* shown = screen()) {
        const QSize room = shown->availableGeometry().size() - (frameGeometry().size() - size());
        if (before.width() <= room.width() && before.height() <= room.height())
            target = target.boundedTo(room);
    }
    resize(target);
}

void MainWindow::setCanvasZoom(int factor)
{
    const QSize before = size();
    const QSize area = canvasArea_->minimumSize();
    // The docks keep their widths: without this a zoom and back squeezes them.
    QList<QDockWidget*> docks;
    QList<int> widths;
    for (QDockWidget* dock : findChildren<QDockWidget*>())
        if (dock->isVisible() && !dock->isFloating()) {
            docks << dock;
            widths << dock->width();
        }
    xmg->setZoom(factor);
    placeCanvas();
    fitCanvasArea();
    resizeBy(before, canvasArea_->minimumSize() - area);
    if (!docks.isEmpty())
        resizeDocks(docks, widths, Qt::Horizontal);
    if (zooms_ && factor >= 1 && factor <= zooms_->actions().size())
        zooms_->actions().at(factor - 1)->setChecked(true);
}

namespace {

const char* const kGrownBy = "korvaneTextGrownBy";

// Menus, boxes and tool windows are windows of their own and take no font
// from the main window: each grows its own text by extra points.
void growText(QWidget& window, int extra)
{
    const int had = window.property(kGrownBy).toInt();
    if (had == extra)
        return;
    QFont font = window.font();
    font.setPointSizeF(font.pointSizeF() - had + extra);
    window.setFont(font);
    window.setProperty(kGrownBy, extra);
}

}  // namespace

// The projector setting: the window's own text, its menus, docks, boxes and
// tool windows, the editor and the output grow together; the editor's own
// zoom comes on top.
void MainWindow::setLargerText(bool on)
{
    const int extra = on ? kLargerPoints : 0;
    // Docks follow the window's font floating too, as they do docked.
    for (QDockWidget* dock : findChildren<QDockWidget*>())
        dock->setAttribute(Qt::WA_WindowPropagation);
    QFont form = font();
    form.setPointSize(kFormPoints + extra);
    setFont(form);
    for (QWidget* widget : findChildren<QWidget*>())
        if (widget->isWindow() && !qobject_cast<QDockWidget*>(widget))
            growText(*widget, extra);
    QFont output = output_->font();
    output.setPointSize(kEditorPoints + extra);
    output_->setFont(output);
    const int zoom = static_cast<int>(Memo1->SendScintilla(QsciScintillaBase::SCI_GETZOOM));
    Memo1->zoomTo(zoom + (on ? extra : -kLargerPoints));
    placeCanvas();
    fitCanvasArea();
    window_memory::setLargerText(on);
}

// Menus and boxes made after Larger Text was chosen grow as they appear.
void MainWindow::growNewWindow(QWidget& window)
{
    if (&window == this || !LargerText1 || !LargerText1->isChecked() ||
        qobject_cast<QDockWidget*>(&window))
        return;
    for (const QWidget* owner = window.parentWidget(); owner; owner = owner->parentWidget())
        if (owner == this) {
            growText(window, kLargerPoints);
            return;
        }
}

void MainWindow::zoomTextIn()
{
    Memo1->zoomIn();
}

void MainWindow::zoomTextOut()
{
    Memo1->zoomOut();
}

void MainWindow::normalTextSize()
{
    Memo1->zoomTo(LargerText1->isChecked() ? kLargerPoints : 0);
}

}  // namespace korvane
