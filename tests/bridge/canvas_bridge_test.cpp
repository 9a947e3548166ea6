// SPDX-License-Identifier: GPL-3.0-or-later
// Each bridge operation must hand its arguments to its raster routine in
// the right order, with the right colour and canvas size. The tests draw
// once through the bridge and once by calling the routine directly, on two
// canvases, and compare the pictures.
#include "canvas_bridge.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>

#include "raster.h"
#include "test_bridge.h"

namespace korvane {
namespace {

// A picture with something on it, so fills and XORs have work to do.
void background(const RowTable& rows) {
    ras_clear(rows, 400, 400, 3);
    ras_fillrect(rows, 50, 60, 150, 170, 9);
    ras_drawrect(rows, 200, 210, 350, 380, 5);
}

struct HandOff {
    const char* name;
    std::function<void(CanvasBridge&)> through_bridge;
    std::function<void(const RowTable&, const ClipWindows&)> direct;
};

TEST(CanvasBridge, DrawingOperationsPassTheirArgumentsThrough) {
    // Current colour 301 is stored as 16 bits and reaches the routines as 301.
    const HandOff cases[] = {
        {"point", [](CanvasBridge& b) { b.bridge_point(10, 20); },
         [](auto& r, auto& c) { ras_point(r, c.PointClip, 10, 20, 301); }},
        {"fpoint", [](CanvasBridge& b) { b.bridge_fpoint(398, 0); },
         [](auto& r, auto& c) { ras_fpoint(r, c.PointClip, 398, 0, 301); }},
        {"line", [](CanvasBridge& b) { b.bridge_line(-20, 5, 390, 300); },
         [](auto& r, auto& c) { ras_line(r, c.LineClip, -20, 5, 390, 300, 301, 1); }},
        {"xline", [](CanvasBridge& b) { b.bridge_xline(10, 5, 390, 300); },
         [](auto& r, auto&) { ras_xline(r, 10, 5, 390, 300, 301); }},
        {"fline", [](CanvasBridge& b) { b.bridge_fline(10, 300, 390, 5); },
         [](auto& r, auto&) { ras_fline(r, 10, 300, 390, 5, 301); }},
        {"fillrect", [](CanvasBridge& b) { b.bridge_fillrect(30, 40, 100, 300); },
         [](auto& r, auto&) { ras_fillrect(r, 30, 40, 100, 300, 301); }},
        {"drawrect", [](CanvasBridge& b) { b.bridge_drawrect(30, 40, 100, 300); },
         [](auto& r, auto&) { ras_drawrect(r, 30, 40, 100, 300, 301); }},
        {"brect", [](CanvasBridge& b) { b.bridge_brect(30, 40, 100, 300, 7, 8); },
         [](auto& r, auto&) { ras_brect(r, 30, 40, 100, 300, 7, 8); }},
        {"clear", [](CanvasBridge& b) { b.bridge_clear(-2); }, [](auto& r, auto&) { ras_clear(r, 400, 400, 0xFFFE); }},
        {"grid", [](CanvasBridge& b) { b.bridge_grid(5, 3, 11); },
         [](auto& r, auto&) { ras_grid(r, 400, 400, 5, 3, 11); }},
        {"circle", [](CanvasBridge& b) { b.bridge_circle(20, 200, 50, 12); },
         [](auto& r, auto& c) { ras_circle(r, c.CircleClip, 20, 200, 50, 12); }},
        {"xcircle", [](CanvasBridge& b) { b.bridge_xcircle(100, 200, 50, 12); },
         [](auto& r, auto&) { ras_xcircle(r, 100, 200, 50, 12); }},
        {"disk", [](CanvasBridge& b) { b.bridge_disk(100, 200, 50, 268); },
         [](auto& r, auto&) { ras_disk(r, 100, 200, 50, 12); }},
        {"bdisk", [](CanvasBridge& b) { b.bridge_bdisk(100, 200, 50, 7, 8); },
         [](auto& r, auto&) { ras_bdisk(r, 100, 200, 50, 7, 8); }},
        {"circ2", [](CanvasBridge& b) { b.bridge_circ2(100, 200, 7); },
         [](auto& r, auto&) { ras_circ2(r, 100, 200, 7); }},
        {"fcirc2", [](CanvasBridge& b) { b.bridge_fcirc2(100, 200, 7, 8); },
         [](auto& r, auto&) { ras_fcirc2(r, 100, 200, 7, 8); }},
        {"ellipse", [](CanvasBridge& b) { b.bridge_ellipse(200, 200, 90, 40, 7); },
         [](auto& r, auto&) { ras_ellipse(r, 200, 200, 90, 40, 7); }},
        {"xellipse", [](CanvasBridge& b) { b.bridge_xellipse(200, 200, 90, 40, 7); },
         [](auto& r, auto&) { ras_xellipse(r, 200, 200, 90, 40, 7); }},
        {"elldisk", [](CanvasBridge& b) { b.bridge_elldisk(200, 200, 90, 40, 7); },
         [](auto& r, auto&) { ras_elldisk(r, 200, 200, 90, 40, 7); }},
        {"ellbdisk", [](CanvasBridge& b) { b.bridge_ellbdisk(200, 200, 90, 40, 7, 8); },
         [](auto& r, auto&) { ras_ellbdisk(r, 200, 200, 90, 40, 7, 8); }},
        {"trifill", [](CanvasBridge& b) { b.bridge_trifill(10, 20, 300, 50, 120, 390, 7, 8); },
         [](auto& r, auto&) { ras_trifill(r, 10, 20, 300, 50, 120, 390, 7, 8); }},
        {"h_axis",
         [](CanvasBridge& b) {
             const int32_t v[10] = {100, 10, 390, 4, 5, 0, 9, 4, 7, 8};
             b.bridge_h_axis(v);
         },
         [](auto& r, auto&) { ras_h_axis(r, 100, 10, 390, 4, 5, 0, 9, 4, 7, 8); }},
        {"v_axis",
         [](CanvasBridge& b) {
             const int32_t v[10] = {100, 10, 390, 4, 5, 1, 9, 4, 7, 8};
             b.bridge_v_axis(v);
         },
         [](auto& r, auto&) { ras_v_axis(r, 100, 10, 390, 4, 5, 1, 9, 4, 7, 8); }},
    };
    for (const HandOff& c : cases) {
        Canvas via_bridge, direct;
        background(via_bridge.rows());
        background(direct.rows());
        TestBridge bridge(via_bridge.image);
        bridge.bridge_setcolor(301);
        c.through_bridge(bridge);
        c.direct(direct.rows(), direct.image.clips);
        EXPECT_TRUE(via_bridge.same_as(direct)) << c.name;
        Canvas untouched;
        background(untouched.rows());
        EXPECT_FALSE(via_bridge.same_as(untouched)) << c.name << " drew nothing";
    }
}

TEST(CanvasBridge, ColourIsKeptAsSixteenBits) {
    Canvas canvas;
    TestBridge bridge(canvas.image);
    bridge.bridge_setcolor(301);
    bridge.bridge_point(10, 10);
    EXPECT_EQ(bridge.CurrentColour, 301);
    EXPECT_EQ(canvas.rows().row[10][10], 45);
    bridge.bridge_setcolor(65536 + 7);  // only 16 bits are kept
    EXPECT_EQ(bridge.CurrentColour, 7);
}

TEST(CanvasBridge, GetpelAnswersZeroOffTheCanvas) {
    Canvas canvas;
    ras_clear(canvas.rows(), 400, 400, 77);
    canvas.rows().row[399][399] = 5;
    TestBridge bridge(canvas.image);
    const struct {
        int32_t x, y, value;
    } cases[] = {
        {399, 399, 5}, {0, 0, 77}, {400, 0, 0},       {0, 400, 0},
        {-1, 5, 0},    {5, -1, 0}, {INT32_MIN, 0, 0}, {0, INT32_MAX, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(bridge.bridge_getpel(c.x, c.y), c.value) << c.x << "," << c.y;
}

TEST(CanvasBridge, FloodfillModeTenAndUpSelectsTheOutline) {
    const struct {
        int32_t mode;
        bool outline;
        int32_t routine_mode;
    } cases[] = {
        {0, false, 0}, {9, false, 9}, {-1, false, -1}, {10, true, 0}, {12, true, 2}, {70, true, 60},
    };
    for (const auto& c : cases) {
        Canvas via_bridge, direct;
        background(via_bridge.rows());
        background(direct.rows());
        TestBridge bridge(via_bridge.image);
        bridge.bridge_floodfill(100, 100, 20, 9, 30, c.mode);
        using Fill = FillStatus (*)(const RowTable&, int32_t, int32_t, int32_t, int32_t, uint16_t, uint16_t, uint16_t,
                                    int32_t, const int16_t*, int32_t);
        const Fill fill = c.outline ? Fill{ras_floodfill_outline} : Fill{ras_floodfill};
        fill(direct.rows(), 100, 100, 400, 400, 20, 9, 30, c.routine_mode, bridge.HalfTable.data(), kFillWorkPerPixel);
        EXPECT_TRUE(via_bridge.same_as(direct)) << "mode " << c.mode;
    }
}

TEST(CanvasBridge, RampFillReadsTheHalvingTable) {
    Canvas canvas;
    background(canvas.rows());
    TestBridge bridge(canvas.image);
    bridge.bridge_floodfill(100, 100, 1, 9, 0, 6);  // vertical ramp over the index-9 block
    EXPECT_EQ(bridge.bridge_getpel(100, 61), 30);
    EXPECT_EQ(bridge.bridge_getpel(120, 170), 85);
}

TEST(CanvasBridge, DashPatternContinuesFromCallToCall) {
    Canvas via_bridge, direct;
    TestBridge bridge(via_bridge.image);
    bridge.bridge_setcolor(4);
    uint16_t pattern = 0xFF00, acc = 0;
    for (int32_t y : {10, 20, 30}) {
        bridge.bridge_dline(5, y, 37, y);
        ras_dline(direct.rows(), 5, y, 37, y, 4, pattern, acc);
    }
    EXPECT_TRUE(via_bridge.same_as(direct));
    EXPECT_EQ(bridge.DashPattern, pattern);
    EXPECT_EQ(bridge.DashDiagAcc, acc);
}

TEST(CanvasBridge, TextUsesTheStyleIndexAndKeepsItsTextShort) {
    Canvas canvas;
    TestBridge bridge(canvas.image);
    bridge.bridge_textstyle(301, 20, "DejaVu Sans");
    bridge.bridge_textout(10, 300, std::string(200, 'W').c_str());
    EXPECT_EQ(std::strlen(bridge.BridgeText.data()), 79u);
    EXPECT_GT(canvas.count(45), 100);
    EXPECT_EQ(canvas.count(45) + canvas.count(0), 400 * 400);
    EXPECT_STREQ(std::string(bridge.BridgeText.data(), 3).c_str(), "WWW");
}

}  // namespace
}  // namespace korvane
