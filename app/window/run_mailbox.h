// SPDX-License-Identifier: GPL-3.0-or-later
// Between the window's thread and the thread a program runs on, as between
// the page and its worker: the run hands the window what it shows (frames,
// output, boxes, pauses, its end) as jobs that run in order on the window's
// thread; the window hands the run Halt, answers and jobs of its own
// (commands, breakpoints, watches), which the run takes at its next poll,
// drawing call or wait. A run waits for an answer on a condition, never in
// an event loop, and Halt ends every wait.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "pause_host.h"
#include "picture.h"

namespace korvane {

class RunMailbox {
public:
    using Job = std::function<void()>;
    // What the window gives a run that waits for it.
    struct Reply {
        bool given = false;
        QString text;          // an input box's answer
        PauseCommand command;  // how a pause ends
    };

    // Lines of output that may wait for the window before the run waits
    // too, so a printing loop goes as fast as the window shows its lines.
    static constexpr int kWaitingLines = 512;

    // Jobs for the window run on the thread of context; frames go to
    // showFrame, output lines to showOutput.
    RunMailbox(QObject& context, std::function<void(const Picture&)> showFrame,
               std::function<void(const QString&)> showOutput);

    // The window's side. Before a run: no Halt, no jobs of an earlier one.
    void reset();
    void halt();
    bool halted() const { return halt_; }
    // Ends a wait for a delay, so that a new speed applies at once.
    void wake();
    // Runs job on the run's thread at its next poll, drawing call or wait.
    void toRun(Job job);
    // Gives the run waiting for reply its answer; nothing if none waits.
    void give(const std::shared_ptr<Reply>& reply, const std::function<void(Reply&)>& fill);
    // Runs what is queued for the window, in order, up to what was queued
    // when it began, so a run that queues fast leaves the window's events
    // their turn; the run's thread posts a call of it when it queues something.
    void drain();

    // The run's side. The newest frame replaces one the window has not shown
    // yet, and output lines gather, so a fast loop never floods the window.
    void frame(Picture picture);
    void output(const QString& line);
    void toWindow(Job job);
    // Waits until reply is given or Halt; true when given and no Halt came. serving: the
    // window's jobs for the run are run meanwhile.
    bool await(const std::shared_ptr<Reply>& reply, bool serving);
    // Waits ms, or until Halt or a wake after the count of wakes was since
    // (a wake may come before the wait begins), running the window's jobs meanwhile.
    void sleep(int ms, uint64_t since);
    uint64_t wakes();
    // Runs the jobs the window queued for the run.
    void serve();

private:
    struct Item {
        enum Kind { FRAME, OUTPUT, JOB } kind;
        Picture picture;
        QStringList lines;
        Job job;
    };
    // Adds item, or merges it with a frame or output queued since the last
    // job, and posts a drain unless one is posted.
    void push(Item item);
    void postDrain();

    QObject& context_;
    std::function<void(const Picture&)> showFrame_;
    std::function<void(const QString&)> showOutput_;
    std::mutex mutex_;
    std::condition_variable woken_;
    std::atomic<bool> halt_ = false;
    std::atomic<bool> jobsForRun_ = false;
    uint64_t wakes_ = 0;
    int waitingLines_ = 0;  // of output queued for the window
    std::deque<Job> forRun_;
    std::deque<Item> forWindow_;
    bool drainPosted_ = false;
};

}  // namespace korvane
