// SPDX-License-Identifier: GPL-3.0-or-later
// The GIF recorder: giflib writes through an output callback into the
// atomic file's stream, so frames go to disk as they come instead of piling
// up in memory.
#include "gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "atomic_file.h"

namespace korvane {

namespace {

int write_to_stream(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* stream = static_cast<FILE*>(gif->UserData);
    return static_cast<int>(std::fwrite(bytes, 1, static_cast<size_t>(length), stream));
}

struct ColourMap {
    ColorMapObject* map;
    explicit ColourMap(const std::array<uint8_t, 1024>& palette) : map(GifMakeMapObject(256, nullptr)) {
        for (int i = 0; map && i < 256; ++i)
            map->Colors[i] = {palette[4 * size_t(i)], palette[4 * size_t(i) + 1], palette[4 * size_t(i) + 2]};
    }
    ~ColourMap() { GifFreeMapObject(map); }
    ColourMap(const ColourMap&) = delete;
    ColourMap& operator=(const ColourMap&) = delete;
};

// Only the red, green and blue bytes count; the flags byte does not reach the file.
bool same_colours(const std::array<uint8_t, 1024>& a, const std::array<uint8_t, 1024>& b) {
    for (size_t i = 0; i < 1024; ++i)
        if (i % 4 != 3 && a[i] != b[i]) return false;
    return true;
}

uint16_t centiseconds(int32_t delay_ms) {
    const int32_t ms = std::clamp<int32_t>(delay_ms, GifRecorder::kMinDelayMs, 655350);
    return static_cast<uint16_t>((ms + 5) / 10);
}

}  // namespace

struct GifRecorder::Encoder {
    std::string path;
    std::string error;  // first failure; empty while all is well
    AtomicFile file;
    GifFileType* gif = nullptr;
    int32_t width = 0, height = 0;
    std::array<uint8_t, 1024> first_palette{};

    Encoder(const std::string& p) : path(p), file(p, error) {
        if (!file.stream()) return;
        int code = 0;
        gif = EGifOpen(file.stream(), write_to_stream, &code);
        if (!gif) error = "GIF error: " + std::string(GifErrorString(code));
    }
    ~Encoder() {
        if (gif) EGifCloseFile(gif, nullptr);
    }

    bool fail(const std::string& what) {
        if (error.empty()) error = what;
        return false;
    }
    bool gif_failed() { return fail("GIF error: " + std::string(GifErrorString(gif->Error)) + " in " + path); }

    bool start(const Picture& picture) {
        width = picture.width;
        height = picture.height;
        first_palette = picture.palette;
        const ColourMap global(picture.palette);
        EGifSetGifVersion(gif, true);
        return EGifPutScreenDesc(gif, width, height, 8, 0, global.map) == GIF_OK || gif_failed();
    }

    bool frame(const Picture& picture, int32_t delay_ms) {
        if (picture.width != width || picture.height != height)
            return fail("GIF frames must all be " + std::to_string(width) + " x " + std::to_string(height));
        const uint16_t delay = centiseconds(delay_ms);
        // Graphic control: keep the frame in place, delay, no transparency.
        const GifByteType control[4] = {0x04, GifByteType(delay & 0xFF), GifByteType(delay >> 8), 0};
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control) != GIF_OK) return gif_failed();
        const ColourMap local(picture.palette);
        const bool own_palette = !same_colours(picture.palette, first_palette);
        if (EGifPutImageDesc(gif, 0, 0, width, height, false, own_palette ? local.map : nullptr) != GIF_OK)
            return gif_failed();
        // GIF stores the top row first; the picture keeps the bottom row first.
        std::vector<GifPixelType> line(static_cast<size_t>(width));
        for (int32_t y = height - 1; y >= 0; --y) {
            const uint8_t* row = picture.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
            std::copy_n(row, line.size(), line.begin());
            if (EGifPutLine(gif, line.data(), width) != GIF_OK) return gif_failed();
        }
        return true;
    }

    bool close() {
        int code = 0;
        const int result = EGifCloseFile(gif, &code);
        gif = nullptr;
        if (result != GIF_OK) return fail("GIF error: " + std::string(GifErrorString(code)) + " in " + path);
        return true;
    }
};

GifRecorder::GifRecorder() = default;
GifRecorder::~GifRecorder() = default;

bool GifRecorder::open(const std::string& path, std::string& error) {
    frames_ = 0;
    encoder_ = std::make_unique<Encoder>(path);
    if (encoder_->gif) return true;
    error = encoder_->error;
    encoder_.reset();
    return false;
}

bool GifRecorder::is_open() const { return encoder_ != nullptr; }

bool GifRecorder::add_frame(const Picture& picture, int32_t delay_ms) {
    if (!encoder_ || !encoder_->error.empty()) return false;
    if (frames_ == 0 && !encoder_->start(picture)) return false;
    if (!encoder_->frame(picture, delay_ms)) return false;
    ++frames_;
    return true;
}

bool GifRecorder::finish(std::string& error) {
    if (!encoder_) {
        error = "No GIF recording was open";
        return false;
    }
    const std::unique_ptr<Encoder> encoder = std::move(encoder_);
    if (frames_ == 0)
        encoder->fail("Nothing was recorded: no picture was shown while recording, so " + encoder->path +
                      " was not written");
    if (!encoder->error.empty() || !encoder->close()) {
        error = encoder->error;
        return false;
    }
    return encoder->file.commit(error);
}

}  // namespace korvane
