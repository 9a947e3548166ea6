// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's knowledge of the language as you type: call tips with the
// current argument in bold, completion that leaves Enter a line break, and
// warnings about calls marked where they stand.
#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>

#include <QTest>
#include <QToolTip>

#include "editor_assist.h"
#include "program_editor.h"

namespace {

struct AssistedEditor {
    AssistedEditor()
    {
        korvane::setup_program_editor(editor);
        editor.resize(600, 400);
        editor.show();
        editor.setFocus();
    }
    QsciScintilla editor;
    korvane::EditorAssist* assist = new korvane::EditorAssist(editor);
};

TEST(EditorAssist, CallTipsShowTheArgumentOrderWithTheCurrentOneBold)
{
    AssistedEditor a;
    QTest::keyClicks(&a.editor, "brect(1, 2, 3, 4, ");
    EXPECT_EQ(a.assist->call_tip(),
              "<tt>brect(x1, y1, x2, y2, <b>fill_colour</b>, border_colour)</tt><br>draws a filled "
              "rectangle with a "
              "border");
    EXPECT_TRUE(QToolTip::text().contains("<b>fill_colour</b>"));
    // A nested call has its own tip; after it the outer one comes back.
    QTest::keyClicks(&a.editor, "bdisk(1, ");
    EXPECT_TRUE(a.assist->call_tip().contains("bdisk(x, <b>y</b>, r, border_colour, fill_colour)"));
    QTest::keyClicks(&a.editor, "2), ");
    EXPECT_TRUE(a.assist->call_tip().contains("<b>border_colour</b>"));
    // The program's own functions show their parameters.
    a.editor.setText("f(int a, int b) { }\nmain() { f(1, ");
    a.assist->refresh();
    a.editor.setCursorPosition(1, 14);
    EXPECT_TRUE(a.assist->call_tip().startsWith("<tt>f(int a, <b>int b</b>)</tt>"));
}

TEST(EditorAssist, CompletionOpensAfterThreeLettersAndLeavesEnterALineBreak)
{
    AssistedEditor a;
    a.editor.setText("int counter;\n");
    a.assist->refresh();
    a.editor.setCursorPosition(1, 0);
    QTest::keyClicks(&a.editor, "ell");
    EXPECT_TRUE(a.editor.SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE));
    EXPECT_EQ(a.assist->completions(), (QStringList{"ellbdisk", "elldisk", "ellipse"}));
    QTest::keyClick(&a.editor, Qt::Key_Return);
    EXPECT_EQ(a.editor.text(), "int counter;\nell\n");
    QTest::keyClicks(&a.editor, "co");
    QTest::keyClick(&a.editor, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(a.editor.SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE));
    EXPECT_EQ(a.assist->completions(), (QStringList{"continue", "counter"}));
    QTest::keyClick(&a.editor, Qt::Key_Tab);
    EXPECT_EQ(a.editor.text(), "int counter;\nell\ncontinue");
}

TEST(EditorAssist, CallsWithAnotherNumberOfValuesAreUnderlinedWithTheSignatureOnHover)
{
    AssistedEditor a;
    a.editor.setText("main() {\n  line(1, 2, 300);\n  point(1, 2);\n}");
    a.assist->refresh();
    ASSERT_EQ(a.assist->warnings().size(), 1u);
    const long at = a.editor.positionFromLineIndex(1, 3);
    EXPECT_NE(a.editor.SendScintilla(QsciScintillaBase::SCI_INDICATORALLONFOR, at), 0);
    EXPECT_EQ(a.editor.SendScintilla(QsciScintillaBase::SCI_INDICATORALLONFOR,
                                     a.editor.positionFromLineIndex(2, 3)),
              0);
    EXPECT_TRUE(
        a.assist->hover_text(static_cast<int>(at)).contains("<tt>line(x1, y1, x2, y2)</tt>"));
    EXPECT_TRUE(a.assist->hover_text(static_cast<int>(a.editor.positionFromLineIndex(2, 3)))
                    .startsWith("<tt>point(x, y)</tt>"));
}

}  // namespace
