// SPDX-License-Identifier: GPL-3.0-or-later
// The timeline functions of korvane_web.h, over the same recorder the
// window and the runner use.
#include "web_timeline.h"

#include <emscripten.h>

#include <algorithm>
#include <deque>
#include <string>

#include "host.h"
#include "korvane_web.h"
#include "timeline.h"
#include "timeline_frames.h"

using namespace korvane;

namespace {

// A JavaScript number as a call number: negative and NaN count as 0.
uint64_t call_number(double k) { return k >= 1 ? static_cast<uint64_t>(std::min(k, 1e18)) : 0; }

// The writes of the last history asked for.
uint64_t writes = 0;

void append_write(std::string& out, const PixelWrite& w) {
    out += std::to_string(w.call) + ' ' + std::to_string(w.line) + ' ' + draw_op_name(w.op) + ' ' +
           std::to_string(int{w.colour}) + '\n';
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE double korvane_timeline_calls(void) {
    const Timeline* t = page_timeline();
    return t ? static_cast<double>(t->calls()) : 0;
}

EMSCRIPTEN_KEEPALIVE double korvane_timeline_first(void) {
    const Timeline* t = page_timeline();
    return t ? static_cast<double>(t->first_call()) : 0;
}

EMSCRIPTEN_KEEPALIVE const uint8_t* korvane_timeline_seek(double k) {
    static TXImage3 shown(1);
    const Timeline* t = page_timeline();
    if (!t) return korvane_pixels();
    t->seek(call_number(k), shown);
    return shown.bits(0);
}

EMSCRIPTEN_KEEPALIVE int korvane_timeline_line(double k) {
    const Timeline* t = page_timeline();
    return t ? t->call(call_number(k)).line : -1;
}

EMSCRIPTEN_KEEPALIVE const char* korvane_timeline_call(double k) {
    static std::string text;
    const Timeline* t = page_timeline();
    const LoggedCall c = t ? t->call(call_number(k)) : LoggedCall{};
    text = c.line >= 0 ? describe_call(c) : "";
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* korvane_timeline_history(int x, int y, int ends) {
    static std::string text;
    text.clear();
    writes = 0;
    const Timeline* t = page_timeline();
    if (!t) return text.c_str();
    const uint64_t kept = static_cast<uint64_t>(std::max(ends, 0));
    std::deque<PixelWrite> last;
    t->for_each_write(x, y, [&](const PixelWrite& w) {
        if (++writes <= kept) return append_write(text, w);
        last.push_back(w);
        if (last.size() > kept) last.pop_front();
    });
    for (const PixelWrite& w : last) append_write(text, w);
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE double korvane_timeline_writes(void) { return static_cast<double>(writes); }

EMSCRIPTEN_KEEPALIVE int korvane_timeline_gif(double a, double b, double every) {
    const Timeline* t = page_timeline();
    if (!t) return 0;
    TXImage3 canvas(1);
    int frames = 0;
    for_each_gif_frame(*t, call_number(a), call_number(b), call_number(every), canvas, [&] {
        ++frames;
        host_frame(canvas.bits(0));
    });
    return frames;
}
}
