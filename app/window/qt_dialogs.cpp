// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_dialogs.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

#include "gif_range_dialog.h"

namespace korvane {

namespace {
constexpr int kTitleButtonsWidth = 160;
}  // namespace

void QtDialogs::message(const QString& text)
{
    QMessageBox::warning(owner_, QCoreApplication::applicationName(), text);
}

void QtDialogs::note(const QString& text)
{
    QMessageBox::information(owner_, QCoreApplication::applicationName(), text);
}

namespace {

constexpr int kHalted = 2;  // the box's result when Halt ended it

// An input box with caption, prompt and preset text.
void prepareInputBox(QInputDialog& box, const QString& caption, const QString& prompt,
                     const QString& preset)
{
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(preset);
    // The title bar is not part of the box's own size hint, so a short
    // prompt would leave the caption cut: the input line makes room for it
    // and the title buttons (the box's layout overrides its own minimum).
    const int captionWidth = box.fontMetrics().horizontalAdvance(caption) + kTitleButtonsWidth;
    if (auto* line = box.findChild<QLineEdit*>())
        line->setMinimumWidth(std::max(line->minimumSizeHint().width(), captionWidth));
}

}  // namespace

QString QtDialogs::askText(const QString& caption, const QString& prompt, const QString& preset)
{
    QInputDialog box(owner_);
    prepareInputBox(box, caption, prompt, preset);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

bool QtDialogs::askInput(const QString& caption, const QString& prompt, QString& answer)
{
    QInputDialog box(owner_);
    prepareInputBox(box, caption, prompt, QString());
    // The box makes its buttons when first laid out.
    box.adjustSize();
    if (auto* buttons = box.findChild<QDialogButtonBox*>()) {
        QPushButton* halt = buttons->addButton(QCoreApplication::translate("korvane", "&Halt"),
                                               QDialogButtonBox::DestructiveRole);
        halt->setObjectName(QStringLiteral("HaltInput"));
        halt->setToolTip(QCoreApplication::translate("korvane", "Stop the program (Alt+H)"));
        QObject::connect(halt, &QPushButton::clicked, &box, [&box] { box.done(kHalted); });
    }
    const int result = box.exec();
    answer = result == QDialog::Accepted ? box.textValue() : QString();
    return result != kHalted;
}

QString QtDialogs::openFileName(const QString& title, const QString& filter, const QString& preset)
{
    return QFileDialog::getOpenFileName(owner_, title, preset, filter);
}

QString QtDialogs::saveFileName(const QString& title, const QString& filter, const QString& preset,
                                QString* selectedFilter)
{
    // Saving over an existing file is what the user asked for by naming it.
    return QFileDialog::getSaveFileName(owner_, title, preset, filter, selectedFilter,
                                        QFileDialog::DontConfirmOverwrite);
}

Dialogs::Choice QtDialogs::askSaveChanges()
{
    const auto answer =
        QMessageBox::warning(owner_, QCoreApplication::applicationName(),
                             QCoreApplication::translate("QtDialogs",
                                                         "The program has been modified.\n"
                                                         "Do you want to save your changes?"),
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save)
        return Choice::Save;
    if (answer == QMessageBox::Discard)
        return Choice::Discard;
    return Choice::Cancel;
}

bool QtDialogs::askGifRange(uint64_t first, uint64_t last, GifRange& range)
{
    GifRangeDialog box(first, last, range, owner_);
    if (box.exec() != QDialog::Accepted)
        return false;
    range = box.range();
    return true;
}

}  // namespace korvane
