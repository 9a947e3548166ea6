// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_mailbox.h"

#include <QMetaObject>
#include <chrono>

namespace korvane {

RunMailbox::RunMailbox(QObject& context, std::function<void(const Picture&)> showFrame,
                       std::function<void(const QString&)> showOutput)
    : context_(context), showFrame_(std::move(showFrame)), showOutput_(std::move(showOutput))
{
}

void RunMailbox::reset()
{
    std::lock_guard lock(mutex_);
    halt_ = false;
    forRun_.clear();
    jobsForRun_ = false;
}

void RunMailbox::halt()
{
    {
        std::lock_guard lock(mutex_);
        halt_ = true;
    }
    woken_.notify_all();
}

void RunMailbox::wake()
{
    {
        std::lock_guard lock(mutex_);
        ++wakes_;
    }
    woken_.notify_all();
}

void RunMailbox::toRun(Job job)
{
    {
        std::lock_guard lock(mutex_);
        forRun_.push_back(std::move(job));
        jobsForRun_ = true;
    }
    woken_.notify_all();
}

void RunMailbox::give(const std::shared_ptr<Reply>& reply, const std::function<void(Reply&)>& fill)
{
    {
        std::lock_guard lock(mutex_);
        fill(*reply);
        reply->given = true;
    }
    woken_.notify_all();
}

// One item at a time: a job may open a box whose event loop drains too.
void RunMailbox::drain()
{
    size_t queued = 0;
    {
        std::lock_guard lock(mutex_);
        queued = forWindow_.size();
    }
    for (; queued > 0; --queued) {
        Item item;
        {
            std::lock_guard lock(mutex_);
            if (forWindow_.empty())
                break;
            item = std::move(forWindow_.front());
            forWindow_.pop_front();
            if (item.kind == Item::OUTPUT)
                waitingLines_ -= static_cast<int>(item.lines.size());
        }
        woken_.notify_all();
        switch (item.kind) {
        case Item::FRAME:
            showFrame_(item.picture);
            break;
        case Item::OUTPUT:
            showOutput_(item.lines.join(QLatin1Char('\n')));
            break;
        case Item::JOB:
            item.job();
            break;
        }
    }
    bool more = false;
    {
        std::lock_guard lock(mutex_);
        more = !forWindow_.empty();
        drainPosted_ = more;
    }
    if (more)
        postDrain();
}

void RunMailbox::postDrain()
{
    QMetaObject::invokeMethod(
        &context_, [this] { drain(); }, Qt::QueuedConnection);
}

void RunMailbox::frame(Picture picture)
{
    push({Item::FRAME, std::move(picture), {}, nullptr});
}

void RunMailbox::output(const QString& line)
{
    push({Item::OUTPUT, {}, QStringList{line}, nullptr});
    std::unique_lock lock(mutex_);
    woken_.wait(lock, [&] { return waitingLines_ < kWaitingLines || halt_; });
}

void RunMailbox::toWindow(Job job)
{
    push({Item::JOB, {}, {}, std::move(job)});
}

// Within one drain nothing is painted between a frame and the output beside
// it, so only jobs keep their place among them.
void RunMailbox::push(Item item)
{
    const Item::Kind kind = item.kind;
    bool post = false;
    {
        std::lock_guard lock(mutex_);
        auto same = forWindow_.rbegin();
        while (same != forWindow_.rend() && same->kind != Item::JOB && same->kind != item.kind)
            ++same;
        if (item.kind == Item::FRAME && same != forWindow_.rend() && same->kind == Item::FRAME) {
            same->picture = std::move(item.picture);
        } else if (item.kind == Item::OUTPUT && same != forWindow_.rend() &&
                   same->kind == Item::OUTPUT) {
            same->lines << item.lines;
        } else {
            forWindow_.push_back(std::move(item));
        }
        if (kind == Item::OUTPUT)
            ++waitingLines_;
        post = !drainPosted_;
        drainPosted_ = true;
    }
    if (post)
        postDrain();
}

bool RunMailbox::await(const std::shared_ptr<Reply>& reply, bool serving)
{
    std::unique_lock lock(mutex_);
    for (;;) {
        woken_.wait(lock, [&] { return reply->given || halt_ || (serving && jobsForRun_); });
        if (reply->given || halt_)
            return !halt_;  // an answer given after a Halt comes too late
        lock.unlock();
        serve();
        lock.lock();
    }
}

uint64_t RunMailbox::wakes()
{
    std::lock_guard lock(mutex_);
    return wakes_;
}

void RunMailbox::sleep(int ms, uint64_t since)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::unique_lock lock(mutex_);
    for (;;) {
        const bool woken =
            woken_.wait_until(lock, until, [&] { return halt_ || wakes_ != since || jobsForRun_; });
        if (!woken || halt_ || wakes_ != since)
            return;
        lock.unlock();
        serve();
        lock.lock();
    }
}

void RunMailbox::serve()
{
    if (!jobsForRun_)
        return;
    std::deque<Job> jobs;
    {
        std::lock_guard lock(mutex_);
        jobs.swap(forRun_);
        jobsForRun_ = false;
    }
    for (Job& job : jobs)
        job();
}

}  // namespace korvane
