// SPDX-License-Identifier: GPL-3.0-or-later
#include "headless_bridge.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <thread>

#include "input_answers.h"
#include "picture.h"

namespace korvane {

using Clock = std::chrono::steady_clock;

HeadlessBridge::HeadlessBridge(TXImage3& canvas, std::istream& in, std::ostream& out, std::ostream& err)
    : CanvasBridge(canvas), in_(in), out_(out), err_(err) {}

void HeadlessBridge::bridge_message(const char* text) {
    const size_t n = std::strlen(text);
    err_ << text;
    if (n == 0 || text[n - 1] != '\n') err_ << '\n';
    err_.flush();
}

void HeadlessBridge::set_time_limit(double seconds) {
    has_deadline_ = true;
    deadline_ = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

void HeadlessBridge::await_answers_on(int fd) {
    answer_fd_ = fd;
    // Unbuffered, so what poll sees waiting is all that is left to read.
    if (fd == fileno(stdin)) std::setvbuf(stdin, nullptr, _IONBF, 0);
}

bool HeadlessBridge::answer_in_time() const {
    if (!has_deadline_ || answer_fd_ < 0) return true;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
        if (left <= 0) return false;
        pollfd waiting{answer_fd_, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(std::min<long long>(left, INT_MAX)));
        // Readable, closed or failed: the read itself tells which.
        if (ready > 0 || (ready < 0 && errno != EINTR)) return true;
    }
}

int HeadlessBridge::bridge_poll() { return has_deadline_ && Clock::now() >= deadline_ ? POLL_TIME_UP : POLL_GO_ON; }

int HeadlessBridge::bridge_show() {
    note_show();
    if (!frames_dir_.empty() && frames_ok_) write_frame();
    if (gif_.active()) gif_.show(Picture::snapshot(canvas()), Clock::now());
    HaltFlag = 0;
    return HaltFlag;
}

void HeadlessBridge::write_frame() {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%05d.png", frames_written_ + 1);
    std::string error;
    if (write_png(frames_dir_ + name, Picture::snapshot(canvas()), error)) {
        ++frames_written_;
    } else {
        frames_ok_ = false;
        err_ << error << '\n';
    }
}

bool HeadlessBridge::finish_gif(std::string& error) {
    const auto now = Clock::now();
    gif_.end_run(Picture::snapshot(canvas()), now);
    return gif_.finish(now, error);
}

void HeadlessBridge::bridge_output(const char* text) { out_ << text << '\n'; }

int32_t HeadlessBridge::bridge_getnum() { return getnum_answer(read_answer()); }

int8_t HeadlessBridge::bridge_getche() { return getche_answer(read_answer()); }

void HeadlessBridge::bridge_sleep(int32_t ms) {
    // The system sleep takes an unsigned count, so a negative duration would
    // wait for weeks; it counts as no wait.
    if (ms <= 0 || grading_) return;
    auto until = Clock::now() + std::chrono::milliseconds(ms);
    if (has_deadline_) until = std::min(until, deadline_);
    std::this_thread::sleep_until(until);
}

std::string HeadlessBridge::read_answer() {
    out_.flush();                      // whoever answers sees the output so far
    if (!answer_in_time()) return {};  // bridge_poll now reports the time limit
    std::string line;
    ++asked_;
    if (!std::getline(in_, line)) {
        // A check's answers are all it gives: a run that wants more would
        // otherwise go on with 0 and fail for a reason nobody sees.
        if (grading_) throw InputRejected(past_the_answers(asked_));
        return {};
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace korvane
