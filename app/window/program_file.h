// SPDX-License-Identifier: GPL-3.0-or-later
// Program texts on disk: CR LF line ends and nothing added at the end;
// Latin-1 as older files hold them, or UTF-8 when a character does not fit
// (text_encoding.h), so a file comes back with every character it held.
#pragma once

#include <QString>

namespace korvane {

// Reads a program file, turning CR LF into the editor's LF. On failure the
// result is false and error is "Cannot open file NAME".
bool read_program_text(const QString& path, QString& text, QString& error);

// Writes the editor's text with CR LF line ends through a temporary file, so
// a failed save leaves any earlier file whole. On failure the result is
// false and error is "Cannot create file NAME".
bool write_program_text(const QString& path, const QString& text, QString& error);

// Appends suffix (".cg", ".jpg") when the name holds no dot anywhere,
// folders included.
QString with_default_suffix(const QString& name, const QString& suffix);

}  // namespace korvane
