// SPDX-License-Identifier: GPL-3.0-or-later
// WebPauses and the exports of korvane_web.h that steer pauses.
#include "web_pauses.h"

#include <emscripten.h>

#include <array>
#include <string>
#include <vector>

#include "host.h"
#include "korvane_web.h"
#include "pause_json.h"

namespace korvane {

// The worker names commands by these numbers (web/src/protocol.js).
static_assert(PauseCommand::CONTINUE == 0 && PauseCommand::STEP_INTO == 1 && PauseCommand::STEP_OVER == 2 &&
              PauseCommand::STEP_OUT == 3 && PauseCommand::RUN_TO_LINE == 4 && PauseCommand::NEXT_DRAWING_CALL == 5 &&
              PauseCommand::HALT == 6 && PauseCommand::WAIT == 7);

namespace {

// A command as the worker gives it: a PauseCommand::Kind and, for
// RUN_TO_LINE, the line. Anything else is CONTINUE.
PauseCommand web_command(int32_t kind, int32_t line) {
    if (kind < PauseCommand::CONTINUE || kind > PauseCommand::WAIT) return {};
    return {static_cast<PauseCommand::Kind>(kind), kind == PauseCommand::RUN_TO_LINE ? line : -1};
}

}  // namespace

WebPauses::WebPauses(Interpreter& interpreter, const TXImage3& canvas) : interpreter_(interpreter), canvas_(canvas) {
    interpreter_.set_pause_host(this);
}

void WebPauses::begin_run(PauseCommand start) {
    interpreter_.set_start_command(start);
    watches_.look(canvas_);
}

void WebPauses::set_breakpoints(const int32_t* lines, int count) {
    interpreter_.set_breakpoints(std::vector<int>(lines, lines + (count > 0 ? count : 0)));
}

void WebPauses::set_watches(const int32_t* xy, int count) {
    watches_ = PixelWatches();
    for (int i = 0; i < count; ++i) watches_.add(canvas_, xy[2 * i], xy[2 * i + 1]);
    interpreter_.set_pixel_watch(!watches_.empty());
}

PauseCommand WebPauses::pause(const PauseSnapshot& at) {
    const std::string json = pause_json(at);
    const std::array<int32_t, 4> range{at.range.line, at.range.column, at.range.end_line, at.range.end_column};
    int32_t line = -1;
    const int kind = host_pause(json.c_str(), range.data(), canvas_.bits(0), &line);
    return web_command(kind, line);
}

bool WebPauses::watched_pixel_changed() { return watches_.changed(canvas_); }

}  // namespace korvane

using namespace korvane;

extern "C" {

EMSCRIPTEN_KEEPALIVE void korvane_pauses_begin(int32_t kind, int32_t line) {
    page_pauses().begin_run(web_command(kind, line));
}

EMSCRIPTEN_KEEPALIVE void korvane_pause_request(int32_t kind, int32_t line) {
    page_pauses().request(web_command(kind, line));
}

EMSCRIPTEN_KEEPALIVE void korvane_set_breakpoints(const int32_t* lines, int32_t count) {
    page_pauses().set_breakpoints(lines, count);
}

EMSCRIPTEN_KEEPALIVE void korvane_set_watches(const int32_t* xy, int32_t count) {
    page_pauses().set_watches(xy, count);
}
}
