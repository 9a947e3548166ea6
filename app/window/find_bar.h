// SPDX-License-Identifier: GPL-3.0-or-later
// The bar under the editor that finds and replaces: a find field, a replace
// field, Previous, Next, Replace, Replace All and Match case. Enter finds the
// next match (Shift+Enter the one before), Esc closes the bar and gives the
// editor its focus back. What it found or replaced it says on a line of its
// own rather than in a box, so typing goes on.
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QsciScintilla;

namespace korvane {

class FindBar : public QWidget {
    Q_OBJECT

public:
    FindBar(QsciScintilla& editor, QWidget* parent = nullptr);

    // Shows the bar with focus in the find field, its text selected; a
    // selection on one line of the editor becomes the text to find.
    void open();
    void findNext();
    void findPrevious();
    // Replaces the match selected in the editor, then selects the next one.
    void replace();
    void replaceAll();
    void close();

    QLineEdit* findField() const { return find_; }
    QLineEdit* replaceField() const { return with_; }
    QCheckBox* matchCase() const { return matchCase_; }
    // The last result told: not found, or how many were replaced.
    QString status() const;

private:
    bool find(bool forward);
    bool selectionMatches() const;
    void tell(const QString& text);

    QsciScintilla& editor_;
    QLineEdit* find_;
    QLineEdit* with_;
    QCheckBox* matchCase_;
    QLabel* status_;
};

}  // namespace korvane
