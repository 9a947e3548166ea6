// SPDX-License-Identifier: GPL-3.0-or-later
#include "first_divergence.h"

#include <algorithm>
#include <vector>

namespace korvane {

Divergence first_divergence(const Timeline& timeline, std::span<const uint8_t> accepted) {
    TXImage3 canvas(1);
    std::vector<uint64_t> writers;
    std::vector<uint64_t> clears;  // in increasing order, as the calls come
    timeline.last_writers(canvas, writers, [&](uint64_t k, const LoggedCall& c) {
        if (c.call.op == DrawOp::Clear) clears.push_back(k);
    });
    Divergence d;
    if (writers.empty() || accepted.size() != writers.size()) return d;
    const uint8_t* final_canvas = canvas.bits(0);
    for (int32_t y = 0; y < kCanvasSize; ++y) {
        for (int32_t x = 0; x < kCanvasSize; ++x) {
            const size_t at = static_cast<size_t>(y) * kCanvasSize + static_cast<size_t>(x);
            if (final_canvas[at] == accepted[at]) continue;
            const uint64_t k = writers[at];
            if (k == 0 || std::binary_search(clears.begin(), clears.end(), k)) {
                if (d.missing++ == 0) d.xmin = d.xmax = x, d.ymin = d.ymax = y;
                d.xmin = std::min(d.xmin, x), d.xmax = std::max(d.xmax, x);
                d.ymin = std::min(d.ymin, y), d.ymax = std::max(d.ymax, y);
            } else if (d.call == 0 || k < d.call) {
                d.call = k, d.x = x, d.y = y, d.accepted = accepted[at];
            }
        }
    }
    if (d.call > 0) {
        const LoggedCall c = timeline.call(d.call);
        d.line = c.line;
        d.call_text = call_text(c);
        d.names_pixel = c.call.op != DrawOp::Point;
    }
    return d;
}

std::string divergence_text(const Divergence& d) {
    if (d.call == 0) return "";
    std::string s =
        "call " + std::to_string(d.call) + ", line " + std::to_string(d.line) + ": `" + d.call_text + "` drew";
    if (d.names_pixel) s += " (" + std::to_string(d.x) + ", " + std::to_string(d.y) + ")";
    s += " where the accepted picture has ";
    return s + (d.accepted == 0 ? std::string("background") : "colour " + std::to_string(d.accepted));
}

std::string missing_text(const Divergence& d) {
    if (d.missing == 0) return "";
    return std::to_string(d.missing) + (d.missing == 1 ? " pixel" : " pixels") +
           " of the accepted picture that no call drew, within x " + std::to_string(d.xmin) + ".." +
           std::to_string(d.xmax) + ", y " + std::to_string(d.ymin) + ".." + std::to_string(d.ymax);
}

}  // namespace korvane
