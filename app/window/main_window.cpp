#include "main_window.h"

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QPushButton>

#include "about_box.h"
#include "canvas_view.h"
#include "dialogs.h"
#include "editor_assist.h"
#include "help_window.h"
#include "magnifier.h"
#include "palette_panel.h"
#include "picture.h"
#include "program_editor.h"
#include "window_bridge.h"

namespace korvane {

namespace {

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
    startUp();
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
    connect(xmg, &CanvasView::clicked, this, &MainWindow::canvasClicked);
    connect(xmg, &CanvasView::mouseMoved, this, &MainWindow::canvasMouseMoved);
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
    assist_ = new EditorAssist(*Memo1);
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
    connect(Button1, &QPushButton::clicked, this, &MainWindow::runProgram);
    connect(Button2, &QPushButton::clicked, this, &MainWindow::haltProgram);
    connect(Button3, &QPushButton::clicked, this, &MainWindow::saveImage);
    setTabOrder(Memo1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
}

void MainWindow::startUp()
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
            keyPressed(static_cast<QKeyEvent*>(event)->key());
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace korvane
