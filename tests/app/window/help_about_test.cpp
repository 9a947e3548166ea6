// SPDX-License-Identifier: GPL-3.0-or-later
// F1's help with its finder, and the About box.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "about_box.h"
#include "help_window.h"
#include "korvane_version.h"
#include "language.h"
#include "window_fixture.h"

using korvane::HelpWindow;

TEST(HelpWindowTest, EveryBuiltInHasATopicWithItsArguments)
{
    HelpWindow help;
    QStringList titles;
    QString errors;
    for (const auto& topic : help.topics()) {
        titles << topic.title;
        if (topic.title == "Messages")
            errors = topic.body;
    }
    ASSERT_EQ(korvane::builtin_table().size(), 38u);
    for (const korvane::BuiltinInfo& b : korvane::builtin_table()) {
        const QString signature = QString::fromStdString(korvane::builtin_signature(b));
        const auto found = std::find_if(titles.begin(), titles.end(),
                                        [&](const QString& t) { return t.startsWith(signature); });
        EXPECT_NE(found, titles.end()) << b.name;
    }
    for (const korvane::MessageInfo& m : korvane::message_table()) {
        if (m.hint[0] == '\0')
            continue;  // a code that nothing raises
        EXPECT_TRUE(errors.contains(QString("\"%1\": %2").arg(m.message, m.hint))) << m.message;
        EXPECT_TRUE(errors.contains(QString(m.example).split('\n').first())) << m.message;
    }
    for (const char* subject : {"Operators and precedence", "Statements", "Errors", "Comments",
                                "Saving pictures", "The View menu", "The Debug menu"})
        EXPECT_TRUE(titles.contains(subject)) << subject;
    // The page's parts of the shared text are not the window's.
    for (const char* subject : {"Keys in the page", "Debugging"})
        EXPECT_FALSE(titles.contains(subject)) << subject;
}

TEST(HelpWindowTest, TheSearchFieldNarrowsTheTopics)
{
    HelpWindow help;
    auto* search = help.findChild<QLineEdit*>("search");
    auto* list = help.findChild<QListWidget*>("topics");
    auto* page = help.findChild<QTextBrowser*>("page");
    EXPECT_EQ(list->count(), help.topics().size());

    search->setText("ellbdisk");
    ASSERT_GE(list->count(), 1);
    EXPECT_TRUE(list->item(0)->text().startsWith("ellbdisk("));
    EXPECT_TRUE(page->toPlainText().contains("border"));
    // The words searched for are marked on the page.
    const auto marks = page->extraSelections();
    ASSERT_FALSE(marks.isEmpty());
    for (const auto& mark : marks)
        EXPECT_EQ(mark.cursor.selectedText().toLower(), "ellbdisk");

    // Prose wraps to the pane, examples keep their lines.
    search->setText("Getting started");
    const QString page1 = page->toPlainText();
    EXPECT_TRUE(page1.contains("press Run (Alt+R, Ctrl+R or F5). Run saves"))
        << page1.toStdString();
    EXPECT_TRUE(page1.contains("  main()\n  {\n    int i;")) << page1.toStdString();
    EXPECT_FALSE(page1.contains("@") || page1.contains("download")) << page1.toStdString();

    search->setText("XOR ellipse");  // every word must appear, any case
    ASSERT_EQ(list->count(), 1);
    EXPECT_TRUE(list->item(0)->text().startsWith("xellipse("));

    search->setText("nosuchword");
    EXPECT_EQ(list->count(), 0);
}

TEST_F(WindowTest, F1OpensTheHelpFinderAndTheEditorStillGetsKeys)
{
    openQuietly();
    window_->show();
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_F1);
    ASSERT_TRUE(window_->helpWindow()->isVisible());
    QTest::keyClick(window_->helpWindow()->findChild<QLineEdit*>("search"), Qt::Key_Escape);
    EXPECT_FALSE(window_->helpWindow()->isVisible());
    QTest::keyClick(editor(), Qt::Key_F1);
    QTest::keyClick(editor(), Qt::Key_A);
    EXPECT_EQ(editor()->text(), "a");
    dialogs.choices = {korvane::Dialogs::Choice::Discard};
    window_->exitWindow();
    EXPECT_FALSE(window_->helpWindow()->isVisible());
}

TEST_F(WindowTest, AboutShowsTheSameBoxEachTime)
{
    openQuietly();
    QList<QDialog*> shown;
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shown << box;
            EXPECT_EQ(box->windowTitle(), "About KVW");
            EXPECT_EQ(box->findChild<QLabel*>("ProductName")->text(), "Korvane");
            EXPECT_EQ(box->findChild<QLabel*>("Version")->text(),
                      QStringLiteral("Version %1").arg(korvane::kVersion));
            EXPECT_EQ(box->findChild<QLabel*>("ProgramIcon")->pixmap().size(), QSize(96, 40));
            QTest::keyClick(box, Qt::Key_Escape);  // no cancel button: stays open
            EXPECT_TRUE(box->isVisible());
            QTest::keyClick(box, Qt::Key_Return);  // OK is the default button
        });
        window_->showAbout();
    }
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], shown[1]);
}

TEST_F(WindowTest, AboutNamesTheLicenceAndShowsItsFullText)
{
    openQuietly();
    QString licenceText;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->findChild<QLabel*>("Licence")->text(), "GPL-3.0-or-later");
        QTimer::singleShot(50, [&] {
            auto* shown = QApplication::activeModalWidget();
            ASSERT_NE(shown, nullptr);
            if (auto* text = shown->findChild<QPlainTextEdit*>())
                licenceText = text->toPlainText();
            QTest::keyClick(shown, Qt::Key_Escape);
        });
        box->findChild<QPushButton*>("LicenceButton")->click();
        QTest::keyClick(box, Qt::Key_Return);
    });
    window_->showAbout();
    EXPECT_TRUE(licenceText.contains(
        "GNU GENERAL PUBLIC LICENSE\n                       Version 3, 29 June 2007"));
    EXPECT_TRUE(licenceText.contains("END OF TERMS AND CONDITIONS"));
}
