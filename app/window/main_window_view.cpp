// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <Qsci/qsciscintilla.h>
#include <QActionGroup>
#include <QDockWidget>
#include <QLayout>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>

#include "canvas_view.h"

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

// The projector setting: the window's own text, the editor and the output
// grow together; the editor's own zoom comes on top.
void MainWindow::setLargerText(bool on)
{
    const int extra = on ? kLargerPoints : 0;
    QFont form = font();
    form.setPointSize(kFormPoints + extra);
    setFont(form);
    QFont output = output_->font();
    output.setPointSize(kEditorPoints + extra);
    output_->setFont(output);
    const int zoom = static_cast<int>(Memo1->SendScintilla(QsciScintillaBase::SCI_GETZOOM));
    Memo1->zoomTo(zoom + (on ? extra : -kLargerPoints));
    placeCanvas();
    fitCanvasArea();
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
