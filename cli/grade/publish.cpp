// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "exercise.h"
#include "json.h"
#include "verdict.h"

namespace korvane::grade {

namespace {

namespace fs = std::filesystem;
using exercise::Json;

const char* const kPublishUsage = "usage: korvane-grade --publish EXERCISE OUT";

void write_json(const Json& v, const std::string& indent, std::string& out) {
    const std::string inner = indent + "  ";
    switch (v.kind) {
        case Json::NUL: out += "null"; break;
        case Json::BOOLEAN: out += v.boolean ? "true" : "false"; break;
        case Json::NUMBER: {
            char number[32];
            std::snprintf(number, sizeof number, "%.17g", v.number);
            out += number;
            break;
        }
        case Json::STRING: out += exercise::json_quote(v.text); break;
        case Json::ARRAY:
            out += "[";
            for (size_t i = 0; i < v.items.size(); ++i) {
                out += (i ? ",\n" : "\n") + inner;
                write_json(v.items[i], inner, out);
            }
            out += v.items.empty() ? "]" : "\n" + indent + "]";
            break;
        case Json::OBJECT:
            out += "{";
            for (size_t i = 0; i < v.members.size(); ++i) {
                out += (i ? ",\n" : "\n") + inner + exercise::json_quote(v.members[i].first) + ": ";
                write_json(v.members[i].second, inner, out);
            }
            out += v.members.empty() ? "}" : "\n" + indent + "}";
            break;
    }
}

// The files a check reads.
void add_files(const exercise::Check& check, std::set<std::string>& files) {
    if (!check.input.empty()) files.insert(check.input);
    files.insert(check.expected.begin(), check.expected.end());
}

// exercise.json as students get it: no model, only the visible checks, and
// the count of those left out, so "check N of M" still counts them.
std::string edition_settings(Json root, const exercise::Exercise& e, const std::vector<size_t>& shown) {
    std::erase_if(root.members, [](const auto& m) { return m.first == "model" || m.first == "hidden_checks"; });
    for (auto& [key, value] : root.members) {
        if (key != "checks") continue;
        std::vector<Json> kept;
        for (const size_t i : shown) kept.push_back(value.items[i]);
        value.items = std::move(kept);
    }
    if (const size_t left_out = e.checks.size() + static_cast<size_t>(e.hidden_checks) - shown.size()) {
        Json count;
        count.kind = Json::NUMBER;
        count.number = static_cast<double>(left_out);
        root.members.emplace_back("hidden_checks", std::move(count));
    }
    std::string text;
    write_json(root, "", text);
    return text + '\n';
}

// Empty text when the folder has no exercise.json.
bool read_settings(const exercise::Exercise& e, Json& root, std::string& error) {
    std::ifstream in(e.path("exercise.json"), std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    return text.empty() || exercise::parse_json(text, root, error);
}

// Copies every file of the exercise but those left out into the new folder
// dir, and writes the settings (none when empty).
bool write_edition(const exercise::Exercise& e, const std::set<std::string>& left_out, const std::string& settings,
                   const fs::path& dir, std::string& error) {
    std::error_code failure;
    for (const auto& entry : fs::directory_iterator(e.folder, failure)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(failure) || left_out.count(name) || name == "exercise.json") continue;
        if (!fs::copy_file(entry.path(), dir / name, failure)) return error = "Cannot write file " + name, false;
    }
    if (failure) return error = "Cannot read folder " + e.folder, false;
    if (settings.empty()) return true;
    std::ofstream json(dir / "exercise.json", std::ios::binary);
    json << settings;
    if (!json.flush()) return error = "Cannot write file " + (dir / "exercise.json").string(), false;
    return true;
}

}  // namespace

int publish_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        err << kPublishUsage << '\n';
        return 1;
    }
    const std::string &from = args[0], &to = args[1];
    exercise::Exercise e;
    Json root;
    std::string error;
    if (!exercise::load_exercise(from, e, error) || !read_settings(e, root, error)) {
        err << error << '\n';
        return 1;
    }
    const std::vector<size_t> shown = exercise::shown_checks(e, exercise::Moment::BEFORE_DUE_DATE);
    if (shown.empty()) {
        err << from << " has no visible check: students would have nothing to check\n";
        return 1;
    }
    // A file a visible check reads stays, even if a hidden one reads it too.
    std::set<std::string> kept, left_out;
    for (const size_t i : shown) add_files(e.checks[i], kept);
    for (const exercise::Check& check : e.checks) add_files(check, left_out);
    std::erase_if(left_out, [&](const std::string& name) { return kept.count(name) > 0; });
    if (!e.model.empty()) left_out.insert(e.model);
    std::error_code failure;
    const fs::path partial = to + ".partial";
    if (fs::exists(to, failure) || fs::exists(partial, failure)) {
        err << to << " exists: the students' edition goes to a new folder\n";
        return 1;
    }
    if (!fs::create_directory(partial, failure)) {
        err << "Cannot create folder " << partial.string() << '\n';
        return 2;
    }
    const std::string settings = root.kind == Json::OBJECT ? edition_settings(root, e, shown) : "";
    if (!write_edition(e, left_out, settings, partial, error) || (fs::rename(partial, to, failure), failure)) {
        fs::remove_all(partial, failure);
        err << (error.empty() ? "Cannot write folder " + to : error) << '\n';
        return 2;
    }
    out << "the students' edition of \"" << e.title << "\" is in " << to << ": "
        << exercise::count_of(static_cast<int64_t>(shown.size()), "check") << " of " << e.checks.size()
        << (e.model.empty() ? "" : ", without the model") << '\n';
    return 0;
}

}  // namespace korvane::grade
