// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor_pauses.h"

#include <Qsci/qsciscintilla.h>

#include "program_editor.h"

namespace korvane {

namespace {

constexpr int kStatementIndicator = 8;
const QColor kBreakpointColour(0xe5, 0x14, 0x00);
const QColor kStatementPaper(0x9f, 0xd0, 0xff);

}  // namespace

void setup_breakpoint_margin(QsciScintilla& editor)
{
    editor.markerDefine(QsciScintilla::Circle, MARK_BREAKPOINT);
    editor.setMarkerBackgroundColor(kBreakpointColour, MARK_BREAKPOINT);
    editor.setMarkerForegroundColor(kBreakpointColour.darker(), MARK_BREAKPOINT);
    editor.setMarginMarkerMask(1, editor.marginMarkerMask(1) | (1 << MARK_BREAKPOINT));
    editor.indicatorDefine(QsciScintilla::StraightBoxIndicator, kStatementIndicator);
    editor.setIndicatorForegroundColor(kStatementPaper, kStatementIndicator);
    editor.setIndicatorDrawUnder(true, kStatementIndicator);
    for (const int margin : {0, 1})
        editor.setMarginSensitivity(margin, true);
    QObject::connect(
        &editor, &QsciScintilla::marginClicked, &editor,
        [&editor](int, int line, Qt::KeyboardModifiers) { toggle_breakpoint(editor, line); });
}

void toggle_breakpoint(QsciScintilla& editor, int line)
{
    if (line < 0 || line >= editor.lines())
        return;
    if (editor.markersAtLine(line) & (1u << MARK_BREAKPOINT))
        editor.markerDelete(line, MARK_BREAKPOINT);
    else
        editor.markerAdd(line, MARK_BREAKPOINT);
}

std::vector<int> breakpoint_lines(QsciScintilla& editor)
{
    std::vector<int> lines;
    for (int line = editor.markerFindNext(0, 1u << MARK_BREAKPOINT); line >= 0;
         line = editor.markerFindNext(line + 1, 1u << MARK_BREAKPOINT))
        lines.push_back(line);
    return lines;
}

void set_breakpoint_lines(QsciScintilla& editor, const std::vector<int>& lines)
{
    editor.markerDeleteAll(MARK_BREAKPOINT);
    for (const int line : lines) {
        if (line >= 0 && line < editor.lines())
            editor.markerAdd(line, MARK_BREAKPOINT);
    }
}

void mark_statement(QsciScintilla& editor, const TextRange& range)
{
    clear_statement_mark(editor);
    editor.fillIndicatorRange(range.line, range.column, range.end_line, range.end_column,
                              kStatementIndicator);
    editor.ensureLineVisible(range.end_line);
    editor.ensureLineVisible(range.line);
}

void clear_statement_mark(QsciScintilla& editor)
{
    const int last = editor.lines() - 1;
    editor.clearIndicatorRange(0, 0, last, editor.lineLength(last), kStatementIndicator);
}

}  // namespace korvane
