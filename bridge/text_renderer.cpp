#include "text_renderer.h"

#include <cstdio>
#include <memory>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace korvane {

namespace {

// Text further than this from the canvas cannot reach it at the capped size
// (79 glyphs of at most about 1100 pixels); it also keeps all sums in int.
constexpr int64_t kReach = int64_t{1} << 20;

// Points to pixels at the 96 dots per inch that font sizes are meant for.
int pixels_for_points(qreal points) { return qMax(1, qRound(points * 96.0 / 72.0)); }

QFont make_font(const QString& family, int32_t point_size) {
    QFont font = QGuiApplication::font();
    if (!family.isEmpty() && QFontDatabase::hasFamily(family)) font.setFamily(family);
    if (point_size > 0)
        font.setPixelSize(pixels_for_points(point_size));
    else if (font.pointSizeF() > 0)
        font.setPixelSize(pixels_for_points(font.pointSizeF()));
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// Renders text with its baseline origin at `origin` into a transparent image
// covering `box`; glyph pixels come out opaque.
QImage render_mask(const QFont& font, const QString& text, QPoint origin, const QRect& box) {
    QImage mask(box.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(origin - box.topLeft(), text);
    }
    return mask;
}

}  // namespace

void ensure_gui_application() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "korvane";
    static char* argv[] = {name, nullptr};
    // Standard error belongs to the program's error reports; Qt's start-up
    // notes (no runtime folder, ...) are not for its reader.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    // Constructed here so it is destroyed before the Qt statics it creates.
    static const auto app = std::make_unique<QGuiApplication>(argc, argv);
}

void TextRenderer::set_style(int32_t index, int32_t size, const char* family) {
    index_ = static_cast<uint8_t>(index);
    point_size_ = size > 0 ? qMin(size, kMaxPointSize) : 0;
    family_ = family;
}

void TextRenderer::draw(const RowTable& rows, int32_t x, int32_t y, const char* text) {
    draw_mask(rows, x, y, text, [&](uint8_t* p) { *p = index_; });
}

void TextRenderer::draw(const TrackedRows& t, int32_t x, int32_t y, const char* text) {
    if (!t.rows.row) return;
    const uint8_t* base = t.rows.row[0];
    draw_mask(t.rows, x, y, text, [&](uint8_t* p) {
        t.tags[p - base] = t.tag;
        *p = index_;
    });
}

template <class Put>
void TextRenderer::draw_mask(const RowTable& rows, int32_t x, int32_t y, const char* text, Put&& put) {
    const int64_t left = x;
    const int64_t top = int64_t{rows.height} - y;
    const QString str = QString::fromLatin1(text);
    if (str.isEmpty() || left >= rows.width || top >= rows.height || left < -kReach || top < -kReach) return;
    ensure_gui_application();
    const QFont font = make_font(QString::fromLatin1(family_.c_str()), point_size_);
    const QFontMetrics metrics(font);
    const QPoint origin(static_cast<int>(left), static_cast<int>(top) + metrics.ascent());
    const QRect cell(static_cast<int>(left), static_cast<int>(top), metrics.horizontalAdvance(str), metrics.height());
    // The ink may overhang the cell (italics, bearings); a small margin
    // covers rounding in the reported bounds.
    const QRect ink = metrics.boundingRect(str).translated(origin).adjusted(-2, -2, 2, 2);
    const QRect box = (cell | ink) & QRect(0, 0, rows.width, rows.height);
    if (box.isEmpty()) return;

    const QImage mask = render_mask(font, str, origin, box);
    for (int r = 0; r < mask.height(); ++r) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(r));
        uint8_t* row = rows.row[rows.height - 1 - (box.top() + r)];
        for (int c = 0; c < mask.width(); ++c)
            if (qAlpha(line[c]) >= 128) put(row + box.left() + c);
    }
}

}  // namespace korvane
