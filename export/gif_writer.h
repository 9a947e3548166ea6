// SPDX-License-Identifier: GPL-3.0-or-later
// Animated GIF of a sequence of canvas pictures, written with giflib. Each
// frame keeps the palette indices as they are and carries the picture's
// palette (globally, or locally where a frame's palette differs from the
// first), so the animation is lossless. The file is written to a temporary
// file beside the target and renamed over it by finish(), as every writer
// here does; a recorder destroyed without finish() leaves no file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "picture.h"

namespace korvane {

class GifRecorder {
public:
    GifRecorder();
    ~GifRecorder();
    GifRecorder(const GifRecorder&) = delete;
    GifRecorder& operator=(const GifRecorder&) = delete;

    // Starts a recording into path; false with "Cannot create file PATH".
    bool open(const std::string& path, std::string& error);
    bool is_open() const;
    // Appends a frame shown for delay_ms (rounded to centiseconds, at least
    // 20 ms, at most 655 s). Every frame must have the first one's size.
    // False once something failed; finish() reports what.
    bool add_frame(const Picture& picture, int32_t delay_ms);
    int frames() const { return frames_; }
    // Ends the file and moves it into place. A recording without frames,
    // or one where a frame failed, is not kept and gives false with a reason.
    bool finish(std::string& error);

    // GIF delays are centiseconds; browsers stretch shorter ones.
    static constexpr int32_t kMinDelayMs = 20;

private:
    struct Encoder;
    std::unique_ptr<Encoder> encoder_;
    int frames_ = 0;
};

}  // namespace korvane
