#include "program_editor.h"

#include <Qsci/qsciscintilla.h>

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
    editor.setMarginMarkerMask(kMarkMargin, (1 << MARK_ERROR) | (1 << MARK_DRAWING));
    editor.setMarginMarkerMask(kNumberMargin, 0);
    editor.markerDefine(QsciScintilla::Circle, MARK_ERROR);
    editor.setMarkerBackgroundColor(kErrorColour, MARK_ERROR);
    editor.setMarkerForegroundColor(kErrorColour, MARK_ERROR);
    editor.markerDefine(QsciScintilla::Background, MARK_ERROR_LINE);
    editor.setMarkerBackgroundColor(kErrorLinePaper, MARK_ERROR_LINE);
    editor.markerDefine(QsciScintilla::RightArrow, MARK_DRAWING);
    editor.setMarkerBackgroundColor(kDrawingColour, MARK_DRAWING);
    editor.setMarkerForegroundColor(kDrawingColour, MARK_DRAWING);
    editor.markerDefine(QsciScintilla::Background, MARK_DRAWING_LINE);
    editor.setMarkerBackgroundColor(kDrawingLinePaper, MARK_DRAWING_LINE);
}

}  // namespace

void setup_program_editor(QsciScintilla& editor)
{
    // One byte a character, so a file's bytes come back unchanged.
    editor.setUtf8(false);
    editor.setEolMode(QsciScintilla::EolUnix);
    editor.setLexer(new ProgramLexer(&editor));
    editor.setWrapMode(QsciScintilla::WrapNone);
    editor.setTabWidth(4);
    editor.setIndentationsUseTabs(false);
    editor.setAutoIndent(true);
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
    QObject::connect(&editor, &QsciScintillaBase::SCN_ZOOM, &editor,
                     [&editor] { numberLines(editor); });
}

void load_editor_text(QsciScintilla& editor, const QString& text)
{
    editor.setText(text);
    editor.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    editor.setModified(false);
}

void mark_error(QsciScintilla& editor, int line, const QString& message, const QString& hint)
{
    clear_error_mark(editor);
    line = std::clamp(line, 0, editor.lines() - 1);
    editor.markerAdd(line, MARK_ERROR);
    editor.markerAdd(line, MARK_ERROR_LINE);
    // Annotations do not wrap: the hint is broken into lines that fit the
    // text area, the box's frame and a character of slack taken off.
    const QFontMetrics metrics(editor.font());
    int textWidth = editor.viewport()->width() - 3 * metrics.averageCharWidth();
    for (int margin = 0; margin < editor.margins(); ++margin)
        textWidth -= editor.marginWidth(margin);
    const int columns = std::max(20, textWidth / std::max(1, metrics.averageCharWidth()));
    const QString text =
        hint.isEmpty() ? message : message + QLatin1Char('\n') + wrap_to_columns(hint, columns);
    editor.annotate(line, text, STYLE_ERROR);
    editor.setCursorPosition(line, 0);
    editor.ensureLineVisible(line);
}

void clear_error_mark(QsciScintilla& editor)
{
    editor.markerDeleteAll(MARK_ERROR);
    editor.markerDeleteAll(MARK_ERROR_LINE);
    editor.clearAnnotations();
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

bool find_text(QsciScintilla& editor, const QString& text)
{
    return !text.isEmpty() && editor.findFirst(text, false, false, false, true);
}

int replace_all(QsciScintilla& editor, const QString& text, const QString& with)
{
    if (text.isEmpty())
        return 0;
    int count = 0;
    editor.beginUndoAction();
    // From the top, without going round, so replaced text is never searched again.
    for (bool found = editor.findFirst(text, false, false, false, false, true, 0, 0); found;
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
