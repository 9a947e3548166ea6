// SPDX-License-Identifier: GPL-3.0-or-later
// The magnifier over the canvas: a 39 x 39 square of the display picture
// around the mouse, stretched to 160 x 160, with a white cross-hair. It
// covers part of the canvas, so it can be dragged elsewhere or sent from
// corner to corner; its place is kept as an offset from the canvas's top
// left corner.
#pragma once

#include <QImage>
#include <QWidget>

namespace korvane {

class Magnifier : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSize = 160;

    explicit Magnifier(QWidget* parent = nullptr);

    // Mouse positions (canvas pixels, y downward) that update the view.
    static bool follows(QPoint mouse);
    // The source square for a mouse position: 19 pixels before it, 20 after.
    static QRect sourceSquare(QPoint mouse);

    // Fills the view from display around mouse.
    void magnify(const QImage& display, QPoint mouse);
    const QImage& view() const { return view_; }
    // The canvas pixel (y downward) shown at a position of the view, or
    // (-1, -1) before anything was magnified.
    QPoint sourcePixel(QPoint position) const;

    // Where the canvas is in the parent; the magnifier stays inside the parent.
    void setCanvas(const QRect& canvas);
    QPoint offset() const { return offset_; }
    void setOffset(QPoint offset);
    // To the next corner of the canvas, clockwise from the top left.
    void toNextCorner();

signals:
    void mouseMoved(QPoint canvasPixel);
    void mouseLeft();
    // Dragged or sent to another corner.
    void placeChanged(QPoint offset);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void place();

    QImage view_;
    QRect source_;  // the square the view shows
    QRect canvas_;
    QPoint offset_;
    QPointF dragFrom_;  // global mouse position while dragging
    bool dragging_ = false;
};

}  // namespace korvane
