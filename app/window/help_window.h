// SPDX-License-Identifier: GPL-3.0-or-later
// F1's help: a reference of the language and its built-ins, with a search
// field that narrows the list of topics to those mentioning the words typed
// and marks those words on the page. Escape closes it.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace korvane {

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMinimumWidth = 640;

    struct Topic {
        QString title;
        QString body;
    };

    explicit HelpWindow(QWidget* parent = nullptr);

    // Topics of the shipped help text, in its order.
    const QList<Topic>& topics() const { return topics_; }
    // Shows the window with the search field focused, as a finder.
    void openFinder();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void filterTopics(const QString& words);
    void showTopic(int row);

private:
    void createWidgets();
    void markSearchedWords();

    QList<Topic> topics_;
    QList<int> shown_;  // topics_ index of each list row
    QLineEdit* search_ = nullptr;
    QListWidget* list_ = nullptr;
    QTextBrowser* page_ = nullptr;
};

}  // namespace korvane
