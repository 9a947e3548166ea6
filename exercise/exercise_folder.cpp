// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an exercise folder from disk: the part of exercise.h the page,
// which has no files and no libpng, leaves out.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "exercise.h"
#include "ximage3.h"

namespace korvane::exercise {

namespace fs = std::filesystem;

namespace {

bool read_text_file(const std::string& path, std::string& text, size_t limit) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buffer[8192];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() <= limit;) text.append(buffer, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool read_files(const Exercise& e, ExerciseFiles& files, std::string& error) {
    for (const Check& c : e.checks) {
        for (const std::string& name : c.expected) {
            Picture picture;
            if (!files.pictures.contains(name) && !read_indexed_png(e.path(name), picture, error)) return false;
            files.pictures.emplace(name, std::move(picture));
        }
        if (c.input.empty() || files.answers.contains(c.input)) continue;
        std::string text;
        if (!read_text_file(e.path(c.input), text, kMaxTextBytes))
            return error = "Cannot open file " + e.path(c.input), false;
        files.answers.emplace(c.input, std::move(text));
    }
    if (!e.palette.empty()) {
        TXImage3 canvas;
        if (!canvas.LoadPalette(e.path(e.palette), error)) return false;
        files.palette.assign(canvas.PaletteData.begin(), canvas.PaletteData.end());
    }
    return true;
}

}  // namespace

bool load_exercise(const std::string& dir, Exercise& exercise, std::string& error) {
    std::error_code failure;
    if (!fs::is_directory(dir, failure)) return error = dir + " is not an exercise folder", false;
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir, failure))
        if (entry.is_regular_file(failure)) files.push_back(entry.path().filename().string());
    if (failure) return error = "Cannot read folder " + dir, false;
    Exercise e;
    e.folder = dir;
    std::string json;
    const std::string settings = e.path("exercise.json");
    if (std::find(files.begin(), files.end(), "exercise.json") != files.end()) {
        if (!read_text_file(settings, json, kMaxTextBytes)) return error = "Cannot open file " + settings, false;
        if (json.size() > kMaxTextBytes) return error = settings + " is over 1 MB", false;
    }
    if (!parse_exercise(json, files, e, error)) {
        error = (json.empty() ? dir : settings) + ": " + error;
        return false;
    }
    if (e.title.empty()) {
        const fs::path folder = fs::absolute(dir).lexically_normal();
        e.title = (folder.has_filename() ? folder : folder.parent_path()).filename().string();
    }
    ExerciseFiles contents;
    if (!read_files(e, contents, error) || !complete_exercise(e, std::move(contents), error)) return false;
    exercise = std::move(e);
    return true;
}

}  // namespace korvane::exercise
