// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_lexer.h"

#include <Qsci/qsciscintilla.h>

#include "program_styles.h"

namespace korvane {

ProgramLexer::ProgramLexer(QObject* parent) : QsciLexerCustom(parent)
{
}

QString ProgramLexer::description(int style) const
{
    static const char* const names[kProgramStyleCount] = {
        "Default", "Comment",   "Keyword",       "Built-in function", "Number",
        "String",  "Character", "Error message", "Halt notice"};
    return style >= 0 && style < kProgramStyleCount ? QString::fromLatin1(names[style]) : QString();
}

// Quiet colours that stay readable on white.
QColor ProgramLexer::defaultColor(int style) const
{
    switch (style) {
    case STYLE_COMMENT:
        return QColor(0x6a, 0x73, 0x7d);
    case STYLE_KEYWORD:
        return QColor(0x00, 0x33, 0x99);
    case STYLE_BUILTIN:
        return QColor(0x00, 0x70, 0x70);
    case STYLE_NUMBER:
        return QColor(0x98, 0x44, 0x00);
    case STYLE_STRING:
    case STYLE_CHARACTER:
        return QColor(0x22, 0x7a, 0x22);
    case STYLE_ERROR:
        return QColor(0x99, 0x00, 0x00);
    case STYLE_HALT:
        return QColor(0x1f, 0x3a, 0x66);
    default:
        return QColor(Qt::black);
    }
}

QColor ProgramLexer::defaultPaper(int style) const
{
    switch (style) {
    case STYLE_ERROR:
        return QColor(0xff, 0xe4, 0xe4);
    case STYLE_HALT:
        return QColor(0xe4, 0xec, 0xf8);
    default:
        return QColor(Qt::white);
    }
}

QFont ProgramLexer::defaultFont(int style) const
{
    QFont font = editor() ? editor()->font() : QsciLexerCustom::defaultFont(style);
    font.setBold(style == STYLE_KEYWORD);
    font.setItalic(style == STYLE_COMMENT);
    return font;
}

// Comments span lines, so the whole text is styled again; a program has at
// most 10,000 bytes, so that stays cheap.
void ProgramLexer::styleText(int, int)
{
    QsciScintilla* editor = this->editor();
    if (!editor)
        return;
    const int length = editor->length();
    const QByteArray text = editor->bytes(0, length);
    startStyling(0);
    for (const StyleRun& run : style_runs(std::string_view(text.constData(), length)))
        setStyling(run.length, run.style);
}

}  // namespace korvane
