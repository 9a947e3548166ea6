// SPDX-License-Identifier: GPL-3.0-or-later
#include "find_bar.h"

#include <Qsci/qsciscintilla.h>
#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include "program_editor.h"

namespace korvane {

namespace {

QPushButton* newButton(const QString& text, QWidget* parent, const char* name)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

FindBar::FindBar(QsciScintilla& editor, QWidget* parent)
    : QWidget(parent),
      editor_(editor),
      find_(new QLineEdit(this)),
      with_(new QLineEdit(this)),
      matchCase_(new QCheckBox(tr("Match &case"), this)),
      status_(new QLabel(this))
{
    setObjectName(QStringLiteral("FindBar"));
    setAccessibleName(tr("Find and replace"));
    find_->setObjectName(QStringLiteral("FindText"));
    find_->setAccessibleName(tr("Find"));
    find_->setPlaceholderText(tr("Find"));
    find_->setClearButtonEnabled(true);
    with_->setObjectName(QStringLiteral("ReplaceText"));
    with_->setAccessibleName(tr("Replace with"));
    with_->setPlaceholderText(tr("Replace with"));
    matchCase_->setObjectName(QStringLiteral("MatchCase"));
    status_->setObjectName(QStringLiteral("FindStatus"));
    auto* previous = newButton(tr("&Previous"), this, "FindPrevious");
    auto* next = newButton(tr("&Next"), this, "FindNext");
    auto* replaceOne = newButton(tr("&Replace"), this, "ReplaceOne");
    auto* replaceEvery = newButton(tr("Replace &All"), this, "ReplaceAll");
    auto* closer = new QToolButton(this);
    closer->setObjectName(QStringLiteral("CloseFind"));
    closer->setText(QStringLiteral("×"));
    closer->setAccessibleName(tr("Close find bar"));
    closer->setToolTip(tr("Close (Esc)"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 2, 0, 2);
    grid->setVerticalSpacing(2);
    grid->addWidget(find_, 0, 0);
    grid->addWidget(previous, 0, 1);
    grid->addWidget(next, 0, 2);
    grid->addWidget(matchCase_, 0, 3);
    grid->addWidget(closer, 0, 4);
    grid->addWidget(with_, 1, 0);
    grid->addWidget(replaceOne, 1, 1);
    grid->addWidget(replaceEvery, 1, 2);
    grid->addWidget(status_, 1, 3, 1, 2);
    grid->setColumnStretch(0, 1);
    setTabOrder(find_, with_);
    setTabOrder(with_, matchCase_);
    setTabOrder(matchCase_, previous);
    setTabOrder(previous, next);
    setTabOrder(next, replaceOne);
    setTabOrder(replaceOne, replaceEvery);
    setTabOrder(replaceEvery, closer);

    connect(find_, &QLineEdit::returnPressed, this, [this] {
        if (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier)
            findPrevious();
        else
            findNext();
    });
    connect(with_, &QLineEdit::returnPressed, this, &FindBar::replace);
    connect(previous, &QPushButton::clicked, this, &FindBar::findPrevious);
    connect(next, &QPushButton::clicked, this, &FindBar::findNext);
    connect(replaceOne, &QPushButton::clicked, this, &FindBar::replace);
    connect(replaceEvery, &QPushButton::clicked, this, &FindBar::replaceAll);
    connect(closer, &QToolButton::clicked, this, &FindBar::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &FindBar::close);
    hide();
}

void FindBar::open()
{
    const QString selected = editor_.selectedText();
    if (!selected.isEmpty() && !selected.contains(QLatin1Char('\n')))
        find_->setText(selected);
    status_->clear();
    show();
    find_->setFocus(Qt::ShortcutFocusReason);
    find_->selectAll();
}

void FindBar::findNext()
{
    find(true);
}

void FindBar::findPrevious()
{
    find(false);
}

// With nothing to find yet the bar opens to ask for it.
bool FindBar::find(bool forward)
{
    if (find_->text().isEmpty()) {
        open();
        return false;
    }
    status_->clear();
    if (find_text(editor_, find_->text(), matchCase_->isChecked(), forward))
        return true;
    tell(tr("Cannot find \"%1\".").arg(find_->text()));
    return false;
}

bool FindBar::selectionMatches() const
{
    const Qt::CaseSensitivity cs =
        matchCase_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    return !find_->text().isEmpty() && editor_.selectedText().compare(find_->text(), cs) == 0;
}

void FindBar::replace()
{
    if (selectionMatches())
        editor_.replaceSelectedText(with_->text());
    find(true);
}

void FindBar::replaceAll()
{
    if (find_->text().isEmpty()) {
        open();
        return;
    }
    const int count = replace_all(editor_, find_->text(), with_->text(), matchCase_->isChecked());
    tell(count == 0 ? tr("Cannot find \"%1\".").arg(find_->text())
                    : tr("Replaced %n occurrence(s).", nullptr, count));
}

void FindBar::close()
{
    hide();
    editor_.setFocus(Qt::ShortcutFocusReason);
}

QString FindBar::status() const
{
    return status_->text();
}

void FindBar::tell(const QString& text)
{
    status_->setText(text);
}

}  // namespace korvane
