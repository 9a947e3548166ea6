// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_description.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <array>
#include <climits>

#include "call_log.h"
#include "picture.h"
#include "timeline.h"

namespace korvane {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("CanvasDescription", text);
}

struct ColourUse {
    int index = 0;
    qint64 pixels = 0;
    int left = INT_MAX, right = -1, bottom = INT_MAX, top = -1;
};

QStringList colourLines(const Picture& display)
{
    std::array<ColourUse, 256> uses{};
    for (int y = 0; y < display.height; ++y)
        for (int x = 0; x < display.width; ++x) {
            ColourUse& use = uses[display.at(x, y)];
            ++use.pixels;
            use.left = std::min(use.left, x);
            use.right = std::max(use.right, x);
            use.bottom = std::min(use.bottom, y);
            use.top = std::max(use.top, y);
        }
    for (int i = 0; i < 256; ++i)
        uses[i].index = i;
    std::stable_sort(uses.begin(), uses.end(),
                     [](const ColourUse& a, const ColourUse& b) { return a.pixels > b.pixels; });
    QStringList lines;
    for (const ColourUse& use : uses) {
        if (use.pixels == 0)
            break;
        const uint8_t* rgb = &display.palette[4 * use.index];
        lines << tr("colour %1 (red %2, green %3, blue %4): %5 pixels, x %6 to %7, y %8 to %9")
                     .arg(use.index)
                     .arg(int{rgb[0]})
                     .arg(int{rgb[1]})
                     .arg(int{rgb[2]})
                     .arg(use.pixels)
                     .arg(use.left)
                     .arg(use.right)
                     .arg(use.bottom)
                     .arg(use.top);
    }
    return lines;
}

QStringList callLines(const Timeline& timeline)
{
    const uint64_t first = timeline.first_call() + 1, last = timeline.calls();
    QStringList lines;
    if (last == 0)
        return {tr("The last run made no drawing calls.")};
    lines << tr("The last run made %1 drawing calls:").arg(last);
    if (first > 1)
        lines << tr("(the timeline kept calls %1 to %2 only)").arg(first).arg(last);
    const uint64_t end = std::min(last, first + kDescribedCalls - 1);
    for (uint64_t k = first; k <= end; ++k) {
        const LoggedCall c = timeline.call(k);
        lines << tr("%1. line %2: %3").arg(k).arg(c.line).arg(QString::fromLatin1(describe_call(c)));
    }
    if (end < last)
        lines << tr("... and %1 more calls").arg(last - end);
    return lines;
}

}  // namespace

QString describe_canvas(const Picture& display, const Timeline* timeline)
{
    QStringList lines;
    lines << tr("The canvas is %1 by %2 pixels; x runs from the left, y from the bottom.")
                 .arg(display.width)
                 .arg(display.height);
    lines << tr("Colours on it, most pixels first:");
    lines << colourLines(display);
    lines << QString();
    if (timeline)
        lines << callLines(*timeline);
    else
        lines << tr("The drawing calls are listed after a run.");
    return lines.join(QLatin1Char('\n'));
}

}  // namespace korvane
