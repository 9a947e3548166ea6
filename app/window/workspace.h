// SPDX-License-Identifier: GPL-3.0-or-later
// Where the window works. Run writes xxx.cg into the current folder and the
// palette dialog opens there, so the folder is settled before the window
// starts: from a terminal, the folder it was started in; from a desktop menu,
// whose current folder is the home folder, a workspace folder that holds our
// palette and an example as xxx.cg.
#pragma once

#include <QString>

namespace korvane {

struct StartupRequest {
    bool workspace = false;  // --workspace, as the desktop entry starts us
    QString program;         // FILE.cg as given on the command line, or empty
    QString current;         // the folder Korvane was started in
    QString home;
    QString workspaceFolder;  // see workspace_folder()
    QString dataFolder;       // our palette and examples/, see data_folder()
};

struct Startup {
    QString folder;   // to be made the current folder before the window opens
    QString program;  // absolute path of the program to open; empty: xxx.cg
    QString error;    // to be shown before the window opens; the start goes on
};

// The workspace is used when asked for, or when started in a home folder that
// holds no xxx.cg (a launcher that does not pass --workspace). It is created
// on first use; what the user keeps there is never replaced. When it cannot
// be made, Korvane stays in the current folder and says why.
Startup choose_startup(const StartupRequest& request);

// $KORVANE_WORKSPACE, else the folder korvane in the home folder.
QString workspace_folder(const QString& home);

// share/korvane beside the executable's bin folder: where the package puts
// the palette and the examples, wherever it was installed or unpacked.
QString data_folder(const QString& executableFolder);

}  // namespace korvane
