// SPDX-License-Identifier: GPL-3.0-or-later
#include "magnifier.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace korvane {

namespace {
constexpr int kLow = 20;
constexpr int kHigh = 380;
constexpr int kBefore = 19;
constexpr int kSide = 39;
}  // namespace

Magnifier::Magnifier(QWidget* parent) : QWidget(parent), view_(kSize, kSize, QImage::Format_RGB32)
{
    view_.fill(Qt::white);
    setFixedSize(kSize, kSize);
    setMouseTracking(true);
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
    source_ = sourceSquare(mouse);
    QPainter painter(&view_);
    // No smoothing: each source pixel becomes a block, as a magnifier should.
    painter.drawImage(QRect(0, 0, kSize, kSize), display, source_);
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

QPoint Magnifier::sourcePixel(QPoint position) const
{
    if (source_.isEmpty())
        return QPoint(-1, -1);
    const QPoint inView(std::clamp(position.x(), 0, kSize - 1),
                        std::clamp(position.y(), 0, kSize - 1));
    return source_.topLeft() + QPoint(inView.x() * kSide / kSize, inView.y() * kSide / kSize);
}

void Magnifier::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pixel = sourcePixel(event->position().toPoint());
    if (pixel.x() >= 0)
        emit mouseMoved(pixel);
}

void Magnifier::leaveEvent(QEvent*)
{
    emit mouseLeft();
}

}  // namespace korvane
