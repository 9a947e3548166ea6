// The canvas on the screen: shows the display picture (the state of the last
// show or of the end of the last successful run), never the working bitmap.
#pragma once

#include <QImage>
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

signals:
    void clicked();
    void mouseMoved(QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QRect changedRect(const Picture& next) const;
    void buildImage();

    Picture picture_;
    QImage image_;
};

}  // namespace korvane
