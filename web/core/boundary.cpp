// The exported functions of korvane_web.h.
#include "korvane_web.h"

#include <emscripten.h>

#include <cstring>
#include <memory>
#include <string>

#include "interpreter.h"
#include "web_bridge.h"

using namespace korvane;

namespace {

// The browser's own stack, not the module's, runs out first: a level of
// nesting costs it about twenty times what it costs the module's stack.
// Measured in chromium, this budget ends deep nesting with the interpreter's
// report and its line, with room to spare before the browser's stack runs
// out (which the worker survives too, but without the page's canvas).
constexpr size_t kStackBudget = 32 * 1024;

// A canvas with its bridge and interpreter, set up as start-up sets up the
// window's; like the window's, they keep their state from run to run.
struct Session {
    TXImage3 canvas;
    std::unique_ptr<WebBridge> bridge;
    std::unique_ptr<Interpreter> interpreter;

    explicit Session(const std::array<uint8_t, 1024>& palette) {
        canvas.PaletteData = palette;
        canvas.AssignPalette(0);
        prepare_canvas(canvas);
        bridge = std::make_unique<WebBridge>(canvas);
        interpreter = std::make_unique<Interpreter>(*bridge);
        interpreter->set_stack_budget(kStackBudget);
    }
};

std::unique_ptr<Session> page;     // the page's canvas, kept across runs
std::unique_ptr<Session> checked;  // korvane.run's, new for every call
Session* last = nullptr;           // the session of the last run
int last_error_line = -1;

Session& page_session() {
    if (!page) {
        page = std::make_unique<Session>(default_palette());
        // The page's inspector needs to know who drew each pixel.
        page->bridge->set_provenance(true);
    }
    return *page;
}

int status_of(RunResult result) {
    switch (result) {
        case RUN_OK:
        case RUN_END: return 0;
        case RUN_NO_MAIN: return 1;
        default: return 2;
    }
}

// The names one a line, kept for the life of the module.
const char* joined(std::span<const char* const> names, std::string& store) {
    if (store.empty())
        for (const char* n : names) store.append(n).append("\n");
    return store.c_str();
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int korvane_run(const char* text, int length, int fresh, int has_seed, uint32_t seed,
                                     double max_steps, int trace) {
    if (fresh) checked = std::make_unique<Session>(default_palette());
    Session& s = fresh ? *checked : page_session();
    last = &s;
    s.bridge->set_trace(trace != 0);
    s.bridge->HaltFlag = 0;
    s.bridge->begin_run();
    Interpreter& interpreter = *s.interpreter;
    if (has_seed) interpreter.seed_random(seed);
    interpreter.set_step_limit(max_steps >= 1 ? static_cast<uint64_t>(max_steps) : 0);
    const RunResult result = interpreter.run_text(std::string(text, static_cast<size_t>(length)));
    last_error_line = interpreter.error_line();
    if (result == RUN_NO_MAIN) s.bridge->bridge_message("Program Error! Can't find main()");
    return status_of(result);
}

EMSCRIPTEN_KEEPALIVE int korvane_error_line(void) { return last_error_line; }

EMSCRIPTEN_KEEPALIVE const uint8_t* korvane_pixels(void) { return (last ? last : &page_session())->canvas.bits(0); }

EMSCRIPTEN_KEEPALIVE const uint8_t* korvane_palette(void) { return page_session().canvas.PaletteData.data(); }

EMSCRIPTEN_KEEPALIVE int korvane_set_palette(const uint8_t* bytes, int size) {
    if (size != 1024) return 0;
    Session& s = page_session();
    std::memcpy(s.canvas.PaletteData.data(), bytes, 1024);
    s.canvas.AssignPalette(0);
    return 1;
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
}
