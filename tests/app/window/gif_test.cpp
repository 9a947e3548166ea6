// SPDX-License-Identifier: GPL-3.0-or-later
// Record GIF in the Debug menu: every show and every stop of the runs while
// it is checked becomes a frame; unchecking it or closing the window writes
// the file.
#include <QDir>

#include "test_support.h"
#include "window_fixture.h"

using korvane::MainWindow;
using korvane::testing::DecodedGif;
using korvane::testing::read_gif;
using korvane::testing::top_first;

namespace {

// Three shows of different canvases, the last one also the final canvas.
const char* const kThreeShows =
    "main()\n{\nclear(1);\nshow();\nclear(2);\nshow();\n"
    "setcolor(3);\nfillrect(0,0,9,4);\nshow();\n}";

std::vector<uint8_t> filled(uint8_t index)
{
    return std::vector<uint8_t>(400 * 400, index);
}

// Index of program point (x, y) in a frame, which holds the top row first.
size_t frameOffset(int x, int y)
{
    return static_cast<size_t>(399 - y) * 400 + static_cast<size_t>(x);
}

}  // namespace

class GifTest : public WindowTest {
protected:
    QAction* recordGif() const { return menuAction(QStringLiteral("&Record GIF…")); }

    // Checks Record GIF and answers its file dialog with name; "" cancels.
    void startRecording(const QString& name)
    {
        dialogs.fileAnswers << name;
        recordGif()->trigger();
    }

    DecodedGif readGif(const QString& name) const
    {
        return read_gif(QFile::encodeName(path(name)).toStdString());
    }

    QStringList gifFiles() const
    {
        return QDir(path(QStringLiteral("."))).entryList({QStringLiteral("*.gif*")}, QDir::Files);
    }
};

TEST_F(GifTest, EachShowOfARunIsAFrameInTheLoadedPalette)
{
    openQuietly();
    startRecording(path(QStringLiteral("shows")));  // no dot: .gif is added
    EXPECT_TRUE(recordGif()->isChecked());
    EXPECT_EQ(dialogs.fileFilters.last(), "GIF files (*.gif)");
    run(kThreeShows);
    const korvane::Picture lastShown = canvas()->picture();
    ASSERT_EQ(lastShown.at(9, 4), 3);
    recordGif()->trigger();
    EXPECT_FALSE(recordGif()->isChecked());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();

    const DecodedGif gif = readGif(QStringLiteral("shows.gif"));
    ASSERT_EQ(gif.frames, 3);
    EXPECT_EQ(gif.pixels[0], filled(1));
    EXPECT_EQ(gif.pixels[1], filled(2));
    EXPECT_EQ(gif.pixels[2], top_first(lastShown));
    const QByteArray palette = readFile(QStringLiteral("allcolr.pal"));
    ASSERT_EQ(gif.colours.size(), 256u);
    int mismatches = 0;
    for (int i = 0; i < 256; ++i) {
        const GifColorType& c = gif.colours[size_t(i)];
        const auto file = [&](int channel) { return uint8_t(palette[4 * i + channel]); };
        mismatches += c.Red != file(0) || c.Green != file(1) || c.Blue != file(2);
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(GifTest, ARecordingSpansRunsUntilTheWindowCloses)
{
    openQuietly();
    window_->show();
    startRecording(path(QStringLiteral("runs.gif")));
    run("main()\n{\nclear(1);\nshow();\nclear(2);\n}");  // the final canvas differs
    run("main()\n{\nsetcolor(5);\n}");                   // changes nothing
    run("main()\n{\nclear(3);\nshow();\n}");             // ends as it showed
    window_->close();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    const DecodedGif gif = readGif(QStringLiteral("runs.gif"));
    ASSERT_EQ(gif.frames, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(gif.pixels[size_t(i)], filled(uint8_t(i + 1))) << i;
}

// Recording starts at the first pause, so that stop was shown before it
// began; it ends at the third, taking the stop shown there.
TEST_F(GifTest, ARunEndedByAnErrorAddsNoFrameTheWindowNeverShowed)
{
    openQuietly();
    startRecording(path(QStringLiteral("error.gif")));
    run("main()\n{\nclear(1);\nshow();\nclear(2);\nx = 1;\n}");  // x is undefined
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(canvas()->picture().pixels, filled(1));
    recordGif()->trigger();
    const DecodedGif gif = readGif(QStringLiteral("error.gif"));
    ASSERT_EQ(gif.frames, 1);
    EXPECT_EQ(gif.pixels[0], filled(1));
}

TEST_F(GifTest, StartingAndStoppingDuringARunRecordsTheStopsInBetween)
{
    MainWindow& window = openQuietly();
    editor()->setText(
        "main()\n{\nclear(1);\nsetcolor(2);\npoint(10,10);\n"
        "setcolor(3);\npoint(20,20);\n}");
    int pauses = 0;
    onEachPause([&] {
        if (++pauses == 1)
            startRecording(path(QStringLiteral("steps.gif")));
        else if (pauses == 3)
            recordGif()->trigger();
        window.stepProgram();
    });
    window.stepProgram();
    waitForRun();
    EXPECT_EQ(pauses, 3);
    EXPECT_FALSE(recordGif()->isChecked());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    const DecodedGif gif = readGif(QStringLiteral("steps.gif"));
    ASSERT_EQ(gif.frames, 2);
    EXPECT_EQ(gif.pixels[0], filled(1));
    std::vector<uint8_t> secondStop = filled(1);
    secondStop[frameOffset(10, 10)] = 2;
    EXPECT_EQ(gif.pixels[1], secondStop);
}

TEST_F(GifTest, CancellingTheFileDialogLeavesRecordingOff)
{
    openQuietly();
    startRecording(QString());
    EXPECT_FALSE(recordGif()->isChecked());
    run(kThreeShows);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_TRUE(gifFiles().isEmpty()) << gifFiles().join("|").toStdString();
}

TEST_F(GifTest, AFileThatCannotBeCreatedGivesOneMessage)
{
    openQuietly();
    const QString name = path(QStringLiteral("no-such-folder/a.gif"));
    startRecording(name);
    EXPECT_FALSE(recordGif()->isChecked());
    EXPECT_EQ(dialogs.messages, QStringList{"Cannot create file " + name});
    run(kThreeShows);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(GifTest, ARecordingWithoutFramesSaysSoAndLeavesNoFile)
{
    openQuietly();
    const QString name = path(QStringLiteral("empty.gif"));
    startRecording(name);
    recordGif()->trigger();
    EXPECT_FALSE(recordGif()->isChecked());
    EXPECT_EQ(dialogs.messages,
              QStringList{"Nothing was recorded: no picture was shown while recording, so " + name +
                          " was not written"});
    EXPECT_TRUE(gifFiles().isEmpty()) << gifFiles().join("|").toStdString();
}
