// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <Qsci/qsciscintilla.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include "canvas_view.h"
#include "dialogs.h"
#include "picture.h"
#include "program_editor.h"
#include "program_file.h"
#include "window_bridge.h"

namespace korvane {

bool MainWindow::loadProgram(const QString& path)
{
    QString text, error;
    if (!read_program_text(path, text, error)) {
        dialogs_.message(error);
        return false;
    }
    keepBreakpoints();
    load_editor_text(*Memo1, text);
    restoreBreakpoints(path);
    forgetProgram();
    return true;
}

// The title names the program and marks unsaved changes.
void MainWindow::setCurrentFile(const QString& path)
{
    currentFile_ = path;
    const QString name = path.isEmpty() ? tr("Untitled") : QFileInfo(path).fileName();
    setWindowTitle(tr("%1[*] - Korvane").arg(name));
    if (!path.isEmpty() && !isScratchFile(path))
        recent_.add(path);
}

// xxx.cg is where Run puts the text for the interpreter.
bool MainWindow::isScratchFile(const QString& path) const
{
    return !path.isEmpty() && QFileInfo(path) == QFileInfo(QString::fromLatin1(kProgramFile));
}

bool MainWindow::writeProgram(const QString& path)
{
    QString error;
    if (!write_program_text(path, Memo1->text(), error)) {
        dialogs_.message(error);
        return false;
    }
    return true;
}

bool MainWindow::saveTo(const QString& path)
{
    if (!writeProgram(path))
        return false;
    Memo1->setModified(false);
    setCurrentFile(path);
    return true;
}

bool MainWindow::saveUnderChosenName()
{
    const QString chosen = dialogs_.saveFileName(tr("Save Program"),
                                                 QString::fromLatin1(kProgramFilter), programName_);
    if (chosen.isEmpty())
        return false;
    programName_ = with_default_suffix(chosen, QStringLiteral(".cg"));
    return saveTo(programName_);
}

bool MainWindow::maybeSave()
{
    if (!Memo1->isModified())
        return true;
    switch (dialogs_.askSaveChanges()) {
    case Dialogs::Choice::Save:
        return saveNamedOrAsk();
    case Dialogs::Choice::Discard:
        return true;
    case Dialogs::Choice::Cancel:
        break;
    }
    return false;
}

void MainWindow::newProgram()
{
    if (running_ || !maybeSave())
        return;
    keepBreakpoints();
    load_editor_text(*Memo1, QString());
    forgetProgram();
    setCurrentFile(QString());
}

void MainWindow::openProgram()
{
    if (running_ || !maybeSave())
        return;
    const QString chosen =
        dialogs_.openFileName(tr("Open"), QString::fromLatin1(kProgramFilter), programName_);
    if (chosen.isEmpty())
        return;
    programName_ = chosen;
    if (loadProgram(chosen))
        setCurrentFile(chosen);
}

// An example opens as an untitled copy: Save asks where to keep it, so the
// installed example stays as it is.
void MainWindow::openExample(const QString& path)
{
    if (running_ || !maybeSave())
        return;
    if (loadProgram(path))
        setCurrentFile(QString());
}

void MainWindow::fillExamplesMenu()
{
    examples_->clear();
    const QDir folder(examplesFolder_);
    const QStringList names = folder.entryList({QStringLiteral("*.cg")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const QString path = folder.filePath(name);
        QAction* item = examples_->addAction(name);
        connect(item, &QAction::triggered, this, [this, path] { openExample(path); });
    }
    if (names.isEmpty())
        examples_->addAction(tr("(none)"))->setEnabled(false);
}

void MainWindow::openRecentProgram(const QString& path)
{
    if (running_ || !maybeSave())
        return;
    if (loadProgram(path)) {
        programName_ = path;
        setCurrentFile(path);
    } else {
        recent_.remove(path);
    }
}

// The scratch file xxx.cg is no place to keep a program (the next Run of
// any other overwrites it), so saving it asks for a name as Save As does.
void MainWindow::saveProgram()
{
    if (!running_)
        saveNamedOrAsk();
}

void MainWindow::saveProgramAs()
{
    if (!running_)
        saveUnderChosenName();
}

bool MainWindow::saveNamedOrAsk()
{
    if (currentFile_.isEmpty() || isScratchFile(currentFile_))
        return saveUnderChosenName();
    return saveTo(currentFile_);
}

// Watched pixels belong to the program they were set for.
void MainWindow::forgetProgram()
{
    forgetLastRun();
    const bool watched = !bridge_->pixelWatches().empty();
    changeWatches([](PixelWatches& watches) { watches = PixelWatches(); });
    if (watched)
        setRunStatus(tr("Pixel watches cleared"));
}

void MainWindow::exitWindow()
{
    close();
}

void MainWindow::saveImage()
{
    const QString jpegType = QStringLiteral("JPEG files (*.jpg)");
    const QString pngType = QStringLiteral("PNG files (*.png)");
    QString type = imageType_;
    const QString chosen =
        dialogs_.saveFileName(tr("Save Image"), jpegType + ";;" + pngType, imageName_, &type);
    if (chosen.isEmpty())
        return;
    imageType_ = type;
    const bool pngChosen = type == pngType;
    imageName_ =
        with_default_suffix(chosen, pngChosen ? QStringLiteral(".png") : QStringLiteral(".jpg"));
    const std::string path = QFile::encodeName(imageName_).toStdString();
    // A name that says PNG or JPEG gets that format; any other, the chosen type.
    const QString suffix = QFileInfo(imageName_).suffix().toLower();
    const bool png =
        suffix == QLatin1String("png") ||
        (pngChosen && suffix != QLatin1String("jpg") && suffix != QLatin1String("jpeg"));
    std::string error;
    const bool written =
        png ? write_png(path, xmg->picture(), error) : write_jpeg(path, xmg->picture(), error);
    if (!written)
        dialogs_.message(QString::fromStdString(error));
    else
        setRunStatus(tr("Image saved: %1").arg(QDir::toNativeSeparators(imageName_)));
}

}  // namespace korvane
