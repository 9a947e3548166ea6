// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing timeline: the canvas it shows after call k is the canvas of
// the same run stopped before call k + 1, from a canvas left by an earlier
// run; a pixel's history ends with the write provenance names; and past
// its memory bound it keeps the run's last part, still exact.
#include "timeline.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "interpreter.h"
#include "perform.h"
#include "random_programs.h"
#include "test_bridge.h"

namespace korvane {
namespace {

// Stops the run (as a Halt does) before drawing call `stop` + 1.
class StoppingBridge : public TestBridge {
public:
    StoppingBridge(TXImage3& canvas, uint64_t stop) : TestBridge(canvas), stop_(stop) {}
    bool bridge_traces_drawing() const override { return true; }
    int bridge_before_draw(int32_t line, const char* builtin) override {
        CanvasBridge::bridge_before_draw(line, builtin);
        return ++announced_ > stop_;
    }

private:
    uint64_t stop_, announced_ = 0;
};

std::string crlf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\r') continue;
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::vector<std::string> programs() {
    std::vector<std::string> texts;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(KORVANE_SOURCE_DIR) + "/examples")) {
        if (entry.path().extension() != ".cg") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        texts.push_back(crlf(std::string(std::istreambuf_iterator<char>(in), {})));
    }
    std::mt19937 rng(25);
    for (int i = 0; i < 300; ++i) texts.push_back(crlf(testing::random_program(rng, i)));
    return texts;
}

// A canvas an earlier run left: runs do not clear it.
void paint_earlier_run(Canvas& c) {
    for (int i = 0; i < 400 * 400; ++i) c.image.bits(0)[i] = static_cast<uint8_t>(i * 7 / 400 + i % 3);
}

void run(CanvasBridge& bridge, const std::string& text) {
    Interpreter interp(bridge);
    interp.seed_random(7);
    interp.set_step_limit(2'000'000);
    interp.run_text(text);
}

TEST(Timeline, ShowsTheCanvasOfTheRunStoppedAfterEachCall) {
    int programs_drawing = 0, checked = 0;
    for (const std::string& text : programs()) {
        Canvas full;
        paint_earlier_run(full);
        TestBridge bridge(full.image);
        bridge.set_timeline(true);
        bridge.set_provenance(true);
        bridge.begin_run();
        run(bridge, text);
        const Timeline& timeline = *bridge.timeline();
        const uint64_t n = timeline.calls();
        if (n == 0) continue;
        ++programs_drawing;
        std::mt19937 pick(static_cast<uint32_t>(n));
        for (const uint64_t k : {uint64_t{0}, uint64_t{1}, n / 2, n - 1, n, uint64_t(pick() % n)}) {
            Canvas cut;
            paint_earlier_run(cut);
            StoppingBridge stopping(cut.image, k);
            run(stopping, text);
            Canvas seen;
            timeline.seek(k, seen.image);
            ASSERT_TRUE(seen.same_as(cut)) << "call " << k << " of " << n << " in\n" << text;
            ++checked;
        }
        Canvas past_the_end, played, middle;
        timeline.seek(n + 5, past_the_end.image);
        ASSERT_TRUE(past_the_end.same_as(full)) << text;
        // Playing on from a call passes through the same canvases.
        timeline.seek(n / 2, middle.image);
        bool met = n / 2 <= n / 4;  // n / 2 is met only after n / 4
        timeline.play(n / 4, n, played.image, [&](uint64_t k) { met = met || (k == n / 2 && played.same_as(middle)); });
        ASSERT_TRUE(met) << text;
        ASSERT_TRUE(played.same_as(full)) << text;
        // Every pixel's last write is the one provenance names.
        for (int i = 0; i < 50; ++i) {
            const int32_t x = static_cast<int32_t>(pick() % 400), y = static_cast<int32_t>(pick() % 400);
            PixelWrite last;
            timeline.for_each_write(x, y, [&](const PixelWrite& w) { last = w; });
            const PixelOrigin origin = bridge.origin_at(x, y);
            ASSERT_EQ(last.line, origin.line) << x << "," << y << " in\n" << text;
            if (origin.line >= 0) {
                ASSERT_EQ(draw_op_name(last.op), origin.builtin) << text;
                ASSERT_EQ(last.colour, full.image.bits(0)[y * 400 + x]) << text;
                ASSERT_EQ(timeline.call(last.call).line, origin.line) << text;
            }
        }
    }
    EXPECT_GE(programs_drawing, 20);
    EXPECT_GE(checked, 120);
}

// Calls fed to a small timeline as the bridge feeds them: each fills the
// foot of a column, so the canvas after any call is known. Short columns keep
// the test quick under the sanitizers; the keyframes still overflow the budget.
TEST(Timeline, PastItsBudgetKeepsTheLastPartExactly) {
    Canvas live;
    TextRenderer text;
    uint16_t pattern = 0xFF00, acc = 0;
    std::array<int16_t, 400> half{};
    const DrawContext cx{live.image.clips, half.data(), text, pattern, acc, kFillWorkPerPixel};
    constexpr size_t kBudget = size_t{4} << 20;
    Timeline timeline(kBudget);
    timeline.restart(live.image, cx);
    const uint64_t n = 40 * Timeline::kCallsPerKeyframe;
    Canvas before_last_thousand;
    for (uint64_t i = 0; i < n; ++i) {
        if (i == n - 1000) std::memcpy(before_last_thousand.image.bits(0), live.image.bits(0), 400 * 400);
        const int32_t x = static_cast<int32_t>(i % 400);
        const DrawCall call{DrawOp::Line, static_cast<uint16_t>(i / 400 % 256), {x, 0, x, 39}};
        timeline.announce(static_cast<int32_t>(i % 5));
        timeline.record(call, nullptr, cx);
        perform(live.rows(), call, cx, nullptr);
    }
    EXPECT_TRUE(timeline.truncated());
    EXPECT_LE(timeline.memory_bytes(), kBudget);
    EXPECT_EQ(timeline.calls(), n);
    Canvas seen;
    timeline.seek(n - 1000, seen.image);
    EXPECT_TRUE(seen.same_as(before_last_thousand));
    std::vector<PixelWrite> writes;
    timeline.for_each_write(7, 20, [&](const PixelWrite& w) { writes.push_back(w); });
    ASSERT_FALSE(writes.empty());
    EXPECT_GT(writes.front().call, timeline.first_call());
    const uint64_t last = n - 1 - (n - 1 - 7) % 400;  // the last call into column 7
    EXPECT_EQ(writes.back().call, last + 1);
    EXPECT_EQ(writes.back().line, static_cast<int32_t>(last % 5));
    EXPECT_EQ(timeline.call(n).call.v[0], static_cast<int32_t>((n - 1) % 400));
}

}  // namespace
}  // namespace korvane
