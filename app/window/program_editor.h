// SPDX-License-Identifier: GPL-3.0-or-later
// The program editor is a QsciScintilla configured here: line numbers
// counted from 0 as error messages count them, the error and drawing marks,
// and the Edit menu's searches.
#pragma once

class QString;
class QsciScintilla;

namespace korvane {

// Markers of the symbol margin; each has a partner that tints the line.
enum EditorMarker : int {
    MARK_ERROR = 0,
    MARK_ERROR_LINE = 1,
    MARK_DRAWING = 2,
    MARK_DRAWING_LINE = 3,
    MARK_BREAKPOINT = 4,
    MARK_HALT = 5,
    MARK_HALT_LINE = 6,
};

// Lexer, margins, markers, indentation and the other settings of the editor.
void setup_program_editor(QsciScintilla& editor);

// Shows the program's text, as loaded: nothing to undo, nothing changed.
void load_editor_text(QsciScintilla& editor, const QString& text);

// Marks line (from 0) in the margin, with message and its hint shown under
// it, wrapped to the editor's width (again whenever that changes), and moves
// the caret there. A halt is not a mistake in the program: it has marks of
// its own.
void mark_error(QsciScintilla& editor, int line, const QString& message, const QString& hint);
void mark_halt(QsciScintilla& editor, int line, const QString& message, const QString& hint);
// Clears either mark.
void clear_error_mark(QsciScintilla& editor);

// Breaks text into lines of at most columns characters, between words where
// it can. Lines already in text stay.
QString wrap_words(const QString& text, int columns);

// Marks the line whose drawing call comes next (-1 clears the mark).
void mark_drawing_line(QsciScintilla& editor, int line);

// Selects the next match of text after the selection (or the one before
// it), going round at the end; false if the text holds none. Case is
// ignored unless asked for, as names ignore it.
bool find_text(QsciScintilla& editor, const QString& text, bool matchCase = false,
               bool forward = true);

// Replaces every match of text as one undoable step; the number replaced.
int replace_all(QsciScintilla& editor, const QString& text, const QString& with,
                bool matchCase = false);

// Comments out the selected lines (or the caret's) with "// " before their
// text, or, when every one that holds text is commented already, takes the
// comment marks away again; one undoable step.
void toggle_comment(QsciScintilla& editor);

// Puts the caret at the start of line (from 0) and scrolls to it; false,
// and nothing moves, if the text has no such line.
bool go_to_line(QsciScintilla& editor, int line);

}  // namespace korvane
