// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

// The resource lives in a static library, so it must be registered by hand.
static void initHelpResource()
{
    Q_INIT_RESOURCE(korvane);
}

namespace korvane {

namespace {

const QColor kSearchedWordColour(0xff, 0xe0, 0x70);

// The help text: topics, each starting at a line "= Title".
QList<HelpWindow::Topic> readTopics()
{
    initHelpResource();
    // The list of messages is written from the interpreter's table.
    QString text;
    for (const char* name : {":/help/korvane_help.txt", ":/help/help_messages.txt"}) {
        QFile file(QString::fromLatin1(name));
        if (file.open(QIODevice::ReadOnly))
            text += QString::fromUtf8(file.readAll());
    }
    // A line "@window" or "@page" starts text for that front end only,
    // "@all" text for both.
    QList<HelpWindow::Topic> topics;
    bool ours = true;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString marker = line.trimmed();
        if (marker == QLatin1String("@window") || marker == QLatin1String("@page") ||
            marker == QLatin1String("@all")) {
            ours = marker != QLatin1String("@page");
            continue;
        }
        if (!ours)
            continue;
        if (line.startsWith(QLatin1String("= ")))
            topics.append({line.mid(2).trimmed(), QString()});
        else if (!topics.isEmpty())
            topics.last().body += line + QLatin1Char('\n');
    }
    return topics;
}

bool mentionsAll(const HelpWindow::Topic& topic, const QStringList& words)
{
    for (const QString& word : words) {
        if (!topic.title.contains(word, Qt::CaseInsensitive) &&
            !topic.body.contains(word, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

bool titleMentions(const HelpWindow::Topic& topic, const QStringList& words)
{
    for (const QString& word : words)
        if (topic.title.contains(word, Qt::CaseInsensitive))
            return true;
    return false;
}

// Prose lines join into paragraphs that wrap to the pane; indented lines
// are examples and keep their lines and spacing.
QString topicHtml(const HelpWindow::Topic& topic)
{
    QString html = QStringLiteral("<h3>%1</h3>").arg(topic.title.toHtmlEscaped());
    QStringList paragraph, example;
    const auto flush = [&] {
        if (!paragraph.isEmpty())
            html += QStringLiteral("<p>%1</p>").arg(paragraph.join(' ').toHtmlEscaped());
        if (!example.isEmpty())
            html += QStringLiteral("<pre>%1</pre>").arg(example.join('\n').toHtmlEscaped());
        paragraph.clear();
        example.clear();
    };
    for (const QString& line : topic.body.split(QLatin1Char('\n'))) {
        const bool indented = line.startsWith(QLatin1Char(' '));
        if (line.trimmed().isEmpty() || (indented && !paragraph.isEmpty()) ||
            (!indented && !example.isEmpty()))
            flush();
        if (!line.trimmed().isEmpty())
            (indented ? example : paragraph) << (indented ? line : line.trimmed());
    }
    flush();
    return html;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), topics_(readTopics())
{
    setWindowTitle(QStringLiteral("Korvane Help"));
    // An open help window must not keep the application alive on its own.
    setAttribute(Qt::WA_QuitOnClose, false);
    createWidgets();
    filterTopics(QString());
    // Readable beside a small screen's main window or over it, never squeezed.
    setMinimumWidth(kMinimumWidth);
    resize(720, 480);
}

void HelpWindow::createWidgets()
{
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("search"));
    search_->setPlaceholderText(QStringLiteral("Type words to find, e.g. circle colour"));
    search_->setClearButtonEnabled(true);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("topics"));
    page_ = new QTextBrowser(this);
    page_->setObjectName(QStringLiteral("page"));
    page_->setLineWrapMode(QTextEdit::WidgetWidth);

    auto* left = new QVBoxLayout;
    left->addWidget(search_);
    left->addWidget(list_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addWidget(page_, 5);

    connect(search_, &QLineEdit::textChanged, this, &HelpWindow::filterTopics);
    connect(list_, &QListWidget::currentRowChanged, this, &HelpWindow::showTopic);
}

void HelpWindow::openFinder()
{
    show();
    raise();
    activateWindow();
    search_->setFocus();
    search_->selectAll();
}

// The search field and the lists leave Escape to the window.
void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void HelpWindow::filterTopics(const QString& words)
{
    const QStringList wanted = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    list_->clear();
    shown_.clear();
    // Topics named by the words come first, then those that only mention them.
    QList<int> mentioning;
    for (int i = 0; i < topics_.size(); ++i) {
        if (!mentionsAll(topics_[i], wanted))
            continue;
        if (wanted.isEmpty() || titleMentions(topics_[i], wanted))
            shown_.append(i);
        else
            mentioning.append(i);
    }
    shown_ += mentioning;
    for (int i : shown_)
        list_->addItem(topics_[i].title);
    if (shown_.isEmpty())
        page_->setPlainText(QStringLiteral("No topic mentions \"%1\".").arg(words));
    else
        list_->setCurrentRow(0);
}

void HelpWindow::showTopic(int row)
{
    if (row < 0 || row >= shown_.size())
        return;
    page_->setHtml(topicHtml(topics_[shown_[row]]));
    markSearchedWords();
}

void HelpWindow::markSearchedWords()
{
    QList<QTextEdit::ExtraSelection> marks;
    for (const QString& word : search_->text().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        for (QTextCursor found = page_->document()->find(word); !found.isNull();
             found = page_->document()->find(word, found)) {
            QTextEdit::ExtraSelection mark;
            mark.cursor = found;
            mark.format.setBackground(kSearchedWordColour);
            marks << mark;
        }
    }
    page_->setExtraSelections(marks);
}

}  // namespace korvane
