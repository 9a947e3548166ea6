// SPDX-License-Identifier: GPL-3.0-or-later
// The timeline under the canvas. After a run, and at a pause, its slider
// spans the run's drawing calls 0..N and shows the canvas as it was after
// call k, with the call's built-in, arguments and line (marked in the
// editor). Play replays the calls at a chosen speed (and reads Pause then). With the inspector on,
// a clicked pixel's writes are listed; choosing one moves the slider to it.
// A range of calls can be recorded as a GIF.
#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "pixel_history.h"
#include "ximage3.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QsciScintilla;
class QToolButton;

namespace korvane {

class CanvasView;
class Dialogs;
class Timeline;

class TimelineBar : public QWidget {
    Q_OBJECT

public:
    // Writes shown per end of the pixel history; the rest are counted.
    static constexpr int kHistoryEnds = 1000;
    // Calls per second that Play offers.
    static constexpr int kSpeeds[] = {1, 10, 100, 1000, 10000, 100000};

    TimelineBar(CanvasView& view, QsciScintilla& editor, Dialogs& dialogs,
                QWidget* parent = nullptr);

    // Shows the timeline at its last call without touching the canvas; null
    // (during a run) disables the bar.
    void setTimeline(const Timeline* timeline);
    const Timeline* timeline() const { return timeline_; }
    // Moves the slider to call k (clamped) and shows that canvas.
    void showCall(uint64_t k);
    uint64_t call() const;
    QString callText() const;
    // Lists the writes of pixel (x, y), program coordinates.
    void showHistory(int x, int y);
    QListWidget* history() const { return history_; }
    QSlider* slider() const { return slider_; }
    void setPlaying(bool on);
    bool isPlaying() const { return player_.isActive(); }

    // Records calls a..b as a GIF: a frame at a, then one after each show in
    // the range (every = 0) or every `every` calls, and one at b.
    static bool writeGif(const Timeline& timeline, uint64_t a, uint64_t b, uint64_t every,
                         const std::string& path, std::string& error);
    // GIF frames are shown this long.
    static constexpr int kGifFrameMs = 100;

signals:
    // A GIF of the chosen range was written to path.
    void gifSaved(const QString& path);

private:
    void sliderMoved(int value);
    void advance();
    void recordGif();
    void chooseHistoryEntry();
    void listHistory(const PixelHistory& found, int x, int y);

    CanvasView& view_;
    QsciScintilla& editor_;
    Dialogs& dialogs_;
    const Timeline* timeline_ = nullptr;
    TXImage3 canvas_{1};  // the canvas after the chosen call
    QSlider* slider_;
    QLabel* position_;
    QLabel* callText_;
    QToolButton* play_;
    QComboBox* speed_;
    QPushButton* gif_;
    QListWidget* history_;
    QTimer player_;
    QString gifName_;
    PixelHistorySearch historySearch_;
};

}  // namespace korvane
