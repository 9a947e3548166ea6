// SPDX-License-Identifier: GPL-3.0-or-later
#include "submissions.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace korvane::grade {

namespace fs = std::filesystem;

namespace {

bool is_program(const fs::path& p) { return p.extension() == ".cg"; }

Record from_folder(const fs::path& dir) {
    Record r;
    r.name = dir.filename().string();
    std::vector<fs::path> programs;
    std::error_code failure;
    for (const auto& entry : fs::directory_iterator(dir, failure))
        if (is_program(entry.path()) && !entry.is_directory()) programs.push_back(entry.path());
    if (failure) {
        r.message = "Cannot read folder " + dir.string();
    } else if (programs.empty()) {
        r.message = "no .cg file in the folder";
    } else if (programs.size() > 1) {
        r.message = std::to_string(programs.size()) + " .cg files in the folder, not one";
    } else {
        r.program = programs[0].string();
    }
    return r;
}

Record from_path(const std::string& path) {
    // Trailing slashes would leave the name empty.
    fs::path p = fs::path(path).lexically_normal();
    if (!p.has_filename()) p = p.parent_path();
    if (fs::is_directory(p)) return from_folder(p);
    Record r;
    r.name = (is_program(p) ? p.stem() : p.filename()).string();
    r.program = path;
    return r;
}

}  // namespace

std::vector<Record> find_submissions(const std::vector<std::string>& paths) {
    std::vector<Record> records;
    for (const std::string& path : paths) records.push_back(from_path(path));
    std::stable_sort(records.begin(), records.end(), [](const Record& a, const Record& b) { return a.name < b.name; });
    std::map<std::string, int> seen;
    for (Record& r : records)
        if (const int n = ++seen[r.name]; n > 1) r.name += " (" + std::to_string(n) + ")";
    return records;
}

}  // namespace korvane::grade
