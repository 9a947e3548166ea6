// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace korvane {

namespace {

const QString kProgram = QStringLiteral("xxx.cg");
const QString kPalette = QStringLiteral("allcolr.pal");

// A folder that does not exist has no canonical path and is no folder at all.
bool sameFolder(const QString& a, const QString& b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

bool usesWorkspace(const StartupRequest& request)
{
    return request.workspace || (sameFolder(request.current, request.home) &&
                                 !QFileInfo::exists(QDir(request.home).filePath(kProgram)));
}

// Only what is missing is copied, so the user's last program and palette
// stay. The copy is written anew, not cloned, so it is writable even when the
// installed file is not: Run must be able to replace xxx.cg. It appears whole
// or not at all. A failure leaves its message in error and the other copies
// go on.
void copyMissing(const QString& source, const QString& target, QString& error)
{
    if (QFileInfo::exists(target))
        return;
    QFile from(source);
    if (!from.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot open file %1").arg(source);
        return;
    }
    const QByteArray bytes = from.readAll();
    QSaveFile to(target);
    if (!to.open(QIODevice::WriteOnly) || to.write(bytes) != bytes.size() || !to.commit())
        error = QStringLiteral("Cannot create file %1").arg(target);
}

// Creates the folder if needed; false with a message when it cannot be made.
// A new workspace also gets the examples, so File > Open finds them at hand.
bool prepareWorkspace(const QString& folder, const QString& data, QString& error)
{
    const bool fresh = !QFileInfo::exists(folder);
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        error = QStringLiteral("Cannot create folder %1").arg(folder);
        return false;
    }
    const QDir from(data);
    const QDir to(folder);
    copyMissing(from.filePath(kPalette), to.filePath(kPalette), error);
    copyMissing(from.filePath(QStringLiteral("examples/hello.cg")), to.filePath(kProgram), error);
    if (fresh && to.mkdir(QStringLiteral("examples"))) {
        const QDir examples(from.filePath(QStringLiteral("examples")));
        for (const QString& name : examples.entryList({QStringLiteral("*.cg")}, QDir::Files))
            copyMissing(examples.filePath(name), to.filePath(QStringLiteral("examples/") + name),
                        error);
    }
    return true;
}

}  // namespace

Startup choose_startup(const StartupRequest& request)
{
    Startup startup;
    startup.folder = request.current;
    // Resolved before the current folder changes.
    if (!request.program.isEmpty())
        startup.program = QDir(request.current).absoluteFilePath(request.program);
    if (usesWorkspace(request) &&
        prepareWorkspace(request.workspaceFolder, request.dataFolder, startup.error))
        startup.folder = request.workspaceFolder;
    return startup;
}

QString workspace_folder(const QString& home)
{
    const QString chosen = qEnvironmentVariable("KORVANE_WORKSPACE");
    return chosen.isEmpty() ? QDir(home).filePath(QStringLiteral("korvane")) : chosen;
}

QString data_folder(const QString& executableFolder)
{
    return QDir::cleanPath(executableFolder + QStringLiteral("/../share/korvane"));
}

}  // namespace korvane
