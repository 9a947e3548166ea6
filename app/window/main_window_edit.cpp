// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <Qsci/qsciscintilla.h>

#include "dialogs.h"
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
    const QString text = dialogs_.askText(tr("Find"), tr("Text to find:"), searchText_);
    if (text.isEmpty())
        return;
    searchText_ = text;
    findNext();
}

void MainWindow::findNext()
{
    if (searchText_.isEmpty()) {
        findText();
        return;
    }
    if (!find_text(*Memo1, searchText_))
        dialogs_.note(tr("Cannot find \"%1\".").arg(searchText_));
}

void MainWindow::replaceText()
{
    const QString text = dialogs_.askText(tr("Replace"), tr("Text to find:"), searchText_);
    if (text.isEmpty())
        return;
    searchText_ = text;
    const QString with = dialogs_.askText(tr("Replace"), tr("Replace with:"), QString());
    const int count = replace_all(*Memo1, text, with);
    dialogs_.note(count == 0 ? tr("Cannot find \"%1\".").arg(text)
                             : tr("Replaced %n occurrence(s).", nullptr, count));
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
