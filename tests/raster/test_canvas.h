// SPDX-License-Identifier: GPL-3.0-or-later
// A small canvas for the raster tests: its own bytes with guard bytes on
// both sides, a row table over them, and ASCII-art views of its pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "raster.h"

namespace korvane::test {

class TestCanvas {
public:
    static constexpr int kGuard = 64;
    static constexpr uint8_t kGuardByte = 0xA5;

    TestCanvas(int w, int h, uint8_t fill = 0)
        : w_(w), h_(h), mem_(static_cast<size_t>(w * h + 2 * kGuard), kGuardByte), ptrs_(static_cast<size_t>(h)) {
        point_rows();
        std::fill(pixels_begin(), pixels_begin() + w * h, fill);
    }
    // A copy has rows of its own: the row table must not point into the original.
    TestCanvas(const TestCanvas& other) : w_(other.w_), h_(other.h_), mem_(other.mem_), ptrs_(other.ptrs_.size()) {
        point_rows();
    }
    TestCanvas& operator=(const TestCanvas&) = delete;

    RowTable rows() const { return {ptrs_.data(), w_, h_}; }
    ClipWindow full() const { return {0, w_ - 1, 0, h_ - 1}; }
    int width() const { return w_; }
    int height() const { return h_; }

    uint8_t at(int x, int y) const { return ptrs_[static_cast<size_t>(y)][x]; }
    void set(int x, int y, uint8_t c) { ptrs_[static_cast<size_t>(y)][x] = c; }
    std::vector<uint8_t> pixels() const { return {pixels_begin(), pixels_begin() + w_ * h_}; }
    void fill(uint8_t c) { std::fill(pixels_begin(), pixels_begin() + w_ * h_, c); }

    int count(uint8_t c) const {
        int n = 0;
        for (uint8_t p : pixels()) n += p == c;
        return n;
    }

    bool guards_intact() const {
        for (int i = 0; i < kGuard; ++i)
            if (mem_[static_cast<size_t>(i)] != kGuardByte ||
                mem_[mem_.size() - 1 - static_cast<size_t>(i)] != kGuardByte)
                return false;
        return true;
    }

    // Rows y1 down to y0 (top first), one character per pixel: '.' for 0,
    // digits for 1..9, letters from 'a' for 10 on.
    std::string art(int x0, int y0, int x1, int y1) const {
        std::string s;
        for (int y = y1; y >= y0; --y) {
            for (int x = x0; x <= x1; ++x) s += glyph(at(x, y));
            s += '\n';
        }
        return s;
    }
    std::string art() const { return art(0, 0, w_ - 1, h_ - 1); }

    // Paints a picture given top row first in the glyphs of art(), from (x0, y0) as its bottom-left.
    void paint(int x0, int y0, std::initializer_list<const char*> lines) {
        int y = y0 + static_cast<int>(lines.size()) - 1;
        for (const char* line : lines) {
            for (int x = x0; *line; ++line, ++x) set(x, y, value(*line));
            --y;
        }
    }

    static char glyph(uint8_t v) { return v == 0 ? '.' : v < 10 ? char('0' + v) : v < 36 ? char('a' + v - 10) : '#'; }
    static uint8_t value(char g) {
        return g == '.'               ? 0
               : g >= '0' && g <= '9' ? uint8_t(g - '0')
               : g >= 'a' && g <= 'z' ? uint8_t(g - 'a' + 10)
                                      : 255;
    }

private:
    void point_rows() {
        for (int y = 0; y < h_; ++y) ptrs_[static_cast<size_t>(y)] = mem_.data() + kGuard + y * w_;
    }
    uint8_t* pixels_begin() { return mem_.data() + kGuard; }
    const uint8_t* pixels_begin() const { return mem_.data() + kGuard; }

    int w_, h_;
    std::vector<uint8_t> mem_;
    std::vector<uint8_t*> ptrs_;
};

// Joins picture lines the way TestCanvas::art prints them.
inline std::string picture(std::initializer_list<const char*> lines) {
    std::string s;
    for (const char* l : lines) (s += l) += '\n';
    return s;
}

}  // namespace korvane::test
