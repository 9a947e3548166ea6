// SPDX-License-Identifier: GPL-3.0-or-later
// Full-canvas figures on the 400 x 400 canvas, each beside memset of the same
// number of bytes in the same run: filled areas should approach memset. Each
// figure runs plain (<false>) and tracked (<true>, writing a tag per pixel).
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "raster.h"
#include "ximage3.h"

namespace {

using namespace korvane;

struct Canvas400 {
    TXImage3 img{1};
    RowTable rows;
    std::vector<uint32_t> tags = std::vector<uint32_t>(400 * 400);
    Canvas400() {
        img.ResizeBmp(0, 400, 400);
        rows = img.rows(0);
    }
};

// What the routines draw on: the plain row table or the tracked one.
template <bool Tracked>
auto target(Canvas400& c) {
    if constexpr (Tracked)
        return TrackedRows{c.rows, c.tags.data(), 1};
    else
        return c.rows;
}

void bm_memset(benchmark::State& st) {
    Canvas400 c;
    const auto bytes = static_cast<size_t>(st.range(0));
    uint8_t v = 0;
    for (auto _ : st) {
        std::memset(c.img.bits(0), ++v, bytes);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * int64_t(bytes));
}
// The byte counts of the figures below: canvas, disk r=199, ellipse 199x150, triangle.
BENCHMARK(bm_memset)->Arg(160000)->Arg(124405)->Arg(93773)->Arg(80000);

template <bool Tracked>
void bm_clear(benchmark::State& st) {
    Canvas400 c;
    const auto t = target<Tracked>(c);
    uint16_t v = 0;
    for (auto _ : st) {
        ras_clear(t, 400, 400, ++v);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * 160000);
}
BENCHMARK_TEMPLATE(bm_clear, false);
BENCHMARK_TEMPLATE(bm_clear, true);

template <bool Tracked>
void bm_fillrect(benchmark::State& st) {
    Canvas400 c;
    const auto t = target<Tracked>(c);
    uint16_t v = 0;
    for (auto _ : st) {
        ras_fillrect(t, 0, 0, 399, 399, ++v);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * 160000);
}
BENCHMARK_TEMPLATE(bm_fillrect, false);
BENCHMARK_TEMPLATE(bm_fillrect, true);

template <bool Tracked>
void bm_disk(benchmark::State& st) {
    Canvas400 c;
    const auto t = target<Tracked>(c);
    uint16_t v = 0;
    for (auto _ : st) {
        ras_disk(t, 199, 199, 199, ++v);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * 124405);
}
BENCHMARK_TEMPLATE(bm_disk, false);
BENCHMARK_TEMPLATE(bm_disk, true);

template <bool Tracked>
void bm_elldisk(benchmark::State& st) {
    Canvas400 c;
    const auto t = target<Tracked>(c);
    uint16_t v = 0;
    for (auto _ : st) {
        ras_elldisk(t, 199, 199, 199, 150, ++v);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * 93773);
}
BENCHMARK_TEMPLATE(bm_elldisk, false);
BENCHMARK_TEMPLATE(bm_elldisk, true);

template <bool Tracked>
void bm_trifill(benchmark::State& st) {
    Canvas400 c;
    const auto t = target<Tracked>(c);
    uint16_t v = 0;
    for (auto _ : st) {
        ++v;
        ras_trifill(t, 0, 0, 399, 0, 200, 399, v, v);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * 80000);
}
BENCHMARK_TEMPLATE(bm_trifill, false);
BENCHMARK_TEMPLATE(bm_trifill, true);

template <bool Tracked>
void bm_floodfill(benchmark::State& st) {
    Canvas400 c;
    const auto t = target<Tracked>(c);
    int16_t half[400];
    for (int i = 0; i < 400; ++i) half[i] = int16_t(i / 2);
    uint16_t v = 0;
    for (auto _ : st) {
        const uint16_t old = v++;
        ras_floodfill(t, 200, 200, 400, 400, v & 0xFF, old & 0xFF, 0, 0, half);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * 160000);
}
BENCHMARK_TEMPLATE(bm_floodfill, false);
BENCHMARK_TEMPLATE(bm_floodfill, true);

// The costliest kinds of fill, around a 10 x 10 grid of squares: a boundary
// fill (mode 1), which ends but rescans what it painted, and its outline
// variant, whose marks it fills again for ever until the work bound stops it.
void bm_floodfill_hard(benchmark::State& st) {
    Canvas400 c;
    int16_t half[400];
    for (int i = 0; i < 400; ++i) half[i] = int16_t(i / 2);
    const bool outline = st.range(0) == 1;
    for (auto _ : st) {
        st.PauseTiming();
        ras_clear(c.rows, 400, 400, 0);
        for (int i = 0; i < 10; ++i)
            for (int j = 0; j < 10; ++j) ras_fillrect(c.rows, 20 + 38 * i, 20 + 38 * j, 30 + 38 * i, 30 + 38 * j, 2);
        st.ResumeTiming();
        const FillStatus status = outline ? ras_floodfill_outline(c.rows, 0, 0, 400, 400, 5, 2, 7, 1, half)
                                          : ras_floodfill(c.rows, 0, 0, 400, 400, 5, 2, 0, 1, half);
        if ((status == FillStatus::Endless) != outline) st.SkipWithError("unexpected fill status");
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bm_floodfill_hard)->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond);

// 10 000 random lines of up to 20 pixels each way, clipped to the startup window.
template <bool Tracked>
void bm_short_lines(benchmark::State& st) {
    Canvas400 c;
    const auto t = target<Tracked>(c);
    std::mt19937 g(1);
    std::vector<int32_t> p(40000);
    for (size_t i = 0; i < p.size(); i += 4) {
        p[i] = int32_t(g() % 400);
        p[i + 1] = int32_t(g() % 400);
        p[i + 2] = p[i] + int32_t(g() % 41) - 20;
        p[i + 3] = p[i + 1] + int32_t(g() % 41) - 20;
    }
    const ClipWindow clip = {0, 399, 0, 399};
    for (auto _ : st) {
        for (size_t i = 0; i < p.size(); i += 4) ras_line(t, clip, p[i], p[i + 1], p[i + 2], p[i + 3], 7, 1);
        benchmark::ClobberMemory();
    }
    st.SetItemsProcessed(int64_t(st.iterations()) * 10000);
}
BENCHMARK_TEMPLATE(bm_short_lines, false);
BENCHMARK_TEMPLATE(bm_short_lines, true);

}  // namespace

BENCHMARK_MAIN();
