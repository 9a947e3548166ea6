// SPDX-License-Identifier: GPL-3.0-or-later
// Colours a program in the editor from the scanner's token rules, with the
// keywords and built-in names of the interpreter's own tables.
#pragma once

#include <Qsci/qscilexercustom.h>

namespace korvane {

class ProgramLexer : public QsciLexerCustom {
    Q_OBJECT

public:
    explicit ProgramLexer(QObject* parent = nullptr);

    const char* language() const override { return "Korvane"; }
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QColor defaultPaper(int style) const override;
    QFont defaultFont(int style) const override;
    void styleText(int start, int end) override;
};

}  // namespace korvane
