// SPDX-License-Identifier: GPL-3.0-or-later
// The View tools and PNG export: the palette panel's highlight, the
// inspector's status line, Save Image with a .png name and the canvas on
// a scaled screen.
#include <QDockWidget>
#include <QImage>
#include <QLabel>
#include <QScrollArea>
#include <QTest>

#include "magnifier.h"
#include "palette_panel.h"
#include "window_fixture.h"

using korvane::CanvasView;
using korvane::MainWindow;
using korvane::PalettePanel;

namespace {

// Index 1 in the two left quarters, 2 in a square at the bottom right, 3 elsewhere.
const char* const kQuarters =
    "main()\n"
    "{\n"
    "clear(3);\n"
    "setcolor(1);\n"
    "fillrect(0,0,99,399);\n"
    "setcolor(2);\n"
    "fillrect(300,0,399,99);\n"
    "}";

}  // namespace

TEST_F(WindowTest, PaletteSelectionHighlightsExactlyThePixelsOfItsIndex)
{
    MainWindow& window = openQuietly();
    run(kQuarters);
    window.showPalette();
    PalettePanel* panel = window.palettePanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());

    // Index 2 is the swatch in the first row, third column.
    const QPoint swatch(6 + 2 * PalettePanel::kSwatch + 4, 6 + 4);
    QTest::mouseMove(panel, swatch);
    EXPECT_EQ(panel->caption(), "index 2: 0 255 0");
    QTest::mouseClick(panel, Qt::LeftButton, {}, swatch);
    ASSERT_EQ(canvas()->highlight(), 2);

    const QImage shown = canvas()->grab().toImage();
    const QImage& display = canvas()->image();
    int highlighted = 0;
    for (int y = 0; y < display.height(); ++y)
        for (int x = 0; x < display.width(); ++x) {
            const bool ofIndex = display.pixelIndex(x, y) == 2;
            const QRgb expected =
                ofIndex ? CanvasView::highlightColour(display.pixel(x, y)) : display.pixel(x, y);
            highlighted += ofIndex;
            ASSERT_EQ(shown.pixel(x, y), expected) << x << "," << y;
        }
    EXPECT_EQ(highlighted, 100 * 100);

    QTest::mouseClick(panel, Qt::LeftButton, {}, swatch);  // again: cleared
    EXPECT_EQ(canvas()->highlight(), -1);
    EXPECT_EQ(canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32),
              display.convertToFormat(QImage::Format_RGB32));
    QTest::mouseClick(panel, Qt::LeftButton, {}, swatch);
    panel->close();  // a highlight must not outlive its panel
    EXPECT_EQ(canvas()->highlight(), -1);
}

TEST_F(WindowTest, InspectorIsOffByDefaultAndGrowsTheWindowOnlyWhileOn)
{
    MainWindow& window = openQuietly();
    auto* status = window.findChild<QLabel*>("Status1");
    window.show();
    EXPECT_FALSE(status->isVisible());
    run(kQuarters);
    const QSize plain = window.centralWidget()->size();  // with the timeline under the buttons
    window.canvasMouseMoved(QPoint(50, 50));
    EXPECT_TRUE(status->text().isEmpty());

    window.showInspector(true);
    EXPECT_TRUE(status->isVisible());
    EXPECT_GT(window.centralWidget()->height(), plain.height());
    EXPECT_GE(status->y(), button("Button1")->geometry().bottom());
    window.showInspector(false);
    EXPECT_EQ(window.centralWidget()->size(), plain);
}

TEST_F(WindowTest, InspectorNamesTheLineAndBuiltInThatLastWroteAPixel)
{
    MainWindow& window = openQuietly();
    auto* status = window.findChild<QLabel*>("Status1");
    window.show();
    window.showInspector(true);
    run(QStringLiteral(
        "main() {\nclear(0);\nsetcolor(3);\nfillrect(10, 10, 50, 50);\npoint(20, 20);\n}\n"));
    // Screen rows run downward: program row 20 is screen row 379.
    window.canvasMouseMoved(QPoint(20, 379));
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("x 20  y 20   index 3:")))
        << status->text().toStdString();
    EXPECT_TRUE(status->text().endsWith(QStringLiteral("line 4 point")))
        << status->text().toStdString();
    window.canvasMouseMoved(QPoint(30, 369));
    EXPECT_TRUE(status->text().endsWith(QStringLiteral("line 3 fillrect")))
        << status->text().toStdString();
    window.canvasMouseMoved(QPoint(300, 100));
    EXPECT_TRUE(status->text().endsWith(QStringLiteral("line 1 clear")))
        << status->text().toStdString();
}

TEST_F(WindowTest, InspectorNamesThePixelUnderTheMouseInTheMagnifier)
{
    MainWindow& window = openQuietly();
    auto* status = window.findChild<QLabel*>("Status1");
    auto* magnifier = window.findChild<korvane::Magnifier*>("Image1");
    window.show();
    window.showInspector(true);
    run(QStringLiteral("main() {\nclear(0);\nsetcolor(3);\npoint(100, 299);\n}\n"));
    window.canvasClicked();
    ASSERT_TRUE(magnifier->isVisible());
    window.canvasMouseMoved(QPoint(100, 100));  // the square around program (100, 299)
    // The view's centre block shows that pixel, a block of 160 / 39 view pixels.
    const QPoint centre(korvane::Magnifier::kSize / 2 - 2, korvane::Magnifier::kSize / 2 - 2);
    ASSERT_EQ(magnifier->sourcePixel(centre), QPoint(100, 100));
    QTest::mouseMove(magnifier, centre);
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("x 100  y 299   index 3:")))
        << status->text().toStdString();
    EXPECT_TRUE(status->text().endsWith(QStringLiteral("line 3 point")))
        << status->text().toStdString();
}

TEST_F(WindowTest, SaveImageWithAPngNameWritesTheIndicesLosslessly)
{
    MainWindow& window = openQuietly();
    run(kQuarters);
    dialogs.fileAnswers = QStringList{path("pic.PNG")};
    window.saveImage();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_TRUE(dialogs.fileFilters.last().startsWith("JPEG files (*.jpg);;"));
    QImage png;
    ASSERT_TRUE(png.load(path("pic.PNG"), "PNG"));
    EXPECT_EQ(png.format(), QImage::Format_Indexed8);
    EXPECT_EQ(png.pixelIndex(50, 200), 1);
    EXPECT_EQ(png.pixelIndex(350, 350), 2);  // file row 350 is program y 49
    EXPECT_EQ(png.pixelIndex(350, 50), 3);
    EXPECT_EQ(png.color(2), qRgb(0, 255, 0));
}

TEST_F(WindowTest, OnAScreenScaledBy2EachCanvasPixelIsASharp2By2Block)
{
    openQuietly();
    run(kQuarters);
    QImage screen(800, 800, QImage::Format_RGB32);
    screen.setDevicePixelRatio(2);
    canvas()->render(&screen);
    const QImage& display = canvas()->image();
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 800; ++x)
            ASSERT_EQ(screen.pixel(x, y), display.pixel(x / 2, y / 2)) << x << "," << y;
}

TEST_F(WindowTest, ExtraRoomGoesToTheEditorAndTheCanvasZoomsByWholeSharpFactors)
{
    MainWindow& window = openQuietly();
    window.show();
    run(QStringLiteral("main() {\nclear(0);\nsetcolor(1);\npoint(10, 389);\n}\n"));
    const QSize editorAtStart = editor()->size();
    const QSize windowAtStart = window.size();
    window.resize(1600, 1000);
    QCoreApplication::processEvents();
    EXPECT_EQ(canvas()->size(), QSize(400, 400));
    // The width all to the editor, the height to it and the output below.
    EXPECT_EQ(editor()->width() - editorAtStart.width(), window.width() - windowAtStart.width());
    EXPECT_GT(editor()->height() - editorAtStart.height(),
              (window.height() - windowAtStart.height()) * 3 / 4);

    window.setCanvasZoom(2);
    ASSERT_EQ(canvas()->size(), QSize(800, 800));
    // Program (10, 389) is screen pixel (10, 10): a 2 x 2 block, nothing blurred around it.
    const QImage shown = canvas()->grab().toImage();
    for (int y = 18; y <= 23; ++y)
        for (int x = 18; x <= 23; ++x) {
            const bool inside = x >= 20 && x <= 21 && y >= 20 && y <= 21;
            EXPECT_EQ(shown.pixel(x, y), inside ? qRgb(255, 0, 0) : qRgb(0, 0, 0)) << x << "," << y;
        }
    auto* status = window.findChild<QLabel*>("Status1");
    window.showInspector(true);
    QTest::mouseMove(canvas(), QPoint(21, 21));
    EXPECT_TRUE(status->text().startsWith("x 10  y 389 ")) << status->text().toStdString();
    window.setCanvasZoom(1);
    EXPECT_EQ(canvas()->size(), QSize(400, 400));
}

// On a small screen a zoomed canvas scrolls instead of pushing Run, Halt and
// the output off it; back at 1x the window and its docks are as before.
TEST_F(WindowTest, ZoomedCanvasScrollsWithinTheScreenAndDocksKeepTheirWidth)
{
    MainWindow& window = openQuietly();
    window.show();
    const QRect screen = window.screen()->availableGeometry();
    window.setGeometry(screen.x(), screen.y(), 720, 520);
    QCoreApplication::processEvents();
    const QSize before = window.size();
    auto* area = window.findChild<QScrollArea*>(QStringLiteral("CanvasArea"));
    for (int zoom : {2, 3}) {
        window.setCanvasZoom(zoom);
        QCoreApplication::processEvents();
        EXPECT_LE(window.width(), screen.width()) << zoom;
        EXPECT_LE(window.height(), screen.height()) << zoom;
        EXPECT_EQ(canvas()->size(), QSize(400 * zoom, 400 * zoom));
        EXPECT_LT(area->width(), canvas()->width()) << zoom;  // it scrolls
        EXPECT_TRUE(window.rect().contains(button("Button2")->mapTo(&window, QPoint(0, 0))));
    }
    window.setCanvasZoom(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.size(), before);
    EXPECT_EQ(area->size(), canvas()->parentWidget()->size());

    auto* dock = window.findChild<QDockWidget*>(QStringLiteral("VariablesDock"));
    dock->show();
    QCoreApplication::processEvents();
    const int dockWidth = dock->width();
    window.setCanvasZoom(3);
    window.setCanvasZoom(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(dock->width(), dockWidth);
}
