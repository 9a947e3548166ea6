// SPDX-License-Identifier: GPL-3.0-or-later
// Any sequence of drawing calls, with origins asked for between them, must
// give every pixel the origin that tagging each write at once gives it, and
// the canvas the replay draws must be the live one.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "bridge_calls.h"

namespace {

using namespace korvane;

// Fills that never end stop after this much work, not the seconds of a run,
// so that an input may hold many of them.
constexpr int32_t kFuzzFillWork = 64;

struct Bytes {
    const uint8_t* data;
    size_t size;
    size_t at = 0;

    bool empty() const { return at >= size; }
    uint8_t byte() { return at < size ? data[at++] : 0; }
    // One byte a value, from a little off one edge of the canvas to past
    // the other, so that short inputs hold many calls.
    int32_t value() { return byte() * 2 - 60; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Canvas live;
    TestBridge bridge(live.image);
    bridge.FillWorkPerPixel = kFuzzFillWork;
    bridge.set_provenance(true);
    EagerTags eager(bridge);
    const auto& all = kinds();
    std::vector<const char*> names;
    Bytes in{data, size};
    while (!in.empty() && names.size() < 4000) {
        const Kind& kind = all[in.byte() % all.size()];
        if (kind.op == DrawOp::Textout || kind.op == DrawOp::Textstyle) continue;  // fonts need a GUI
        Args v;
        for (int32_t& x : v) x = in.value();
        const uint8_t control = in.byte();
        if (control & 1) bridge.bridge_setcolor(v[9]);
        names.push_back(kind.name);
        const auto line = static_cast<int32_t>(names.size() - 1);
        bridge.bridge_before_draw(line, kind.name);
        const DrawCall call{kind.op, static_cast<uint16_t>(bridge.CurrentColour), v};
        kind.call(bridge, v);
        eager.perform_call(call, static_cast<uint32_t>(line + 1), nullptr, bridge.HalfTable.data());
        if (control & 2) bridge.origin_at(v[8], v[7]);  // replays what came so far
    }
    if (std::memcmp(live.image.bits(0), eager.canvas.image.bits(0), 400 * 400) != 0) __builtin_trap();
    for (int32_t y = 0; y < 400; ++y)
        for (int32_t x = 0; x < 400; ++x) {
            const uint32_t tag = eager.tags[static_cast<size_t>(y) * 400 + static_cast<size_t>(x)];
            const PixelOrigin o = bridge.origin_at(x, y);
            const bool same =
                tag == 0 ? o.line == -1 : o.line == static_cast<int32_t>(tag) - 1 && o.builtin == names[tag - 1u];
            if (!same) __builtin_trap();
        }
    return 0;
}
