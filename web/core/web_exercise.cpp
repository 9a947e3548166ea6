// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise functions of korvane_web.h: the page hands over the files of
// an exercise, then checks programs against it with the runner's own code,
// so its words are korvane-run --check's.
#include <emscripten.h>

#include <algorithm>
#include <map>
#include <string>

#include "check_run.h"
#include "exercise.h"
#include "korvane_web.h"
#include "pause_json.h"
#include "picture_diff.h"

using namespace korvane;
using namespace korvane::exercise;

namespace {

ExerciseFiles given;              // the files handed over for the next open
Exercise opened;                  // the last exercise opened
std::map<int, CheckRun> checked;  // the last run of each check, by index
Picture viewed;                   // what korvane_exercise_view last gave

const char* kept(std::string& store, std::string text) {
    store = std::move(text);
    return store.c_str();
}

std::string summary(const Exercise& e) {
    std::string out = "{";
    add_json_field(out, "title", e.title);
    out += ',';
    add_json_field(out, "statement", e.statement);
    out += ',';
    add_json_field(out, "starter", e.starter);
    out += ',';
    add_json_field(out, "file", e.file);
    out += ",\"shown\":[";
    const std::vector<size_t> shown = shown_checks(e, Moment::BEFORE_DUE_DATE);
    for (size_t i = 0; i < shown.size(); ++i) out += (i ? "," : "") + std::to_string(shown[i]);
    out += "],\"checks\":[";
    for (size_t i = 0; i < e.checks.size(); ++i) {
        const Check& c = e.checks[i];
        out += i ? ",{" : "{";
        add_json_field(out, "title", check_title(e, i));
        out += ',';
        add_json_field(out, "input", c.input);
        out += ',';
        add_json_key(out, "seed");
        out += c.seed ? std::to_string(*c.seed) : "null";
        out += '}';
    }
    return out + "]}";
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void korvane_exercise_picture(const char* name, int width, int height, const uint8_t* top_first,
                                                   const uint8_t* rgb, int colours) {
    Picture p;
    p.width = width;
    p.height = height;
    const auto w = static_cast<size_t>(width);
    p.pixels.resize(w * static_cast<size_t>(height));
    // The picture keeps the bottom row first, as the canvas does.
    for (size_t r = 0; r < static_cast<size_t>(height); ++r)
        std::copy_n(top_first + r * w, w, p.pixels.data() + (static_cast<size_t>(height) - 1 - r) * w);
    for (size_t i = 0; i < static_cast<size_t>(colours) && i < 256; ++i) std::copy_n(rgb + 3 * i, 3, &p.palette[4 * i]);
    given.pictures.insert_or_assign(name, std::move(p));
}

EMSCRIPTEN_KEEPALIVE void korvane_exercise_answers(const char* name, const char* text, int length) {
    given.answers.insert_or_assign(name, std::string(text, static_cast<size_t>(length)));
}

EMSCRIPTEN_KEEPALIVE void korvane_exercise_palette(const uint8_t* bytes, int length) {
    given.palette.assign(bytes, bytes + length);
}

EMSCRIPTEN_KEEPALIVE const char* korvane_exercise_open(const char* name, const char* json, int length,
                                                       const char* files) {
    static std::string store;
    std::vector<std::string> names;
    const std::string list(files);
    for (size_t at = 0, end; at < list.size(); at = end + 1) {
        end = std::min(list.find('\n', at), list.size());
        names.push_back(list.substr(at, end - at));
    }
    Exercise e;
    std::string error;
    const bool ok = parse_exercise(std::string_view(json, static_cast<size_t>(length)), names, e, error) &&
                    complete_exercise(e, std::move(given), error);
    given = {};
    if (!ok) {
        std::string out = "{";
        add_json_field(out, "error", error);
        return kept(store, out + "}");
    }
    if (e.title.empty()) e.title = name;
    opened = std::move(e);
    checked.clear();
    return kept(store, summary(opened));
}

EMSCRIPTEN_KEEPALIVE const char* korvane_exercise_forbidden(const char* text, int length) {
    static std::string store;
    const auto use = find_forbidden(opened, std::string(text, static_cast<size_t>(length)));
    return kept(store, use ? forbidden_message(*use) + " in line " + std::to_string(use->line) : "");
}

EMSCRIPTEN_KEEPALIVE const char* korvane_exercise_check(const char* text, int length, int index) {
    static std::string store;
    const CheckRun& run = checked[index] =
        run_check(opened, static_cast<size_t>(index), std::string(text, static_cast<size_t>(length)));
    std::string out = "{";
    add_json_field(out, "status", std::string(status_name(run.status)));
    out += ",\"lines\":[";
    const std::vector<std::string> lines = check_lines(run);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) out += ',';
        add_json_string(out, lines[i]);
    }
    out += "],";
    add_json_field(out, "hint", run.hint);
    out += ',';
    add_json_field(out, "errorLine", run.line);
    out += ',';
    add_json_field(out, "call", static_cast<int64_t>(run.divergence.call));
    out += ',';
    add_json_field(out, "line", run.divergence.line);
    return kept(store, out + "}");
}

EMSCRIPTEN_KEEPALIVE const uint8_t* korvane_exercise_view(int index, int which) {
    const auto run = checked.find(index);
    if (run == checked.end() || run->second.status != Status::DIFFERS) return nullptr;
    const Picture& accepted = accepted_picture(opened, static_cast<size_t>(index), run->second);
    viewed = which == 0 ? run->second.canvas : which == 1 ? accepted : diff_picture(accepted, run->second.canvas);
    return viewed.pixels.data();
}

EMSCRIPTEN_KEEPALIVE const uint8_t* korvane_exercise_view_palette(void) { return viewed.palette.data(); }
}
