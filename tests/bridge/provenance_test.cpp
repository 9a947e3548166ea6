// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel provenance: origins per announced call, and the replay that finds
// them agreeing with tagging every write as it happens, for any order of
// calls, inspections in between, clears, dash state and text.
#include "provenance.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bridge_calls.h"

namespace korvane {
namespace {

TEST(CanvasBridgeProvenance, OriginsFollowTheAnnouncedCallsAndEndWithTheRun) {
    Canvas c;
    TestBridge bridge(c.image);
    EXPECT_FALSE(bridge.bridge_traces_drawing());
    bridge.bridge_point(5, 5);  // before recording: no origin
    bridge.set_provenance(true);
    EXPECT_TRUE(bridge.bridge_traces_drawing());
    bridge.begin_run();
    bridge.bridge_before_draw(2, "fillrect");
    bridge.bridge_fillrect(0, 0, 10, 10);
    bridge.bridge_before_draw(4, "circle");
    bridge.bridge_circle(10, 10, 3, 7);
    bridge.bridge_before_draw(2, "fillrect");  // the same call site again
    bridge.bridge_fillrect(20, 20, 22, 22);
    bridge.bridge_before_draw(9, "textout");
    bridge.bridge_textout(100, 300, "W");
    const struct {
        int32_t x, y, line;
        const char* builtin;
    } cases[] = {
        {1, 1, 2, "fillrect"}, {13, 10, 4, "circle"}, {21, 21, 2, "fillrect"},
        {50, 50, -1, ""},      {-1, 0, -1, ""},       {400, 3, -1, ""},
    };
    for (const auto& k : cases) {
        const PixelOrigin o = bridge.origin_at(k.x, k.y);
        EXPECT_EQ(o.line, k.line) << k.x << "," << k.y;
        EXPECT_EQ(o.builtin, k.builtin) << k.x << "," << k.y;
    }
    int text = 0;
    for (int y = 250; y < 300; ++y)
        for (int x = 100; x < 130; ++x) text += bridge.origin_at(x, y).builtin == "textout";
    EXPECT_GT(text, 10);

    bridge.begin_run();
    EXPECT_EQ(bridge.origin_at(1, 1).line, -1);
    bridge.set_provenance(false);
    bridge.bridge_before_draw(3, "disk");  // not announced while off, but harmless
    bridge.bridge_disk(1, 1, 5, 2);
    EXPECT_EQ(bridge.origin_at(1, 1).line, -1);
}

// Values that put figures on, across and off the canvas; flood fill modes
// cover the plain, ramp and outline variants; axis counts stay small.
Args random_args(std::mt19937& rng, DrawOp op) {
    std::uniform_int_distribution<int32_t> place(-60, 460), size(0, 150), colour(0, 300), mode(0, 13);
    Args v{};
    for (int32_t& x : v) x = place(rng);
    switch (op) {
        case DrawOp::Circle:
        case DrawOp::Xcircle:
        case DrawOp::Disk:
        case DrawOp::Bdisk:
            v[2] = size(rng);
            v[3] = colour(rng);
            v[4] = colour(rng);
            break;
        case DrawOp::Ellipse:
        case DrawOp::Xellipse:
        case DrawOp::Elldisk:
        case DrawOp::Ellbdisk:
            v[2] = size(rng);
            v[3] = size(rng);
            v[4] = colour(rng);
            v[5] = colour(rng);
            break;
        case DrawOp::Floodfill:
            v[2] = colour(rng);
            v[3] = colour(rng);
            v[4] = colour(rng);
            v[5] = mode(rng);
            break;
        case DrawOp::HAxis:
        case DrawOp::VAxis:
            v[3] = size(rng) % 8;
            v[4] = size(rng) % 5;
            v[5] = size(rng) % 3;
            v[6] = size(rng) % 12;
            v[7] = size(rng) % 8;
            v[8] = colour(rng);
            v[9] = colour(rng);
            break;
        case DrawOp::Clear: v[0] = colour(rng); break;
        case DrawOp::Grid:
            v[0] = size(rng) % 9;
            v[1] = size(rng) % 9;
            v[2] = colour(rng);
            break;
        case DrawOp::Textstyle:
            v[0] = colour(rng);
            v[1] = size(rng) % 30;
            break;
        default:
            v[4] = colour(rng);
            v[5] = colour(rng);
            v[6] = colour(rng);
            v[7] = colour(rng);
            break;
    }
    return v;
}

TEST(ProvenanceReplay, AgreesWithTaggingEveryWriteAsItHappens) {
    Canvas live;
    TestBridge bridge(live.image);
    bridge.bridge_textstyle(7, 12, "DejaVu Sans");
    bridge.bridge_disk(200, 200, 120, 9);  // drawn before recording: no origin
    bridge.bridge_dline(0, 0, 123, 45);    // and the dash phase is mid-pattern
    bridge.set_provenance(true);
    EagerTags eager(bridge);
    std::memcpy(eager.canvas.image.bits(0), live.image.bits(0), 400 * 400);
    eager.text.set_style(7, 12, "DejaVu Sans");

    std::mt19937 rng(2024);
    const auto& all = kinds();
    std::uniform_int_distribution<size_t> pick(0, all.size() - 1);
    std::vector<const char*> name_of_line;
    auto agree_at = [&](int x, int y) {
        const uint32_t tag = eager.tags[static_cast<size_t>(y) * 400 + x];
        const PixelOrigin o = bridge.origin_at(x, y);
        return tag == 0 ? o.line == -1 : o.line == static_cast<int32_t>(tag) - 1 && o.builtin == name_of_line[tag - 1u];
    };
    int mismatches = 0;
    for (int line = 0; line < 2500; ++line) {
        // The first call fills the disk drawn before recording: replay must start from it.
        const Kind& kind = line == 0 ? all[21] : all[pick(rng)];
        // Clears are kept rare; a line without a call is one the program skipped.
        name_of_line.push_back(kind.name);
        if (kind.op == DrawOp::Clear && rng() % 8 != 0) continue;
        const Args v = line == 0 ? Args{200, 200, 4, 9, 0, 0} : random_args(rng, kind.op);
        if (rng() % 4 == 0) bridge.bridge_setcolor(v[9]);
        const DrawCall call{kind.op, static_cast<uint16_t>(bridge.CurrentColour), v};
        bridge.bridge_before_draw(line, kind.name);
        kind.call(bridge, v);
        const char* text = kind.op == DrawOp::Textout ? "Ag" : "DejaVu Sans";
        eager.perform_call(call, static_cast<uint32_t>(line + 1), text, bridge.HalfTable.data());
        if (line == 0) {
            ASSERT_EQ(eager.tags[5 * 400 + 5] + eager.tags[200 * 400 + 200], 1) << "a fill of the disk alone";
        }
        // Inspecting now and then replays part of the calls; the rest follow later.
        if (rng() % 50 == 0)
            for (int k = 0; k < 200; ++k) mismatches += !agree_at(rng() % 400, rng() % 400);
    }
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) mismatches += !agree_at(x, y);
    EXPECT_EQ(mismatches, 0);
    EXPECT_TRUE(live.same_as(eager.canvas));
}

TEST(ProvenanceReplay, StaysExactPastTheCallsItKeepsBeforeReplaying) {
    Canvas live;
    TestBridge bridge(live.image);
    bridge.set_provenance(true);
    // One line of four pixels per call, in column i % 400.
    const int32_t calls = static_cast<int32_t>(Provenance::kMaxPending) + 1000;
    for (int32_t i = 0; i < calls; ++i) {
        bridge.bridge_before_draw(i % 7, i % 2 ? "line" : "xline");
        bridge.bridge_line(i % 400, 0, i % 400, 3);
    }
    for (const int32_t i : {calls - 1, calls - 2, calls - 400}) {
        EXPECT_EQ(bridge.origin_at(i % 400, 1).line, i % 7) << i;
        EXPECT_EQ(bridge.origin_at(i % 400, 1).builtin, i % 2 ? "line" : "xline") << i;
    }
    EXPECT_EQ(bridge.origin_at(10, 300).line, -1);
}

// More call sites than 16 bits can number, each the last writer of a pixel of its own.
TEST(ProvenanceReplay, TellsApartEveryCallSite) {
    Canvas live;
    TestBridge bridge(live.image);
    bridge.set_provenance(true);
    constexpr int32_t kSites = 70000;
    for (int32_t i = 0; i < kSites; ++i) {
        bridge.bridge_before_draw(i, "point");
        bridge.bridge_point(i % 400, i / 400);
    }
    for (const int32_t i : {0, 65534, 65535, 65536, kSites - 1}) {
        EXPECT_EQ(bridge.origin_at(i % 400, i / 400).line, i);
        EXPECT_EQ(bridge.origin_at(i % 400, i / 400).builtin, "point");
    }
}

}  // namespace
}  // namespace korvane
