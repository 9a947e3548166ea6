// SPDX-License-Identifier: GPL-3.0-or-later
#include "inspector_text.h"

namespace korvane {

namespace {

QString origin_text(const DrawnBy& origin)
{
    switch (origin.kind) {
    case DrawnBy::Kind::Call:
        return QStringLiteral("line %1 %2")
            .arg(origin.line)
            .arg(QString::fromLatin1(origin.builtin.c_str()));
    case DrawnBy::Kind::ChangedSinceShow:
        return QStringLiteral("drawn over since the last show");
    case DrawnBy::Kind::NotRecorded:
        break;
    }
    return QStringLiteral("not drawn by this run while the Inspector was on");
}

}  // namespace

QPoint program_point(const Picture& display, QPoint screen)
{
    return QPoint(screen.x(), display.height - 1 - screen.y());
}

QString inspector_text(const Picture& display, QPoint screen, const DrawnBy& origin)
{
    const QPoint p = program_point(display, screen);
    const int index = display.at(p.x(), p.y());
    const uint8_t* rgb = &display.palette[4 * static_cast<size_t>(index)];
    return QStringLiteral("x %1  y %2   index %3: %4 %5 %6   %7")
        .arg(p.x())
        .arg(p.y())
        .arg(index)
        .arg(rgb[0])
        .arg(rgb[1])
        .arg(rgb[2])
        .arg(origin_text(origin));
}

}  // namespace korvane
