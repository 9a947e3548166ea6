#include "main_window.h"

#include <Qsci/qsciscintilla.h>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

#include "about_box.h"
#include "canvas_view.h"
#include "dialogs.h"
#include "help_window.h"
#include "inspector_text.h"
#include "magnifier.h"
#include "palette_panel.h"
#include "picture.h"
#include "pixel_model.h"
#include "program_editor.h"
#include "program_file.h"
#include "run_outcome.h"
#include "window_bridge.h"

namespace korvane {

namespace {

constexpr int kCanvasSide = 400;
constexpr int kFormWidth = 790;
constexpr int kFormHeight = 462;
// The inspector's line goes under the button row; the form grows to hold it.
constexpr int kStatusTop = 456;
constexpr int kStatusHeight = 18;

QLabel* newLabel(const QString& text, QWidget* parent, const char* name)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

// Tool windows open beside the main window, on the side with more room,
// narrowed to fit there if need be, so they cover neither canvas nor editor.
void placeBeside(QWidget& tool, const QWidget& main)
{
    constexpr int kGap = 8;
    const QRect frame = main.frameGeometry();
    const QRect screen = main.screen()->availableGeometry();
    const int rightRoom = screen.right() - frame.right() - kGap;
    const int leftRoom = frame.left() - screen.left() - kGap;
    const int room = std::max(rightRoom, leftRoom);
    const int border = tool.frameGeometry().width() - tool.width();
    if (tool.width() + border > room && room - border >= tool.minimumSizeHint().width())
        tool.resize(room - border, tool.height());
    const int width = tool.frameGeometry().width();
    const int left = rightRoom >= leftRoom ? frame.right() + kGap : frame.left() - kGap - width;
    tool.move(std::clamp(left, screen.left(), std::max(screen.left(), screen.right() - width)),
              frame.top());
}

QPushButton* newButton(const QString& text, QWidget* parent, const char* name, int left)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left, 424, 75, 25);
    return button;
}

}  // namespace

MainWindow::MainWindow(Dialogs& dialogs, const QString& program, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), programName_(program)
{
    setWindowTitle(QStringLiteral("Korvane"));
    createWidgets();
    createButtons();
    createMenus();
    AboutBox_ = new AboutBox(this);
    help_ = new HelpWindow(this);
    qApp->installEventFilter(this);
    FormCreate();
}

MainWindow::~MainWindow() = default;

void MainWindow::createWidgets()
{
    QFont formFont = font();
    formFont.setPointSize(8);
    setFont(formFont);

    auto* central = new QWidget(this);
    central->setFixedSize(kFormWidth, kFormHeight);
    setCentralWidget(central);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    xmg = new CanvasView(central);
    xmg->setObjectName(QStringLiteral("xmg"));
    xmg->setGeometry(32, 8, 105, 105);
    connect(xmg, &CanvasView::clicked, this, &MainWindow::xmgClick);
    connect(xmg, &CanvasView::mouseMoved, this, &MainWindow::xmgMouseMove);
    connect(xmg, &CanvasView::mouseLeft, this, [this] { Status1->clear(); });

    Image1 = new Magnifier(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(32, 8);
    Image1->hide();
    connect(Image1, &Magnifier::mouseMoved, this, &MainWindow::inspect);
    connect(Image1, &Magnifier::mouseLeft, this, [this] { Status1->clear(); });

    Memo1 = new QsciScintilla(central);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(464, 8, 313, 401);
    QFont editorFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    editorFont.setPointSize(9);
    Memo1->setFont(editorFont);
    setup_program_editor(*Memo1);
    connect(Memo1, &QsciScintilla::modificationChanged, this, &QWidget::setWindowModified);
    // A stale error mark would point at the wrong line once the text changes.
    connect(Memo1, &QsciScintilla::textChanged, this, [this] {
        if (!running_)
            clear_error_mark(*Memo1);
    });

    Label1 = newLabel(QStringLiteral("399"), central, "Label1");
    Label2 = newLabel(QStringLiteral("0"), central, "Label2");
    Label3 = newLabel(QStringLiteral("0"), central, "Label3");
    Label4 = newLabel(QStringLiteral("399\n"), central, "Label4");
    Status1 = newLabel(QString(), central, "Status1");
    Status1->setGeometry(32, kStatusTop, kFormWidth - 64, kStatusHeight);
    Status1->hide();
}

void MainWindow::createButtons()
{
    QWidget* central = centralWidget();
    Button1 = newButton(tr("&Run"), central, "Button1", 504);
    Button2 = newButton(tr("&Halt"), central, "Button2", 656);
    Button3 = newButton(tr("&Save Image"), central, "Button3", 160);
    connect(Button1, &QPushButton::clicked, this, &MainWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &MainWindow::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &MainWindow::Button3Click);
    setTabOrder(Memo1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
}

void MainWindow::createMenus()
{
    createFileMenu();
    createEditMenu();
    createViewMenu();
    createDebugMenu();

    QAction* about = menuBar()->addAction(tr("&About"));
    connect(about, &QAction::triggered, this, &MainWindow::About1Click);
}

void MainWindow::createFileMenu()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("File1"));
    New1 = file->addAction(tr("&New"));
    New1->setShortcut(QKeySequence::New);
    Open1 = file->addAction(tr("&Open"));
    Recent1 = file->addMenu(tr("Open &Recent"));
    Recent1->setObjectName(QStringLiteral("Recent1"));
    connect(Recent1, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    Save1 = file->addAction(tr("&Save Program"));
    SaveAs1 = file->addAction(tr("Save Program &As…"));
    SaveAs1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    QAction* exit = file->addAction(tr("E&xit"));
    connect(New1, &QAction::triggered, this, &MainWindow::New1Click);
    connect(Open1, &QAction::triggered, this, &MainWindow::Open1Click);
    connect(Save1, &QAction::triggered, this, &MainWindow::Save1Click);
    connect(SaveAs1, &QAction::triggered, this, &MainWindow::SaveAs1Click);
    connect(exit, &QAction::triggered, this, &MainWindow::Exit1Click);
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
    Replace1 = edit->addAction(tr("R&eplace…"));
    QAction* goToLine = edit->addAction(tr("&Go to Line…"));
    goToLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    connect(Undo1, &QAction::triggered, this, &MainWindow::Undo1Click);
    connect(Redo1, &QAction::triggered, this, &MainWindow::Redo1Click);
    connect(Cut1, &QAction::triggered, this, &MainWindow::Cut1Click);
    connect(copy, &QAction::triggered, this, &MainWindow::Copy1Click);
    connect(Paste1, &QAction::triggered, this, &MainWindow::Paste1Click);
    connect(selectAll, &QAction::triggered, this, &MainWindow::SelectAll1Click);
    connect(find, &QAction::triggered, this, &MainWindow::Find1Click);
    connect(findNext, &QAction::triggered, this, &MainWindow::FindNext1Click);
    connect(Replace1, &QAction::triggered, this, &MainWindow::Replace1Click);
    connect(goToLine, &QAction::triggered, this, &MainWindow::GoToLine1Click);
}

void MainWindow::createViewMenu()
{
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("View1"));
    QAction* inspector = view->addAction(tr("&Inspector"));
    inspector->setCheckable(true);
    QAction* palette = view->addAction(tr("&Palette"));
    connect(inspector, &QAction::toggled, this, &MainWindow::Inspector1Click);
    connect(palette, &QAction::triggered, this, &MainWindow::Palette1Click);
}

void MainWindow::createDebugMenu()
{
    QMenu* debug = menuBar()->addMenu(tr("&Debug"));
    debug->setObjectName(QStringLiteral("Debug1"));
    QAction* step = debug->addAction(tr("&Step"));
    step->setShortcut(Qt::Key_F10);
    QAction* resume = debug->addAction(tr("&Continue"));
    resume->setShortcut(Qt::Key_F5);
    connect(step, &QAction::triggered, this, &MainWindow::Step1Click);
    connect(resume, &QAction::triggered, this, &MainWindow::Continue1Click);

    QMenu* speed = debug->addMenu(tr("S&peed"));
    auto* speeds = new QActionGroup(speed);
    for (int delay : kDrawDelaysMs) {
        const QString text =
            delay == 0 ? tr("Full speed") : tr("%1 drawing calls a second").arg(1000 / delay);
        QAction* choice = speed->addAction(delay == 1000 ? tr("1 drawing call a second") : text);
        choice->setCheckable(true);
        choice->setChecked(delay == 0);
        speeds->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, delay] { Speed1Click(delay); });
    }

    // Triggered, not toggled: unchecking it after a cancelled dialog must
    // not count as a stop.
    RecordGif1 = debug->addAction(tr("&Record GIF…"));
    RecordGif1->setCheckable(true);
    connect(RecordGif1, &QAction::triggered, this, &MainWindow::RecordGif1Click);
}

void MainWindow::FormCreate()
{
    image_.PaletteFile = "allcolr.pal";
    xmg->resize(kCanvasSide, kCanvasSide);
    loadPalette();
    image_.AssignPalette(0);
    prepare_canvas(image_);
    xmg->setPicture(Picture::snapshot(image_));
    bridge_ = std::make_unique<WindowBridge>(image_, *xmg, *Memo1, dialogs_);
    interpreter_ = std::make_unique<Interpreter>(*bridge_);
    interpreter_->set_stack_budget(runStack_.budget());
    placeLabels();
    const QString first = programName_.isEmpty() ? QString::fromLatin1(kProgramFile) : programName_;
    setCurrentFile(QString());
    if (loadProgram(first))
        setCurrentFile(first);
    Image1->hide();
}

// Without a palette every index would be black and nothing drawn could be
// seen, so a cancelled or refused dialog falls back to the built-in palette.
void MainWindow::loadPalette()
{
    const QString name = dialogs_.openFileName(
        tr("Open Palette File"), QStringLiteral("Palette files (*.pal *.PAL)"),
        QDir::current().filePath(QString::fromStdString(image_.PaletteFile)));
    if (name.isEmpty()) {
        image_.LoadDefaultPalette();
        dialogs_.message(tr("No palette file was chosen; the built-in palette is used."));
        return;
    }
    std::string error;
    if (!image_.LoadPalette(QFile::encodeName(name).toStdString(), error)) {
        image_.LoadDefaultPalette();
        dialogs_.message(QString::fromStdString(error) +
                         tr("\nThe built-in palette is used instead."));
    }
}

void MainWindow::placeLabels()
{
    for (QLabel* label : {Label1, Label2, Label3, Label4})
        label->adjustSize();
    const QRect c = xmg->geometry();
    Label1->move(c.left() - Label1->width() - 4, c.top());
    Label2->move(c.left() - Label2->width() - 4, c.top() + c.height() - Label2->height());
    Label3->move(c.left(), c.top() + c.height() + 4);
    Label4->move(c.left() + c.width() - Label4->width(), c.top() + c.height() + 4);
}

bool MainWindow::loadProgram(const QString& path)
{
    QString text, error;
    if (!read_program_text(path, text, error)) {
        dialogs_.message(error);
        return false;
    }
    load_editor_text(*Memo1, text);
    return true;
}

// The title names the program and marks unsaved changes.
void MainWindow::setCurrentFile(const QString& path)
{
    const QString name = path.isEmpty() ? tr("Untitled") : QFileInfo(path).fileName();
    setWindowTitle(tr("%1[*] - Korvane").arg(name));
    if (!path.isEmpty() && path != QLatin1String(kProgramFile))
        recent_.add(path);
}

bool MainWindow::saveProgram(const QString& path)
{
    QString error;
    if (!write_program_text(path, Memo1->text(), error)) {
        dialogs_.message(error);
        return false;
    }
    Memo1->setModified(false);
    return true;
}

bool MainWindow::saveProgramAs()
{
    const QString chosen =
        dialogs_.saveFileName(tr("Save Program"), QStringLiteral("Test file (*.cg)"), programName_);
    if (chosen.isEmpty())
        return false;
    programName_ = with_default_suffix(chosen, QStringLiteral(".cg"));
    if (!saveProgram(programName_))
        return false;
    setCurrentFile(programName_);
    return true;
}

bool MainWindow::maybeSave()
{
    if (!Memo1->isModified())
        return true;
    switch (dialogs_.askSaveChanges()) {
    case Dialogs::Choice::Save:
        return saveProgramAs();
    case Dialogs::Choice::Discard:
        return true;
    case Dialogs::Choice::Cancel:
        break;
    }
    return false;
}

void MainWindow::Button1Click()
{
    // The interpreter is not re-entrant; a click that slips through a
    // show's event processing must not start a nested run.
    if (running_)
        return;
    if (!saveProgram(QString::fromLatin1(kProgramFile)))
        return;
    clear_error_mark(*Memo1);
    bridge_->HaltFlag = 0;
    setRunning(true);
    bridge_->beginRun(startStepping_);
    RunResult result = RUN_ABORTED;
    try {
        runStack_.run([this, &result] { result = interpreter_->run_program(kProgramFile); });
    } catch (const std::exception& failure) {
        dialogs_.message(QString::fromLocal8Bit(failure.what()));
    }
    setRunning(false);
    bridge_->endRun(result == RUN_OK);
    reportRunResult(result);
    if (closeAfterRun_ || result == RUN_END) {
        closeAfterRun_ = false;
        close();
        closeConfirmed_ = false;
    }
}

void MainWindow::reportRunResult(RunResult result)
{
    switch (result) {
    case RUN_OK:
        bridge_->showCanvas();
        break;
    case RUN_NO_MAIN:
        dialogs_.message(QString::fromLatin1(kNoMainMessage));
        break;
    case RUN_ERROR:
        if (interpreter_->error_line() >= 0)
            mark_error(*Memo1, interpreter_->error_line(), bridge_->lastMessage().trimmed());
        Memo1->setFocus();
        break;
    default:  // already reported by the interpreter, or `end`
        break;
    }
}

void MainWindow::setRunning(bool running)
{
    running_ = running;
    for (QAction* action : {New1, Open1, Save1, SaveAs1, Undo1, Redo1, Cut1, Paste1, Replace1})
        action->setEnabled(!running);
    Recent1->setEnabled(!running);
    Button1->setEnabled(!running);
    Memo1->setReadOnly(running);
}

void MainWindow::Button2Click()
{
    bridge_->halt();
}

void MainWindow::Button3Click()
{
    const QString jpegType = QStringLiteral("JPEG files (*.jpg)");
    const QString pngType = QStringLiteral("PNG files (*.png)");
    QString type;
    const QString chosen =
        dialogs_.saveFileName(tr("Save Image"), jpegType + ";;" + pngType, imageName_, &type);
    if (chosen.isEmpty())
        return;
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
}

void MainWindow::New1Click()
{
    if (running_ || !maybeSave())
        return;
    load_editor_text(*Memo1, QString());
    setCurrentFile(QString());
}

void MainWindow::Open1Click()
{
    if (running_ || !maybeSave())
        return;
    const QString chosen =
        dialogs_.openFileName(tr("Open"), QStringLiteral("Algorithm files, (*.cg)"), programName_);
    if (chosen.isEmpty())
        return;
    programName_ = chosen;
    if (loadProgram(chosen))
        setCurrentFile(chosen);
}

void MainWindow::OpenRecent1Click(const QString& path)
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

void MainWindow::fillRecentMenu()
{
    Recent1->clear();
    const QStringList files = recent_.files();
    for (const QString& path : files) {
        QAction* item = Recent1->addAction(QDir::toNativeSeparators(path));
        connect(item, &QAction::triggered, this, [this, path] { OpenRecent1Click(path); });
    }
    if (files.isEmpty())
        Recent1->addAction(tr("(none)"))->setEnabled(false);
}

// Save Program always asks for the name, as it always has; Save Program As
// does the same from the keyboard.
void MainWindow::Save1Click()
{
    if (!running_)
        saveProgramAs();
}

void MainWindow::SaveAs1Click()
{
    Save1Click();
}

void MainWindow::Exit1Click()
{
    close();
}

void MainWindow::Undo1Click()
{
    Memo1->undo();
}

void MainWindow::Redo1Click()
{
    Memo1->redo();
}

void MainWindow::Cut1Click()
{
    Memo1->cut();
}

void MainWindow::Copy1Click()
{
    Memo1->copy();
}

void MainWindow::Paste1Click()
{
    Memo1->paste();
}

void MainWindow::SelectAll1Click()
{
    Memo1->selectAll();
}

void MainWindow::Find1Click()
{
    const QString text = dialogs_.askText(tr("Find"), tr("Text to find:"), findText_);
    if (text.isEmpty())
        return;
    findText_ = text;
    FindNext1Click();
}

void MainWindow::FindNext1Click()
{
    if (findText_.isEmpty()) {
        Find1Click();
        return;
    }
    if (!find_text(*Memo1, findText_))
        dialogs_.message(tr("Cannot find \"%1\".").arg(findText_));
}

void MainWindow::Replace1Click()
{
    const QString text = dialogs_.askText(tr("Replace"), tr("Text to find:"), findText_);
    if (text.isEmpty())
        return;
    findText_ = text;
    const QString with = dialogs_.askText(tr("Replace"), tr("Replace with:"), QString());
    const int count = replace_all(*Memo1, text, with);
    dialogs_.message(count == 0 ? tr("Cannot find \"%1\".").arg(text)
                                : tr("Replaced %n occurrence(s).", nullptr, count));
}

void MainWindow::GoToLine1Click()
{
    const int last = Memo1->lines() - 1;
    const QString answer =
        dialogs_.askText(tr("Go to Line"), tr("Line number (0 to %1):").arg(last), QString());
    if (answer.isEmpty())
        return;
    bool ok = false;
    const int line = answer.trimmed().toInt(&ok);
    if (!ok || !go_to_line(*Memo1, line))
        dialogs_.message(tr("There is no line %1; the lines are 0 to %2.").arg(answer).arg(last));
    Memo1->setFocus();
}

void MainWindow::About1Click()
{
    AboutBox_->exec();
}

void MainWindow::xmgClick()
{
    if (Image1->isVisible()) {
        Image1->hide();
        return;
    }
    Image1->move(xmg->pos());
    Image1->show();
    Image1->raise();
}

void MainWindow::xmgMouseMove(QPoint position)
{
    if (Image1->isVisible() && Magnifier::follows(position))
        Image1->magnify(xmg->image(), position);
    inspect(position);
}

// Index and colour are the display's; the origin is the working bitmap's,
// so it is given only where the two still agree.
void MainWindow::inspect(QPoint screen)
{
    const Picture& display = xmg->picture();
    if (!Status1->isVisible() || !QRect(0, 0, display.width, display.height).contains(screen))
        return;
    const QPoint p = program_point(display, screen);
    DrawnBy drawn;
    const size_t offset = static_cast<size_t>(p.y()) * image_.width(0) + p.x();
    if (image_.bits(0)[offset] != display.at(p.x(), p.y())) {
        drawn.kind = DrawnBy::Kind::ChangedSinceShow;
    } else if (const PixelOrigin origin = bridge_->origin_at(p.x(), p.y()); origin.line >= 0) {
        drawn.kind = DrawnBy::Kind::Call;
        drawn.line = origin.line;
        drawn.builtin = origin.builtin;
    }
    Status1->setText(inspector_text(display, screen, drawn));
}

void MainWindow::Inspector1Click(bool on)
{
    // Origins are recorded from now on; what is on the canvas already has none.
    bridge_->set_provenance(on);
    Status1->clear();
    Status1->setVisible(on);
    centralWidget()->setFixedSize(kFormWidth, on ? kStatusTop + kStatusHeight + 6 : kFormHeight);
}

void MainWindow::Palette1Click()
{
    if (!palette_) {
        palette_ = new PalettePanel(this);
        connect(palette_, &PalettePanel::selectionChanged, xmg, &CanvasView::setHighlight);
    }
    if (!palette_->isVisible())
        placeBeside(*palette_, *this);
    palette_->showColours(xmg->picture().palette);
    palette_->show();
    palette_->raise();
}

// Step before a run starts one that pauses at its first drawing call.
void MainWindow::Step1Click()
{
    if (running_) {
        bridge_->step();
        return;
    }
    startStepping_ = true;
    Button1Click();
    startStepping_ = false;
}

void MainWindow::Continue1Click()
{
    bridge_->resume();
}

void MainWindow::Speed1Click(int delayMs)
{
    bridge_->setDrawDelay(delayMs);
}

void MainWindow::RecordGif1Click(bool on)
{
    if (!on) {
        finishGif();
        return;
    }
    // The check mark means a file is open, so it waits for one.
    RecordGif1->setChecked(false);
    const QString chosen =
        dialogs_.saveFileName(tr("Record GIF"), QStringLiteral("GIF files (*.gif)"), gifName_);
    if (chosen.isEmpty())
        return;
    gifName_ = with_default_suffix(chosen, QStringLiteral(".gif"));
    std::string error;
    if (!bridge_->startRecording(QFile::encodeName(gifName_).toStdString(), error)) {
        dialogs_.message(QString::fromStdString(error));
        return;
    }
    RecordGif1->setChecked(true);
}

void MainWindow::finishGif()
{
    RecordGif1->setChecked(false);
    if (!bridge_->isRecording())
        return;
    std::string error;
    if (!bridge_->stopRecording(error))
        dialogs_.message(QString::fromStdString(error));
}

// Closing during a run asks about changed text, then halts the run; Run
// closes the window once the interpreter has returned, so nothing is torn
// down beneath it.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!closeConfirmed_ && !maybeSave()) {
        event->ignore();
        return;
    }
    if (running_) {
        closeConfirmed_ = true;
        closeAfterRun_ = true;
        bridge_->halt();
        event->ignore();
        return;
    }
    finishGif();
    help_->close();
    if (palette_)
        palette_->close();
    event->accept();
}

// The window sees every key before the focused control does (F1 opens the
// help) and lets it through.
bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        QWidget* first = QApplication::focusWidget();
        if (widget && widget->window() == this && widget == (first ? first : this))
            FormKeyDown(static_cast<QKeyEvent*>(event)->key());
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::FormKeyDown(int key)
{
    if (key != Qt::Key_F1)
        return;
    if (!help_->isVisible())
        placeBeside(*help_, *this);
    help_->openFinder();
}

}  // namespace korvane
