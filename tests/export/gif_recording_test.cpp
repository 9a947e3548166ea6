// SPDX-License-Identifier: GPL-3.0-or-later
// Frames of a recording from shows at given moments: the delays, and when
// the final canvas of a run is a frame of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "gif_recording.h"
#include "picture.h"
#include "test_support.h"

namespace korvane {
namespace {

using namespace std::chrono_literals;
using testing::DecodedGif;
using testing::read_gif;
using testing::ScratchDir;
using testing::top_first;

// 3 x 2 of index `rest` with index `corner` in the bottom-left pixel.
Picture tiny(uint8_t corner, uint8_t rest) {
    Picture p;
    p.width = 3;
    p.height = 2;
    p.pixels.assign(6, rest);
    p.pixels[0] = corner;
    p.palette = testing::test_picture().palette;
    return p;
}

class GifRecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(frames_.start(dir_.file("a.gif"), error)) << error;
    }
    DecodedGif finish(GifRecording::Clock::time_point now) {
        std::string error;
        EXPECT_TRUE(frames_.finish(now, error)) << error;
        EXPECT_FALSE(frames_.active());
        return read_gif(dir_.file("a.gif"));
    }

    ScratchDir dir_;
    GifRecording frames_;
    const GifRecording::Clock::time_point t0_ = GifRecording::Clock::now();
};

TEST_F(GifRecordingTest, EachFrameLastsUntilTheNextShowAndTheLastUntilTheEnd) {
    const Picture a = tiny(1, 2), b = tiny(3, 2), c = tiny(3, 4);
    frames_.show(a, t0_);
    frames_.show(b, t0_ + 150ms);
    frames_.show(c, t0_ + 400ms);
    frames_.end_run(c, t0_ + 1000ms);  // the final canvas is the last show
    const DecodedGif decoded = finish(t0_ + 2000ms);
    ASSERT_EQ(decoded.frames, 3);
    EXPECT_EQ(decoded.delays_cs, (std::vector<int>{15, 25, 60}));
    EXPECT_EQ(decoded.pixels[0], top_first(a));
    EXPECT_EQ(decoded.pixels[1], top_first(b));
    EXPECT_EQ(decoded.pixels[2], top_first(c));
}

// The one policy of every front end: the animation plays once, and a show
// longer than a GIF delay can hold stays for the longest one.
TEST_F(GifRecordingTest, PlaysOnceWithDelaysClampedToWhatAGifHolds) {
    frames_.show(tiny(1, 2), t0_);
    frames_.show(tiny(3, 2), t0_ + 5ms);
    frames_.show(tiny(3, 4), t0_ + 5ms + 700s);
    const DecodedGif decoded = finish(t0_ + 5ms + 700s + 100ms);
    EXPECT_FALSE(decoded.loops);
    EXPECT_EQ(decoded.delays_cs, (std::vector<int>{2, 65535, 10}));
}

TEST_F(GifRecordingTest, AFlushEndsTheHeldFrameOnceAndTheEndOfTheRecordingToo) {
    frames_.show(tiny(1, 2), t0_);
    frames_.flush(t0_ + 300ms);
    frames_.flush(t0_ + 900ms);
    frames_.show(tiny(3, 2), t0_ + 1000ms);  // held when the recording ends
    const DecodedGif decoded = finish(t0_ + 1500ms);
    ASSERT_EQ(decoded.frames, 2);
    EXPECT_EQ(decoded.delays_cs, (std::vector<int>{30, 50}));
    EXPECT_EQ(decoded.pixels[1], top_first(tiny(3, 2)));
}

TEST_F(GifRecordingTest, TheFinalCanvasIsAFrameWhereItDiffersFromTheLastFrame) {
    const Picture a = tiny(1, 2), b = tiny(3, 2);
    Picture recoloured = b;
    recoloured.palette[4 * 3] ^= 0xFF;
    frames_.end_run(a, t0_);                   // no show: the final canvas alone
    frames_.end_run(a, t0_ + 100ms);           // a later run that changed nothing
    frames_.show(a, t0_ + 200ms);              // a show of what is already there
    frames_.end_run(b, t0_ + 500ms);           // drawn over after the show
    frames_.end_run(recoloured, t0_ + 600ms);  // another palette only
    const DecodedGif decoded = finish(t0_ + 700ms);
    ASSERT_EQ(decoded.frames, 4);
    EXPECT_EQ(decoded.delays_cs, (std::vector<int>{2, 30, 2, 2}));
    EXPECT_EQ(decoded.pixels[0], top_first(a));
    EXPECT_EQ(decoded.pixels[1], top_first(a));
    EXPECT_EQ(decoded.pixels[2], top_first(b));
    EXPECT_EQ(decoded.pixels[3], top_first(b));
}

}  // namespace
}  // namespace korvane
