#include "magnifier.h"

#include <QPainter>

namespace korvane {

namespace {
constexpr int kLow = 20;
constexpr int kHigh = 380;
constexpr int kBefore = 19;
constexpr int kSide = 39;
}  // namespace

Magnifier::Magnifier(QWidget* parent)
    : QWidget(parent), view_(kSize, kSize, QImage::Format_RGB32)
{
    view_.fill(Qt::white);
    setFixedSize(kSize, kSize);
}

bool Magnifier::follows(QPoint mouse)
{
    return mouse.x() >= kLow && mouse.x() <= kHigh && mouse.y() >= kLow && mouse.y() <= kHigh;
}

QRect Magnifier::sourceSquare(QPoint mouse)
{
    return QRect(mouse.x() - kBefore, mouse.y() - kBefore, kSide, kSide);
}

void Magnifier::magnify(const QImage& display, QPoint mouse)
{
    QPainter painter(&view_);
    // No smoothing: each source pixel becomes a block, as a magnifier should.
    painter.drawImage(QRect(0, 0, kSize, kSize), display, sourceSquare(mouse));
    painter.setPen(Qt::white);
    painter.drawLine(0, kSize / 2, kSize - 1, kSize / 2);
    painter.drawLine(kSize / 2, 0, kSize / 2, kSize - 1);
    update();
}

void Magnifier::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, view_);
}

}  // namespace korvane
