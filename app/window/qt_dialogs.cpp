#include "qt_dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace korvane {

void QtDialogs::message(const QString& text)
{
    QMessageBox::information(owner_, QCoreApplication::applicationName(), text);
}

QString QtDialogs::askText(const QString& caption, const QString& prompt)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(owner_, caption, prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? answer : QString();
}

QString QtDialogs::openFileName(const QString& title, const QString& filter,
                                const QString& preset)
{
    return QFileDialog::getOpenFileName(owner_, title, preset, filter);
}

QString QtDialogs::saveFileName(const QString& title, const QString& filter,
                                const QString& preset)
{
    // Saving over an existing file is what the user asked for by naming it.
    return QFileDialog::getSaveFileName(owner_, title, preset, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

Dialogs::Choice QtDialogs::askSaveChanges()
{
    const auto answer = QMessageBox::warning(
        owner_, QCoreApplication::applicationName(),
        QCoreApplication::translate("QtDialogs", "The program has been modified.\n"
                                                 "Do you want to save your changes?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save)
        return Choice::Save;
    if (answer == QMessageBox::Discard)
        return Choice::Discard;
    return Choice::Cancel;
}

}  // namespace korvane
