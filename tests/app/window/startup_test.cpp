// Start-up: the palette dialog, the last program, the labels, and the
// fallback palette when no palette file could be loaded.
#include <QLabel>

#include "window_fixture.h"

TEST_F(WindowTest, StartUpAsksForThePalettePresetInTheCurrentFolderAndLoadsXxxCg)
{
    writeFile("xxx.cg", "main()\r\n{\r\n}");
    openWindow();
    ASSERT_FALSE(dialogs.fileTitles.isEmpty());
    EXPECT_EQ(dialogs.fileTitles.first(), "Open Palette File");
    EXPECT_EQ(dialogs.filePresets.first(), path("allcolr.pal"));
    EXPECT_TRUE(dialogs.fileFilters.first().contains("*.pal"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(editor()->text(), "main()\n{\n}");
    EXPECT_FALSE(editor()->isModified());
    EXPECT_EQ(canvas()->image().colorTable().at(1), qRgb(255, 0, 0));
    EXPECT_EQ(canvas()->size(), QSize(400, 400));
}

TEST_F(WindowTest, FirstStartWithoutXxxCgSaysSoAndStillWorks)
{
    openWindow();
    EXPECT_EQ(dialogs.messages, QStringList{"Cannot open file xxx.cg"});
    EXPECT_TRUE(editor()->text().isEmpty());
}

TEST_F(WindowTest, ACancelledOrRefusedPaletteFallsBackToTheBuiltInOne)
{
    for (const QString& answer : {QString(), QStringLiteral("missing.pal")}) {
        writeFile("xxx.cg", QByteArray());
        dialogs.fileAnswers = QStringList{answer};
        dialogs.messages.clear();
        window_ = std::make_unique<korvane::MainWindow>(dialogs);
        ASSERT_EQ(dialogs.messages.size(), 1) << answer.toStdString();
        EXPECT_TRUE(dialogs.messages.first().contains("built-in palette"));
        const QList<QRgb> colours = canvas()->image().colorTable();
        const auto& builtIn = korvane::default_palette();
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(colours.at(i), qRgb(builtIn[4 * i], builtIn[4 * i + 1], builtIn[4 * i + 2]));
    }
}

TEST_F(WindowTest, AxisLabelsNameTheCanvasCorners)
{
    openQuietly();
    const QRect c = canvas()->geometry();
    ASSERT_EQ(c, QRect(32, 8, 400, 400));
    const auto label = [&](const char* name) { return window_->findChild<QLabel*>(name)->geometry(); };
    EXPECT_EQ(label("Label1").right(), c.left() - 5);
    EXPECT_EQ(label("Label1").top(), c.top());
    EXPECT_EQ(label("Label2").right(), c.left() - 5);
    EXPECT_EQ(label("Label2").bottom(), c.bottom());
    EXPECT_EQ(label("Label3").topLeft(), QPoint(c.left(), c.bottom() + 5));
    EXPECT_EQ(label("Label4").right(), c.right());
    EXPECT_EQ(label("Label4").top(), c.bottom() + 5);
}
