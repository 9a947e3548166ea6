// SPDX-License-Identifier: GPL-3.0-or-later
// The real modal boxes: message box, input box and file dialogs.
#pragma once

#include <QPointer>
#include <QWidget>

#include "dialogs.h"

namespace korvane {

class QtDialogs : public Dialogs {
public:
    // Boxes shown after this are modal to owner.
    void setOwner(QWidget* owner) { owner_ = owner; }

    void message(const QString& text) override;
    void note(const QString& text) override;
    QString askText(const QString& caption, const QString& prompt, const QString& preset) override;
    bool askInput(const QString& caption, const QString& prompt, QString& answer) override;
    QString openFileName(const QString& title, const QString& filter,
                         const QString& preset) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& preset,
                         QString* selectedFilter = nullptr) override;
    Choice askSaveChanges() override;
    bool askGifRange(uint64_t first, uint64_t last, GifRange& range) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace korvane
