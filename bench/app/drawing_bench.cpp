// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing programs end to end (interpreter, bridge and raster routines)
// with provenance recording off and on, and on with the first inspection
// after the run, which replays the recorded calls.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "headless_bridge.h"
#include "interpreter.h"
#include "runner.h"

namespace korvane {
namespace {

std::string program(const char* name) {
    std::ifstream in(std::string(KORVANE_BENCH_PROGRAMS) + "/" + name + ".cg", std::ios::binary);
    return normalise_line_ends(std::string(std::istreambuf_iterator<char>(in), {}));
}

void run_drawing(benchmark::State& state, const char* name, bool inspect = false) {
    const std::string text = program(name);
    TXImage3 canvas;
    prepare_canvas(canvas);
    std::istringstream in;
    std::ostringstream out, err;
    HeadlessBridge bridge(canvas, in, out, err);
    bridge.set_provenance(state.range(0) != 0);
    Interpreter interp(bridge);
    for (auto _ : state) {
        bridge.begin_run();
        if (interp.run_text(text) != RUN_OK) state.SkipWithError("the program did not run to its end");
        if (inspect) benchmark::DoNotOptimize(bridge.origin_at(200, 200));
    }
}

BENCHMARK_CAPTURE(run_drawing, lines, "lines")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_drawing, fills, "fills")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_drawing, pixels, "pixels")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_drawing, animation, "animation")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_drawing, mandelbrot, "mandelbrot")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_drawing, life, "life")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_drawing, lines_inspected, "lines", true)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_drawing, fills_inspected, "fills", true)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_drawing, pixels_inspected, "pixels", true)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_drawing, animation_inspected, "animation", true)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_drawing, mandelbrot_inspected, "mandelbrot", true)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_drawing, life_inspected, "life", true)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
