// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <Qsci/qsciscintilla.h>

#include "dialogs.h"
#include "find_bar.h"
#include "program_editor.h"

namespace korvane {

void MainWindow::undoEdit()
{
    Memo1->undo();
}

void MainWindow::redoEdit()
{
    Memo1->redo();
}

void MainWindow::cutText()
{
    Memo1->cut();
}

void MainWindow::copyText()
{
    Memo1->copy();
}

void MainWindow::pasteText()
{
    Memo1->paste();
}

void MainWindow::selectAllText()
{
    Memo1->selectAll();
}

void MainWindow::findText()
{
    findBar_->open();
}

void MainWindow::findNext()
{
    findBar_->findNext();
}

void MainWindow::replaceText()
{
    findBar_->open();
}

void MainWindow::goToLine()
{
    const int last = Memo1->lines() - 1;
    const QString answer =
        dialogs_.askText(tr("Go to Line"), tr("Line number (0 to %1):").arg(last), QString());
    if (answer.isEmpty())
        return;
    bool ok = false;
    const int line = answer.trimmed().toInt(&ok);
    if (!ok || !go_to_line(*Memo1, line))
        dialogs_.message(tr("There is no line %1; the lines are 0 to %2.").arg(answer).arg(last));
    Memo1->setFocus();
}

}  // namespace korvane
