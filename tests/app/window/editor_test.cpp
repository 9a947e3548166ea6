// SPDX-License-Identifier: GPL-3.0-or-later
// The program editor: highlighting from the scanner's rules, and the Edit
// menu's undo, the find bar and go-to-line.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <fstream>
#include <string>

#include "find_bar.h"
#include "program_styles.h"
#include "window_fixture.h"

using korvane::MainWindow;

namespace {

// One digit per byte: the style the editor gives it.
std::string styleMap(std::string_view text)
{
    std::string map;
    for (const korvane::StyleRun& run : korvane::style_runs(text))
        map.append(static_cast<size_t>(run.length), static_cast<char>('0' + run.style));
    return map;
}

int caretLine(const QsciScintilla& editor)
{
    int line = -1, index = -1;
    editor.getCursorPosition(&line, &index);
    return line;
}

}  // namespace

TEST(ProgramStyles, FollowTheScannersTokens)
{
    // The cases the page's editor is checked against too.
    std::ifstream cases(KORVANE_HIGHLIGHT_CASES);
    ASSERT_TRUE(cases) << KORVANE_HIGHLIGHT_CASES;
    int checked = 0;
    for (std::string text, styles; std::getline(cases, text);) {
        if (text.starts_with('#'))
            continue;
        ASSERT_TRUE(std::getline(cases, styles)) << text;
        std::replace(text.begin(), text.end(), '~', '\n');
        EXPECT_EQ(styleMap(text), styles) << text;
        ++checked;
    }
    EXPECT_GE(checked, 9);
}

TEST_F(WindowTest, UndoRestoresTheTextButNotPastALoad)
{
    openQuietly();
    korvane::load_editor_text(*editor(), "main()\n{\n}");
    editor()->setCursorPosition(1, 1);
    editor()->insert("\nclear(1);");
    ASSERT_TRUE(editor()->isModified());
    window_->undoEdit();
    EXPECT_EQ(editor()->text(), "main()\n{\n}");
    EXPECT_FALSE(editor()->isModified());
    window_->undoEdit();  // the loaded text is where undo stops
    EXPECT_EQ(editor()->text(), "main()\n{\n}");
    window_->redoEdit();
    EXPECT_EQ(editor()->text(), "main()\n{\nclear(1);\n}");
}

TEST_F(WindowTest, CtrlWheelZoomsAndTheMarginGrowsWithIt)
{
    openQuietly();
    korvane::load_editor_text(*editor(), "main()\n{\n}");
    const auto marginWidth = [&] {
        return editor()->SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 0);
    };
    const long before = marginWidth();
    QWidget* view = editor()->viewport();
    const QPointF at(50, 20);
    QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view, &wheel);
    EXPECT_GT(editor()->SendScintilla(QsciScintillaBase::SCI_GETZOOM), 0);
    EXPECT_GT(marginWidth(), before);
}

// Menus, docks and boxes are windows of their own: each must grow too.
TEST_F(WindowTest, LargerTextGrowsMenusDocksAndBoxesAndIsRemembered)
{
    openQuietly();
    window_->show();
    auto* file = window_->findChild<QMenu*>("File1");
    auto* dock = window_->findChild<QDockWidget*>("VariablesDock");
    auto* variables = window_->findChild<QWidget*>("VariablesView");
    const qreal menuPoints = file->font().pointSizeF();
    EXPECT_EQ(window_->menuBar()->font().pointSize(), 8);
    menuAction("&Larger Text")->trigger();
    EXPECT_EQ(window_->menuBar()->font().pointSize(), 12);
    EXPECT_EQ(file->font().pointSizeF(), menuPoints + 4);
    EXPECT_EQ(variables->font().pointSize(), 12);
    EXPECT_EQ(window_->findChild<QPlainTextEdit*>("Output")->font().pointSize(), 13);
    dock->setFloating(true);
    EXPECT_EQ(variables->font().pointSize(), 12);
    {
        QMenu later(window_.get());  // as the canvas's menu is made
        later.ensurePolished();
        EXPECT_EQ(later.font().pointSizeF(), menuPoints + 4);
    }

    window_->close();
    openQuietly();
    file = window_->findChild<QMenu*>("File1");
    EXPECT_TRUE(menuAction("&Larger Text")->isChecked());
    EXPECT_EQ(window_->menuBar()->font().pointSize(), 12);
    EXPECT_EQ(file->font().pointSizeF(), menuPoints + 4);
    menuAction("&Larger Text")->trigger();
    EXPECT_EQ(window_->menuBar()->font().pointSize(), 8);
    EXPECT_EQ(file->font().pointSizeF(), menuPoints);
}

// The find bar answers in its own line, never in a box that would stop typing.
TEST_F(WindowTest, FindBarFindsBothWaysGoesRoundAndSaysWhatItCannotFind)
{
    openQuietly();
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    korvane::load_editor_text(*editor(), "point(1, 1);\nline(0, 0, 5, 5);\nPoint(2, 2);\n");
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_F, Qt::ControlModifier);
    auto* bar = window_->findChild<korvane::FindBar*>();
    ASSERT_TRUE(bar && bar->isVisible());
    ASSERT_TRUE(bar->findField()->hasFocus());
    QTest::keyClicks(bar->findField(), "point");
    QTest::keyClick(bar->findField(), Qt::Key_Return);
    EXPECT_EQ(caretLine(*editor()), 0);
    EXPECT_EQ(editor()->selectedText(), "point");
    QTest::keyClick(bar->findField(), Qt::Key_Return);
    EXPECT_EQ(caretLine(*editor()), 2);  // names ignore case
    QTest::keyClick(bar->findField(), Qt::Key_Return);
    EXPECT_EQ(caretLine(*editor()), 0);
    QTest::keyClick(bar->findField(), Qt::Key_Return, Qt::ShiftModifier);  // goes round backwards
    EXPECT_EQ(caretLine(*editor()), 2);
    bar->matchCase()->setChecked(true);
    window_->findNext();
    EXPECT_EQ(caretLine(*editor()), 0);
    window_->findNext();
    EXPECT_EQ(caretLine(*editor()), 0);  // "Point" is not "point" now
    bar->findField()->setText("circle");
    window_->findNext();
    EXPECT_EQ(bar->status(), "Cannot find \"circle\".");
    EXPECT_EQ(dialogs.messages, QStringList());

    // Esc closes the bar and gives the editor its keys back.
    QTest::keyClick(bar->findField(), Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(editor()->hasFocus());
    editor()->setSelection(1, 0, 1, 4);  // a selection becomes the text to find
    QTest::keyClick(editor(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->findField()->text(), "line");
    EXPECT_EQ(bar->status(), "");
}

TEST_F(WindowTest, FindBarReplacesOneMatchOrAllAsOneUndoableStep)
{
    openQuietly();
    korvane::load_editor_text(*editor(), "x = X + 1;\nxx = 2;");
    window_->replaceText();
    auto* bar = window_->findChild<korvane::FindBar*>();
    bar->findField()->setText("x");
    bar->replaceField()->setText("xy");
    bar->replace();  // nothing selected yet: finds the first
    EXPECT_EQ(editor()->text(), "x = X + 1;\nxx = 2;");
    bar->replace();
    EXPECT_EQ(editor()->text(), "xy = X + 1;\nxx = 2;");
    EXPECT_EQ(editor()->selectedText(), "X");  // the next match, selected to replace
    bar->matchCase()->setChecked(true);
    bar->replaceAll();
    EXPECT_EQ(editor()->text(), "xyy = X + 1;\nxyxy = 2;");
    EXPECT_EQ(bar->status(), "Replaced 3 occurrence(s).");
    window_->undoEdit();
    EXPECT_EQ(editor()->text(), "xy = X + 1;\nxx = 2;");
    bar->findField()->setText("z");
    bar->replaceAll();
    EXPECT_EQ(bar->status(), "Cannot find \"z\".");
    EXPECT_EQ(dialogs.messages, QStringList());
}

// Ctrl+/ reaches the window, not the editor's own binding of that key.
TEST_F(WindowTest, ToggleCommentCommentsTheSelectedLinesAndTakesTheMarksAwayAgain)
{
    openQuietly();
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    korvane::load_editor_text(*editor(), "a();\n\n  b(); // keep\nc();");
    editor()->setSelection(0, 2, 3, 0);  // line 3 only touched at its start: left out
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_Slash, Qt::ControlModifier);
    EXPECT_EQ(editor()->text(), "// a();\n\n//   b(); // keep\nc();");
    editor()->setSelection(0, 0, 2, 3);
    QTest::keyClick(editor(), Qt::Key_Slash, Qt::ControlModifier);
    EXPECT_EQ(editor()->text(), "a();\n\n  b(); // keep\nc();");
    // A mix of commented and plain lines is commented as a whole.
    korvane::load_editor_text(*editor(), "// a();\nb();");
    editor()->selectAll();
    QTest::keyClick(editor(), Qt::Key_Slash, Qt::ControlModifier);
    EXPECT_EQ(editor()->text(), "// // a();\n// b();");
    window_->undoEdit();
    EXPECT_EQ(editor()->text(), "// a();\nb();");
}

TEST_F(WindowTest, GoToLineCountsFromZeroAsErrorMessagesDo)
{
    openQuietly();
    korvane::load_editor_text(*editor(), "a\nb\nc\nd");
    dialogs.textAnswers = QStringList{"2", "4", "two"};
    window_->goToLine();
    EXPECT_EQ(caretLine(*editor()), 2);
    window_->goToLine();
    window_->goToLine();
    EXPECT_EQ(caretLine(*editor()), 2);  // no such line: the caret stays
    EXPECT_EQ(dialogs.prompts.first(), "Line number (0 to 3):");
    EXPECT_EQ(dialogs.messages, (QStringList{"There is no line 4; the lines are 0 to 3.",
                                             "There is no line two; the lines are 0 to 3."}));
}

TEST_F(WindowTest, BracesIndentAndBackspaceRemovesOneLevel)
{
    openQuietly();
    window_->show();
    editor()->setFocus();
    QTest::keyClicks(editor(), "main() {");
    QTest::keyClick(editor(), Qt::Key_Return);
    QTest::keyClicks(editor(), "if (1) {");
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(editor()->indentation(2), 8);
    QTest::keyClick(editor(), Qt::Key_Backspace);  // in the leading blanks: one level
    EXPECT_EQ(editor()->indentation(2), 4);
    QTest::keyClicks(editor(), "x = 1;");
    QTest::keyClick(editor(), Qt::Key_Return);
    QTest::keyClicks(editor(), "}");
    EXPECT_EQ(editor()->text(), "main() {\n    if (1) {\n    x = 1;\n}");
    // A brace after other text stays where it is typed.
    QTest::keyClicks(editor(), " }");
    EXPECT_TRUE(editor()->text().endsWith("\n} }"));
}

TEST(EditorMarks, AMessageWrapsAtWordsAndCutsOnlyWordsLongerThanALine)
{
    EXPECT_EQ(korvane::wrap_words("syntax error in line 3", 12), "syntax error\nin line 3");
    EXPECT_EQ(korvane::wrap_words("abcdefghij xy", 4), "abcd\nefgh\nij\nxy");
    EXPECT_EQ(korvane::wrap_words("one\ntwo three", 20), "one\ntwo three");
}
