// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

#include "language.h"

namespace korvane::exercise {

namespace fs = std::filesystem;

namespace {

constexpr int32_t kCanvasSide = 400;
constexpr size_t kPaletteBytes = 1024;

// The folder's files, for the readers below while one text is read, and
// what a reader found wrong beyond the kind of value.
thread_local const std::vector<std::string>* folder_files = nullptr;
thread_local std::string problem;

bool whole(const Json& v, double lowest, double highest) {
    return v.kind == Json::NUMBER && v.number == std::floor(v.number) && v.number >= lowest && v.number <= highest;
}

// A file of the folder by its plain name: nothing outside it is read.
const char* file_name(const Json& v, std::string& out) {
    if (v.kind != Json::STRING || v.text.empty()) return "a file name";
    if (v.text == "." || v.text == ".." || v.text.find_first_of("/\\") != std::string::npos)
        return "the name of a file in the exercise folder";
    if (folder_files && std::find(folder_files->begin(), folder_files->end(), v.text) == folder_files->end()) {
        problem = "no file \"" + v.text + "\" in the exercise folder";
        return "";
    }
    out = v.text;
    return nullptr;
}

template <std::string Exercise::*field>
const char* exercise_file(const Json& v, Exercise& e, Check&) {
    return file_name(v, e.*field);
}

const char* title(const Json& v, Exercise& e, Check&) {
    if (v.kind != Json::STRING) return "a string";
    e.title = v.text;
    return nullptr;
}

const char* submission_file(const Json& v, Exercise& e, Check&) {
    if (v.kind != Json::STRING || v.text.empty() || v.text.find_first_of("/\\") != std::string::npos)
        return "a file name without a folder";
    e.file = v.text;
    return nullptr;
}

const char* forbid(const Json& v, Exercise& e, Check&) {
    constexpr const char* kWhat = "a list of built-in names";
    if (v.kind != Json::ARRAY) return kWhat;
    e.forbid.clear();
    for (const Json& item : v.items) {
        if (item.kind != Json::STRING) return kWhat;
        std::string name = item.text;
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (find_builtin(name) < 0) {
            problem = "\"" + item.text + "\" is not a built-in";
            return "";
        }
        e.forbid.push_back(std::move(name));
    }
    return nullptr;
}

const char* checks(const Json& v, Exercise&, Check&) {
    // Read after every other key, so the defaults are known whatever the order.
    return v.kind == Json::ARRAY && !v.items.empty() ? nullptr : "a list of check objects, at least one";
}

const char* hidden_checks(const Json& v, Exercise& e, Check&) {
    if (!whole(v, 0, 1000)) return "a whole number 0..1000";
    e.hidden_checks = static_cast<int>(v.number);
    return nullptr;
}

const char* name(const Json& v, Exercise&, Check& c) {
    if (v.kind != Json::STRING || v.text.empty()) return "a name that is not empty";
    c.name = v.text;
    return nullptr;
}

const char* input(const Json& v, Exercise&, Check& c) { return file_name(v, c.input); }

const char* seed(const Json& v, Exercise&, Check& c) {
    if (!whole(v, 0, 4294967295.0)) return "a whole number 0..4294967295";
    c.seed = static_cast<uint32_t>(v.number);
    return nullptr;
}

const char* expected(const Json& v, Exercise&, Check& c) {
    constexpr const char* kWhat = "a picture's file name or a list of them";
    std::vector<std::string> names;
    const std::vector<Json> one{v};
    const std::vector<Json>& items = v.kind == Json::ARRAY ? v.items : one;
    if (items.empty()) return kWhat;
    for (const Json& item : items) {
        std::string n;
        if (item.kind != Json::STRING) return kWhat;
        if (const char* what = file_name(item, n)) return what;
        names.push_back(std::move(n));
    }
    c.expected = std::move(names);
    return nullptr;
}

const char* tolerance(const Json& v, Exercise&, Check& c) {
    if (!whole(v, 0, 160000)) return "a whole number 0..160000";
    c.tolerance = static_cast<int64_t>(v.number);
    return nullptr;
}

const char* points(const Json& v, Exercise&, Check& c) {
    if (v.kind != Json::NUMBER || !(v.number >= 0) || v.number > 1e6) return "a number 0..1000000";
    c.points = v.number;
    return nullptr;
}

const char* visibility(const Json& v, Exercise&, Check& c) {
    for (const Visibility option :
         {Visibility::VISIBLE, Visibility::HIDDEN, Visibility::AFTER_DUE_DATE, Visibility::AFTER_PUBLISHED}) {
        if (v.kind == Json::STRING && v.text == visibility_name(option)) {
            c.visibility = option;
            return nullptr;
        }
    }
    return "\"visible\", \"hidden\", \"after_due_date\" or \"after_published\"";
}

const char* max_steps(const Json& v, Exercise&, Check& c) {
    if (!whole(v, 1, 9e15)) return "a whole number above 0";
    c.max_steps = static_cast<uint64_t>(v.number);
    return nullptr;
}

const char* timeout(const Json& v, Exercise&, Check& c) {
    if (v.kind != Json::NUMBER || !(v.number > 0) || v.number > 86400) return "seconds above 0";
    c.timeout = v.number;
    return nullptr;
}

const ExerciseKey kKeys[] = {
    {"title", true, false, "the exercise's name (default: the folder's)", title},
    {"statement", true, false, "the text or Markdown file students read", exercise_file<&Exercise::statement>},
    {"starter", true, false, "the .cg file students start from", exercise_file<&Exercise::starter>},
    {"model", true, false, "the model solution, kept from the students' edition", exercise_file<&Exercise::model>},
    {"file", true, false, "the submission's file name when its folder holds several .cg files", submission_file},
    {"forbid", true, false, "built-ins a submission must not call, any case", forbid},
    {"checks", true, false, "the checks, each an object of the keys below", checks},
    {"hidden_checks", true, false, "checks left out of a students' edition, still counted in \"check N of M\"",
     hidden_checks},
    {"name", false, true, "the check's name (default: \"check N\")", name},
    {"input", true, true, "the answers file for getnum and getche (default: input.txt if present)", input},
    {"seed", true, true, "the random generator's state before the run", seed},
    {"expected", true, true, "the accepted picture, or a list of alternatives (default: every expected*.png)",
     expected},
    {"tolerance", true, true, "differing pixels a pass may still have (default 0)", tolerance},
    {"points", false, true, "what the check is worth (default 1)", points},
    {"visibility", false, true, "visible (default), hidden, after_due_date or after_published", visibility},
    {"max_steps", true, true, "the steps a run may take (default 100000000)", max_steps},
    {"timeout", true, true, "seconds of wall time, a safety net behind max_steps (default 60)", timeout},
};

const ExerciseKey* key_named(const std::string& name) {
    for (const ExerciseKey& k : kKeys)
        if (name == k.name) return &k;
    return nullptr;
}

// Reads the members of one object; `in_check` tells which keys it may hold.
bool read_members(const Json& object, bool in_check, Exercise& e, Check& c, std::string& error) {
    for (const auto& [key, value] : object.members) {
        const ExerciseKey* k = key_named(key);
        if (!k || !(in_check ? k->in_check : k->top)) {
            // A misspelt key would silently grade with a default.
            error = "unknown key \"" + key + "\"";
            return false;
        }
        problem.clear();
        if (const char* what = k->read(value, e, c)) {
            error = "\"" + key + "\": " + (problem.empty() ? "must be " + std::string(what) : problem);
            return false;
        }
    }
    return true;
}

// A check's defaults that depend on the folder's files.
void fill_defaults(const std::vector<std::string>& files, Check& c) {
    if (c.expected.empty()) {
        for (const std::string& f : files)
            if (f.starts_with("expected") && f.ends_with(".png")) c.expected.push_back(f);
        std::sort(c.expected.begin(), c.expected.end());
    }
    if (c.input.empty() && std::find(files.begin(), files.end(), "input.txt") != files.end()) c.input = "input.txt";
}

bool read_checks(const Json& root, const std::vector<std::string>& files, const Check& defaults, Exercise& e,
                 std::string& error) {
    const Json* list = root.find("checks");
    Json empty;
    empty.kind = Json::OBJECT;
    const std::vector<Json> one{empty};
    const std::vector<Json>& items = list ? list->items : one;
    std::set<std::string> names;
    for (size_t i = 0; i < items.size(); ++i) {
        const std::string where = "check " + std::to_string(i + 1) + ": ";
        if (items[i].kind != Json::OBJECT) return error = where + "not an object", false;
        Check c = defaults;
        if (!read_members(items[i], true, e, c, error)) return error = where + error, false;
        if (c.name.empty()) c.name = "check " + std::to_string(i + 1);
        if (!names.insert(c.name).second) return error = where + "the name \"" + c.name + "\" is taken", false;
        fill_defaults(files, c);
        if (c.expected.empty()) return error = "no accepted picture (expected*.png)", false;
        e.checks.push_back(std::move(c));
    }
    return true;
}

}  // namespace

std::string_view visibility_name(Visibility visibility) {
    switch (visibility) {
        case Visibility::VISIBLE: return "visible";
        case Visibility::HIDDEN: return "hidden";
        case Visibility::AFTER_DUE_DATE: return "after_due_date";
        case Visibility::AFTER_PUBLISHED: return "after_published";
    }
    return "visible";
}

std::string Exercise::path(const std::string& name) const { return (fs::path(folder) / name).string(); }

std::span<const ExerciseKey> exercise_keys() { return kKeys; }

bool parse_exercise(std::string_view json, const std::vector<std::string>& files, Exercise& exercise,
                    std::string& error) {
    Json root;
    root.kind = Json::OBJECT;
    if (!json.empty() && !parse_json(json, root, error)) return false;
    if (root.kind != Json::OBJECT) return error = "invalid JSON: not an object", false;
    Exercise e;
    Check defaults;
    folder_files = &files;
    const bool ok = read_members(root, false, e, defaults, error) && read_checks(root, files, defaults, e, error);
    folder_files = nullptr;
    if (!ok) return false;
    const std::string folder = std::move(exercise.folder);
    exercise = std::move(e);
    exercise.folder = folder;
    if (std::find(files.begin(), files.end(), "palette.pal") != files.end()) exercise.palette = "palette.pal";
    return true;
}

bool complete_exercise(Exercise& e, ExerciseFiles files, std::string& error) {
    for (const Check& c : e.checks) {
        for (const std::string& name : c.expected) {
            const auto found = files.pictures.find(name);
            if (found == files.pictures.end()) return error = "Cannot open file " + e.path(name), false;
            const Picture& picture = found->second;
            if (picture.width != kCanvasSide || picture.height != kCanvasSide) {
                error = e.path(name) + " is " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                        ", not 400 x 400 like the canvas";
                return false;
            }
        }
        if (c.input.empty()) continue;
        const auto answers = files.answers.find(c.input);
        if (answers == files.answers.end()) return error = "Cannot open file " + e.path(c.input), false;
        if (answers->second.size() > kMaxTextBytes) return error = e.path(c.input) + " is over 1 MB", false;
    }
    if (!e.palette.empty()) {
        // As the canvas reads a palette file: its first 1024 bytes.
        if (files.palette.size() < kPaletteBytes) {
            error = "palette file '" + e.path(e.palette) + "' must hold 1024 bytes (it has " +
                    std::to_string(files.palette.size()) + ")";
            return false;
        }
        e.palette_data.assign(files.palette.begin(), files.palette.begin() + kPaletteBytes);
    }
    e.pictures = std::move(files.pictures);
    e.answers = std::move(files.answers);
    return true;
}

std::optional<ForbiddenUse> find_forbidden(const Exercise& exercise, const std::string& program) {
    if (exercise.forbid.empty()) return std::nullopt;
    for (const BuiltinUse& use : builtin_uses(program)) {
        const std::string name = builtin_table()[static_cast<size_t>(use.builtin)].name;
        if (std::find(exercise.forbid.begin(), exercise.forbid.end(), name) != exercise.forbid.end())
            return ForbiddenUse{name, use.place.line};
    }
    return std::nullopt;
}

std::string forbidden_message(const ForbiddenUse& use) { return "forbidden built-in " + use.builtin; }

}  // namespace korvane::exercise
