// SPDX-License-Identifier: GPL-3.0-or-later
#include "magnifier.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <iterator>

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
    setCursor(Qt::OpenHandCursor);
    setToolTip(tr("Drag the magnifier elsewhere, or press Ctrl+M to send it to the next corner"));
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

void Magnifier::setCanvas(const QRect& canvas)
{
    canvas_ = canvas;
    place();
}

void Magnifier::setOffset(QPoint offset)
{
    offset_ = offset;
    place();
}

void Magnifier::toNextCorner()
{
    const int right = canvas_.width() - kSize, bottom = canvas_.height() - kSize;
    const QPoint corners[] = {{0, 0}, {right, 0}, {right, bottom}, {0, bottom}};
    const auto at = std::find(std::begin(corners), std::end(corners), offset_);
    offset_ = at == std::end(corners) || at + 1 == std::end(corners) ? corners[0] : *(at + 1);
    place();
    emit placeChanged(offset_);
}

// Inside the parent, whatever the zoom or an old offset says.
void Magnifier::place()
{
    const QSize room = parentWidget() ? parentWidget()->size() - size() : QSize();
    const QPoint wanted = canvas_.topLeft() + offset_;
    move(std::clamp(wanted.x(), 0, std::max(0, room.width())),
         std::clamp(wanted.y(), 0, std::max(0, room.height())));
}

void Magnifier::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    dragFrom_ = event->globalPosition();
    setCursor(Qt::ClosedHandCursor);
}

void Magnifier::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_ || event->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    setCursor(Qt::OpenHandCursor);
    // Kept where it shows, so a later zoom starts from there.
    offset_ = pos() - canvas_.topLeft();
    emit placeChanged(offset_);
}

void Magnifier::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_) {
        const QPoint by = (event->globalPosition() - dragFrom_).toPoint();
        dragFrom_ += by;
        offset_ = pos() + by - canvas_.topLeft();
        place();
        return;
    }
    const QPoint pixel = sourcePixel(event->position().toPoint());
    if (pixel.x() >= 0)
        emit mouseMoved(pixel);
}

void Magnifier::leaveEvent(QEvent*)
{
    emit mouseLeft();
}

}  // namespace korvane
