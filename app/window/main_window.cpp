// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QThread>
#include <algorithm>

#include "about_box.h"
#include "canvas_view.h"
#include "dialogs.h"
#include "editor_assist.h"
#include "editor_pauses.h"
#include "exercise_pane.h"
#include "find_bar.h"
#include "help_window.h"
#include "magnifier.h"
#include "palette_panel.h"
#include "pause_panels.h"
#include "picture.h"
#include "program_editor.h"
#include "stop_list.h"
#include "timeline_bar.h"
#include "window_bridge.h"
#include "window_memory.h"

namespace korvane {

namespace {

QLabel* newLabel(const QString& text, QWidget* parent, const char* name)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QPushButton* newButton(const QString& text, QWidget* parent, const char* name)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setMinimumSize(75, 25);
    return button;
}

}  // namespace

MainWindow::MainWindow(Dialogs& dialogs, const QString& program, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), programName_(program)
{
    setWindowTitle(QStringLiteral("Korvane"));
    createWidgets();
    panels_ = new PausePanels(*this);
    stops_ = new StopList(*this);
    exercisePane_ = new ExercisePane(*this);
    createMenus();
    resize(kFormWidth, kFormHeight + menuBar()->sizeHint().height());
    AboutBox_ = new AboutBox(this);
    help_ = new HelpWindow(this);
    qApp->installEventFilter(this);
    startUp();
    const QSize before = size();
    const int zoom = window_memory::restore(*this);
    placedFromMemory_ = size() != before;
    setCanvasZoom(std::clamp(zoom, 1, kMaxCanvasZoom));
    LargerText1->setChecked(window_memory::largerText());
}

MainWindow::~MainWindow()
{
    // The run's thread uses the interpreter and the bridge, which go first.
    if (runner_) {
        bridge_->halt();
        runner_->wait();
        delete runner_;
    }
    // A pixel history still searching reads the bridge's timeline, which goes first.
    timeline_->setTimeline(nullptr);
    stopChecking();
}

// The canvas keeps its size and the top left corner; the editor and its
// output take whatever room the window gains.
void MainWindow::createWidgets()
{
    QFont formFont = font();
    formFont.setPointSize(kFormPoints);
    setFont(formFont);

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    canvasArea_ = new QScrollArea;
    canvasArea_->setObjectName(QStringLiteral("CanvasArea"));
    canvasArea_->setFrameShape(QFrame::NoFrame);
    canvasArea_->setFocusPolicy(Qt::NoFocus);  // the canvas takes focus itself
    canvasArea_->setWidget(createCanvasPanel());
    fitCanvasArea();
    row->addWidget(canvasArea_, 0, Qt::AlignTop);
    row->addWidget(createEditorColumn(), 1);

    Status1 = newLabel(QString(), central, "Status1");
    Status1->setContentsMargins(32, 0, 32, 6);
    Status1->setFixedHeight(kStatusHeight);
    Status1->hide();

    timeline_ = new TimelineBar(*xmg, *Memo1, dialogs_, central);
    timeline_->setContentsMargins(32, 4, 8, 4);
    timeline_->hide();
    connect(timeline_, &TimelineBar::gifSaved, this, [this](const QString& path) {
        setRunStatus(tr("GIF saved: %1").arg(QDir::toNativeSeparators(path)));
    });

    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(row, 1);
    column->addWidget(timeline_);
    column->addWidget(Status1);

    setTabOrder(Memo1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, output_);
}

QWidget* MainWindow::createCanvasPanel()
{
    canvasPanel_ = new QWidget;
    xmg = new CanvasView(canvasPanel_);
    xmg->setObjectName(QStringLiteral("xmg"));
    connect(xmg, &CanvasView::clicked, this, &MainWindow::canvasClicked);
    connect(xmg, &CanvasView::mouseMoved, this, &MainWindow::canvasMouseMoved);
    connect(xmg, &CanvasView::mouseLeft, this, [this] { Status1->clear(); });
    xmg->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(xmg, &QWidget::customContextMenuRequested, this, &MainWindow::canvasMenu);

    Image1 = new Magnifier(canvasPanel_);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->hide();
    connect(Image1, &Magnifier::mouseMoved, this, &MainWindow::inspect);
    connect(Image1, &Magnifier::mouseLeft, this, [this] { Status1->clear(); });
    Image1->setOffset(window_memory::magnifierOffset());
    connect(Image1, &Magnifier::placeChanged, this, &window_memory::setMagnifierOffset);

    Label1 = newLabel(QStringLiteral("399"), canvasPanel_, "Label1");
    Label2 = newLabel(QStringLiteral("0"), canvasPanel_, "Label2");
    Label3 = newLabel(QStringLiteral("0"), canvasPanel_, "Label3");
    Label4 = newLabel(QStringLiteral("399\n"), canvasPanel_, "Label4");
    Button3 = newButton(tr("&Save Image"), canvasPanel_, "Button3");
    connect(Button3, &QPushButton::clicked, this, &MainWindow::saveImage);
    placeCanvas();
    return canvasPanel_;
}

QWidget* MainWindow::createEditorColumn()
{
    auto* column = new QWidget;
    Memo1 = new QsciScintilla;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(tr("Program"));
    Memo1->setAccessibleDescription(
        tr("Esc or Ctrl+Tab leaves the editor; F6 goes to the next pane."));
    QFont editorFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    editorFont.setPointSize(kEditorPoints);
    Memo1->setFont(editorFont);
    setup_program_editor(*Memo1);
    assist_ = new EditorAssist(*Memo1);
    setup_breakpoint_margin(*Memo1);
    connect(Memo1, &QsciScintilla::marginClicked, this, [this] { breakpointsChanged(); });
    // Breakpoint markers move with the lines they are on.
    connect(Memo1, &QsciScintilla::linesChanged, this, [this] {
        if (stops_ && bridge_)
            listStops();
    });
    connect(Memo1, &QsciScintilla::modificationChanged, this, &QWidget::setWindowModified);
    // A stale error mark would point at the wrong line once the text changes.
    connect(Memo1, &QsciScintilla::textChanged, this, [this] {
        if (!running_)
            clear_error_mark(*Memo1);
    });

    output_ = new QPlainTextEdit;
    output_->setObjectName(QStringLiteral("Output"));
    output_->setAccessibleName(tr("Output"));
    output_->setReadOnly(true);
    output_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    output_->setFont(editorFont);
    output_->setPlaceholderText(tr("Output of print, puts and putch appears here."));
    // A program printing in an endless loop must not eat all memory.
    output_->setMaximumBlockCount(kOutputLines);

    editorSplit_ = new QSplitter(Qt::Vertical);
    editorSplit_->setChildrenCollapsible(false);
    // The find bar stays with the editor when the splitter moves.
    auto* editorPane = new QWidget;
    auto* editorRows = new QVBoxLayout(editorPane);
    editorRows->setContentsMargins(0, 0, 0, 0);
    editorRows->setSpacing(0);
    editorRows->addWidget(Memo1, 1);
    findBar_ = new FindBar(*Memo1, editorPane);
    editorRows->addWidget(findBar_);
    editorSplit_->addWidget(editorPane);
    editorSplit_->addWidget(output_);
    editorSplit_->setStretchFactor(0, 1);
    editorSplit_->setStretchFactor(1, 0);
    editorSplit_->setSizes({311, 90});

    Button1 = newButton(tr("&Run"), column, "Button1");
    Button2 = newButton(tr("&Halt"), column, "Button2");
    connect(Button1, &QPushButton::clicked, this, &MainWindow::runProgram);
    connect(Button2, &QPushButton::clicked, this, &MainWindow::haltProgram);
    auto* buttons = new QHBoxLayout;
    buttons->addSpacing(40);
    buttons->addWidget(Button1);
    buttons->addSpacing(77);
    buttons->addWidget(Button2);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 8, 13, 13);
    layout->setSpacing(15);
    layout->addWidget(editorSplit_, 1);
    layout->addLayout(buttons);
    return column;
}

void MainWindow::startUp()
{
    image_.PaletteFile = "allcolr.pal";
    loadPalette(false);
    image_.AssignPalette(0);
    prepare_canvas(image_);
    xmg->setPicture(Picture::snapshot(image_));
    bridge_ = std::make_unique<WindowBridge>(image_, *xmg, *Memo1, *output_, dialogs_, *this);
    bridge_->set_timeline(true);
    interpreter_ = std::make_unique<Interpreter>(*bridge_);
    interpreter_->set_pause_host(bridge_.get());
    bridge_->onPause([this](const PauseSnapshot& at) { showPause(at); });
    const QString first = programName_.isEmpty() ? QString::fromLatin1(kProgramFile) : programName_;
    setCurrentFile(QString());
    // A first start in a folder without xxx.cg simply opens an empty editor.
    if (programName_.isEmpty() && !QFile::exists(first))
        return;
    if (loadProgram(first))
        setCurrentFile(first);
    Image1->hide();
}

// Without a palette every index would be black and nothing drawn could be
// seen, so a cancelled or refused dialog falls back to the built-in palette.
void MainWindow::loadPalette(bool ask)
{
    std::string error;
    const QString kept = window_memory::paletteFile();
    if (!ask && !kept.isEmpty() && image_.LoadPalette(QFile::encodeName(kept).toStdString(), error))
        return;
    const QString name = dialogs_.openFileName(
        tr("Open Palette File"), QStringLiteral("Palette files (*.pal *.PAL)"),
        QDir::current().filePath(QString::fromStdString(image_.PaletteFile)));
    if (name.isEmpty()) {
        image_.LoadDefaultPalette();
        dialogs_.message(tr("No palette file was chosen; the built-in palette is used."));
        return;
    }
    if (!image_.LoadPalette(QFile::encodeName(name).toStdString(), error)) {
        image_.LoadDefaultPalette();
        dialogs_.message(QString::fromStdString(error) +
                         tr("\nThe built-in palette is used instead."));
        return;
    }
    window_memory::setPaletteFile(QFileInfo(name).absoluteFilePath());
}

// View > Choose Palette File: the canvas keeps its indices in the new colours.
void MainWindow::choosePalette()
{
    loadPalette(true);
    showPaletteColours();
}

// The palette file remembered from an earlier choice, else the built-in one.
void MainWindow::restorePalette()
{
    std::string error;
    const QString kept = window_memory::paletteFile();
    if (kept.isEmpty() || !image_.LoadPalette(QFile::encodeName(kept).toStdString(), error))
        image_.LoadDefaultPalette();
    showPaletteColours();
}

void MainWindow::showPaletteColours()
{
    image_.AssignPalette(0);
    bridge_->showCanvas();
    if (palette_)
        palette_->showColours(xmg->picture().palette);
}

void MainWindow::placeCanvas()
{
    const int side = kCanvasSide * xmg->zoom();
    xmg->setGeometry(32, 8, side, side);
    for (QLabel* label : {Label1, Label2, Label3, Label4})
        label->adjustSize();
    const QRect c = xmg->geometry();
    Label1->move(c.left() - Label1->width() - 4, c.top());
    Label2->move(c.left() - Label2->width() - 4, c.top() + c.height() - Label2->height());
    Label3->move(c.left(), c.top() + c.height() + 4);
    Label4->move(c.left() + c.width() - Label4->width(), c.top() + c.height() + 4);
    Button3->adjustSize();
    Button3->move(160, c.bottom() + 17);
    canvasPanel_->setFixedSize(c.right() + 33, c.bottom() + 55);
    Image1->setCanvas(c);
}

void MainWindow::fitCanvasArea()
{
    const QSize panel = canvasPanel_->size();
    const QSize unzoomed = panel - QSize(kCanvasSide, kCanvasSide) * (xmg->zoom() - 1);
    QSize room = panel;
    if (const QScreen* shown = screen(); shown && centralWidget()) {
        const QRect screenArea = shown->availableGeometry();
        const QSize frame = frameGeometry().size() - size();
        // Docks are laid out once the window shows; the menus, bars and
        // timeline need at least their minimum height.
        const int docks = isVisible() ? width() - centralWidget()->width() : 0;
        const int besides = isVisible()
                                ? height() - canvasArea_->height()
                                : layout()->minimumSize().height() - canvasArea_->minimumHeight();
        room = QSize(screenArea.width() - frame.width() - docks - kEditorRoom,
                     screenArea.height() - frame.height() - besides);
    }
    // Never smaller than at 1x, where the whole canvas always shows; scroll
    // bars need room of their own once the canvas scrolls.
    room = room.expandedTo(unzoomed);
    const int bar = canvasArea_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize area = panel;
    if (room.width() < area.width())
        area = QSize(room.width(), area.height() + bar);
    if (room.height() < area.height())
        area = QSize(std::min(panel.width(), area.width() + bar), room.height());
    canvasArea_->setFixedSize(area);
}

// Closing during a run asks about changed text, then halts the run and
// waits for its thread, which every wait lets go at a Halt.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    stopChecking();
    stopRun();
    finishGif();
    window_memory::save(*this, xmg->zoom());
    help_->close();
    if (palette_)
        palette_->close();
    event->accept();
}

// The window sees every key before the focused control does (F1 opens the
// help; Esc and Ctrl+Tab leave the editor, whose Tab indents).
bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Polish) {
        if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->isWindow())
            growNewWindow(*widget);
    }
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        QWidget* first = QApplication::focusWidget();
        if (widget && widget->window() == this && widget == (first ? first : this) &&
            keyPressed(*static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace korvane
