// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include "find_bar.h"
#include "pause_panels.h"
#include "program_editor.h"
#include "stop_list.h"

#include <QActionGroup>
#include <QDir>
#include <QMenuBar>

namespace korvane {

void MainWindow::createMenus()
{
    createFileMenu();
    createEditMenu();
    createViewMenu();
    createDebugMenu();
    createExerciseMenu();

    QAction* about = menuBar()->addAction(tr("&About"));
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::createFileMenu()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("File1"));
    New1 = file->addAction(tr("&New"));
    New1->setShortcut(QKeySequence::New);
    Open1 = file->addAction(tr("&Open"));
    Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Recent1 = file->addMenu(tr("Open &Recent"));
    Recent1->setObjectName(QStringLiteral("Recent1"));
    connect(Recent1, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    examples_ = file->addMenu(tr("E&xamples"));
    examples_->setObjectName(QStringLiteral("Examples1"));
    connect(examples_, &QMenu::aboutToShow, this, &MainWindow::fillExamplesMenu);
    QAction* exercise = file->addAction(tr("Open Ex&ercise…"));
    connect(exercise, &QAction::triggered, this, &MainWindow::openExercise);
    Save1 = file->addAction(tr("&Save Program"));
    Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAs1 = file->addAction(tr("Save Program &As…"));
    SaveAs1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    QAction* image = file->addAction(tr("Save &Image…"));
    connect(image, &QAction::triggered, this, &MainWindow::saveImage);
    file->addSeparator();
    QAction* exit = file->addAction(tr("E&xit"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(New1, &QAction::triggered, this, &MainWindow::newProgram);
    connect(Open1, &QAction::triggered, this, &MainWindow::openProgram);
    connect(Save1, &QAction::triggered, this, &MainWindow::saveProgram);
    connect(SaveAs1, &QAction::triggered, this, &MainWindow::saveProgramAs);
    connect(exit, &QAction::triggered, this, &MainWindow::exitWindow);
}

void MainWindow::createEditMenu()
{
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    Undo1 = edit->addAction(tr("&Undo"));
    Undo1->setShortcut(QKeySequence::Undo);
    Redo1 = edit->addAction(tr("&Redo"));
    Redo1->setShortcut(QKeySequence::Redo);
    edit->addSeparator();
    Cut1 = edit->addAction(tr("Cu&t"));
    QAction* copy = edit->addAction(tr("&Copy"));
    Paste1 = edit->addAction(tr("&Paste"));
    QAction* selectAll = edit->addAction(tr("Select &All"));
    edit->addSeparator();
    QAction* find = edit->addAction(tr("&Find…"));
    find->setShortcut(QKeySequence::Find);
    QAction* findNext = edit->addAction(tr("Find &Next"));
    findNext->setShortcut(Qt::Key_F3);
    QAction* findPrevious = edit->addAction(tr("Find Pre&vious"));
    findPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    Replace1 = edit->addAction(tr("R&eplace…"));
    Replace1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    QAction* goToLine = edit->addAction(tr("&Go to Line…"));
    goToLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    edit->addSeparator();
    ToggleComment1 = edit->addAction(tr("Toggle &Comment"));
    ToggleComment1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Slash));
    connect(ToggleComment1, &QAction::triggered, this, [this] { toggle_comment(*Memo1); });
    connect(Undo1, &QAction::triggered, this, &MainWindow::undoEdit);
    connect(Redo1, &QAction::triggered, this, &MainWindow::redoEdit);
    connect(Cut1, &QAction::triggered, this, &MainWindow::cutText);
    connect(copy, &QAction::triggered, this, &MainWindow::copyText);
    connect(Paste1, &QAction::triggered, this, &MainWindow::pasteText);
    connect(selectAll, &QAction::triggered, this, &MainWindow::selectAllText);
    connect(find, &QAction::triggered, this, &MainWindow::findText);
    connect(findNext, &QAction::triggered, this, &MainWindow::findNext);
    connect(findPrevious, &QAction::triggered, findBar_, &FindBar::findPrevious);
    connect(Replace1, &QAction::triggered, this, &MainWindow::replaceText);
    connect(goToLine, &QAction::triggered, this, &MainWindow::goToLine);
}

void MainWindow::createViewMenu()
{
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("View1"));
    QAction* inspector = view->addAction(tr("&Inspector"));
    inspector->setCheckable(true);
    inspector->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    QAction* palette = view->addAction(tr("&Palette"));
    // The palette is the working bitmap's: it changes between runs only.
    ChoosePalette1 = view->addAction(tr("Choose Palette &File…"));
    connect(ChoosePalette1, &QAction::triggered, this, &MainWindow::choosePalette);
    connect(inspector, &QAction::toggled, this, &MainWindow::showInspector);
    connect(palette, &QAction::triggered, this, &MainWindow::showPalette);
    QAction* describe = view->addAction(tr("&Describe Canvas"));
    connect(describe, &QAction::triggered, this, &MainWindow::describeCanvas);
    QAction* magnifier = view->addAction(tr("&Move Magnifier"));
    magnifier->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(magnifier, &QAction::triggered, this, &MainWindow::moveMagnifier);

    view->addSeparator();
    QMenu* zoom = view->addMenu(tr("&Zoom"));
    auto* zooms = zooms_ = new QActionGroup(zoom);
    for (int factor = 1; factor <= kMaxCanvasZoom; ++factor) {
        QAction* choice = zoom->addAction(tr("%1×").arg(factor));
        choice->setCheckable(true);
        choice->setChecked(factor == 1);
        zooms->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, factor] { setCanvasZoom(factor); });
    }

    view->addSeparator();
    LargerText1 = view->addAction(tr("&Larger Text"));
    LargerText1->setCheckable(true);
    connect(LargerText1, &QAction::toggled, this, &MainWindow::setLargerText);
    QAction* bigger = view->addAction(tr("Zoom &In Text"));
    bigger->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence::ZoomIn});
    QAction* smaller = view->addAction(tr("Zoom &Out Text"));
    smaller->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Minus), QKeySequence::ZoomOut});
    QAction* normal = view->addAction(tr("&Normal Text Size"));
    normal->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(bigger, &QAction::triggered, this, &MainWindow::zoomTextIn);
    connect(smaller, &QAction::triggered, this, &MainWindow::zoomTextOut);
    connect(normal, &QAction::triggered, this, &MainWindow::normalTextSize);
    view->addSeparator();
    QAction* nextPane = view->addAction(tr("Next Pa&ne"));
    nextPane->setShortcut(Qt::Key_F6);
    QAction* previousPane = view->addAction(tr("Pre&vious Pane"));
    previousPane->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    connect(nextPane, &QAction::triggered, this, [this] { cyclePanes(1); });
    connect(previousPane, &QAction::triggered, this, [this] { cyclePanes(-1); });
    view->addSeparator();
    panels_->addToMenu(*view);
    stops_->addToMenu(*view);
}

void MainWindow::fillRecentMenu()
{
    Recent1->clear();
    const QStringList files = recent_.files();
    for (const QString& path : files) {
        QAction* item = Recent1->addAction(QDir::toNativeSeparators(path));
        connect(item, &QAction::triggered, this, [this, path] { openRecentProgram(path); });
    }
    if (files.isEmpty())
        Recent1->addAction(tr("(none)"))->setEnabled(false);
}

}  // namespace korvane
