// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_store.h"

#include <cstdio>
#include <filesystem>

#include "picture_diff.h"
#include "thumbnail.h"

namespace korvane::grade {

namespace {

uint64_t fnv1a(const uint8_t* data, size_t size, uint64_t hash = 14695981039346656037ull) {
    for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ull;
    return hash;
}

uint64_t hash_of(const Picture& p) {
    return fnv1a(p.palette.data(), p.palette.size(), fnv1a(p.pixels.data(), p.pixels.size()));
}

bool same(const Picture& a, const Picture& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels && a.palette == b.palette;
}

}  // namespace

std::string CanvasStore::content_key(const Picture& canvas) {
    // Two hashes of different seeds: a chance collision of both is out of reach.
    char text[40];
    std::snprintf(
        text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(hash_of(canvas)),
        static_cast<unsigned long long>(fnv1a(canvas.pixels.data(), canvas.pixels.size(), 0x9e3779b97f4a7c15ull)));
    return text;
}

std::string CanvasStore::keep(const Picture& canvas, const std::string& png, std::string& error) {
    const uint64_t hash = hash_of(canvas);
    const auto [first, last] = kept_.equal_range(hash);
    for (auto it = first; it != last; ++it) {
        if (!same(it->second.first, canvas)) continue;
        std::remove(png.c_str());
        return it->second.second;
    }
    const std::string name = "pictures/canvas-" + prefix_ + std::to_string(kept_.size() + 1) + ".png";
    if (std::rename(png.c_str(), folder_.path(name).c_str()) != 0) {
        error = "Cannot rename " + png + " to " + folder_.path(name);
        return {};
    }
    if (!write_thumbnail(canvas, folder_.path(name), error)) return {};
    kept_.emplace(hash, std::make_pair(canvas, name));
    return name;
}

std::string CanvasStore::difference(const std::string& kept, const Picture& canvas, const Picture& accepted,
                                    const std::string& accepted_name, std::string& error) {
    const std::string name =
        kept.substr(0, kept.size() - 4) + "-diff-" + std::filesystem::path(accepted_name).filename().string();
    if (differences_.contains(name)) return name;
    const Picture diff = diff_picture(accepted, canvas);
    if (!write_png(folder_.path(name), diff, error) || !write_thumbnail(diff, folder_.path(name), error)) return {};
    differences_.insert(name);
    return name;
}

}  // namespace korvane::grade
