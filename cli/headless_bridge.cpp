#include "headless_bridge.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "input_answers.h"
#include "picture.h"

namespace korvane {

HeadlessBridge::HeadlessBridge(TXImage3& canvas, std::istream& in, std::ostream& out,
                               std::ostream& err)
    : CanvasBridge(canvas), in_(in), out_(out), err_(err) {
    fill_half_table();
}

void HeadlessBridge::bridge_message(const char* text) {
    const size_t n = std::strlen(text);
    err_ << text;
    if (n == 0 || text[n - 1] != '\n') err_ << '\n';
    err_.flush();
}

int HeadlessBridge::bridge_show() {
    if (!frames_dir_.empty() && frames_ok_) write_frame();
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

void HeadlessBridge::bridge_output(const char* text) { out_ << text << '\n'; }

int32_t HeadlessBridge::bridge_getnum() { return getnum_answer(read_answer()); }

int8_t HeadlessBridge::bridge_getche() { return getche_answer(read_answer()); }

void HeadlessBridge::bridge_sleep(int32_t ms) {
    // The system sleep takes an unsigned count, so a negative duration would
    // wait for weeks; it counts as no wait.
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string HeadlessBridge::read_answer() {
    out_.flush();  // whoever answers sees the output so far
    std::string line;
    if (!std::getline(in_, line)) return {};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace korvane
