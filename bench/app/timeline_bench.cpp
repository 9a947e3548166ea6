// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing timeline's figures: what recording adds to a run of the
// drawing programs, the memory of 10 million recorded calls, and the
// slowest seek. Seeks are timed just before each keyframe, where the most
// calls are replayed, for a mix of cheap calls and for each kind of heavy
// call that brings keyframes sooner.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "headless_bridge.h"
#include "interpreter.h"
#include "runner.h"
#include "timeline.h"

namespace korvane {
namespace {

std::string program(const char* name) {
    std::ifstream in(std::string(KORVANE_BENCH_PROGRAMS) + "/" + name + ".cg", std::ios::binary);
    return normalise_line_ends(std::string(std::istreambuf_iterator<char>(in), {}));
}

struct Headless {
    TXImage3 canvas;
    std::istringstream in;
    std::ostringstream out, err;
    HeadlessBridge bridge{canvas, in, out, err};
    Headless() { prepare_canvas(canvas); }
};

// Arg 0: timeline off, 1: on.
void run_program(benchmark::State& state, const char* name) {
    const std::string text = program(name);
    Headless h;
    h.bridge.set_timeline(state.range(0) != 0);
    Interpreter interp(h.bridge);
    for (auto _ : state) {
        h.bridge.begin_run();
        if (interp.run_text(text) != RUN_OK) state.SkipWithError("the program did not run to its end");
    }
}

BENCHMARK_CAPTURE(run_program, lines, "lines")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_program, fills, "fills")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_program, pixels, "pixels")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_program, animation, "animation")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_program, mandelbrot, "mandelbrot")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_program, life, "life")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The machine is shared: the thread's own time shows the seek's cost
// whatever else runs, the wall time what a user would wait.
double thread_cpu_ms() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

using Drawer = std::function<void(CanvasBridge&, int64_t)>;

// Records `calls` calls made by draw(bridge, i), then seeks to the call
// before every keyframe (and to a sample of others): the slowest seek and
// the memory are reported as counters.
void record_and_seek(benchmark::State& state, int64_t calls, const Drawer& draw) {
    Headless h;
    h.bridge.set_timeline(true);
    h.bridge.begin_run();
    for (int64_t i = 0; i < calls; ++i) {
        h.bridge.bridge_before_draw(static_cast<int32_t>(i % 50), "");
        draw(h.bridge, i);
    }
    const Timeline& timeline = *h.bridge.timeline();
    TXImage3 view(1);
    double slowest = 0, slowest_cpu = 0, total = 0;
    int64_t seeks = 0;
    for (auto _ : state) {
        slowest = slowest_cpu = total = 0;
        seeks = 0;
        std::vector<uint64_t> targets = timeline.keyframes();
        targets.push_back(timeline.calls() + 1);
        for (size_t t = 1; t < targets.size(); ++t) {
            const uint64_t k = targets[t] - 1;
            const auto start = std::chrono::steady_clock::now();
            const double cpu_start = thread_cpu_ms();
            timeline.seek(k, view);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            slowest = std::max(slowest, ms);
            slowest_cpu = std::max(slowest_cpu, thread_cpu_ms() - cpu_start);
            total += ms;
            ++seeks;
        }
    }
    state.counters["calls"] = static_cast<double>(timeline.calls());
    state.counters["first_kept"] = static_cast<double>(timeline.first_call());
    state.counters["MB"] = static_cast<double>(timeline.memory_bytes()) / (1 << 20);
    state.counters["slowest_seek_ms"] = slowest;
    state.counters["slowest_seek_cpu_ms"] = slowest_cpu;
    state.counters["mean_seek_ms"] = total / static_cast<double>(seeks);
}

int32_t at(int64_t i, int64_t mul) { return static_cast<int32_t>(i * mul % 400); }

// The drawing programs' calls, ten million of them: points, lines and small figures.
void ten_million(benchmark::State& state) {
    record_and_seek(state, 10'000'000, [](CanvasBridge& b, int64_t i) {
        b.bridge_setcolor(static_cast<int32_t>(i & 255));
        switch (i % 4) {
            case 0: b.bridge_point(at(i, 1), at(i, 3)); break;
            case 1: b.bridge_line(200, 200, at(i, 7), at(i, 13)); break;
            case 2: b.bridge_circle(at(i, 11), at(i, 5), 20, static_cast<int32_t>(i & 255)); break;
            default: b.bridge_fillrect(at(i, 3), at(i, 7), at(i, 3) + 10, at(i, 7) + 10); break;
        }
    });
}
BENCHMARK(ten_million)->Iterations(1)->Unit(benchmark::kMillisecond);

// Heavy calls of one kind: keyframes come by work, not by count.
void heavy(benchmark::State& state, int64_t calls, Drawer draw) { record_and_seek(state, calls, draw); }

BENCHMARK_CAPTURE(heavy, fillrects, 200'000,
                  [](CanvasBridge& b, int64_t i) {
                      b.bridge_setcolor(static_cast<int32_t>(i & 255));
                      b.bridge_fillrect(0, 0, 399, 399);
                  })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(heavy, floodfills, 4'000,
                  [](CanvasBridge& b, int64_t i) {
                      b.bridge_floodfill(200, 200, static_cast<int32_t>(i & 255), 0, 0, 0);
                  })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(heavy, ramp_floodfills, 4'000,
                  [](CanvasBridge& b, int64_t i) {
                      b.bridge_floodfill(200, 200, static_cast<int32_t>(i & 255), 40, 9,
                                         static_cast<int32_t>(1 + i % 3));
                  })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(heavy, disks, 100'000,
                  [](CanvasBridge& b, int64_t i) { b.bridge_disk(200, 200, 300, static_cast<int32_t>(i & 255)); })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(heavy, textouts, 20'000,
                  [](CanvasBridge& b, int64_t i) {
                      b.bridge_textstyle(static_cast<int32_t>(i & 255), 40, "");
                      b.bridge_textout(at(i, 7), at(i, 11), "Timeline");
                  })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(heavy, long_lines, 200'000,
                  [](CanvasBridge& b, int64_t i) {
                      b.bridge_setcolor(static_cast<int32_t>(i & 255));
                      b.bridge_line(-100000, at(i, 3), 100000, at(i, 7));
                  })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
