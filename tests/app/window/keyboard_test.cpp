// SPDX-License-Identifier: GPL-3.0-or-later
// The window without a mouse: every control a user reaches has a name for
// assistive technology, the keys that leave the editor and go round the
// panes, the canvas cursor driving the inspector, and the canvas in words.
#include <QAccessible>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include "timeline_bar.h"
#include "window_fixture.h"

using korvane::MainWindow;

namespace {

const char* const kTwoColours =
    "main()\n"
    "{\n"
    "clear(0);\n"
    "setcolor(2);\n"
    "fillrect(10, 20, 12, 21);\n"
    "}";

class KeyboardTest : public WindowTest {
protected:
    // Shows the window and makes it the active one, as shortcuts need.
    MainWindow& openActive()
    {
        MainWindow& window = openQuietly();
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        return window;
    }

    // The accessible name, as a screen reader is told it.
    static QString nameOf(QWidget* widget)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        return face ? face->text(QAccessible::Name) : QString();
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }

    QString focused() const
    {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QStringLiteral("(none)");
    }
};

TEST_F(KeyboardTest, EveryWidgetAUserReachesHasAnAccessibleName)
{
    MainWindow& window = openActive();
    run(kTwoColours);
    window.showInspector(true);
    window.canvasClicked();  // lists the pixel's history
    window.replaceText();    // the find bar
    for (const char* dock : {"VariablesDock", "CallStackDock", "StopDock"})
        window.findChild<QDockWidget*>(QString::fromLatin1(dock))->show();
    QStringList unnamed;
    int reached = 0;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible() || !(widget->focusPolicy() & Qt::TabFocus))
            continue;
        ++reached;
        if (nameOf(widget).trimmed().isEmpty())
            unnamed << QStringLiteral("%1 (%2)").arg(widget->objectName(),
                                                     widget->metaObject()->className());
    }
    EXPECT_EQ(unnamed, QStringList());
    EXPECT_GE(reached, 10);
    EXPECT_EQ(nameOf(canvas()), "Canvas");
    EXPECT_EQ(nameOf(editor()), "Program");
    EXPECT_EQ(nameOf(window.timelineBar()->slider()), "Timeline");
    EXPECT_EQ(nameOf(window.timelineBar()->history()), "Pixel history");
    EXPECT_EQ(nameOf(window.findChild<QTreeView*>("VariablesView")), "Variables");

    // Play is a button that says what it does next, not a check box.
    auto* play = window.findChild<QToolButton*>("Play");
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(play);
    EXPECT_EQ(face->role(), QAccessible::Button);
    play->click();
    EXPECT_EQ(nameOf(play), "Pause");
    EXPECT_TRUE(window.timelineBar()->isPlaying());
    play->click();
    EXPECT_EQ(nameOf(play), "Play");
    EXPECT_FALSE(window.timelineBar()->isPlaying());
}

TEST_F(KeyboardTest, EscAndCtrlTabLeaveTheEditorAndF6GoesRoundThePanes)
{
    MainWindow& window = openActive();
    for (int key : {int(Qt::Key_Escape), int(Qt::Key_Tab)}) {
        editor()->setFocus();
        press(key, key == Qt::Key_Tab ? Qt::ControlModifier : Qt::NoModifier);
        EXPECT_EQ(focused(), "Button1") << key;
    }
    editor()->setFocus();
    press(Qt::Key_Tab);  // indents and stays
    EXPECT_EQ(editor()->text(), QString(editor()->indentationWidth(), QLatin1Char(' ')));
    EXPECT_TRUE(editor()->hasFocus());

    // Before a run the timeline is off and the docks hidden: they are skipped.
    QStringList order;
    for (int i = 0; i < 3; ++i) {
        press(Qt::Key_F6);
        order << focused();
    }
    EXPECT_EQ(order, (QStringList{"xmg", "Output", "Memo1"}));
    run(kTwoColours);
    window.findChild<QDockWidget*>(QStringLiteral("VariablesDock"))->show();
    editor()->setFocus();
    order.clear();
    for (int i = 0; i < 4; ++i) {
        press(Qt::Key_F6);
        order << focused();
    }
    EXPECT_EQ(order, (QStringList{"xmg", "TimelineSlider", "Output", "VariablesView"}));
    press(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(focused(), "Output");
}

TEST_F(KeyboardTest, ArrowKeysMoveTheCanvasCursorThatTheInspectorAndWatchesFollow)
{
    MainWindow& window = openActive();
    window.showInspector(true);
    run(kTwoColours);
    auto* status = window.findChild<QLabel*>("Status1");
    canvas()->setFocus();
    canvas()->setCursorPixel(QPoint(9, 378));  // program (9, 21), beside the rectangle
    press(Qt::Key_Right);
    EXPECT_EQ(canvas()->cursorPixel(), QPoint(10, 378));
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("x 10  y 21   index 2:")))
        << status->text().toStdString();
    EXPECT_TRUE(status->text().endsWith(QStringLiteral("line 4 fillrect")))
        << status->text().toStdString();
    press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(canvas()->cursorPixel(), QPoint(10, 388));
    press(Qt::Key_Return);  // as a click: the pixel's history
    EXPECT_TRUE(window.timelineBar()->history()->isVisible());

    // The cursor stays on the canvas.
    canvas()->setCursorPixel(QPoint(399, 0));
    press(Qt::Key_Right);
    press(Qt::Key_Up);
    EXPECT_EQ(canvas()->cursorPixel(), QPoint(399, 0));
}

TEST_F(KeyboardTest, DescribeCanvasListsColoursWithBoundsAndTheCalls)
{
    MainWindow& window = openActive();
    run(kTwoColours);
    window.describeCanvas();
    auto* text = window.findChild<QPlainTextEdit*>("CanvasDescription");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(),
              "The canvas is 400 by 400 pixels; x runs from the left, y from the bottom.\n"
              "Colours on it, most pixels first:\n"
              "colour 0 (red 0, green 0, blue 0): 159994 pixels, x 0 to 399, y 0 to 399\n"
              "colour 2 (red 0, green 255, blue 0): 6 pixels, x 10 to 12, y 20 to 21\n"
              "\n"
              "The last run made 2 drawing calls:\n"
              "1. line 2: clear(0)\n"
              "2. line 4: fillrect(10, 20, 12, 21) colour 2");
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_TRUE(text->textInteractionFlags() & Qt::TextSelectableByKeyboard);
}

}  // namespace
