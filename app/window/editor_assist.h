// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor knows of the language as you type: call tips with the
// current argument in bold, completion of names, warnings about calls with
// another number of values (a wavy underline, the signature on hover), and
// the underline of the token where the last error was found. All of it comes
// from the interpreter's tables and its outline of the program.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <vector>

#include "language.h"

class QsciScintilla;

namespace korvane {

class EditorAssist : public QObject {
    Q_OBJECT

public:
    explicit EditorAssist(QsciScintilla& editor);

    // Reads the program again now: its functions, names and warnings.
    void refresh();
    const std::vector<CallWarning>& warnings() const { return outline_.warnings; }

    // Underlines the token where an error was found; cleared when the text changes.
    void underline_error(const TextPlace& token);

    // The call tip for the call the caret stands in, as rich text, or "".
    QString call_tip() const;
    // What pointing at a position shows: a warning with the signature, or
    // the signature and description of a called name; "" for anything else.
    QString hover_text(int position) const;
    // The names that complete the word before the caret.
    QStringList completions() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QsciScintilla& editor_;
    ProgramOutline outline_;
    QTimer reread_;

    QString signature_html(const QString& name, int argument) const;
    void char_added(int c);
    void show_call_tip();
    void show_completions(bool typed);
    void mark_warnings();
};

}  // namespace korvane
