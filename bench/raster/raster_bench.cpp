// Full-canvas figures on the 400 x 400 canvas, each beside memset of the same
// number of bytes in the same run: filled areas should approach memset.
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
    Canvas400() {
        img.ResizeBmp(0, 400, 400);
        rows = img.rows(0);
    }
};

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

void bm_clear(benchmark::State& st) {
    Canvas400 c;
    uint16_t v = 0;
    for (auto _ : st) {
        ras_clear(c.rows, 400, 400, ++v);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * 160000);
}
BENCHMARK(bm_clear);

void bm_fillrect(benchmark::State& st) {
    Canvas400 c;
    uint16_t v = 0;
    for (auto _ : st) {
        ras_fillrect(c.rows, 0, 0, 399, 399, ++v);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * 160000);
}
BENCHMARK(bm_fillrect);

void bm_disk(benchmark::State& st) {
    Canvas400 c;
    uint16_t v = 0;
    for (auto _ : st) {
        ras_disk(c.rows, 199, 199, 199, ++v);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * 124405);
}
BENCHMARK(bm_disk);

void bm_elldisk(benchmark::State& st) {
    Canvas400 c;
    uint16_t v = 0;
    for (auto _ : st) {
        ras_elldisk(c.rows, 199, 199, 199, 150, ++v);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * 93773);
}
BENCHMARK(bm_elldisk);

void bm_trifill(benchmark::State& st) {
    Canvas400 c;
    uint16_t v = 0;
    for (auto _ : st) {
        ++v;
        ras_trifill(c.rows, 0, 0, 399, 0, 200, 399, v, v);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * 80000);
}
BENCHMARK(bm_trifill);

void bm_floodfill(benchmark::State& st) {
    Canvas400 c;
    int16_t half[400];
    for (int i = 0; i < 400; ++i) half[i] = int16_t(i / 2);
    uint16_t v = 0;
    for (auto _ : st) {
        const uint16_t old = v++;
        ras_floodfill(c.rows, 200, 200, 400, 400, v & 0xFF, old & 0xFF, 0, 0, half);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * 160000);
}
BENCHMARK(bm_floodfill);

// 10 000 random lines of up to 20 pixels each way, clipped to the startup window.
void bm_short_lines(benchmark::State& st) {
    Canvas400 c;
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
        for (size_t i = 0; i < p.size(); i += 4) ras_line(c.rows, clip, p[i], p[i + 1], p[i + 2], p[i + 3], 7, 1);
        benchmark::ClobberMemory();
    }
    st.SetItemsProcessed(int64_t(st.iterations()) * 10000);
}
BENCHMARK(bm_short_lines);

}  // namespace

BENCHMARK_MAIN();
