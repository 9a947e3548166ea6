// SPDX-License-Identifier: GPL-3.0-or-later
#include "provenance.h"

#include <algorithm>
#include <cstring>

#include "perform.h"
#include "text_renderer.h"

namespace korvane {

Provenance::Provenance(const TXImage3& canvas, const DrawContext& live) : text_(std::make_unique<TextRenderer>()) {
    restart(canvas, live);
}

Provenance::~Provenance() = default;

void Provenance::restart(const TXImage3& canvas, const DrawContext& live) {
    live_ = &canvas;
    if (canvas_.width(0) != canvas.width(0) || canvas_.height(0) != canvas.height(0)) {
        canvas_.ResizeBmp(0, canvas.width(0), canvas.height(0));
        tags_.assign(static_cast<size_t>(canvas_.width(0)) * canvas_.height(0), 0);
    }
    canvas_.clips = canvas.clips;
    based_ = false;
    half_table_ = live.half_table;
    fill_work_ = live.fill_work;
    take_state(live);
    pending_.clear();
    pending_calls_ = 0;
    texts_.clear();
    origins_.clear();
    tag_of_site_.clear();
    last_site_ = {-1, nullptr};
    current_tag_ = 0;
}

// The copy of the live canvas is taken only once it is needed: by the first
// call that is not a clear (which overwrites every pixel and tag anyway), or
// by an origin asked for before any call. Until then the live canvas is as
// it was at the start, as every call is recorded before it is performed.
void Provenance::take_base() const {
    if (based_) return;
    std::memcpy(canvas_.bits(0), live_->bits(0), tags_.size());
    std::fill(tags_.begin(), tags_.end(), 0);
    based_ = true;
}

void Provenance::take_state(const DrawContext& live) {
    *text_ = live.text;
    dash_pattern_ = live.dash_pattern;
    dash_acc_ = live.dash_acc;
}

void Provenance::announce(int32_t line, const char* builtin) {
    const Site site{line, builtin};
    if (site == last_site_) return;
    // A site is its line and the built-in table's name pointer, so a site
    // seen before already has its origin.
    auto [it, added] = tag_of_site_.try_emplace(site, 0);
    if (added) {
        origins_.push_back({line, builtin});
        it->second = static_cast<uint32_t>(origins_.size());
    }
    current_tag_ = it->second;
    last_site_ = site;
}

// A call is kept as a head word (kind, count of values kept, colour), its
// tag, its values up to the last nonzero one, and for text calls where
// their text starts in texts_: most calls take a third of a DrawCall.
void Provenance::record(const DrawCall& call, const char* text, const DrawContext& live) {
    // A clear writes every pixel and tag, so nothing before it matters
    // beyond the state it leaves, which the live side has now.
    if (call.op == DrawOp::Clear) {
        pending_.clear();
        pending_calls_ = 0;
        texts_.clear();
        take_state(live);
        based_ = true;
    } else {
        take_base();
    }
    uint32_t count = static_cast<uint32_t>(call.v.size());
    while (count > 0 && call.v[count - 1] == 0) --count;
    pending_.push_back(static_cast<uint32_t>(call.op) | count << 8 | uint32_t{call.colour} << 16);
    pending_.push_back(current_tag_);
    pending_.insert(pending_.end(), call.v.begin(), call.v.begin() + count);
    if (takes_text(call.op)) {
        pending_.push_back(static_cast<uint32_t>(texts_.size()));
        texts_.append(text).push_back('\0');
    }
    if (++pending_calls_ >= kMaxPending) catch_up();
}

void Provenance::catch_up() const {
    const DrawContext cx{canvas_.clips, half_table_, *text_, dash_pattern_, dash_acc_, fill_work_};
    const RowTable rows = canvas_.rows(0);
    for (size_t i = 0; i < pending_.size();) {
        const uint32_t head = pending_[i++];
        DrawCall call{static_cast<DrawOp>(head & 0xFF), static_cast<uint16_t>(head >> 16), {}};
        const uint32_t tag = pending_[i++];
        for (uint32_t k = 0, count = head >> 8 & 0xFF; k < count; ++k) call.v[k] = static_cast<int32_t>(pending_[i++]);
        const char* text = takes_text(call.op) ? texts_.c_str() + pending_[i++] : nullptr;
        perform(TrackedRows{rows, tags_.data(), tag}, call, cx, text);
    }
    pending_.clear();
    pending_calls_ = 0;
    texts_.clear();
}

PixelOrigin Provenance::origin_at(int32_t x, int32_t y) const {
    const int32_t width = canvas_.width(0), height = canvas_.height(0);
    if (x < 0 || y < 0 || x >= width || y >= height) return {};
    take_base();
    if (!pending_.empty()) catch_up();
    const uint32_t tag = tags_[static_cast<size_t>(y) * width + static_cast<size_t>(x)];
    return tag == 0 ? PixelOrigin{} : origins_[tag - 1u];
}

}  // namespace korvane
