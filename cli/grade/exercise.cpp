// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "draw_call.h"
#include "ximage3.h"

namespace korvane::grade {

namespace fs = std::filesystem;

namespace {

bool read_accepted(const std::string& dir, std::vector<AcceptedPicture>& accepted, std::string& error) {
    std::vector<std::string> paths;
    std::error_code failure;
    for (const auto& entry : fs::directory_iterator(dir, failure)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("expected") && name.ends_with(".png")) paths.push_back(entry.path().string());
    }
    if (failure) {
        error = "Cannot read folder " + dir;
        return false;
    }
    if (paths.empty()) {
        error = dir + " has no accepted picture (expected*.png)";
        return false;
    }
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths) {
        AcceptedPicture a{path, {}};
        if (!read_indexed_png(path, a.picture, error)) return false;
        if (a.picture.width != kCanvasSize || a.picture.height != kCanvasSize) {
            error = path + " is " + std::to_string(a.picture.width) + " x " + std::to_string(a.picture.height) +
                    ", not 400 x 400 like the canvas";
            return false;
        }
        accepted.push_back(std::move(a));
    }
    return true;
}

// A whole number from lowest to highest; false when the value is not one.
bool whole(const QJsonValue& value, double lowest, double highest, double& out) {
    out = value.toDouble(-1);
    return value.isDouble() && out == std::floor(out) && out >= lowest && out <= highest;
}

// One key of exercise.json into the exercise; false names what is wrong.
bool read_key(const QString& key, const QJsonValue& value, Exercise& e, std::string& what) {
    double n = 0;
    if (key == "title") {
        if (!value.isString()) return what = "title must be a string", false;
        e.title = value.toString().toStdString();
    } else if (key == "seed") {
        if (!whole(value, 0, 4294967295.0, n)) return what = "seed must be a whole number 0..4294967295", false;
        e.seed = static_cast<uint32_t>(n);
    } else if (key == "timeout") {
        n = value.toDouble(0);
        if (!value.isDouble() || !(n > 0) || n > 86400) return what = "timeout must be seconds above 0", false;
        e.timeout = n;
    } else if (key == "max_steps") {
        if (!whole(value, 1, 9e15, n)) return what = "max_steps must be a whole number above 0", false;
        e.max_steps = static_cast<uint64_t>(n);
    } else if (key == "tolerance") {
        if (!whole(value, 0, 160000, n)) return what = "tolerance must be a whole number 0..160000", false;
        e.tolerance = static_cast<int64_t>(n);
    } else {
        // A misspelt key would silently grade with a default.
        return what = "unknown key \"" + key.toStdString() + "\"", false;
    }
    return true;
}

bool read_settings(const std::string& path, Exercise& e, std::string& error) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return error = "Cannot open file " + path, false;
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        error =
            path + ": invalid JSON at byte " + std::to_string(parse.offset) + ": " + parse.errorString().toStdString();
        return false;
    }
    if (!doc.isObject()) return error = path + ": invalid JSON: not an object", false;
    const QJsonObject settings = doc.object();
    for (auto it = settings.begin(); it != settings.end(); ++it) {
        std::string what;
        if (!read_key(it.key(), it.value(), e, what)) return error = path + ": " + what, false;
    }
    return true;
}

}  // namespace

bool load_exercise(const std::string& dir, Exercise& exercise, std::string& error) {
    if (!fs::is_directory(dir)) return error = dir + " is not an exercise folder", false;
    Exercise e;
    const fs::path folder = fs::absolute(dir).lexically_normal();
    e.title = (folder.has_filename() ? folder : folder.parent_path()).filename().string();
    if (const std::string json = (fs::path(dir) / "exercise.json").string(); fs::exists(json)) {
        if (!read_settings(json, e, error)) return false;
    }
    if (!read_accepted(dir, e.accepted, error)) return false;
    if (const std::string input = (fs::path(dir) / "input.txt").string(); fs::exists(input)) {
        if (!QFile(QString::fromStdString(input)).open(QIODevice::ReadOnly))
            return error = "Cannot open file " + input, false;
        e.input = input;
    }
    if (const std::string palette = (fs::path(dir) / "palette.pal").string(); fs::exists(palette)) {
        TXImage3 canvas;
        if (!canvas.LoadPalette(palette, error)) return false;
        e.palette = palette;
    }
    exercise = std::move(e);
    return true;
}

}  // namespace korvane::grade
