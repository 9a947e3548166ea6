// SPDX-License-Identifier: GPL-3.0-or-later
// Unpacks a zip archive of an exercise folder. Archives come from anyone,
// so every entry must stay inside the target folder: links, absolute
// paths, ".." and files over kMaxEntryBytes are refused before anything
// of that entry is written.
#pragma once

#include <QString>

namespace korvane {

constexpr qint64 kMaxEntryBytes = 1 << 20;

// Unpacks zip into the existing folder into. False with what is wrong,
// naming the archive and the entry at fault; what was unpacked before
// stays (the caller's folder is temporary).
bool unzip_folder(const QString& zip, const QString& into, QString& error);

}  // namespace korvane
