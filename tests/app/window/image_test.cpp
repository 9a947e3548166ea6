// SPDX-License-Identifier: GPL-3.0-or-later
// Save Image and the magnifier: both work on the display picture, what the
// screen shows, not on the working bitmap a running program draws into.
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <jpeglib.h>
#include <cstdio>

#include "magnifier.h"
#include "window_fixture.h"

using korvane::Magnifier;
using korvane::MainWindow;

namespace {

struct Decoded {
    int width = 0, height = 0, components = 0;
    bool progressive = true;
    std::vector<uint8_t> rgb;
    QRgb at(int x, int row) const
    {
        const uint8_t* p = &rgb[(static_cast<size_t>(row) * width + x) * 3];
        return qRgb(p[0], p[1], p[2]);
    }
};

// Decodes with libjpeg itself, so the test does not rely on Qt's plugins.
Decoded decodeJpeg(const QByteArray& bytes)
{
    Decoded out;
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&info, TRUE);
    out.progressive = info.progressive_mode;
    out.components = info.num_components;
    jpeg_start_decompress(&info);
    out.width = info.output_width;
    out.height = info.output_height;
    out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &out.rgb[static_cast<size_t>(info.output_scanline) * out.width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 &&
           std::abs(qBlue(a) - qBlue(b)) < 24;
}

}  // namespace

TEST_F(WindowTest, SaveImageWritesAJpegOfTheShownColours)
{
    openQuietly();
    run("main()\n{\nclear(3);\nsetcolor(1);\nfillrect(0,0,199,399);\n}");
    dialogs.fileAnswers = QStringList{path("pic")};
    window_->saveImage();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    const QByteArray bytes = readFile("pic.jpg");
    ASSERT_FALSE(bytes.isEmpty());
    const Decoded image = decodeJpeg(bytes);
    EXPECT_EQ(image.width, 400);
    EXPECT_EQ(image.height, 400);
    EXPECT_EQ(image.components, 3);
    EXPECT_FALSE(image.progressive);
    EXPECT_TRUE(near(image.at(100, 200), qRgb(255, 0, 0)));
    EXPECT_TRUE(near(image.at(300, 200), qRgb(0, 0, 255)));
    EXPECT_EQ(dialogs.fileFilters.last(), "JPEG files (*.jpg);;PNG files (*.png)");
    EXPECT_EQ(window_->findChild<QLabel*>("RunStatus")->text(), "Image saved: " + path("pic.jpg"));
}

TEST_F(WindowTest, SaveImageTypeGivesTheFormatAndTheMissingExtension)
{
    openQuietly();
    const QString jpeg = "JPEG files (*.jpg)", png = "PNG files (*.png)";
    const struct {
        QString chosen, type, written;
        QByteArray magic;
    } cases[] = {
        {"pic", jpeg, "pic.jpg", "\xff\xd8"},      {"pic.bmp", jpeg, "pic.bmp", "\xff\xd8"},
        {"pic2", png, "pic2.png", "\x89PNG"},      {"pic3.bmp", png, "pic3.bmp", "\x89PNG"},
        {"pic4.jpg", png, "pic4.jpg", "\xff\xd8"}, {"pic5.png", jpeg, "pic5.png", "\x89PNG"},
    };
    for (const auto& c : cases) {
        dialogs.fileAnswers = QStringList{path(c.chosen)};
        dialogs.filterAnswers = QStringList{c.type};
        window_->saveImage();
        EXPECT_EQ(readFile(c.written).left(c.magic.size()), c.magic) << c.chosen.toStdString();
    }
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
}

TEST_F(WindowTest, SaveImageReportsAFileItCannotCreate)
{
    openQuietly();
    dialogs.fileAnswers = QStringList{path("no/such/dir/pic.jpg")};
    window_->saveImage();
    EXPECT_EQ(dialogs.messages, QStringList{"Cannot create file " + path("no/such/dir/pic.jpg")});
}

TEST_F(WindowTest, SaveImageDuringARunSavesThePictureOfTheLastShow)
{
    MainWindow& window = openQuietly();
    dialogs.fileAnswers = QStringList{path("mid.jpg")};
    QTimer::singleShot(100, &window, &MainWindow::saveImage);
    QTimer::singleShot(200, &window, &MainWindow::haltProgram);
    run("main()\n{\nclear(1);\nshow();\nclear(2);\nwhile (1) ;\n}");
    const Decoded image = decodeJpeg(readFile("mid.jpg"));
    ASSERT_EQ(image.width, 400);
    EXPECT_TRUE(near(image.at(200, 200), qRgb(255, 0, 0)));
}

TEST_F(WindowTest, MagnifierSourceSquareAndLimits)
{
    EXPECT_EQ(Magnifier::sourceSquare(QPoint(20, 20)), QRect(QPoint(1, 1), QPoint(39, 39)));
    EXPECT_EQ(Magnifier::sourceSquare(QPoint(380, 380)), QRect(QPoint(361, 361), QPoint(399, 399)));
    EXPECT_TRUE(Magnifier::follows(QPoint(20, 380)));
    EXPECT_TRUE(Magnifier::follows(QPoint(380, 20)));
    EXPECT_FALSE(Magnifier::follows(QPoint(19, 200)));
    EXPECT_FALSE(Magnifier::follows(QPoint(200, 381)));
}

TEST_F(WindowTest, MagnifierShowsTheStretchedSquareWithACrossHair)
{
    openQuietly();
    // Screen pixel (1, 1) is canvas (1, 398): the square's top-left corner at X = Y = 20.
    run("main()\n{\nclear(2);\nsetcolor(1);\npoint(1,398);\nsetcolor(3);\npoint(0,399);\n}");
    auto* magnifier = window_->findChild<Magnifier*>("Image1");
    ASSERT_FALSE(magnifier->isVisible());
    window_->show();
    window_->canvasClicked();
    EXPECT_TRUE(magnifier->isVisible());
    EXPECT_EQ(magnifier->pos(), canvas()->pos());

    window_->canvasMouseMoved(QPoint(20, 20));
    const QImage& view = magnifier->view();
    EXPECT_EQ(view.pixel(0, 0), qRgb(255, 0, 0));  // pixel (1, 1), not (0, 0)
    EXPECT_EQ(view.pixel(3, 3), qRgb(255, 0, 0));  // stretched about 4.1 times
    EXPECT_EQ(view.pixel(5, 5), qRgb(0, 255, 0));
    EXPECT_EQ(view.pixel(40, 80), qRgb(255, 255, 255));  // cross-hair
    EXPECT_EQ(view.pixel(80, 120), qRgb(255, 255, 255));
    EXPECT_EQ(view.pixel(159, 159), qRgb(0, 255, 0));

    const QImage before = view;
    window_->canvasMouseMoved(QPoint(19, 20));  // outside the limits: no update
    EXPECT_EQ(magnifier->view(), before);

    window_->canvasClicked();
    EXPECT_FALSE(magnifier->isVisible());
}

// It covers a corner of the canvas, so it goes elsewhere and stays there.
TEST_F(WindowTest, MagnifierGoesFromCornerToCornerIsDraggedAndKeepsItsPlace)
{
    openQuietly();
    window_->show();
    auto* magnifier = window_->findChild<Magnifier*>("Image1");
    const QPoint canvasAt = canvas()->pos();
    window_->moveMagnifier();  // shows it where it was
    EXPECT_TRUE(magnifier->isVisible());
    EXPECT_EQ(magnifier->pos(), canvasAt);
    window_->moveMagnifier();
    EXPECT_EQ(magnifier->pos() - canvasAt, QPoint(240, 0));
    window_->moveMagnifier();
    EXPECT_EQ(magnifier->pos() - canvasAt, QPoint(240, 240));
    window_->moveMagnifier();
    EXPECT_EQ(magnifier->pos() - canvasAt, QPoint(0, 240));
    window_->moveMagnifier();
    EXPECT_EQ(magnifier->pos() - canvasAt, QPoint(0, 0));

    // Dragged 20 right and 40 down, in two moves.
    QTest::mousePress(magnifier, Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 40), magnifier->mapToGlobal(QPointF(20, 40)),
                     Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(magnifier, &move);
    const QPointF end = magnifier->mapToGlobal(QPointF(20, 20));  // it has moved under the mouse
    QMouseEvent further(QEvent::MouseMove, magnifier->mapFromGlobal(end), end, Qt::NoButton,
                        Qt::LeftButton, {});
    QCoreApplication::sendEvent(magnifier, &further);
    QTest::mouseRelease(magnifier, Qt::LeftButton, {}, magnifier->mapFromGlobal(end.toPoint()));
    EXPECT_EQ(magnifier->pos() - canvasAt, QPoint(20, 40));
    window_->setCanvasZoom(2);  // the corners are the zoomed canvas's
    window_->moveMagnifier();
    EXPECT_EQ(magnifier->pos() - canvasAt, QPoint(0, 0));
    window_->moveMagnifier();
    EXPECT_EQ(magnifier->pos() - canvasAt, QPoint(640, 0));
    window_->setCanvasZoom(1);  // and never past the canvas's panel
    EXPECT_EQ(magnifier->pos().x() + magnifier->width(), canvas()->parentWidget()->width());
    window_->close();

    openQuietly();
    window_->show();
    EXPECT_EQ(window_->findChild<Magnifier*>("Image1")->offset(), QPoint(640, 0));
}
