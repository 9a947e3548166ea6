// SPDX-License-Identifier: GPL-3.0-or-later
// The magnifier over the canvas: a 39 x 39 square of the display picture
// around the mouse, stretched to 160 x 160, with a white cross-hair.
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

signals:
    void mouseMoved(QPoint canvasPixel);
    void mouseLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QImage view_;
    QRect source_;  // the square the view shows
};

}  // namespace korvane
