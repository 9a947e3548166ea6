// SPDX-License-Identifier: GPL-3.0-or-later
// The timeline under the canvas: the slider and its keys show the canvas
// after each call with the call beside it, a clicked pixel lists its writes
// and choosing one moves there, a pause shows the calls so far, and a range
// of calls becomes a GIF.
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "gif_range_dialog.h"
#include "test_support.h"
#include "timeline.h"
#include "timeline_bar.h"
#include "window_fixture.h"

using korvane::MainWindow;
using korvane::TimelineBar;

namespace {

const char* const kThree =
    "main()\n"
    "{\n"
    "clear(3);\n"
    "setcolor(1);\n"
    "fillrect(0,0,99,399);\n"
    "show();\n"
    "fillrect(300,0,399,99);\n"
    "}";

class TimelineTest : public WindowTest {
protected:
    int shownAt(int x, int y)
    {
        return window_->findChild<korvane::CanvasView*>("xmg")->picture().at(x, y);
    }
};

TEST_F(TimelineTest, SliderAndKeysShowTheCanvasAfterEachCall)
{
    MainWindow& window = openQuietly();
    TimelineBar& bar = *window.timelineBar();
    EXPECT_FALSE(bar.isEnabled());
    run(kThree);
    ASSERT_TRUE(bar.isEnabled());
    EXPECT_EQ(bar.call(), 3u);
    auto* slider = bar.findChild<QSlider*>("TimelineSlider");
    QTest::keyClick(slider, Qt::Key_Home);
    EXPECT_EQ(bar.call(), 0u);
    EXPECT_EQ(shownAt(50, 50), 0);  // the canvas the run started from
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(shownAt(50, 50), 3);
    EXPECT_EQ(bar.callText(), QStringLiteral("line 2: clear(3)"));
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(shownAt(50, 50), 1);
    EXPECT_EQ(shownAt(350, 50), 3);
    EXPECT_EQ(bar.callText(), QStringLiteral("line 4: fillrect(0, 0, 99, 399) colour 1"));
    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_EQ(shownAt(350, 50), 1);

    // A second run starts from the canvas the first left, not the one shown.
    bar.showCall(1);
    run("main()\n{\npoint(350,50);\n}");
    EXPECT_EQ(bar.call(), 1u);
    bar.showCall(0);
    EXPECT_EQ(shownAt(350, 50), 1);
}

TEST_F(TimelineTest, ClickedPixelListsItsWritesAndAnEntryMovesThere)
{
    MainWindow& window = openQuietly();
    window.show();
    window.showInspector(true);
    run(kThree);
    window.canvasMouseMoved(QPoint(350, 350));  // program (350, 49)
    window.canvasClicked();
    QListWidget* list = window.timelineBar()->history();
    // The writes are found on a thread of their own; the list says so meanwhile.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !list->item(0)->text().startsWith(QStringLiteral("Finding")); }, 5000));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("call 1, line 2: clear, colour 3"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("call 3, line 6: fillrect, colour 1"));
    list->setCurrentRow(0);
    EXPECT_EQ(window.timelineBar()->call(), 1u);
    EXPECT_EQ(shownAt(350, 49), 3);
}

TEST_F(TimelineTest, PauseShowsTheCallsSoFar)
{
    MainWindow& window = openQuietly();
    std::vector<uint64_t> seen;
    QTimer poke;
    QObject::connect(&poke, &QTimer::timeout, [&] {
        if (!window.bridge().isPaused())
            return;
        seen.push_back(window.timelineBar()->isEnabled() ? window.timelineBar()->call() : 99);
        window.stepProgram();
    });
    poke.start(5);
    editor()->setText(QString::fromLatin1(kThree));
    window.stepProgram();
    waitForRun();
    EXPECT_EQ(seen, (std::vector<uint64_t>{0, 1, 2}));
}

TEST_F(TimelineTest, GifOfARangeHasAFramePerShowOrPerCalls)
{
    MainWindow& window = openQuietly();
    run(kThree);
    const korvane::Timeline& timeline = *window.timelineBar()->timeline();
    std::string error;
    ASSERT_TRUE(TimelineBar::writeGif(timeline, 0, 3, 1, path("each.gif").toStdString(), error))
        << error;
    EXPECT_EQ(korvane::testing::read_gif(path("each.gif").toStdString()).frames, 4);
    // The show after call 2, and the range's ends.
    ASSERT_TRUE(TimelineBar::writeGif(timeline, 1, 3, 0, path("shows.gif").toStdString(), error))
        << error;
    const auto shows = korvane::testing::read_gif(path("shows.gif").toStdString());
    ASSERT_EQ(shows.frames, 3);
    EXPECT_EQ(shows.pixels[1][399 * 400 + 350], 3);  // bottom row, before the last fillrect
    EXPECT_EQ(shows.pixels[2][399 * 400 + 350], 1);

    // GIF… asks for the range in its box, then for the file.
    dialogs.gifRanges = {korvane::GifRange{1, 3, 0}};
    dialogs.fileAnswers = QStringList{path("range")};
    window.timelineBar()->findChild<QPushButton*>("GifButton")->click();
    EXPECT_EQ(dialogs.gifRangeLimits, QStringList{"0..3"});
    EXPECT_EQ(korvane::testing::read_gif(path("range.gif").toStdString()).frames, 3);
    dialogs.fileAnswers = QStringList{path("never.gif")};
    window.timelineBar()->findChild<QPushButton*>("GifButton")->click();  // Cancel in the box
    EXPECT_FALSE(QFile::exists(path("never.gif")));
    EXPECT_EQ(dialogs.messages, QStringList());
}

// Each field's fault is told, and OK leaves the box open at that field.
TEST_F(TimelineTest, GifRangeBoxRefusesWhatMakesNoRangeAndSaysWhy)
{
    const QString from = "From call: give a whole number from 2 to 50.";
    const QString every =
        "Frame every: give a whole number of calls, or 0 for a frame at each show.";
    const struct {
        QStringList fields;
        QString error;
        int wrong;
    } cases[] = {
        {{"2", "50", "0"}, "", -1},
        {{" 7 ", "7", "3"}, "", -1},
        {{"1", "50", "0"}, from, 0},
        {{"51", "51", "0"}, from, 0},
        {{"-1", "50", "0"}, from, 0},
        {{"two", "50", "0"}, from, 0},
        {{"8", "7", "0"}, "To call: give a whole number from 8 to 50.", 1},
        {{"8", "51", "0"}, "To call: give a whole number from 8 to 50.", 1},
        {{"8", "", "0"}, "To call: give a whole number from 8 to 50.", 1},
        {{"2", "50", "-1"}, every, 2},
        {{"2", "50", "1.5"}, every, 2},
    };
    for (const auto& c : cases) {
        korvane::GifRange range{9, 9, 9};
        int wrong = 5;
        EXPECT_EQ(korvane::read_gif_range(c.fields, 2, 50, range, wrong), c.error)
            << c.fields.join('|').toStdString();
        EXPECT_EQ(wrong, c.wrong) << c.fields.join('|').toStdString();
        if (c.wrong < 0)
            EXPECT_EQ(range.to, c.fields[1].trimmed().toULongLong());
        else
            EXPECT_EQ(range.from, 9u) << "a refused range is not kept";
    }

    korvane::GifRangeDialog box(2, 50, korvane::GifRange{2, 50, 0});
    box.show();
    box.toField()->setText("60");
    box.accept();
    EXPECT_TRUE(box.isVisible());
    EXPECT_NE(box.result(), QDialog::Accepted);
    EXPECT_EQ(box.error(), "To call: give a whole number from 2 to 50.");
    EXPECT_EQ(box.focusWidget(), box.toField());
    box.toField()->setText("40");
    box.everyField()->setText("5");
    box.accept();
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_EQ(box.range().to, 40u);
    EXPECT_EQ(box.range().every, 5u);
}

}  // namespace
