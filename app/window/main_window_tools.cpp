// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QTextBrowser>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

#include "about_box.h"
#include "canvas_description.h"
#include "canvas_view.h"
#include "dialogs.h"
#include "exercise_pane.h"
#include "find_bar.h"
#include "help_window.h"
#include "inspector_text.h"
#include "magnifier.h"
#include "palette_panel.h"
#include "pane_cycle.h"
#include "pause_panels.h"
#include "picture.h"
#include "pixel_model.h"
#include "stop_list.h"
#include "timeline_bar.h"
#include "window_bridge.h"

namespace korvane {

namespace {

// Tool windows open beside the main window, on the side with more room,
// narrowed to fit there if need be, so they cover neither canvas nor editor;
// one that would be narrower than it allows overlaps the main window instead.
void placeBeside(QWidget& tool, const QWidget& main)
{
    constexpr int kGap = 8;
    const QRect frame = main.frameGeometry();
    const QRect screen = main.screen()->availableGeometry();
    const int rightRoom = screen.right() - frame.right() - kGap;
    const int leftRoom = frame.left() - screen.left() - kGap;
    const int room = std::max(rightRoom, leftRoom);
    const int border = tool.frameGeometry().width() - tool.width();
    const int narrowest = std::max(tool.minimumSizeHint().width(), tool.minimumWidth());
    if (tool.width() + border > room && room - border >= narrowest)
        tool.resize(room - border, tool.height());
    const int width = tool.frameGeometry().width();
    const int left = rightRoom >= leftRoom ? frame.right() + kGap : frame.left() - kGap - width;
    tool.move(std::clamp(left, screen.left(), std::max(screen.left(), screen.right() - width)),
              frame.top());
}

}  // namespace

void MainWindow::showAbout()
{
    AboutBox_->exec();
}

void MainWindow::canvasClicked()
{
    if (Status1->isVisible() && timeline_->timeline())
        timeline_->showHistory(inspected_.x(), inspected_.y());
    if (Image1->isVisible()) {
        Image1->hide();
        return;
    }
    Image1->show();
    Image1->raise();
}

void MainWindow::moveMagnifier()
{
    if (Image1->isVisible())
        Image1->toNextCorner();
    Image1->show();
    Image1->raise();
}

void MainWindow::canvasMouseMoved(QPoint position)
{
    if (Image1->isVisible() && Magnifier::follows(position))
        Image1->magnify(xmg->image(), position);
    // The keyboard's cursor stays in sight when the zoomed canvas scrolls.
    if (xmg->hasFocus())
        canvasArea_->ensureVisible(xmg->x() + position.x() * xmg->zoom(),
                                   xmg->y() + position.y() * xmg->zoom(), 16, 16);
    inspect(position);
}

// Index and colour are the display's; the origin is the working bitmap's,
// so it is given only where the two still agree. A run going on looks it
// up itself, and the line follows when it has.
void MainWindow::inspect(QPoint screen)
{
    const Picture& display = xmg->picture();
    if (!Status1->isVisible() || !QRect(0, 0, display.width, display.height).contains(screen))
        return;
    const QPoint p = program_point(display, screen);
    inspected_ = p;
    const auto lookUp = [this, p, shown = display.at(p.x(), p.y())] {
        DrawnBy drawn;
        const size_t offset = static_cast<size_t>(p.y()) * image_.width(0) + p.x();
        if (image_.bits(0)[offset] != shown) {
            drawn.kind = DrawnBy::Kind::ChangedSinceShow;
        } else if (const PixelOrigin origin = bridge_->origin_at(p.x(), p.y()); origin.line >= 0) {
            drawn.kind = DrawnBy::Kind::Call;
            drawn.line = origin.line;
            drawn.builtin = origin.builtin;
        }
        return drawn;
    };
    const auto show = [this, p, screen](const DrawnBy& drawn) {
        if (inspected_ == p && Status1->isVisible())
            Status1->setText(inspector_text(xmg->picture(), screen, drawn));
    };
    if (!running_ || bridge_->isPaused()) {
        show(lookUp());
        return;
    }
    bridge_->mailbox().toRun([this, lookUp, show] {
        bridge_->mailbox().toWindow([show, drawn = lookUp()] { show(drawn); });
    });
}

void MainWindow::showInspector(bool on)
{
    // Origins are recorded from now on; what is on the canvas already has none.
    touchRun([this, on] { bridge_->set_provenance(on); });
    Status1->clear();
    // The line comes under the buttons: the window grows by it rather than
    // squeezing the editor, unless it fills the screen already.
    const int grow = Status1->isVisible() == on ? 0 : on ? kStatusHeight : -kStatusHeight;
    const QSize before = size();
    Status1->setVisible(on);
    if (!on)
        timeline_->history()->hide();
    resizeBy(before, QSize(0, grow));
}

void MainWindow::showPalette()
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

void MainWindow::recordGif(bool on)
{
    if (!on) {
        finishGif();
        return;
    }
    // The check mark means a file is open, so it waits for one.
    RecordGif1->setChecked(false);
    const QString chosen = dialogs_.gifFileName(gifName_);
    if (chosen.isEmpty())
        return;
    gifName_ = chosen;
    std::string error;
    if (!bridge_->startRecording(QFile::encodeName(chosen).toStdString(), error)) {
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
    else
        setRunStatus(tr("GIF saved: %1").arg(QDir::toNativeSeparators(gifName_)));
}

bool MainWindow::keyPressed(const QKeyEvent& key)
{
    if (key.key() == Qt::Key_F1) {
        if (!help_->isVisible())
            placeBeside(*help_, *this);
        help_->openFinder();
        return false;
    }
    const bool inEditor = Memo1->hasFocus() || Memo1->isAncestorOf(QApplication::focusWidget());
    const bool leave =
        (key.key() == Qt::Key_Escape && !Memo1->isListActive() && !Memo1->isCallTipActive()) ||
        (key.key() == Qt::Key_Tab && key.modifiers() == Qt::ControlModifier);
    if (!inEditor || !leave)
        return false;
    // To Run, or to Halt while Run is off.
    (Button1->isEnabled() ? Button1 : Button2)->setFocus(Qt::TabFocusReason);
    return true;
}

QList<QWidget*> MainWindow::panes() const
{
    return {Memo1,
            findBar_->findField(),
            xmg,
            timeline_->slider(),
            timeline_->history(),
            output_,
            exercisePane_->statement(),
            exercisePane_->results(),
            panels_->variablesView(),
            panels_->callStackView(),
            stops_->list()};
}

void MainWindow::cyclePanes(int step)
{
    if (QWidget* next = next_pane(panes(), QApplication::focusWidget(), step))
        next->setFocus(Qt::ShortcutFocusReason);
}

// A text a screen reader can read, in a box whose text can be selected and copied.
void MainWindow::describeCanvas()
{
    if (!description_) {
        description_ = new QDialog(this);
        description_->setWindowTitle(tr("Canvas Description"));
        auto* text = new QPlainTextEdit(description_);
        text->setObjectName(QStringLiteral("CanvasDescription"));
        text->setAccessibleName(tr("Canvas description"));
        text->setReadOnly(true);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, description_);
        connect(buttons, &QDialogButtonBox::rejected, description_, &QDialog::close);
        auto* layout = new QVBoxLayout(description_);
        layout->addWidget(text);
        layout->addWidget(buttons);
        description_->resize(560, 400);
    }
    auto* text = description_->findChild<QPlainTextEdit*>(QStringLiteral("CanvasDescription"));
    const Picture& shown = xmg->picture();
    const CanvasPixels canvas{shown.width, shown.height, shown.pixels.data(), shown.palette.data()};
    text->setPlainText(QString::fromStdString(describe_canvas(canvas, timeline_->timeline())));
    description_->show();
    description_->raise();
    text->setFocus();
}

}  // namespace korvane
