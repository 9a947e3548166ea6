// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel provenance: which drawing call last wrote each canvas pixel.
//
// Tagging every write as it happens would slow every fill by the width of
// the tag table. Instead the calls of a run are kept in order, and replayed
// through the same raster routines onto a copy of the canvas with a tag
// table beside it the first time an origin is asked for. Replay starts from
// the canvas as it was when recording began, so flood fills and XOR see the
// pixels they saw live, and the tags come out exact.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "draw_call.h"
#include "pixel_origin.h"
#include "ximage3.h"

namespace korvane {

class Provenance {
public:
    // Starts from the canvas (slot 0) and the drawing state as they are now:
    // no pixel has an origin yet. The canvas must outlive the record, and
    // every call drawn on it from now on must be recorded before it is drawn.
    Provenance(const TXImage3& canvas, const DrawContext& live);
    ~Provenance();
    // Starts again as if new, keeping the memory of earlier runs.
    void restart(const TXImage3& canvas, const DrawContext& live);

    // The call at (line, builtin) is the one the next recorded calls belong to.
    void announce(int32_t line, const char* builtin);
    // Keeps a call that is about to be performed on the live canvas, whose
    // state is `live`; text as for perform().
    void record(const DrawCall& call, const char* text, const DrawContext& live);
    // Origin at program coordinates (x from the left, y from the bottom);
    // line -1 off the canvas.
    PixelOrigin origin_at(int32_t x, int32_t y) const;

    // Calls kept at most before they are replayed anyway, to bound memory.
    static constexpr size_t kMaxPending = size_t{1} << 18;

private:
    void take_state(const DrawContext& live);
    void take_base() const;
    void catch_up() const;

    struct Site {
        int32_t line;
        const char* builtin;
        bool operator==(const Site&) const = default;
    };
    struct SiteHash {
        size_t operator()(const Site& s) const {
            return std::hash<const void*>{}(s.builtin) ^ (static_cast<size_t>(s.line) * 0x9E3779B97F4A7C15u);
        }
    };

    // The replay: a copy of the canvas and of the state the calls read, the
    // tags beside it, and the calls not replayed yet. Mutable because asking
    // for an origin brings this cache up to date.
    const TXImage3* live_ = nullptr;
    mutable bool based_ = false;  // canvas_ and tags_ hold the start of the replay
    mutable TXImage3 canvas_{1};
    mutable std::vector<uint32_t> tags_;
    std::unique_ptr<TextRenderer> text_;
    mutable uint16_t dash_pattern_ = 0;
    mutable uint16_t dash_acc_ = 0;
    const int16_t* half_table_ = nullptr;
    int32_t fill_work_ = 0;
    mutable std::vector<uint32_t> pending_;  // the calls in record()'s words
    mutable size_t pending_calls_ = 0;
    mutable std::string texts_;  // the pending calls' texts, each ended by a NUL

    // Tags: 0 for no origin, else 1 + an index into origins_; call sites are
    // numbered as they come.
    std::vector<PixelOrigin> origins_;
    std::unordered_map<Site, uint32_t, SiteHash> tag_of_site_;
    Site last_site_{-1, nullptr};
    uint32_t current_tag_ = 0;
};

}  // namespace korvane
