// SPDX-License-Identifier: GPL-3.0-or-later
// Run and Halt: what a run shows, how each way of ending is reported, and
// that Halt and the close box reach a program with or without show.
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "qt_dialogs.h"
#include "window_fixture.h"

using korvane::MainWindow;
using Choice = korvane::Dialogs::Choice;

namespace {

const char* const kDrawing =
    "main()\n"
    "{\n"
    "clear(3);\n"
    "setcolor(1);\n"
    "fillrect(50,50,200,120);\n"
    "}";

const char* const kShowLoop =
    "main()\n"
    "{\n"
    "while (1) show();\n"
    "}";

// No show anywhere: only the interpreter's polls let events through.
const char* const kBusyLoop =
    "main()\n"
    "{\n"
    "while (1) ;\n"
    "}";

}  // namespace

TEST_F(WindowTest, RunOfADrawingProgramChangesTheDisplayedPicture)
{
    MainWindow& window = openQuietly();
    ASSERT_EQ(canvas()->picture().at(60, 60), 0);
    run(kDrawing);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_EQ(canvas()->picture().at(60, 60), 1);
    EXPECT_EQ(canvas()->picture().at(10, 10), 3);
    // y counts from the bottom on the canvas, from the top on the screen.
    EXPECT_EQ(canvas()->image().pixel(60, 399 - 60), qRgb(255, 0, 0));
    EXPECT_EQ(canvas()->image().pixel(60, 60), qRgb(0, 0, 255));
    EXPECT_FALSE(window.isRunning());
}

TEST_F(WindowTest, TextbookRecursionRunsInTheWindow)
{
    openQuietly();
    // Each program prints its count of filled pixels or drawn segments.
    const struct {
        const char* name;
        const char* printed;
        int x, y, colour;
    } cases[] = {{"deep_fill", "158404 ", 398, 1, 2}, {"subdivision", "4096 ", 99, 99, 0}};
    for (const auto& c : cases) {
        QFile file(QStringLiteral(KORVANE_TEST_PROGRAMS "/%1.cg").arg(QLatin1String(c.name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.name;
        run(QString::fromLatin1(file.readAll()));
        EXPECT_TRUE(dialogs.messages.isEmpty())
            << c.name << ": " << dialogs.messages.join("|").toStdString();
        EXPECT_TRUE(output()->toPlainText().endsWith(QLatin1String(c.printed))) << c.name;
        EXPECT_EQ(canvas()->picture().at(c.x, c.y), c.colour) << c.name;
    }
}

TEST_F(WindowTest, RunSavesTheEditorTextWithCrLfAndNothingAdded)
{
    openQuietly();
    run("main()\n{\n}");
    EXPECT_EQ(readFile("xxx.cg"), QByteArray("main()\r\n{\r\n}"));
}

TEST_F(WindowTest, AnErrorShowsOneMessageWithItsLineAndMarksTheLine)
{
    openQuietly();
    run("main()\n{\ny = 1;\n}");
    ASSERT_EQ(dialogs.messages, QStringList{"not a variable or function in line 2\n"});
    int line = -1, index = -1;
    editor()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(markedLines(korvane::MARK_ERROR), QList<int>{2});
    EXPECT_EQ(window_->findChild<QLabel*>(QStringLiteral("RunStatus"))->text(),
              "Stopped at an error in line 2");
    // The message, and under it the hint, wrapped to the editor's width.
    const QStringList annotation = editor()->annotation(2).split('\n');
    EXPECT_EQ(annotation.first(), "not a variable or function in line 2");
    EXPECT_TRUE(annotation.join(' ').contains("`y` is not declared"))
        << annotation.join('\n').toStdString();
    const int columns = editor()->width() / QFontMetrics(editor()->font()).averageCharWidth();
    for (const QString& row : annotation)
        EXPECT_LE(row.size(), columns) << row.toStdString();
    // The token where the error was found is underlined.
    EXPECT_NE(editor()->SendScintilla(QsciScintillaBase::SCI_INDICATORALLONFOR,
                                      editor()->positionFromLineIndex(2, 0)),
              0);
    // The margin numbers lines as the message does.
    char number[16] = {};
    editor()->SendScintilla(QsciScintillaBase::SCI_MARGINGETTEXT, 2, number);
    EXPECT_STREQ(number, "2");
    // Editing the text takes the stale mark away.
    editor()->append("x");
    EXPECT_TRUE(markedLines(korvane::MARK_ERROR).isEmpty());
    EXPECT_TRUE(editor()->annotation(2).isEmpty());
}

TEST_F(WindowTest, NoMainGivesExactlyOneNotice)
{
    openQuietly();
    run("f()\n{\n}");
    EXPECT_EQ(dialogs.messages, QStringList{"Program Error! Can't find main()"});
}

TEST_F(WindowTest, PrintOutputGoesToTheOutputPaneAndNeverIntoTheProgram)
{
    openQuietly();
    const QString program = "main()\n{\nprint(\"ab\");\nputs(\"c\");\nprint(7);\n}";
    run(program);
    run(editor()->text());  // each run starts with an empty pane
    EXPECT_EQ(editor()->text(), program);
    EXPECT_FALSE(editor()->isModified());
    EXPECT_EQ(readFile("xxx.cg"),
              "main()\r\n{\r\nprint(\"ab\");\r\nputs(\"c\");\r\nprint(7);\r\n}");
    EXPECT_EQ(output()->toPlainText(), "ab\nc\n7 ");
    // The pane is for reading and copying, not typing.
    EXPECT_TRUE(output()->isReadOnly());
    output()->selectAll();
    output()->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "ab\nc\n7 ");
}

TEST_F(WindowTest, HaltDuringAShowLoopEndsItWithUserTerminated)
{
    MainWindow& window = openQuietly();
    QTimer::singleShot(100, &window, &MainWindow::haltProgram);
    run(kShowLoop);
    EXPECT_EQ(dialogs.messages, QStringList{"user terminated program in line 2\n"});
    EXPECT_FALSE(window.isRunning());
}

// A loop that prints as fast as it can goes at the pace the Output pane
// shows its lines, so the window still answers.
TEST_F(WindowTest, HaltReachesALoopThatNeverCallsShow)
{
    MainWindow& window = openQuietly();
    for (const char* loop : {kBusyLoop, "main()\n{\nwhile (1) print(1);\n}"}) {
        SCOPED_TRACE(loop);
        dialogs.messages.clear();
        QTimer::singleShot(100, &window, &MainWindow::haltProgram);
        run(loop);
        EXPECT_EQ(dialogs.messages, QStringList{"user terminated program in line 2\n"});
    }
    EXPECT_TRUE(output()->toPlainText().startsWith(QLatin1String("1 \n1 \n")));
}

// The program runs on a thread of its own, so a long sleep leaves the
// window answering, and Halt ends the sleep at once.
TEST_F(WindowTest, HaltEndsALongSleepAtOnce)
{
    MainWindow& window = openQuietly();
    QTimer::singleShot(50, &window, &MainWindow::haltProgram);
    QElapsedTimer clock;
    clock.start();
    run("main()\n{\nsleep(600000);\nclear(1);\n}");
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(dialogs.messages, QStringList{"user terminated program in line 3\n"});
    EXPECT_EQ(canvas()->picture().at(5, 5), 0);
}

// A Halt or the close box while an input box asks stops the run before
// the input: the program never goes on with an answer nobody gave.
TEST_F(WindowTest, HaltOrClosingWhileAnInputBoxAsksStopsTheRunBeforeTheInput)
{
    const char* const program = "int x;\nmain()\n{\nx = getnum();\nprint(x);\nclear(1);\n}";
    MainWindow& window = openQuietly();
    window.show();
    dialogs.whileAsking = [&] { window.haltProgram(); };
    dialogs.textAnswers = QStringList{"7"};
    run(program);
    EXPECT_EQ(dialogs.captions, QStringList{"Input a number:"});
    EXPECT_EQ(output()->toPlainText(), "");
    EXPECT_EQ(canvas()->picture().at(5, 5), 0);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("RunStatus"))->text(), "Halted");
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();

    // The next run asks again and goes on.
    dialogs.whileAsking = nullptr;
    dialogs.textAnswers = QStringList{"7"};
    run(program);
    EXPECT_EQ(output()->toPlainText(), "7 ");
    EXPECT_EQ(canvas()->picture().at(5, 5), 1);

    // Halt in the box itself, where the window's Halt cannot be reached.
    dialogs.haltInInputBox = true;
    dialogs.textAnswers = QStringList{"9"};
    run(program);
    EXPECT_EQ(output()->toPlainText(), "");
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("RunStatus"))->text(), "Halted");
    dialogs.haltInInputBox = false;

    dialogs.whileAsking = [&] { window.close(); };
    dialogs.textAnswers = QStringList{"8"};
    run(program);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.isRunning());
    EXPECT_EQ(output()->toPlainText(), "");
    EXPECT_EQ(canvas()->picture().at(5, 5), 1);  // the run before's
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
}

TEST_F(WindowTest, HaltPressedWhileIdleDoesNotStopTheNextRun)
{
    MainWindow& window = openQuietly();
    window.haltProgram();
    run(kDrawing);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(canvas()->picture().at(60, 60), 1);
}

TEST_F(WindowTest, DuringARunOnlyHaltAndSaveImageAreLiveAndRunDoesNotNest)
{
    MainWindow& window = openQuietly();
    bool checked = false;
    QTimer::singleShot(100, &window, [&] {
        EXPECT_TRUE(window.isRunning());
        EXPECT_FALSE(button("Button1")->isEnabled());
        EXPECT_TRUE(button("Button2")->isEnabled());
        EXPECT_TRUE(button("Button3")->isEnabled());
        EXPECT_FALSE(menuAction("&Open")->isEnabled());
        EXPECT_FALSE(menuAction("&Save Program")->isEnabled());
        EXPECT_TRUE(editor()->isReadOnly());
        window.runProgram();  // a nested run would need a Halt of its own
        window.openProgram();
        checked = true;
    });
    QTimer::singleShot(200, &window, &MainWindow::haltProgram);
    QTimer::singleShot(400, &window, &MainWindow::haltProgram);
    run(kShowLoop);
    EXPECT_TRUE(checked);
    EXPECT_EQ(dialogs.messages, QStringList{"user terminated program in line 2\n"});
    EXPECT_TRUE(dialogs.fileTitles.size() == 1) << "Open asked for a file during the run";
    EXPECT_TRUE(button("Button1")->isEnabled());
    EXPECT_FALSE(editor()->isReadOnly());
}

TEST_F(WindowTest, ClosingDuringARunAsksAboutChangedTextThenHaltsAndCloses)
{
    MainWindow& window = openQuietly();
    window.show();
    // A named file keeps its unsaved mark through the run, so closing asks.
    openNamed("p.cg", "main()\r\n{\r\n}");
    dialogs.choices = {Choice::Cancel, Choice::Discard};
    QTimer::singleShot(100, &window, &QWidget::close);
    QTimer::singleShot(200, &window, [&] {
        EXPECT_TRUE(window.isRunning()) << "Cancel stopped the run";
        window.close();
    });
    run("main()\n{\nprint(1);\nwhile (1) ;\n}");
    EXPECT_EQ(dialogs.saveChangesAsked, 2);
    EXPECT_EQ(dialogs.messages, QStringList{"user terminated program in line 3\n"});
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.isRunning());
}

TEST_F(WindowTest, EndClosesTheWindow)
{
    MainWindow& window = openQuietly();
    window.show();
    run("main()\n{\nend;\n}");
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(WindowTest, InputBoxesUseTheirCaptionsAndARejectedNumberEndsTheRun)
{
    openQuietly();
    dialogs.textAnswers = QStringList{"12", "xyz"};
    run("int x, c;\nmain()\n{\nx = getnum();\nc = getche();\nprint(x);\nprint(c);\n}");
    EXPECT_EQ(dialogs.captions, (QStringList{"Input a number:", "Input a character:"}));
    EXPECT_EQ(output()->toPlainText(), "12 \n120 ");

    dialogs.messages.clear();
    dialogs.textAnswers = QStringList{"abc"};
    run("int x;\nmain()\n{\nx = getnum();\n}");
    EXPECT_EQ(dialogs.messages, QStringList{"'abc' is not a valid integer value"});
}

TEST_F(WindowTest, AFailedSaveOfTheProgramFileStopsTheRun)
{
    openQuietly();
    QDir().mkdir("xxx.cg.d");
    QFile::remove("xxx.cg");
    QDir().rename("xxx.cg.d", "xxx.cg");  // a folder cannot be written as a file
    run(kDrawing);
    EXPECT_EQ(dialogs.messages, QStringList{"Cannot create file xxx.cg"});
    EXPECT_EQ(canvas()->picture().at(60, 60), 0);
}

// The real box: its own Halt ends it with no answer (Cancel, were there none).
TEST(InputBox, HasAHaltButtonThatEndsItWithoutAnAnswer)
{
    korvane::QtDialogs dialogs;
    QTimer::singleShot(0, [] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QInputDialog*>(top)) {
                box->setTextValue(QStringLiteral("12"));
                if (auto* halt = box->findChild<QPushButton*>(QStringLiteral("HaltInput")))
                    halt->click();
                else
                    box->reject();
            }
    });
    QString answer = QStringLiteral("x");
    EXPECT_FALSE(dialogs.askInput(QStringLiteral("Input a number:"), QStringLiteral(">"), answer));
    EXPECT_EQ(answer, QString());
}
