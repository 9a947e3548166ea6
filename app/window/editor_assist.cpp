// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor_assist.h"

#include <Qsci/qsciscintilla.h>

#include <QKeyEvent>
#include <QToolTip>
#include <algorithm>

#include "interpreter.h"

namespace korvane {

namespace {

constexpr int kErrorIndicator = 8;
constexpr int kWarningIndicator = 9;
constexpr int kRereadDelayMs = 300;
constexpr int kDwellMs = 500;
constexpr int kCompleteAfter = 3;  // letters typed before the list opens by itself
constexpr int kCallSearchLimit = 4000;

bool is_name_char(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// The editor holds LF line ends; the interpreter counts lines by CR LF.
std::string program_text(const QsciScintilla& editor)
{
    std::string text;
    for (const char c : editor.text().toStdString()) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
    return text;
}

struct CallAt {
    QString name;
    int argument = -1;  // -1: the caret stands in no call
};

// The call whose parentheses hold the caret: the name before the open `(`
// and the number of commas between it and the caret.
CallAt call_at(const QString& text, int caret)
{
    int depth = 0, commas = 0;
    for (int i = caret - 1; i >= 0 && caret - i < kCallSearchLimit; --i) {
        const QChar c = text[i];
        if (c == QLatin1Char(')'))
            ++depth;
        else if (c == QLatin1Char(',') && depth == 0)
            ++commas;
        else if (c == QLatin1Char(';') || c == QLatin1Char('{') || c == QLatin1Char('}'))
            break;
        else if (c == QLatin1Char('(') && depth-- == 0) {
            int end = i;
            while (end > 0 && text[end - 1] == QLatin1Char(' '))
                --end;
            int start = end;
            while (start > 0 && is_name_char(text[start - 1]))
                --start;
            return {text.mid(start, end - start).toLower(), start < end ? commas : -1};
        }
    }
    return {};
}

int caret_position(const QsciScintilla& editor)
{
    return static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
}

// The text up to the caret, whose position Scintilla counts in UTF-8 bytes.
QString text_to_caret(const QsciScintilla& editor)
{
    return QString::fromUtf8(editor.text().toUtf8().left(caret_position(editor)));
}

}  // namespace

EditorAssist::EditorAssist(QsciScintilla& editor) : QObject(&editor), editor_(editor)
{
    editor.indicatorDefine(QsciScintilla::PlainIndicator, kErrorIndicator);
    editor.setIndicatorForegroundColor(QColor(0xcc, 0x22, 0x22), kErrorIndicator);
    editor.indicatorDefine(QsciScintilla::SquiggleIndicator, kWarningIndicator);
    editor.setIndicatorForegroundColor(QColor(0xd0, 0x80, 0x00), kWarningIndicator);
    editor.SendScintilla(QsciScintillaBase::SCI_SETMOUSEDWELLTIME, kDwellMs);
    // Names ignore case; Enter stays a line break (see eventFilter).
    editor.SendScintilla(QsciScintillaBase::SCI_AUTOCSETIGNORECASE, 1);
    editor.SendScintilla(QsciScintillaBase::SCI_AUTOCSETSEPARATOR, ' ');
    reread_.setSingleShot(true);
    reread_.setInterval(kRereadDelayMs);
    connect(&reread_, &QTimer::timeout, this, &EditorAssist::refresh);
    connect(&editor, &QsciScintilla::textChanged, this, [this] {
        editor_.clearIndicatorRange(0, 0, editor_.lines(), 0, kErrorIndicator);
        reread_.start();
    });
    connect(&editor, &QsciScintillaBase::SCN_CHARADDED, this, &EditorAssist::char_added);
    connect(&editor, &QsciScintilla::cursorPositionChanged, this, [this] {
        if (QToolTip::isVisible() && !call_tip().isEmpty())
            show_call_tip();
    });
    connect(&editor, &QsciScintillaBase::SCN_DWELLSTART, this, [this](int position, int x, int y) {
        const QString text = position >= 0 ? hover_text(position) : QString();
        if (!text.isEmpty())
            QToolTip::showText(editor_.viewport()->mapToGlobal(QPoint(x, y)), text,
                               editor_.viewport());
    });
    connect(&editor, &QsciScintillaBase::SCN_DWELLEND, this, [] { QToolTip::hideText(); });
    editor.installEventFilter(this);
    refresh();
}

void EditorAssist::refresh()
{
    reread_.stop();
    outline_ = outline_program(program_text(editor_));
    mark_warnings();
}

void EditorAssist::mark_warnings()
{
    editor_.clearIndicatorRange(0, 0, editor_.lines(), 0, kWarningIndicator);
    for (const CallWarning& w : outline_.warnings) {
        editor_.fillIndicatorRange(w.place.line, w.place.column, w.place.line,
                                   w.place.column + w.place.length, kWarningIndicator);
    }
}

void EditorAssist::underline_error(const TextPlace& token)
{
    editor_.clearIndicatorRange(0, 0, editor_.lines(), 0, kErrorIndicator);
    if (token.line < 0 || token.line >= editor_.lines())
        return;
    editor_.fillIndicatorRange(token.line, token.column, token.line,
                               token.column + std::max(token.length, 1), kErrorIndicator);
}

QString EditorAssist::signature_html(const QString& name, int argument) const
{
    QStringList arguments;
    QString description;
    if (const int b = find_builtin(name.toStdString()); b >= 0) {
        const BuiltinInfo& info = builtin_table()[static_cast<size_t>(b)];
        if (info.arguments[0] != '\0')
            arguments = QString::fromLatin1(info.arguments).split(QStringLiteral(", "));
        description = QString::fromLatin1(info.description);
    } else {
        const auto f = std::find_if(
            outline_.functions.begin(), outline_.functions.end(),
            [&](const FunctionOutline& o) { return QString::fromStdString(o.name) == name; });
        if (f == outline_.functions.end())
            return {};
        for (const std::string& p : f->parameters)
            arguments << QString::fromStdString(p);
        description = tr("a function of this program, line %1").arg(f->line);
    }
    for (int i = 0; i < arguments.size(); ++i) {
        arguments[i] = arguments[i].toHtmlEscaped();
        if (i == argument)
            arguments[i] = QStringLiteral("<b>%1</b>").arg(arguments[i]);
    }
    return QStringLiteral("<tt>%1(%2)</tt><br>%3")
        .arg(name.toHtmlEscaped(), arguments.join(QStringLiteral(", ")),
             description.toHtmlEscaped());
}

QString EditorAssist::call_tip() const
{
    const QString text = text_to_caret(editor_);
    const CallAt call = call_at(text, static_cast<int>(text.size()));
    return call.argument < 0 ? QString() : signature_html(call.name, call.argument);
}

QString EditorAssist::hover_text(int position) const
{
    int line = 0, index = 0;
    editor_.lineIndexFromPosition(position, &line, &index);
    for (const CallWarning& w : outline_.warnings) {
        if (w.place.line == line && index >= w.place.column &&
            index < w.place.column + w.place.length) {
            return QStringLiteral("%1<br><tt>%2</tt>")
                .arg(QString::fromStdString(w.text).toHtmlEscaped(),
                     QString::fromStdString(w.signature).toHtmlEscaped());
        }
    }
    const QString word = editor_.wordAtLineIndex(line, index).toLower();
    return word.isEmpty() ? QString() : signature_html(word, -1);
}

QStringList EditorAssist::completions() const
{
    const QString text = text_to_caret(editor_);
    const int caret = static_cast<int>(text.size());
    int start = caret;
    while (start > 0 && is_name_char(text[start - 1]))
        --start;
    const QString prefix = text.mid(start, caret - start).toLower();
    QStringList names;
    for (const char* n : builtin_names())
        names << QString::fromLatin1(n);
    for (const char* k : keyword_names())
        names << QString::fromLatin1(k);
    for (const FunctionOutline& f : outline_.functions)
        names << QString::fromStdString(f.name);
    for (const std::string& n : outline_.names)
        names << QString::fromStdString(n);
    QStringList matching;
    for (const QString& n : names) {
        if (n.startsWith(prefix, Qt::CaseInsensitive) && !matching.contains(n))
            matching << n;
    }
    matching.sort(Qt::CaseInsensitive);
    return matching;
}

void EditorAssist::show_call_tip()
{
    const QString tip = call_tip();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    const int caret = caret_position(editor_);
    const int x = static_cast<int>(
        editor_.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, caret));
    const int y = static_cast<int>(
        editor_.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, caret));
    const int below = static_cast<int>(editor_.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0));
    QToolTip::showText(editor_.viewport()->mapToGlobal(QPoint(x, y + below)), tip,
                       editor_.viewport());
}

void EditorAssist::show_completions(bool typed)
{
    const QString text = text_to_caret(editor_);
    const int caret = static_cast<int>(text.size());
    int start = caret;
    while (start > 0 && is_name_char(text[start - 1]))
        --start;
    const QString word = text.mid(start, caret - start);
    QStringList names = completions();
    // Typing a whole name opens no list for it alone.
    if (typed && (names.isEmpty() ||
                  (names.size() == 1 && names[0].compare(word, Qt::CaseInsensitive) == 0)))
        return;
    if (names.isEmpty())
        return;
    editor_.SendScintilla(QsciScintillaBase::SCI_AUTOCSHOW,
                          static_cast<unsigned long>(word.toUtf8().size()),
                          names.join(QLatin1Char(' ')).toUtf8().constData());
}

void EditorAssist::char_added(int c)
{
    if (c == '(' || c == ',') {
        show_call_tip();
    } else if (c == ')' || c == ';') {
        if (call_tip().isEmpty())
            QToolTip::hideText();
    } else if (c < 128 && is_name_char(QChar(c)) &&
               !editor_.SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE)) {
        const QString text = text_to_caret(editor_);
        int start = static_cast<int>(text.size());
        const int caret = start;
        while (start > 0 && is_name_char(text[start - 1]))
            --start;
        if (caret - start == kCompleteAfter && !text[start].isDigit())
            show_completions(true);
    }
}

bool EditorAssist::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &editor_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && editor_.SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE)) {
            // Enter makes a line break; Tab or a click picks a name.
            editor_.SendScintilla(QsciScintillaBase::SCI_AUTOCCANCEL);
        } else if (key->key() == Qt::Key_Space && (key->modifiers() & Qt::ControlModifier)) {
            show_completions(false);
            return true;
        } else if (key->key() == Qt::Key_Escape && QToolTip::isVisible()) {
            QToolTip::hideText();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvane
