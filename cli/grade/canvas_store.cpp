// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_store.h"

#include <cstdio>

#include "picture_diff.h"

namespace korvane::grade {

namespace {

uint64_t fnv1a(const uint8_t* data, size_t size, uint64_t hash = 14695981039346656037ull) {
    for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ull;
    return hash;
}

bool same(const Picture& a, const Picture& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels && a.palette == b.palette;
}

}  // namespace

std::string CanvasStore::keep(const Picture& canvas, const std::string& png, std::string& error) {
    const uint64_t hash =
        fnv1a(canvas.palette.data(), canvas.palette.size(), fnv1a(canvas.pixels.data(), canvas.pixels.size()));
    const auto [first, last] = kept_.equal_range(hash);
    for (auto it = first; it != last; ++it) {
        if (!same(it->second.first, canvas)) continue;
        std::remove(png.c_str());
        return it->second.second;
    }
    const std::string name = "pictures/canvas-" + std::to_string(kept_.size() + 1) + ".png";
    if (std::rename(png.c_str(), folder_.path(name).c_str()) != 0) {
        error = "Cannot rename " + png + " to " + folder_.path(name);
        return {};
    }
    kept_.emplace(hash, std::make_pair(canvas, name));
    return name;
}

std::string CanvasStore::difference(const std::string& kept, const Picture& canvas, const Exercise& exercise, size_t k,
                                    std::string& error) {
    const std::string name = kept.substr(0, kept.size() - 4) + "-diff-" + std::to_string(k + 1) + ".png";
    if (differences_.contains(name)) return name;
    if (!write_png(folder_.path(name), diff_picture(exercise.accepted[k].picture, canvas), error)) return {};
    differences_.insert(name);
    return name;
}

}  // namespace korvane::grade
