// SPDX-License-Identifier: GPL-3.0-or-later
// The interpreter alone on the benchmark programs, with a bridge that
// draws nothing.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "interpreter.h"
#include "null_bridge.h"

namespace korvane {
namespace {

std::string program(const char* name) {
    std::ifstream in(std::string(KORVANE_BENCH_PROGRAMS) + "/" + name + ".cg", std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    std::string crlf;
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return crlf;
}

void run_program(benchmark::State& state, const char* name) {
    const std::string text = program(name);
    NullBridge bridge;
    Interpreter interp(bridge);
    for (auto _ : state) {
        if (interp.run_text(text) != RUN_OK) state.SkipWithError("the program did not run to its end");
    }
}

BENCHMARK_CAPTURE(run_program, count, "count")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_program, nested, "nested")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_program, fib, "fib")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_program, calls, "calls")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_program, mandelbrot, "mandelbrot")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_program, life, "life")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_program, pixels, "pixels")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
