// SPDX-License-Identifier: GPL-3.0-or-later
#include "check_bridge.h"

#include <cstring>

#include "input_answers.h"

namespace korvane::exercise {

using Clock = std::chrono::steady_clock;

CheckBridge::CheckBridge(TXImage3& canvas, std::string answers, double seconds, const std::atomic<bool>* stop)
    : CanvasBridge(canvas),
      answers_(std::move(answers)),
      deadline_(Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds))),
      stop_(stop) {}

int CheckBridge::bridge_poll() {
    if (stop_ && stop_->load(std::memory_order_relaxed)) return POLL_HALT;
    return Clock::now() >= deadline_ ? POLL_TIME_UP : POLL_GO_ON;
}

void CheckBridge::bridge_message(const char* text) {
    messages_ += text;
    if (!messages_.empty() && messages_.back() != '\n') messages_ += '\n';
}

int CheckBridge::bridge_show() {
    note_show();
    HaltFlag = 0;
    return HaltFlag;
}

int32_t CheckBridge::bridge_getnum() { return getnum_answer(next_answer()); }

int8_t CheckBridge::bridge_getche() { return getche_answer(next_answer()); }

std::string CheckBridge::next_answer() {
    ++asked_;
    if (read_ >= answers_.size()) throw InputRejected(past_the_answers(asked_));
    size_t end = answers_.find('\n', read_);
    if (end == std::string::npos) end = answers_.size();
    std::string line = answers_.substr(read_, end - read_);
    read_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace korvane::exercise
