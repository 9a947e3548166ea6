// SPDX-License-Identifier: GPL-3.0-or-later
// The programs opened or saved last, newest first, kept across sessions in
// the user's settings.
#pragma once

#include <QStringList>

namespace korvane {

class RecentFiles {
public:
    static constexpr int kMaxFiles = 8;

    QStringList files() const;
    // Puts path first, dropping an older entry for the same file.
    void add(const QString& path);
    void remove(const QString& path);

private:
    void store(const QStringList& files);
};

}  // namespace korvane
