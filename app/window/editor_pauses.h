// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's part in pauses: breakpoint marks in the margin, which move
// with the text as Scintilla markers do, and the mark on the statement a
// pause stands before.
#pragma once

#include <vector>

#include "pause_host.h"

class QsciScintilla;

namespace korvane {

// Makes a click in the line-number or the mark margin toggle a breakpoint.
void setup_breakpoint_margin(QsciScintilla& editor);
void toggle_breakpoint(QsciScintilla& editor, int line);
// The marked lines, from the top.
std::vector<int> breakpoint_lines(QsciScintilla& editor);
void set_breakpoint_lines(QsciScintilla& editor, const std::vector<int>& lines);

// Marks the text of range; clear_statement_mark takes the mark away.
void mark_statement(QsciScintilla& editor, const TextRange& range);
void clear_statement_mark(QsciScintilla& editor);

}  // namespace korvane
