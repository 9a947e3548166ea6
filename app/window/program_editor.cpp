// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_editor.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>
#include <QEvent>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

#include "editor_assist.h"
#include "program_lexer.h"
#include "program_styles.h"

namespace korvane {

namespace {

constexpr int kNumberMargin = 0;
constexpr int kMarkMargin = 1;
constexpr int kMarkMarginWidth = 12;
const QColor kMarginPaper(0xf0, 0xf0, 0xf0);
const QColor kErrorColour(0xcc, 0x22, 0x22);
const QColor kErrorLinePaper(0xff, 0xcd, 0xcd);
const QColor kDrawingColour(0xd0, 0x90, 0x00);
const QColor kDrawingLinePaper(0xff, 0xf0, 0xa0);
const QColor kHaltColour(0x3a, 0x5f, 0xa0);
const QColor kHaltLinePaper(0xdc, 0xe6, 0xf6);
constexpr int kIndent = 4;
// The marked message is kept on the editor, so it can be wrapped again.
constexpr const char* kMarkText = "korvaneMarkText";
constexpr const char* kMarkStyle = "korvaneMarkStyle";

// Error messages count lines from 0, so the margin does too; Scintilla's own
// line numbers start at 1, hence a text margin that is renumbered whenever
// the number of lines changes.
void numberLines(QsciScintilla& editor)
{
    const int lines = editor.lines();
    editor.setMarginWidth(kNumberMargin, QString(QString::number(lines - 1).size() + 1, '0'));
    for (int line = 0; line < lines; ++line)
        editor.setMarginText(line, QString::number(line), QsciScintillaBase::STYLE_LINENUMBER);
}

void defineMarkers(QsciScintilla& editor)
{
    editor.setMarginType(kMarkMargin, QsciScintilla::SymbolMargin);
    editor.setMarginWidth(kMarkMargin, kMarkMarginWidth);
    editor.setMarginMarkerMask(kMarkMargin,
                               (1 << MARK_ERROR) | (1 << MARK_DRAWING) | (1 << MARK_HALT));
    editor.setMarginMarkerMask(kNumberMargin, 0);
    // A bar, not a dot: the dot marks a breakpoint.
    editor.markerDefine(QsciScintilla::LeftRectangle, MARK_ERROR);
    editor.setMarkerBackgroundColor(kErrorColour, MARK_ERROR);
    editor.setMarkerForegroundColor(kErrorColour, MARK_ERROR);
    editor.markerDefine(QsciScintilla::Background, MARK_ERROR_LINE);
    editor.setMarkerBackgroundColor(kErrorLinePaper, MARK_ERROR_LINE);
    editor.markerDefine(QsciScintilla::RightArrow, MARK_DRAWING);
    editor.setMarkerBackgroundColor(kDrawingColour, MARK_DRAWING);
    editor.setMarkerForegroundColor(kDrawingColour, MARK_DRAWING);
    editor.markerDefine(QsciScintilla::Background, MARK_DRAWING_LINE);
    editor.setMarkerBackgroundColor(kDrawingLinePaper, MARK_DRAWING_LINE);
    editor.markerDefine(QsciScintilla::SmallRectangle, MARK_HALT);
    editor.setMarkerBackgroundColor(kHaltColour, MARK_HALT);
    editor.setMarkerForegroundColor(kHaltColour, MARK_HALT);
    editor.markerDefine(QsciScintilla::Background, MARK_HALT_LINE);
    editor.setMarkerBackgroundColor(kHaltLinePaper, MARK_HALT_LINE);
}

// The marked line's message, wrapped to the width of the text area (the
// boxed annotation takes about two characters of its own).
void wrapMarkText(QsciScintilla& editor)
{
    const QString text = editor.property(kMarkText).toString();
    const int mask = (1 << MARK_ERROR) | (1 << MARK_HALT);
    const int line = editor.markerFindNext(0, mask);
    if (text.isEmpty() || line < 0)
        return;
    const int style = editor.property(kMarkStyle).toInt();
    int area = editor.viewport()->width();
    for (int margin = 0; margin < editor.margins(); ++margin)
        area -= editor.marginWidth(margin);
    const long charWidth =
        std::max(1L, editor.SendScintilla(QsciScintillaBase::SCI_TEXTWIDTH, style, "0"));
    const int columns = std::max(16, static_cast<int>(area / charWidth) - 3);
    editor.clearAnnotations();
    editor.annotate(line, wrap_words(text, columns), style);
}

// Wraps the message again when the editor's width changes.
class MarkWrapper : public QObject {
public:
    explicit MarkWrapper(QsciScintilla& editor) : QObject(&editor), editor_(editor) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            wrapMarkText(editor_);
        return false;
    }

private:
    QsciScintilla& editor_;
};

// The message's first line stays as the interpreter gave it; the hint follows.
QString with_hint(const QString& message, const QString& hint)
{
    return hint.isEmpty() ? message : message + QLatin1Char('\n') + hint;
}

void markLine(QsciScintilla& editor, int line, const QString& message, int marker, int lineMarker,
              int style)
{
    clear_error_mark(editor);
    line = std::clamp(line, 0, editor.lines() - 1);
    editor.markerAdd(line, marker);
    editor.markerAdd(line, lineMarker);
    editor.setProperty(kMarkText, message);
    editor.setProperty(kMarkStyle, style);
    wrapMarkText(editor);
    editor.setCursorPosition(line, 0);
    editor.ensureLineVisible(line);
}

// Enter after "{" indents one level more; "}" typed first on a line goes
// back one level (the editor itself keeps the indentation of the line before).
void indentForBraces(QsciScintilla& editor, int added)
{
    int line = 0, index = 0;
    editor.getCursorPosition(&line, &index);
    if (added == '\n' && line > 0) {
        const QString before = editor.text(line - 1).trimmed();
        if (!before.endsWith(QLatin1Char('{')))
            return;
        editor.setIndentation(line, editor.indentation(line - 1) + kIndent);
        editor.setCursorPosition(line, editor.indentation(line));
    } else if (added == '}' && editor.text(line).left(index).trimmed() == QLatin1String("}")) {
        editor.setIndentation(line, std::max(0, editor.indentation(line) - kIndent));
        editor.setCursorPosition(line, editor.indentation(line) + 1);
    }
}

}  // namespace

void setup_program_editor(QsciScintilla& editor)
{
    // Any character: files keep them all (program_file.h).
    editor.setUtf8(true);
    editor.setEolMode(QsciScintilla::EolUnix);
    editor.setLexer(new ProgramLexer(&editor));
    editor.setWrapMode(QsciScintilla::WrapNone);
    editor.setTabWidth(kIndent);
    editor.setIndentationWidth(kIndent);
    editor.setIndentationsUseTabs(false);
    editor.setAutoIndent(true);
    editor.setBackspaceUnindents(true);  // Backspace in leading blanks removes a level
    editor.setBraceMatching(QsciScintilla::SloppyBraceMatch);
    editor.setAnnotationDisplay(QsciScintilla::AnnotationBoxed);
    editor.setMarginType(kNumberMargin, QsciScintilla::TextMarginRightJustified);
    editor.setMarginsBackgroundColor(kMarginPaper);
    editor.setMarginsFont(editor.font());
    defineMarkers(editor);
    numberLines(editor);
    // The margin's width follows the number of digits and the zoom.
    QObject::connect(&editor, &QsciScintilla::linesChanged, &editor,
                     [&editor] { numberLines(editor); });
    QObject::connect(&editor, &QsciScintillaBase::SCN_ZOOM, &editor, [&editor] {
        numberLines(editor);
        wrapMarkText(editor);
    });
    QObject::connect(&editor, &QsciScintillaBase::SCN_CHARADDED, &editor,
                     [&editor](int added) { indentForBraces(editor, added); });
    editor.viewport()->installEventFilter(new MarkWrapper(editor));
    // Ctrl+/ is the window's Toggle Comment, not a move by word parts.
    if (QsciCommand* wordPart =
            editor.standardCommands()->boundTo((Qt::CTRL | Qt::Key_Slash).toCombined()))
        wordPart->setKey(0);
}

void toggle_comment(QsciScintilla& editor)
{
    int first = 0, firstIndex = 0, last = 0, lastIndex = 0;
    editor.getSelection(&first, &firstIndex, &last, &lastIndex);
    if (first < 0) {
        editor.getCursorPosition(&first, &firstIndex);
        last = first;
    } else if (lastIndex == 0 && last > first) {
        --last;  // a selection ending at a line's start leaves that line out
    }
    const QRegularExpression commented(QStringLiteral("^(\\s*)// ?"));
    bool all = true;
    for (int line = first; line <= last; ++line) {
        const QString text = editor.text(line);
        if (!text.trimmed().isEmpty() && !commented.match(text).hasMatch())
            all = false;
    }
    editor.beginUndoAction();
    for (int line = first; line <= last; ++line) {
        const QString text = editor.text(line);
        if (text.trimmed().isEmpty())
            continue;
        if (all) {
            const QRegularExpressionMatch mark = commented.match(text);
            editor.setSelection(line, mark.capturedLength(1), line, mark.capturedLength(0));
            editor.removeSelectedText();
        } else {
            editor.insertAt(QStringLiteral("// "), line, 0);
        }
    }
    editor.endUndoAction();
    editor.setCursorPosition(first, 0);
}

void load_editor_text(QsciScintilla& editor, const QString& text)
{
    editor.setText(text);
    editor.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    editor.setModified(false);
}

void mark_error(QsciScintilla& editor, int line, const QString& message, const QString& hint)
{
    markLine(editor, line, with_hint(message, hint), MARK_ERROR, MARK_ERROR_LINE, STYLE_ERROR);
}

void mark_halt(QsciScintilla& editor, int line, const QString& message, const QString& hint)
{
    markLine(editor, line, with_hint(message, hint), MARK_HALT, MARK_HALT_LINE, STYLE_HALT);
}

void clear_error_mark(QsciScintilla& editor)
{
    for (int marker : {MARK_ERROR, MARK_ERROR_LINE, MARK_HALT, MARK_HALT_LINE})
        editor.markerDeleteAll(marker);
    editor.setProperty(kMarkText, QString());
    editor.clearAnnotations();
}

QString wrap_words(const QString& text, int columns)
{
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (QString word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!line.isEmpty() && line.size() + 1 + word.size() > columns) {
                lines << line;
                line.clear();
            }
            while (word.size() > columns) {  // a word longer than a line is cut
                lines << word.left(columns);
                word.remove(0, columns);
            }
            line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

void mark_drawing_line(QsciScintilla& editor, int line)
{
    editor.markerDeleteAll(MARK_DRAWING);
    editor.markerDeleteAll(MARK_DRAWING_LINE);
    if (line < 0 || line >= editor.lines())
        return;
    editor.markerAdd(line, MARK_DRAWING);
    editor.markerAdd(line, MARK_DRAWING_LINE);
    editor.setCursorPosition(line, 0);
    editor.ensureLineVisible(line);
}

bool find_text(QsciScintilla& editor, const QString& text, bool matchCase, bool forward)
{
    if (text.isEmpty())
        return false;
    // From the selection's far end, or the match selected now is found again.
    int line = -1, index = -1, endLine = -1, endIndex = -1;
    editor.getSelection(&line, &index, &endLine, &endIndex);
    if (line < 0) {
        editor.getCursorPosition(&line, &index);
    } else if (forward) {
        line = endLine;
        index = endIndex;
    }
    return editor.findFirst(text, false, matchCase, false, true, forward, line, index);
}

int replace_all(QsciScintilla& editor, const QString& text, const QString& with, bool matchCase)
{
    if (text.isEmpty())
        return 0;
    int count = 0;
    editor.beginUndoAction();
    // From the top, without going round, so replaced text is never searched again.
    for (bool found = editor.findFirst(text, false, matchCase, false, false, true, 0, 0); found;
         found = editor.findNext()) {
        editor.replace(with);
        ++count;
    }
    editor.endUndoAction();
    return count;
}

bool go_to_line(QsciScintilla& editor, int line)
{
    if (line < 0 || line >= editor.lines())
        return false;
    editor.setCursorPosition(line, 0);
    editor.ensureLineVisible(line);
    return true;
}

}  // namespace korvane
