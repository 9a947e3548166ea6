// SPDX-License-Identifier: GPL-3.0-or-later
#include "logo.h"

#include <QImage>
#include <QPainter>

namespace korvane {

namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 40;

// A band of the 6 x 6 x 6 colour cube along the bottom: the canvas's palette.
void drawColourBand(QPainter& painter)
{
    for (int x = 0; x < kWidth; ++x) {
        const int i = x * 216 / kWidth;
        painter.setPen(QColor(51 * (i / 36), 51 * (i / 6 % 6), 51 * (i % 6)));
        painter.drawLine(x, kHeight - 8, x, kHeight - 1);
    }
}

// A circle and a line, the first things anyone draws on the canvas.
void drawFigures(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 204, 0), 2));
    painter.drawEllipse(QPoint(20, 16), 11, 11);
    painter.setPen(QPen(QColor(0, 204, 255), 2));
    painter.drawLine(4, 29, 40, 3);
    painter.setPen(Qt::white);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 11, QFont::Bold));
    painter.drawText(QRect(42, 2, 54, 28), Qt::AlignCenter, QStringLiteral("KVW"));
}

}  // namespace

QPixmap korvane_logo()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(QColor(16, 24, 64));
    QPainter painter(&image);
    drawColourBand(painter);
    drawFigures(painter);
    painter.end();
    return QPixmap::fromImage(image);
}

}  // namespace korvane
