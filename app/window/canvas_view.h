// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas on the screen: shows the display picture (the state of the last
// show or of the end of the last successful run), never the working bitmap.
// It can highlight every pixel of one palette index by blinking them, and
// shows each canvas pixel as a sharp square of zoom x zoom screen pixels.
// Its signals give canvas pixels (y downward), whatever the zoom.
// With focus it shows a cursor pixel that the arrow keys move (Shift: ten
// pixels); moving it, Enter and the menu key act as the mouse does there.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "picture.h"

namespace korvane {

class CanvasView : public QWidget {
    Q_OBJECT

public:
    explicit CanvasView(QWidget* parent = nullptr);

    // Makes picture the display picture and repaints what changed.
    void setPicture(const Picture& picture);
    const Picture& picture() const { return picture_; }
    // The display picture as the screen shows it, top row first.
    const QImage& image() const { return image_; }

    // Whole factors only, so every canvas pixel stays a sharp square; the
    // owner sizes the view to the picture times zoom.
    void setZoom(int zoom);
    int zoom() const { return zoom_; }

    // Blinks every pixel of index (-1: none) between its colour and a far one.
    void setHighlight(int index);
    int highlight() const { return highlight_; }
    // The colour a highlighted pixel of this colour takes in the blink.
    static QRgb highlightColour(QRgb colour);

    // The keyboard's cursor pixel (y downward), kept on the picture.
    void setCursorPixel(QPoint pixel);
    QPoint cursorPixel() const { return cursor_; }

signals:
    void clicked();
    void mouseMoved(QPoint position);
    void mouseLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QRect changedRect(const Picture& next) const;
    QPoint canvasPixel(QPoint screen) const { return {screen.x() / zoom_, screen.y() / zoom_}; }
    QRect screenRect(QRect canvas) const
    {
        return {canvas.topLeft() * zoom_, canvas.size() * zoom_};
    }
    // The screen area the cursor's mark covers.
    QRect cursorRect() const;
    void buildImage();
    void buildHighlighted();
    void blink();

    Picture picture_;
    QImage image_;
    QImage highlighted_;  // image_ with the highlighted index recoloured
    int highlight_ = -1;
    int zoom_ = 1;
    bool blinkOn_ = false;
    QPoint cursor_{200, 200};
    QTimer blinkTimer_;
};

}  // namespace korvane
