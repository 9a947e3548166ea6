// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace korvane {

namespace {

constexpr int kBlinkMs = 400;
constexpr int kCursorMargin = 3;  // screen pixels the cursor's mark reaches round its pixel
constexpr int kBigStep = 10;      // pixels a Shift+arrow moves the cursor

// Columns [first, last] where two rows differ, or first > last if they don't.
std::pair<int, int> changedColumns(const uint8_t* a, const uint8_t* b, int width)
{
    int first = 0;
    while (first < width && a[first] == b[first])
        ++first;
    int last = width - 1;
    while (last > first && a[last] == b[last])
        --last;
    return {first, last};
}

}  // namespace

CanvasView::CanvasView(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Canvas"));
    setAccessibleDescription(
        tr("Arrow keys move the cursor pixel, Shift+arrow by ten; Enter clicks it; "
           "the menu key watches it."));
    blinkTimer_.setInterval(kBlinkMs);
    connect(&blinkTimer_, &QTimer::timeout, this, &CanvasView::blink);
}

void CanvasView::setPicture(const Picture& picture)
{
    const QRect dirty = changedRect(picture);
    picture_ = picture;
    buildImage();
    if (highlight_ >= 0)
        buildHighlighted();
    if (!dirty.isEmpty())
        update(screenRect(dirty));
}

void CanvasView::setZoom(int zoom)
{
    zoom_ = std::max(1, zoom);
    update();
}

void CanvasView::setHighlight(int index)
{
    highlight_ = index;
    blinkOn_ = index >= 0;
    if (blinkOn_) {
        buildHighlighted();
        blinkTimer_.start();
    } else {
        blinkTimer_.stop();
        highlighted_ = QImage();
    }
    update();
}

// Every channel moves by half its range, so the blink shows on any colour.
QRgb CanvasView::highlightColour(QRgb colour)
{
    return qRgb(qRed(colour) ^ 0x80, qGreen(colour) ^ 0x80, qBlue(colour) ^ 0x80);
}

// Only the colour table changes: the pixels of the index take the far colour.
void CanvasView::buildHighlighted()
{
    highlighted_ = image_.copy();
    highlighted_.setColor(highlight_, highlightColour(image_.color(highlight_)));
}

void CanvasView::blink()
{
    blinkOn_ = !blinkOn_;
    update();
}

// Screen rectangle of the pixels that differ from the shown picture; all of
// it when the size or the palette changed.
QRect CanvasView::changedRect(const Picture& next) const
{
    if (next.width != picture_.width || next.height != picture_.height ||
        next.palette != picture_.palette)
        return QRect(0, 0, next.width, next.height);
    int left = next.width, right = -1, top = next.height, bottom = -1;
    for (int y = 0; y < next.height; ++y) {
        const size_t offset = static_cast<size_t>(y) * next.width;
        const uint8_t* a = picture_.pixels.data() + offset;
        const uint8_t* b = next.pixels.data() + offset;
        if (std::memcmp(a, b, next.width) == 0)
            continue;
        const auto [first, last] = changedColumns(a, b, next.width);
        const int screenRow = next.height - 1 - y;
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, screenRow);
        bottom = std::max(bottom, screenRow);
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The picture's rows run bottom-up in memory; the screen wants them top-down.
void CanvasView::buildImage()
{
    if (image_.width() != picture_.width || image_.height() != picture_.height)
        image_ = QImage(picture_.width, picture_.height, QImage::Format_Indexed8);
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i)
        colours[i] =
            qRgb(picture_.palette[4 * i], picture_.palette[4 * i + 1], picture_.palette[4 * i + 2]);
    image_.setColorTable(colours);
    for (int y = 0; y < picture_.height; ++y)
        std::memcpy(image_.scanLine(picture_.height - 1 - y),
                    picture_.pixels.data() + static_cast<size_t>(y) * picture_.width,
                    picture_.width);
}

void CanvasView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, palette().window());
    // The canvas pixels the area touches, drawn as blocks without smoothing.
    const QRect source(canvasPixel(area.topLeft()), canvasPixel(area.bottomRight()));
    painter.drawImage(screenRect(source), blinkOn_ ? highlighted_ : image_, source);
    if (!hasFocus() || image_.isNull())
        return;
    // Two rings, one far from the pixel's colour, so the mark shows on any picture.
    const QRgb under = image_.pixel(cursor_);
    painter.setPen(QColor::fromRgb(highlightColour(under)));
    painter.drawRect(cursorRect().adjusted(0, 0, -1, -1));
    painter.setPen(QColor::fromRgb(under));
    painter.drawRect(cursorRect().adjusted(1, 1, -2, -2));
}

QRect CanvasView::cursorRect() const
{
    return screenRect(QRect(cursor_, QSize(1, 1)))
        .adjusted(-kCursorMargin, -kCursorMargin, kCursorMargin, kCursorMargin);
}

void CanvasView::setCursorPixel(QPoint pixel)
{
    const QPoint last(std::max(0, picture_.width - 1), std::max(0, picture_.height - 1));
    pixel = QPoint(std::clamp(pixel.x(), 0, last.x()), std::clamp(pixel.y(), 0, last.y()));
    update(cursorRect());
    cursor_ = pixel;
    update(cursorRect());
}

void CanvasView::keyPressEvent(QKeyEvent* event)
{
    const int step = event->modifiers() & Qt::ShiftModifier ? kBigStep : 1;
    QPoint move;
    switch (event->key()) {
    case Qt::Key_Left:
        move = {-step, 0};
        break;
    case Qt::Key_Right:
        move = {step, 0};
        break;
    case Qt::Key_Up:
        move = {0, -step};
        break;
    case Qt::Key_Down:
        move = {0, step};
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit clicked();
        return;
    case Qt::Key_Menu:
        emit customContextMenuRequested(screenRect(QRect(cursor_, QSize(1, 1))).center());
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    setCursorPixel(cursor_ + move);
    emit mouseMoved(cursor_);
}

void CanvasView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update(cursorRect());
    emit mouseMoved(cursor_);
}

void CanvasView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update(cursorRect());
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void CanvasView::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(canvasPixel(event->position().toPoint()));
}

void CanvasView::leaveEvent(QEvent*)
{
    emit mouseLeft();
}

}  // namespace korvane
