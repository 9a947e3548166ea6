// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_bar.h"

#include <Qsci/qsciscintilla.h>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <algorithm>
#include <climits>

#include "canvas_view.h"
#include "dialogs.h"
#include "gif_writer.h"
#include "picture.h"
#include "program_editor.h"
#include "timeline.h"
#include "timeline_frames.h"

namespace korvane {

namespace {

// The slider counts calls from the first one the timeline keeps.
int sliderSpan(const Timeline& t)
{
    return static_cast<int>(std::min<uint64_t>(t.calls() - t.first_call(), INT_MAX));
}

QString writeText(const PixelWrite& w)
{
    return QStringLiteral("call %1, line %2: %3, colour %4")
        .arg(w.call)
        .arg(w.line)
        .arg(QLatin1String(draw_op_name(w.op)))
        .arg(w.colour);
}

}  // namespace

TimelineBar::TimelineBar(CanvasView& view, QsciScintilla& editor, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      view_(view),
      editor_(editor),
      dialogs_(dialogs),
      slider_(new QSlider(Qt::Horizontal, this)),
      position_(new QLabel(this)),
      callText_(new QLabel(this)),
      play_(new QToolButton(this)),
      speed_(new QComboBox(this)),
      gif_(new QPushButton(tr("GIF..."), this)),
      history_(new QListWidget(this))
{
    setObjectName(QStringLiteral("Timeline"));
    slider_->setObjectName(QStringLiteral("TimelineSlider"));
    // A plain button whose text says what it does next: assistive tools
    // present a checkable one as a check box.
    play_->setText(tr("Play"));
    play_->setObjectName(QStringLiteral("Play"));
    slider_->setAccessibleName(tr("Timeline"));
    position_->setAccessibleName(tr("Timeline position"));
    callText_->setAccessibleName(tr("Call shown"));
    speed_->setAccessibleName(tr("Play speed"));
    history_->setAccessibleName(tr("Pixel history"));
    for (const int cps : kSpeeds)
        speed_->addItem(tr("%1 calls/s").arg(cps), cps);
    speed_->setCurrentIndex(2);
    gif_->setObjectName(QStringLiteral("GifButton"));
    gif_->setToolTip(tr("Record a GIF of a range of calls"));
    history_->setObjectName(QStringLiteral("PixelHistory"));
    history_->setFixedHeight(96);
    history_->hide();

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    grid->addWidget(slider_, 0, 0);
    grid->addWidget(position_, 0, 1);
    grid->addWidget(play_, 0, 2);
    grid->addWidget(speed_, 0, 3);
    grid->addWidget(gif_, 0, 4);
    grid->addWidget(callText_, 1, 0, 1, 5);
    grid->addWidget(history_, 2, 0, 1, 5);
    grid->setColumnStretch(0, 1);

    connect(slider_, &QSlider::valueChanged, this, &TimelineBar::sliderMoved);
    connect(play_, &QToolButton::clicked, this, [this] { setPlaying(!isPlaying()); });
    connect(&player_, &QTimer::timeout, this, &TimelineBar::advance);
    connect(gif_, &QPushButton::clicked, this, &TimelineBar::recordGif);
    connect(history_, &QListWidget::currentRowChanged, this, &TimelineBar::chooseHistoryEntry);
    setTimeline(nullptr);
}

void TimelineBar::setTimeline(const Timeline* timeline)
{
    // The run may change the old timeline from now on.
    historySearch_.wait();
    setPlaying(false);
    timeline_ = timeline;
    history_->clear();
    setEnabled(timeline != nullptr);
    const QSignalBlocker quiet(slider_);
    slider_->setRange(0, timeline ? sliderSpan(*timeline) : 0);
    slider_->setPageStep(std::max(1, slider_->maximum() / 100));
    slider_->setValue(slider_->maximum());
    sliderMoved(-1);
}

uint64_t TimelineBar::call() const
{
    return timeline_ ? timeline_->first_call() + static_cast<uint64_t>(slider_->value()) : 0;
}

QString TimelineBar::callText() const
{
    return callText_->text();
}

void TimelineBar::showCall(uint64_t k)
{
    if (!timeline_)
        return;
    k = std::clamp(k, timeline_->first_call(), timeline_->calls());
    slider_->setValue(static_cast<int>(k - timeline_->first_call()));
}

// value -1: only the labels follow the slider, the canvas stays as it is.
void TimelineBar::sliderMoved(int value)
{
    if (!timeline_) {
        position_->setText(QStringLiteral("0 / 0"));
        callText_->setText(tr("The timeline of the calls appears after a run."));
        return;
    }
    const uint64_t k = call(), n = timeline_->calls();
    position_->setText(QStringLiteral("%1 / %2").arg(k).arg(n));
    // Past its memory the timeline holds the run's last part only.
    if (timeline_->truncated())
        position_->setText(tr("%1 / %2 (kept from %3)").arg(k).arg(n).arg(timeline_->first_call()));
    QString text = tr("Before the first drawing call");
    int line = -1;
    if (k > timeline_->first_call()) {
        const LoggedCall c = timeline_->call(k);
        line = c.line;
        text = tr("line %1: %2").arg(line).arg(QString::fromLatin1(describe_call(c)));
    } else if (timeline_->truncated()) {
        text = tr("Before call %1: the run made more calls than the timeline can hold").arg(k + 1);
    }
    callText_->setText(text);
    if (value < 0)
        return;
    timeline_->seek(k, canvas_);
    view_.setPicture(Picture::snapshot(canvas_));
    mark_drawing_line(editor_, line);
}

void TimelineBar::setPlaying(bool on)
{
    if (!on || !timeline_) {
        player_.stop();
        play_->setText(tr("Play"));
        return;
    }
    if (slider_->value() == slider_->maximum())
        slider_->setValue(0);
    const int cps = speed_->currentData().toInt();
    player_.start(std::max(40, 1000 / cps));
    play_->setText(tr("Pause"));
}

void TimelineBar::advance()
{
    const int cps = speed_->currentData().toInt();
    const int step = std::max(1, cps * player_.interval() / 1000);
    slider_->setValue(std::min(slider_->maximum(), slider_->value() + step));
    if (slider_->value() == slider_->maximum())
        setPlaying(false);
}

// The first and last writes, with the count of those between; found on a
// thread of their own, so a long run's pixel does not hold the window.
void TimelineBar::showHistory(int x, int y)
{
    historySearch_.wait();
    history_->clear();
    history_->show();
    if (!timeline_)
        return;
    history_->addItem(tr("Finding the writes of pixel (%1, %2)...").arg(x).arg(y));
    historySearch_.start(*timeline_, x, y, kHistoryEnds, this,
                         [this, x, y](const PixelHistory& found) { listHistory(found, x, y); });
}

void TimelineBar::listHistory(const PixelHistory& found, int x, int y)
{
    QSignalBlocker quiet(history_);
    history_->clear();
    const auto add = [this](const PixelWrite& w) {
        history_->addItem(writeText(w));
        history_->item(history_->count() - 1)
            ->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(w.call));
    };
    std::for_each(found.first.begin(), found.first.end(), add);
    if (found.count > 2 * kHistoryEnds)
        history_->addItem(tr("... %1 more writes ...").arg(found.count - 2 * kHistoryEnds));
    std::for_each(found.last.begin(), found.last.end(), add);
    if (found.count == 0)
        history_->addItem(tr("Pixel (%1, %2): no call of this run wrote it").arg(x).arg(y));
}

void TimelineBar::chooseHistoryEntry()
{
    const QListWidgetItem* item = history_->currentItem();
    if (item && item->data(Qt::UserRole).isValid())
        showCall(item->data(Qt::UserRole).toULongLong());
}

bool TimelineBar::writeGif(const Timeline& timeline, uint64_t a, uint64_t b, uint64_t every,
                           const std::string& path, std::string& error)
{
    GifRecorder gif;
    if (!gif.open(path, error))
        return false;
    TXImage3 canvas(1);
    for_each_gif_frame(timeline, a, b, every, canvas,
                       [&] { gif.add_frame(Picture::snapshot(canvas), kGifFrameMs); });
    return gif.finish(error);
}

// Asks for the range and the file, then writes it.
void TimelineBar::recordGif()
{
    if (!timeline_)
        return;
    GifRange range{timeline_->first_call(), timeline_->calls(), 0};
    if (!dialogs_.askGifRange(timeline_->first_call(), timeline_->calls(), range))
        return;
    const QString chosen = dialogs_.gifFileName(gifName_);
    if (chosen.isEmpty())
        return;
    std::string error;
    if (!writeGif(*timeline_, range.from, range.to, range.every,
                  QFile::encodeName(chosen).toStdString(), error))
        dialogs_.message(QString::fromStdString(error));
    else
        emit gifSaved(chosen);
}

}  // namespace korvane
