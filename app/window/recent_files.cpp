// SPDX-License-Identifier: GPL-3.0-or-later
#include "recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace korvane {

namespace {

const char* const kKey = "recentFiles";

QSettings settings()
{
    return QSettings(QStringLiteral("Korvane"), QStringLiteral("korvane"));
}

}  // namespace

QStringList RecentFiles::files() const
{
    return settings().value(QLatin1String(kKey)).toStringList();
}

void RecentFiles::add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, kMaxFiles));
}

void RecentFiles::remove(const QString& path)
{
    QStringList list = files();
    list.removeAll(QFileInfo(path).absoluteFilePath());
    store(list);
}

void RecentFiles::store(const QStringList& list)
{
    settings().setValue(QLatin1String(kKey), list);
}

}  // namespace korvane
