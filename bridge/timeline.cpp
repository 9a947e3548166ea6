// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "perform.h"

namespace korvane {

// A keyframe and the calls after it up to the next one.
struct Timeline::Chunk {
    uint64_t first = 0;  // the keyframe is the canvas after this many calls
    uint32_t count = 0;  // calls in the log
    std::vector<uint8_t> pixels;
    TextRenderer text;
    uint16_t pattern = 0;
    uint16_t acc = 0;
    std::vector<uint8_t> log;

    size_t bytes() const { return sizeof(Chunk) + pixels.capacity() + log.capacity(); }
};

namespace {

constexpr uint64_t kArea = uint64_t{kCanvasSize} * kCanvasSize;

uint64_t span(int32_t a, int32_t b) { return static_cast<uint64_t>(std::llabs(int64_t{a} - b)) + 1; }
uint64_t extent(int32_t r) { return 2 * static_cast<uint64_t>(std::llabs(int64_t{r})) + 1; }
// A filled figure writes at most the canvas, but walks all its rows.
uint64_t filled(uint64_t w, uint64_t h) { return std::min(w * h, kArea) + h; }

// Roughly the pixels a call walks, so that keyframes come sooner after
// heavy calls and a seek never replays more than a bounded amount of work.
uint64_t work_of(const DrawCall& call) {
    const auto& v = call.v;
    constexpr uint64_t kCallCost = 16;  // reading the call and dispatching it
    switch (call.op) {
        case DrawOp::Clear:
        case DrawOp::Grid: return kArea;
        case DrawOp::Floodfill: return 8 * kArea;  // every pixel tested from four sides
        case DrawOp::Textout: return 8 * kArea;    // glyphs are rendered through the font engine
        case DrawOp::Fillrect:
        case DrawOp::Brect: return filled(span(v[0], v[2]), span(v[1], v[3]));
        case DrawOp::Disk:
        case DrawOp::Bdisk: return filled(extent(v[2]), extent(v[2]));
        case DrawOp::Elldisk:
        case DrawOp::Ellbdisk: return filled(extent(v[2]), extent(v[3]));
        case DrawOp::Trifill:
            return filled(span(std::min({v[0], v[2], v[4]}), std::max({v[0], v[2], v[4]})),
                          span(std::min({v[1], v[3], v[5]}), std::max({v[1], v[3], v[5]})));
        case DrawOp::Line:
        case DrawOp::Xline:
        case DrawOp::Fline:
        case DrawOp::Dline: return kCallCost + span(v[0], v[2]) + span(v[1], v[3]);
        case DrawOp::Drawrect: return kCallCost + 2 * (span(v[0], v[2]) + span(v[1], v[3]));
        case DrawOp::Circle:
        case DrawOp::Xcircle: return kCallCost + 4 * extent(v[2]);
        case DrawOp::Ellipse:
        case DrawOp::Xellipse: return kCallCost + 2 * (extent(v[2]) + extent(v[3]));
        case DrawOp::HAxis:
        case DrawOp::VAxis: return kCallCost + 4 * kCanvasSize;
        default: return kCallCost;
    }
}

}  // namespace

Timeline::Timeline(size_t budget_bytes) : budget_(budget_bytes) {}

Timeline::~Timeline() = default;

void Timeline::restart(const TXImage3& canvas, const DrawContext& live) {
    live_ = &canvas;
    palette_ = canvas.PaletteData;
    clips_ = live.clips;
    std::copy_n(live.half_table, half_.size(), half_.begin());
    fill_work_ = live.fill_work;
    chunks_.clear();
    shows_.clear();
    calls_ = 0;
    bytes_ = 0;
    line_ = -1;
    open_chunk(live);
}

void Timeline::open_chunk(const DrawContext& live) {
    auto chunk = std::make_unique<Chunk>();
    chunk->first = calls_;
    const size_t size = static_cast<size_t>(live_->width(0)) * live_->height(0);
    chunk->pixels.assign(live_->bits(0), live_->bits(0) + size);
    chunk->text = live.text;
    chunk->pattern = live.dash_pattern;
    chunk->acc = live.dash_acc;
    chunks_.push_back(std::move(chunk));
    writer_.reset();
    work_ = 0;
}

// The closed chunk gives back its spare log room; the oldest chunks go
// while the whole is over budget, the newest always stays.
void Timeline::close_chunk() {
    Chunk& chunk = *chunks_.back();
    chunk.log.shrink_to_fit();
    bytes_ += chunk.bytes();
    while (chunks_.size() > 1 && bytes_ + chunks_.back()->pixels.size() * 2 > budget_) {
        bytes_ -= chunks_.front()->bytes();
        chunks_.pop_front();
    }
}

void Timeline::record(const DrawCall& call, const char* text, const DrawContext& live) {
    if (call.op != DrawOp::Textstyle) {
        if (chunks_.back()->count >= kCallsPerKeyframe || work_ >= kWorkPerKeyframe) {
            close_chunk();
            open_chunk(live);
        }
        ++chunks_.back()->count;
        ++calls_;
        work_ += work_of(call);
    }
    writer_.append(chunks_.back()->log, call, line_, text);
}

size_t Timeline::memory_bytes() const { return bytes_ + (chunks_.empty() ? 0 : chunks_.back()->bytes()); }

std::vector<uint64_t> Timeline::keyframes() const {
    std::vector<uint64_t> out;
    for (const auto& chunk : chunks_) out.push_back(chunk->first);
    return out;
}

uint64_t Timeline::first_call() const { return chunks_.empty() ? 0 : chunks_.front()->first; }

const Timeline::Chunk& Timeline::chunk_for(uint64_t k) const {
    const auto after = std::upper_bound(chunks_.begin(), chunks_.end(), k,
                                        [](uint64_t value, const auto& chunk) { return value < chunk->first; });
    return **(after == chunks_.begin() ? after : after - 1);
}

template <class After>
void Timeline::replay(const Chunk& chunk, TXImage3& canvas, uint32_t* tags, uint64_t stop, After&& after_call) const {
    TextRenderer text = chunk.text;
    uint16_t pattern = chunk.pattern, acc = chunk.acc;
    const DrawContext cx{clips_, half_.data(), text, pattern, acc, fill_work_};
    const RowTable rows = canvas.rows(0);
    const uint64_t base = first_call();
    CallReader reader(chunk.log.data(), chunk.log.size());
    for (uint64_t done = 0; done < stop && !reader.at_end();) {
        const LoggedCall c = reader.next();
        const uint64_t k = chunk.first + done + (c.call.op != DrawOp::Textstyle);
        if (tags)
            perform(TrackedRows{rows, tags, static_cast<uint32_t>(k - base)}, c.call, cx, c.text);
        else
            perform(rows, c.call, cx, c.text);
        if (c.call.op == DrawOp::Textstyle) continue;
        ++done;
        after_call(k, c);
    }
}

// Replays from the keyframe at or before `from` up to call `to`; after_call
// runs for each call after `from`.
template <class After>
void Timeline::walk(uint64_t from, uint64_t to, TXImage3& canvas, uint32_t* tags, After&& after_call) const {
    if (canvas.width(0) != kCanvasSize || canvas.height(0) != kCanvasSize)
        canvas.ResizeBmp(0, kCanvasSize, kCanvasSize);
    const Chunk* start = &chunk_for(from);
    std::memcpy(canvas.bits(0), start->pixels.data(), start->pixels.size());
    for (auto it = chunks_.begin(); it != chunks_.end() && (*it)->first <= to; ++it) {
        if ((*it)->first < start->first) continue;
        replay(**it, canvas, tags, to - (*it)->first, [&](uint64_t k, const LoggedCall& c) {
            if (k > from) after_call(k, c);
        });
    }
}

void Timeline::seek(uint64_t k, TXImage3& out) const {
    if (chunks_.empty()) return;
    k = std::clamp(k, first_call(), calls_);
    out.PaletteData = palette_;
    out.AssignPalette(0);
    walk(k, k, out, nullptr, [](uint64_t, const LoggedCall&) {});
}

void Timeline::play(uint64_t from, uint64_t to, TXImage3& out, const std::function<void(uint64_t)>& after_call) const {
    if (chunks_.empty()) return;
    from = std::clamp(from, first_call(), calls_);
    to = std::clamp(to, from, calls_);
    out.PaletteData = palette_;
    out.AssignPalette(0);
    walk(from, to, out, nullptr, [&](uint64_t k, const LoggedCall&) { after_call(k); });
}

LoggedCall Timeline::call(uint64_t k) const {
    if (chunks_.empty() || k == 0 || k <= first_call() || k > calls_) return {};
    const Chunk& chunk = chunk_for(k - 1);
    CallReader reader(chunk.log.data(), chunk.log.size());
    for (uint64_t done = 0; !reader.at_end();) {
        const LoggedCall c = reader.next();
        if (c.call.op != DrawOp::Textstyle && ++done == k - chunk.first) return c;
    }
    return {};
}

void Timeline::for_each_write(int32_t x, int32_t y, const std::function<void(const PixelWrite&)>& visit) const {
    if (chunks_.empty() || x < 0 || y < 0 || x >= kCanvasSize || y >= kCanvasSize) return;
    TXImage3 canvas(1);
    std::vector<uint32_t> tags(kArea, 0);
    const size_t at = static_cast<size_t>(y) * kCanvasSize + static_cast<size_t>(x);
    const uint64_t base = first_call();
    walk(base, calls_, canvas, tags.data(), [&](uint64_t k, const LoggedCall& c) {
        if (tags[at] == static_cast<uint32_t>(k - base)) visit({k, c.line, c.call.op, canvas.bits(0)[at]});
    });
}

void Timeline::last_writers(TXImage3& out, std::vector<uint64_t>& writers,
                            const std::function<void(uint64_t, const LoggedCall&)>& after_call) const {
    writers.assign(kArea, 0);
    if (chunks_.empty()) return;
    out.PaletteData = palette_;
    out.AssignPalette(0);
    std::vector<uint32_t> tags(kArea, 0);
    const uint64_t base = first_call();
    walk(base, calls_, out, tags.data(), after_call);
    for (size_t i = 0; i < kArea; ++i)
        if (tags[i] != 0) writers[i] = base + tags[i];
}

}  // namespace korvane
