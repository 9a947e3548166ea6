// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <Qsci/qsciscintilla.h>
#include <QLayout>
#include <QPlainTextEdit>

#include "canvas_view.h"

namespace korvane {

void MainWindow::resizeBy(QSize before, QSize delta)
{
    if (delta.isNull() || isMaximized() || isFullScreen())
        return;
    // The new minimum first, or the window could not shrink.
    centralWidget()->layout()->activate();
    layout()->activate();
    resize(before + delta);
}

void MainWindow::setCanvasZoom(int factor)
{
    const QSize before = size();
    const QSize panel = canvasPanel_->size();
    xmg->setZoom(factor);
    placeCanvas();
    resizeBy(before, canvasPanel_->size() - panel);
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
