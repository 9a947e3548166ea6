// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "korvane_version.h"
#include "main_window.h"
#include "qt_dialogs.h"
#include "workspace.h"

namespace {

// Reads the command line; exits with status 1 and a message when it does
// not fit, as --help and --version exit after printing.
korvane::StartupRequest readCommandLine(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A workbench for raster drawing algorithms."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption workspace(
        QStringLiteral("workspace"),
        QStringLiteral("Work in the workspace folder, not the current one."));
    parser.addOption(workspace);
    parser.addPositionalArgument(QStringLiteral("FILE.cg"),
                                 QStringLiteral("The program to open in the editor."),
                                 QStringLiteral("[FILE.cg]"));
    parser.process(app);
    const QStringList programs = parser.positionalArguments();
    if (programs.size() > 1) {
        std::fputs("korvane: one program at most\n", stderr);
        std::exit(1);
    }
    korvane::StartupRequest request;
    request.workspace = parser.isSet(workspace);
    request.program = programs.value(0);
    request.current = QDir::currentPath();
    request.home = QDir::homePath();
    request.workspaceFolder = korvane::workspace_folder(request.home);
    request.dataFolder = korvane::data_folder(QApplication::applicationDirPath());
    return request;
}

// --help and --version need no display: they are answered before the
// window system is reached, which aborts when there is none (over ssh).
bool asksOnlyForText(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--")
            break;
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
            if (arg == option)
                return true;
    }
    return false;
}

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationVersion(QLatin1String(korvane::kVersion));
}

}  // namespace

int main(int argc, char* argv[])
{
    if (asksOnlyForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        nameApplication();
        readCommandLine(text);  // prints and exits
        return 0;
    }
    QApplication app(argc, argv);
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("korvane"));
    // The installed icon theme holds our icon; a build tree has none and
    // keeps the toolkit's default.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("korvane")));
    const korvane::Startup startup = korvane::choose_startup(readCommandLine(app));
    QDir::setCurrent(startup.folder);
    try {
        korvane::QtDialogs dialogs;
        if (!startup.error.isEmpty())
            dialogs.message(startup.error);
        korvane::MainWindow window(dialogs, startup.program);
        dialogs.setOwner(&window);
        // The workspace's own copies first, else those installed with us.
        const QString installed = QDir(korvane::data_folder(QApplication::applicationDirPath()))
                                      .filePath(QStringLiteral("examples"));
        if (!QDir(QStringLiteral("examples")).exists() && QDir(installed).exists())
            window.setExamplesFolder(installed);
        if (!window.placedFromMemory())
            window.move(window.screen()->availableGeometry().center() - window.rect().center());
        window.show();
        app.exec();
    } catch (const std::exception& failure) {
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QString::fromLocal8Bit(failure.what()));
    }
    return 0;
}
