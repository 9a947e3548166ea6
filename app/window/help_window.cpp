#include "help_window.h"

#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
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

// The help text: topics, each starting at a line "= Title".
QList<HelpWindow::Topic> readTopics()
{
    initHelpResource();
    QFile file(QStringLiteral(":/help/korvane_help.txt"));
    QList<HelpWindow::Topic> topics;
    if (!file.open(QIODevice::ReadOnly))
        return topics;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
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

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), topics_(readTopics())
{
    setWindowTitle(QStringLiteral("Korvane Help"));
    // An open help window must not keep the application alive on its own.
    setAttribute(Qt::WA_QuitOnClose, false);
    createWidgets();
    filterTopics(QString());
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
    page_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

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
    const Topic& topic = topics_[shown_[row]];
    page_->setPlainText(topic.title + QLatin1String("\n\n") + topic.body.trimmed());
}

}  // namespace korvane
