// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_memory.h"

#include <QMainWindow>
#include <QSettings>

namespace korvane::window_memory {

namespace {

QSettings settings()
{
    return QSettings(QStringLiteral("Korvane"), QStringLiteral("korvane"));
}

const char* const kPalette = "paletteFile";
const char* const kGeometry = "window/geometry";
const char* const kDocks = "window/docks";
const char* const kZoom = "window/zoom";
const char* const kMagnifier = "window/magnifier";
const char* const kLargerText = "window/largerText";

}  // namespace

QString paletteFile()
{
    return settings().value(QLatin1String(kPalette)).toString();
}

void setPaletteFile(const QString& path)
{
    settings().setValue(QLatin1String(kPalette), path);
}

bool largerText()
{
    return settings().value(QLatin1String(kLargerText), false).toBool();
}

void setLargerText(bool on)
{
    settings().setValue(QLatin1String(kLargerText), on);
}

QPoint magnifierOffset()
{
    return settings().value(QLatin1String(kMagnifier), QPoint()).toPoint();
}

void setMagnifierOffset(QPoint offset)
{
    settings().setValue(QLatin1String(kMagnifier), offset);
}

void save(const QMainWindow& window, int zoom)
{
    QSettings kept = settings();
    kept.setValue(QLatin1String(kGeometry), window.saveGeometry());
    kept.setValue(QLatin1String(kDocks), window.saveState());
    kept.setValue(QLatin1String(kZoom), zoom);
}

int restore(QMainWindow& window)
{
    const QSettings kept = settings();
    window.restoreGeometry(kept.value(QLatin1String(kGeometry)).toByteArray());
    window.restoreState(kept.value(QLatin1String(kDocks)).toByteArray());
    return kept.value(QLatin1String(kZoom), 1).toInt();
}

}  // namespace korvane::window_memory
