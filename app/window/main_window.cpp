#include "main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include "about_box.h"
#include "canvas_view.h"
#include "dialogs.h"
#include "help_window.h"
#include "inspector_text.h"
#include "magnifier.h"
#include "palette_panel.h"
#include "picture.h"
#include "pixel_model.h"
#include "program_file.h"
#include "window_bridge.h"

namespace korvane {

namespace {

constexpr int kCanvasSide = 400;
constexpr int kFormWidth = 790;
constexpr int kFormHeight = 462;
// The inspector's line goes under the button row; the form grows to hold it.
constexpr int kStatusTop = 456;
constexpr int kStatusHeight = 18;
const QColor kErrorLineColour(255, 205, 205);

QLabel* newLabel(const QString& text, QWidget* parent, const char* name)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
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

    Memo1 = new QPlainTextEdit(central);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(464, 8, 313, 401);
    QFont editorFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    editorFont.setPointSize(9);
    Memo1->setFont(editorFont);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);
    // A stale error mark would point at the wrong line once the text changes.
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] {
        if (!running_)
            Memo1->setExtraSelections({});
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
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("File1"));
    Open1 = file->addAction(tr("&Open"));
    Save1 = file->addAction(tr("&Save Program"));
    QAction* exit = file->addAction(tr("E&xit"));
    connect(Open1, &QAction::triggered, this, &MainWindow::Open1Click);
    connect(Save1, &QAction::triggered, this, &MainWindow::Save1Click);
    connect(exit, &QAction::triggered, this, &MainWindow::Exit1Click);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    Cut1 = edit->addAction(tr("Cu&t"));
    QAction* copy = edit->addAction(tr("&Copy"));
    Paste1 = edit->addAction(tr("&Paste"));
    connect(Cut1, &QAction::triggered, this, &MainWindow::Cut1Click);
    connect(copy, &QAction::triggered, this, &MainWindow::Copy1Click);
    connect(Paste1, &QAction::triggered, this, &MainWindow::Paste1Click);

    createViewMenu();
    createDebugMenu();

    QAction* about = menuBar()->addAction(tr("&About"));
    connect(about, &QAction::triggered, this, &MainWindow::About1Click);
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
        const QString text = delay == 0 ? tr("Full speed")
                                         : tr("%1 drawing calls a second").arg(1000 / delay);
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
    image_.ResizeBmp(0, kCanvasSide, kCanvasSide);
    xmg->setPicture(Picture::snapshot(image_));
    ras_set_line_clip(image_.clips, 0, 399, 0, 399);
    ras_set_circle_clip(image_.clips, 0, 399, 0, 399);
    ras_set_point_clip(image_.clips, 0, 399, 0, 399);
    bridge_ = std::make_unique<WindowBridge>(image_, *xmg, *Memo1, dialogs_);
    interpreter_ = std::make_unique<Interpreter>(*bridge_);
    placeLabels();
    loadProgram(programName_.isEmpty() ? QString::fromLatin1(kProgramFile) : programName_);
    bridge_->fill_half_table();
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
    Memo1->setPlainText(text);
    Memo1->document()->setModified(false);
    return true;
}

bool MainWindow::saveProgram(const QString& path)
{
    QString error;
    if (!write_program_text(path, Memo1->toPlainText(), error)) {
        dialogs_.message(error);
        return false;
    }
    Memo1->document()->setModified(false);
    return true;
}

bool MainWindow::saveProgramAs()
{
    const QString chosen = dialogs_.saveFileName(tr("Save Program"),
                                                 QStringLiteral("Test file (*.cg)"), programName_);
    if (chosen.isEmpty())
        return false;
    programName_ = with_default_suffix(chosen, QStringLiteral(".cg"));
    return saveProgram(programName_);
}

bool MainWindow::maybeSave()
{
    if (!Memo1->document()->isModified())
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
    Memo1->setExtraSelections({});
    bridge_->HaltFlag = 0;
    setRunning(true);
    bridge_->beginRun(startStepping_);
    RunResult result = RUN_ABORTED;
    try {
        result = interpreter_->run_program(kProgramFile);
    } catch (const std::exception& failure) {
        dialogs_.message(QString::fromLocal8Bit(failure.what()));
    }
    setRunning(false);
    bridge_->endRun(result == RUN_OK);
    reportRunResult(result);
    if (closeAfterRun_ || result == RUN_END) {
        closeAfterRun_ = false;
        close();
    }
}

void MainWindow::reportRunResult(RunResult result)
{
    switch (result) {
    case RUN_OK:
        bridge_->showCanvas();
        break;
    case RUN_NO_MAIN:
        dialogs_.message(QStringLiteral("Program Error! Can't find main()"));
        break;
    case RUN_ERROR:
        markErrorLine(interpreter_->error_line());
        break;
    default:  // already reported by the interpreter, or `end`
        break;
    }
}

void MainWindow::markErrorLine(int line)
{
    if (line < 0)
        return;
    QTextBlock block = Memo1->document()->findBlockByNumber(line);
    if (!block.isValid())
        block = Memo1->document()->lastBlock();
    QTextCursor cursor(block);
    Memo1->setTextCursor(cursor);
    QTextEdit::ExtraSelection mark;
    mark.cursor = cursor;
    mark.format.setBackground(kErrorLineColour);
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    Memo1->setExtraSelections({mark});
    Memo1->setFocus();
}

void MainWindow::setRunning(bool running)
{
    running_ = running;
    for (QAction* action : {Open1, Save1, Cut1, Paste1})
        action->setEnabled(!running);
    Button1->setEnabled(!running);
    Memo1->setReadOnly(running);
}

void MainWindow::Button2Click()
{
    bridge_->halt();
}

void MainWindow::Button3Click()
{
    const QString chosen = dialogs_.saveFileName(
        tr("Save Image"), QStringLiteral("JPEG files (*.jpg);;PNG files (*.png)"), imageName_);
    if (chosen.isEmpty())
        return;
    imageName_ = with_default_suffix(chosen, QStringLiteral(".jpg"));
    const std::string path = QFile::encodeName(imageName_).toStdString();
    // PNG keeps the palette indices, so only a name that asks for it gets one.
    const bool png = imageName_.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
    std::string error;
    const bool written = png ? write_png(path, xmg->picture(), error)
                             : write_jpeg(path, xmg->picture(), error);
    if (!written)
        dialogs_.message(QString::fromStdString(error));
}

void MainWindow::Open1Click()
{
    if (running_ || !maybeSave())
        return;
    const QString chosen = dialogs_.openFileName(
        tr("Open"), QStringLiteral("Algorithm files, (*.cg)"), programName_);
    if (chosen.isEmpty())
        return;
    programName_ = chosen;
    loadProgram(chosen);
}

void MainWindow::Save1Click()
{
    if (!running_)
        saveProgramAs();
}

void MainWindow::Exit1Click()
{
    close();
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

// Closing during a run halts it first; Run closes the window once the
// interpreter has returned, so nothing is torn down beneath it.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (running_) {
        bridge_->halt();
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    finishGif();
    help_->close();
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
    if (key == Qt::Key_F1)
        help_->openFinder();
}

}  // namespace korvane
