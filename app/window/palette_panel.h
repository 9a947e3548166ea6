// SPDX-License-Identifier: GPL-3.0-or-later
// A tool window with the loaded palette as 16 x 16 swatches. Pointing at a
// swatch names its index and colour; clicking selects it (clicking it again
// clears the selection), and the window highlights that index on the canvas
// until the panel is closed.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

class QLabel;

namespace korvane {

class PalettePanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSwatch = 18;  // side of one swatch in pixels

    explicit PalettePanel(QWidget* parent = nullptr);

    // Red, green, blue, flags per index, as a Picture holds them.
    void showColours(const std::array<uint8_t, 1024>& palette);
    int selected() const { return selected_; }
    // -1 clears the selection.
    void select(int index);
    QString caption() const;

signals:
    void selectionChanged(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int indexAt(QPoint position) const;
    QRect swatchRect(int index) const;
    void setHovered(int index);
    QString describe(int index) const;

    QLabel* caption_ = nullptr;
    std::array<uint8_t, 1024> palette_{};
    int selected_ = -1;
    int hovered_ = -1;
};

}  // namespace korvane
