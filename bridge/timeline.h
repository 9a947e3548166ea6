// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing timeline of a run: every drawing call in order, and the
// canvas after any of them on demand.
//
// The calls go into a compact log as they are made; every so many calls
// (or sooner after heavy ones) a keyframe keeps the whole canvas and the
// drawing state. Seeking copies the nearest keyframe at or before the call
// and replays the calls after it through the same raster routines the run
// used, so the picture is the run's, pixel for pixel. Memory is bounded:
// past the budget the oldest keyframes and their calls are dropped and the
// timeline covers the run's last part only.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "call_log.h"
#include "draw_call.h"
#include "text_renderer.h"
#include "ximage3.h"

namespace korvane {

// One write of a pixel: the call (counted from 1), its line and built-in,
// and the palette index the pixel held after it.
struct PixelWrite {
    uint64_t call = 0;
    int32_t line = -1;
    DrawOp op = DrawOp::Point;
    uint8_t colour = 0;
};

class Timeline {
public:
    // Keyframe spacing and the memory bound; bench/app/timeline_bench.cpp
    // measures what they give (seek time, recording cost, memory).
    static constexpr uint32_t kCallsPerKeyframe = 16384;
    static constexpr uint64_t kWorkPerKeyframe = uint64_t{24} << 20;
    static constexpr size_t kDefaultBudget = size_t{240} << 20;

    explicit Timeline(size_t budget_bytes = kDefaultBudget);
    ~Timeline();

    // Starts a new run from the canvas, its palette and the drawing state as
    // they are now (call 0). The canvas must outlive the recording, and every
    // call drawn on it must be recorded before it is performed.
    void restart(const TXImage3& canvas, const DrawContext& live);
    // The program line the next recorded calls belong to.
    void announce(int32_t line) { line_ = line; }
    void record(const DrawCall& call, const char* text, const DrawContext& live);

    // The program showed the canvas after the calls so far.
    void mark_show() { shows_.push_back(calls_); }
    // For each show, the calls made before it, in order.
    const std::vector<uint64_t>& shows() const { return shows_; }

    // Drawing calls of the run so far (textstyle sets a font and is not one).
    uint64_t calls() const { return calls_; }
    // The earliest call whose canvas can be shown: 0 unless memory ran out.
    uint64_t first_call() const;
    bool truncated() const { return first_call() > 0; }
    size_t memory_bytes() const;
    // The calls after which keyframes were kept: a seek to the call before
    // one replays the most.
    std::vector<uint64_t> keyframes() const;
    const std::array<uint8_t, 1024>& palette() const { return palette_; }

    // The canvas after call k (k clamped to first_call()..calls()) into slot
    // 0 of out, with the run's palette.
    void seek(uint64_t k, TXImage3& out) const;
    // Seeks to `from`, then performs calls from + 1 .. to on out, calling
    // after_call(k) after each (both clamped as for seek).
    void play(uint64_t from, uint64_t to, TXImage3& out, const std::function<void(uint64_t)>& after_call) const;
    // Call k (1..calls(), and at least first_call() + 1); its text lives as
    // long as the timeline is not recorded to.
    LoggedCall call(uint64_t k) const;
    // Every write of pixel (x, y) (program coordinates, y from the bottom)
    // from first_call() on, in order.
    void for_each_write(int32_t x, int32_t y, const std::function<void(const PixelWrite&)>& visit) const;
    // Replays the calls from first_call() on into slot 0 of out, which ends
    // as the final canvas; writers gets, for each pixel (bottom row first),
    // the call that wrote it last, or 0 when none did. after_call(k, call)
    // runs after each call.
    void last_writers(TXImage3& out, std::vector<uint64_t>& writers,
                      const std::function<void(uint64_t, const LoggedCall&)>& after_call) const;

private:
    struct Chunk;
    void open_chunk(const DrawContext& live);
    void close_chunk();
    const Chunk& chunk_for(uint64_t k) const;
    // Replays the chunk's calls onto canvas until `stop` calls were
    // performed, tagging each write with its call when tags is not null;
    // after_call(k, call) runs after call k.
    template <class After>
    void walk(uint64_t from, uint64_t to, TXImage3& canvas, uint32_t* tags, After&& after_call) const;
    template <class After>
    void replay(const Chunk& chunk, TXImage3& canvas, uint32_t* tags, uint64_t stop, After&& after_call) const;

    size_t budget_;
    const TXImage3* live_ = nullptr;
    std::array<uint8_t, 1024> palette_{};
    ClipWindows clips_{};
    std::array<int16_t, kCanvasSize> half_{};
    int32_t fill_work_ = 0;

    std::deque<std::unique_ptr<Chunk>> chunks_;
    std::vector<uint64_t> shows_;
    CallWriter writer_;
    int32_t line_ = -1;
    uint64_t calls_ = 0;
    uint64_t work_ = 0;  // replay work of the open chunk, in pixels
    size_t bytes_ = 0;   // of the closed chunks
};

}  // namespace korvane
