#include "program_file.h"

#include <QFile>
#include <QSaveFile>

namespace korvane {

bool read_program_text(const QString& path, QString& text, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot open file %1").arg(path);
        return false;
    }
    QByteArray bytes = file.readAll();
    bytes.replace("\r\n", "\n");
    text = QString::fromLatin1(bytes);
    return true;
}

bool write_program_text(const QString& path, const QString& text, QString& error)
{
    QByteArray bytes = text.toLatin1();
    bytes.replace("\n", "\r\n");
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
