// SPDX-License-Identifier: GPL-3.0-or-later
// The exported functions of korvane_web.h.
#include "korvane_web.h"

#include <emscripten.h>

#include <cstddef>
#include <memory>
#include <string>

#include "canvas_description.h"
#include "draw_call.h"
#include "input_answers.h"
#include "interpreter.h"
#include "run_outcome.h"
#include "web_assist.h"
#include "web_bridge.h"
#include "web_pauses.h"
#include "web_timeline.h"

using namespace korvane;

namespace {

// The worker writes the options at these offsets (web/src/worker.js).
static_assert(offsetof(KorvaneRunOptions, seed) == 8 && offsetof(KorvaneRunOptions, max_steps) == 16 &&
              offsetof(KorvaneRunOptions, trace) == 24 && sizeof(KorvaneRunOptions) == 32);

// A canvas with its bridge and interpreter, set up as start-up sets up the
// window's; like the window's, they keep their state from run to run.
struct Session {
    TXImage3 canvas;
    std::unique_ptr<WebBridge> bridge;
    std::unique_ptr<Interpreter> interpreter;
    std::unique_ptr<WebPauses> pauses;  // the page's only

    explicit Session(const std::array<uint8_t, 1024>& palette) {
        canvas.PaletteData = palette;
        canvas.AssignPalette(0);
        prepare_canvas(canvas);
        bridge = std::make_unique<WebBridge>(canvas);
        interpreter = std::make_unique<Interpreter>(*bridge);
    }
};

// Where the worker's call of a run or resume went: the run has ended, or
// it waits to be resumed.
constexpr int kRunWaits = -1;

std::unique_ptr<Session> page;     // the page's canvas, kept across runs
std::unique_ptr<Session> checked;  // korvane.run's, new for every call
Session* last = nullptr;           // the session of the last run
int last_error_line = -1;

Session& page_session() {
    if (!page) {
        page = std::make_unique<Session>(default_palette());
        // The page's inspector needs to know who drew each pixel, and its
        // timeline every drawing call.
        page->bridge->set_provenance(true);
        page->pauses = std::make_unique<WebPauses>(*page->interpreter, page->canvas);
        page->bridge->set_timeline(true);
    }
    return *page;
}

// The names one a line, kept for the life of the module.
const char* joined(std::span<const char* const> names, std::string& store) {
    if (store.empty())
        for (const char* n : names) store.append(n).append("\n");
    return store.c_str();
}

int ended(Session& s, RunResult result) {
    if (result == RUN_WAITING) return kRunWaits;
    last_error_line = s.interpreter->error_line();
    if (result == RUN_NO_MAIN) s.bridge->bridge_message(kNoMainMessage);
    return status_of(result);
}

}  // namespace

WebPauses& korvane::page_pauses() { return *page_session().pauses; }
const Timeline* korvane::page_timeline() { return page ? page->bridge->timeline() : nullptr; }
const Interpreter* korvane::last_run_interpreter() { return last ? last->interpreter.get() : nullptr; }

extern "C" {

EMSCRIPTEN_KEEPALIVE int korvane_run(const char* text, int length, const KorvaneRunOptions* options) {
    const bool fresh = options->fresh != 0;
    if (fresh) checked = std::make_unique<Session>(default_palette());
    Session& s = fresh ? *checked : page_session();
    last = &s;
    s.bridge->set_trace(options->trace != 0);
    s.bridge->HaltFlag = 0;
    s.bridge->begin_run();
    Interpreter& interpreter = *s.interpreter;
    if (options->has_seed) interpreter.seed_random(options->seed);
    interpreter.set_step_limit(options->max_steps >= 1 ? static_cast<uint64_t>(options->max_steps) : 0);
    return ended(s, interpreter.run_text(std::string(text, static_cast<size_t>(length))));
}

EMSCRIPTEN_KEEPALIVE int korvane_resume(void) { return last ? ended(*last, last->interpreter->resume()) : 0; }

EMSCRIPTEN_KEEPALIVE void korvane_warm_up(void) {
    Session warm(default_palette());
    warm.interpreter->run_text("main() { int i, s; s = 0; for (i = 0; i < 20000; i++) s = s + i % 7 * 3; }");
}

EMSCRIPTEN_KEEPALIVE int korvane_error_line(void) { return last_error_line; }

EMSCRIPTEN_KEEPALIVE const uint8_t* korvane_pixels(void) { return (last ? last : &page_session())->canvas.bits(0); }

EMSCRIPTEN_KEEPALIVE const uint8_t* korvane_palette(void) { return page_session().canvas.PaletteData.data(); }

EMSCRIPTEN_KEEPALIVE int korvane_canvas_size(void) { return kCanvasSize; }

EMSCRIPTEN_KEEPALIVE const char* korvane_load_palette(const char* path) {
    static std::string error;
    error.clear();
    Session& s = page_session();
    if (s.canvas.LoadPalette(path, error)) s.canvas.AssignPalette(0);
    return error.c_str();
}

EMSCRIPTEN_KEEPALIVE int korvane_origin_line(int x, int y) { return page_session().bridge->origin_at(x, y).line; }

EMSCRIPTEN_KEEPALIVE const char* korvane_origin_builtin(int x, int y) {
    static std::string name;
    name = page_session().bridge->origin_at(x, y).builtin;
    return name.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* korvane_keyword_names(void) {
    static std::string store;
    return joined(keyword_names(), store);
}

EMSCRIPTEN_KEEPALIVE const char* korvane_builtin_names(void) {
    static std::string store;
    return joined(builtin_names(), store);
}
EMSCRIPTEN_KEEPALIVE const char* korvane_input_caption(int kind) {
    return input_caption(kind == INPUT_NUMBER ? INPUT_NUMBER : INPUT_CHARACTER);
}

EMSCRIPTEN_KEEPALIVE const char* korvane_describe_canvas(const uint8_t* pixels, int32_t with_calls) {
    static std::string text;
    const CanvasPixels canvas{kCanvasSize, kCanvasSize, pixels, page_session().canvas.palette(0).entries.data()};
    text = describe_canvas(canvas, with_calls ? page_timeline() : nullptr);
    return text.c_str();
}
}
