// SPDX-License-Identifier: GPL-3.0-or-later
#include "palette_panel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace korvane {

namespace {
constexpr int kColumns = 16;
constexpr int kGrid = kColumns * PalettePanel::kSwatch;
constexpr int kMargin = 6;
constexpr int kCaptionHeight = 20;
}  // namespace

PalettePanel::PalettePanel(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Palette"));
    setWindowTitle(tr("Palette"));
    setMouseTracking(true);
    setFixedSize(kGrid + 2 * kMargin, kGrid + 2 * kMargin + kCaptionHeight);
    caption_ = new QLabel(this);
    caption_->setGeometry(kMargin, kGrid + kMargin + 2, kGrid, kCaptionHeight);
}

void PalettePanel::showColours(const std::array<uint8_t, 1024>& palette)
{
    palette_ = palette;
    caption_->setText(caption());
    update();
}

void PalettePanel::select(int index)
{
    if (index == selected_)
        return;
    selected_ = index;
    caption_->setText(caption());
    update();
    emit selectionChanged(index);
}

// The swatch pointed at wins over the selected one.
QString PalettePanel::caption() const
{
    return describe(hovered_ >= 0 ? hovered_ : selected_);
}

QString PalettePanel::describe(int index) const
{
    if (index < 0)
        return QString();
    return tr("index %1: %2 %3 %4")
        .arg(index)
        .arg(palette_[4 * index])
        .arg(palette_[4 * index + 1])
        .arg(palette_[4 * index + 2]);
}

int PalettePanel::indexAt(QPoint position) const
{
    const QPoint p = position - QPoint(kMargin, kMargin);
    if (p.x() < 0 || p.y() < 0 || p.x() >= kGrid || p.y() >= kGrid)
        return -1;
    return p.y() / kSwatch * kColumns + p.x() / kSwatch;
}

QRect PalettePanel::swatchRect(int index) const
{
    return QRect(kMargin + index % kColumns * kSwatch, kMargin + index / kColumns * kSwatch,
                 kSwatch, kSwatch);
}

void PalettePanel::setHovered(int index)
{
    hovered_ = index;
    caption_->setText(caption());
}

void PalettePanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < 256; ++i)
        painter.fillRect(swatchRect(i),
                         QColor(palette_[4 * i], palette_[4 * i + 1], palette_[4 * i + 2]));
    if (selected_ < 0)
        return;
    // Black inside white, so the frame shows on any colour.
    const QRect frame = swatchRect(selected_).adjusted(0, 0, -1, -1);
    painter.setPen(Qt::white);
    painter.drawRect(frame);
    painter.setPen(Qt::black);
    painter.drawRect(frame.adjusted(1, 1, -1, -1));
}

void PalettePanel::mouseMoveEvent(QMouseEvent* event)
{
    setHovered(indexAt(event->position().toPoint()));
}

void PalettePanel::mouseReleaseEvent(QMouseEvent* event)
{
    const int index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0)
        select(index == selected_ ? -1 : index);
}

// A highlight with no panel to switch it off would blink on into later runs.
void PalettePanel::closeEvent(QCloseEvent* event)
{
    select(-1);
    QWidget::closeEvent(event);
}

void PalettePanel::leaveEvent(QEvent*)
{
    setHovered(-1);
}

}  // namespace korvane
