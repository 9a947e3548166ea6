// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_file.h"

#include <QFile>
#include <QSaveFile>

#include "interpreter.h"
#include "text_encoding.h"

namespace korvane {

bool read_program_text(const QString& path, QString& text, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot open file %1").arg(path);
        return false;
    }
    // The editor keeps LF alone; any line end counts as the interpreter counts it.
    const QByteArray bytes = file.readAll();
    text = QString::fromStdString(program_text_from_bytes(normalise_line_ends(bytes.toStdString())))
               .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return true;
}

bool write_program_text(const QString& path, const QString& text, QString& error)
{
    const std::string crlf = program_bytes_from_text(normalise_line_ends(text.toStdString()));
    const QByteArray bytes(crlf.data(), static_cast<qsizetype>(crlf.size()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = QStringLiteral("Cannot create file %1").arg(path);
        return false;
    }
    return true;
}

QString with_default_suffix(const QString& name, const QString& suffix)
{
    return name.contains(QLatin1Char('.')) ? name : name + suffix;
}

}  // namespace korvane
