// SPDX-License-Identifier: GPL-3.0-or-later
// File and Edit menus: Open and Save Program round trips, the ".cg" rule,
// and the question before changed text would be thrown away.
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>

#include "window_fixture.h"

using Choice = korvane::Dialogs::Choice;

TEST_F(WindowTest, OpenAndSaveProgramRoundTripAFileByteForByte)
{
    openQuietly();
    const QByteArray program("main()\r\n{\r\n\tprint(\"\xe9t\xe9\");  \r\n}\r\n\r\nlast");
    writeFile("in.cg", program);
    dialogs.fileAnswers = QStringList{path("in.cg"), path("out.cg")};
    window_->openProgram();
    EXPECT_EQ(editor()->text().count('\n'), 5);
    EXPECT_FALSE(editor()->text().contains('\r'));
    window_->saveProgramAs();
    EXPECT_EQ(readFile("out.cg"), program);
    EXPECT_EQ(dialogs.fileFilters.mid(1),
              (QStringList{"Korvane programs (*.cg)", "Korvane programs (*.cg)"}));
    // Both dialogs offer the name chosen last.
    EXPECT_EQ(dialogs.filePresets.at(2), path("in.cg"));
}

// A letter beyond Latin-1 makes the file UTF-8, and every letter comes back.
TEST_F(WindowTest, OpenAndSaveProgramKeepEveryLetter)
{
    openQuietly();
    const QString comment =
        QStringLiteral(
            "// Kreis f\u00fcr Ana: \u00f1 \u20ac \u041f\u0440\u0438\u0432\u0435\u0442 ") +
        QString::fromUcs4(U"\U0001F600");
    writeFile("in.cg", comment.toUtf8());
    dialogs.fileAnswers = QStringList{path("in.cg"), path("out.cg")};
    window_->openProgram();
    EXPECT_EQ(editor()->text(), comment);
    window_->saveProgramAs();
    EXPECT_EQ(readFile("out.cg"), comment.toUtf8());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(WindowTest, SaveProgramAppendsCgOnlyToANameWithoutAnyDot)
{
    openQuietly();
    editor()->setText("x");
    QDir().mkdir("my.folder");
    const struct {
        QString chosen, written;
    } cases[] = {
        {path("prog"), path("prog.cg")},
        {path("prog.txt"), path("prog.txt")},
        {path("my.folder/prog"), path("my.folder/prog")},
    };
    for (const auto& c : cases) {
        dialogs.fileAnswers = QStringList{c.chosen};
        window_->saveProgramAs();
        EXPECT_EQ(readFile(c.written), QByteArray("x")) << c.chosen.toStdString();
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(WindowTest, FailuresToOpenOrSaveNameTheFileAndKeepTheText)
{
    openQuietly();
    korvane::load_editor_text(*editor(), "keep");
    dialogs.fileAnswers = QStringList{path("absent.cg"), path("no/such/dir/p.cg")};
    window_->openProgram();
    window_->saveProgram();
    EXPECT_EQ(dialogs.messages, (QStringList{"Cannot open file " + path("absent.cg"),
                                             "Cannot create file " + path("no/such/dir/p.cg")}));
    EXPECT_EQ(editor()->text(), "keep");
}

TEST_F(WindowTest, ChangedTextIsNotThrownAwayWithoutAsking)
{
    openQuietly();
    window_->show();
    editor()->insert("changed");

    window_->close();  // Cancel: stays open
    EXPECT_EQ(dialogs.saveChangesAsked, 1);
    EXPECT_TRUE(window_->isVisible());

    dialogs.choices = {Choice::Cancel};
    window_->openProgram();  // Cancel: no open dialog, text kept
    EXPECT_EQ(dialogs.fileTitles.size(), 1);
    EXPECT_EQ(editor()->text(), "changed");

    dialogs.choices = {Choice::Save};
    dialogs.fileAnswers = QStringList{path("kept")};
    window_->exitWindow();
    EXPECT_EQ(readFile("kept.cg"), QByteArray("changed"));
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(WindowTest, UnchangedOrRunTextClosesWithoutAQuestion)
{
    openQuietly();
    window_->show();
    run("main()\n{\n}");
    window_->exitWindow();
    EXPECT_EQ(dialogs.saveChangesAsked, 0);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(WindowTest, RunKeepsTheUnsavedMarkOfANamedFileUntilItIsSaved)
{
    openQuietly();
    window_->show();
    openNamed("mycircle.cg", "main()\r\n{\r\n}");
    editor()->setCursorPosition(2, 1);
    editor()->insert("\nclear(1);");
    window_->runProgram();
    waitForRun();
    EXPECT_EQ(window_->windowTitle(), "mycircle.cg[*] - Korvane");
    EXPECT_TRUE(window_->isWindowModified());
    EXPECT_EQ(readFile("xxx.cg"), "main()\r\n{\r\n}\r\nclear(1);");
    EXPECT_EQ(readFile("mycircle.cg"), "main()\r\n{\r\n}");

    window_->exitWindow();  // Cancel
    window_->newProgram();  // Cancel
    EXPECT_EQ(dialogs.saveChangesAsked, 2);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(editor()->lines(), 4);

    // Save Program writes the named file without asking for a name.
    const qsizetype asked = dialogs.fileTitles.size();
    window_->saveProgram();
    EXPECT_EQ(dialogs.fileTitles.size(), asked);
    EXPECT_EQ(readFile("mycircle.cg"), "main()\r\n{\r\n}\r\nclear(1);");
    EXPECT_FALSE(window_->isWindowModified());
}

TEST_F(WindowTest, EditMenuCutsCopiesAndPastesInTheEditor)
{
    openQuietly();
    editor()->setText("abc");
    editor()->selectAll();
    window_->copyText();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "abc");
    window_->cutText();
    EXPECT_TRUE(editor()->text().isEmpty());
    window_->pasteText();
    window_->pasteText();
    EXPECT_EQ(editor()->text(), "abcabc");
}

TEST_F(WindowTest, TitleNamesTheProgramAndMarksUnsavedChanges)
{
    writeFile("xxx.cg", "main()\r\n{\r\n}");
    openWindow();
    EXPECT_EQ(window_->windowTitle(), "xxx.cg[*] - Korvane");
    EXPECT_FALSE(window_->isWindowModified());
    editor()->insert("x");
    EXPECT_TRUE(window_->isWindowModified());

    dialogs.choices = {Choice::Discard};
    window_->newProgram();
    EXPECT_TRUE(editor()->text().isEmpty());
    EXPECT_EQ(window_->windowTitle(), "Untitled[*] - Korvane");
    EXPECT_FALSE(window_->isWindowModified());

    editor()->insert("y");
    dialogs.fileAnswers = QStringList{path("mine")};
    window_->saveProgramAs();
    EXPECT_EQ(readFile("mine.cg"), QByteArray("y"));
    EXPECT_EQ(window_->windowTitle(), "mine.cg[*] - Korvane");
    EXPECT_FALSE(window_->isWindowModified());
}

TEST_F(WindowTest, RecentFilesListOpenedAndSavedProgramsNewestFirst)
{
    openQuietly();
    writeFile("a.cg", "a");
    writeFile("b.cg", "b");
    dialogs.fileAnswers = QStringList{path("a.cg"), path("b.cg"), path("a.cg")};
    window_->openProgram();
    window_->openProgram();
    window_->openProgram();
    korvane::RecentFiles recent;
    ASSERT_EQ(recent.files().mid(0, 2), (QStringList{path("a.cg"), path("b.cg")}));

    window_->openRecentProgram(path("b.cg"));
    EXPECT_EQ(editor()->text(), "b");
    QFile::remove(path("a.cg"));
    window_->openRecentProgram(path("a.cg"));  // gone: said so, and dropped from the list
    EXPECT_EQ(dialogs.messages, QStringList{"Cannot open file " + path("a.cg")});
    EXPECT_FALSE(recent.files().contains(path("a.cg")));
    EXPECT_EQ(editor()->text(), "b");
}

TEST_F(WindowTest, KeysSaveRunAndZoomTheEditorText)
{
    openQuietly();
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get(), 5000));
    openNamed("keys.cg", "main()\r\n{\r\n}");
    editor()->setFocus();
    editor()->setCursorPosition(2, 0);
    QTest::keyClicks(editor(), "clear(1);");
    QTest::keyClick(editor(), Qt::Key_Return);
    const auto zoom = [this] { return editor()->SendScintilla(QsciScintillaBase::SCI_GETZOOM); };

    QTest::keyClick(editor(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readFile("keys.cg"), "main()\r\n{\r\nclear(1);\r\n}");
    QTest::keyClick(editor(), Qt::Key_R, Qt::ControlModifier);
    waitForRun();
    EXPECT_EQ(canvas()->picture().at(5, 5), 1);
    QTest::keyClick(editor(), Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(editor(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(zoom(), 2);
    QTest::keyClick(editor(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(zoom(), 1);
    QTest::keyClick(editor(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(zoom(), 0);
    EXPECT_EQ(editor()->text(), "main()\n{\nclear(1);\n}") << "a key typed into the text";
    EXPECT_TRUE(dialogs.fileTitles.size() == 2) << "Ctrl+S asked for a name";

    QTest::keyClick(editor(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window_->isVisible());
}

// An example opens as an untitled copy, so Save never writes over it.
TEST_F(WindowTest, ExamplesMenuListsTheExamplesAndOpensOneUntitled)
{
    openQuietly();
    QDir().mkdir(QStringLiteral("examples"));
    writeFile(QStringLiteral("examples/lines.cg"), "main()\r\n{\r\n}");
    writeFile(QStringLiteral("examples/arcs.cg"), "main() {}");
    writeFile(QStringLiteral("examples/notes.txt"), "not a program");
    auto* menu = window_->findChild<QMenu*>(QStringLiteral("Examples1"));
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    QStringList names;
    for (QAction* action : menu->actions())
        names << action->text();
    EXPECT_EQ(names, (QStringList{"arcs.cg", "lines.cg"}));
    menu->actions().at(1)->trigger();
    EXPECT_EQ(editor()->text(), "main()\n{\n}");
    EXPECT_EQ(window_->windowTitle(), "Untitled[*] - Korvane");
    dialogs.fileAnswers = QStringList{path("mine.cg")};
    window_->saveProgram();
    EXPECT_EQ(readFile(QStringLiteral("examples/lines.cg")), "main()\r\n{\r\n}");
    EXPECT_EQ(readFile(QStringLiteral("mine.cg")), "main()\r\n{\r\n}");
}
