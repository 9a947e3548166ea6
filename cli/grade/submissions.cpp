// SPDX-License-Identifier: GPL-3.0-or-later
#include "submissions.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace korvane::grade {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLink = "a link, not a file";

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Circle.CG is a program as circle.cg is.
bool is_program(const fs::path& p) { return lower(p.extension().string()) == ".cg"; }

// The reason a program file cannot be graded, or empty.
std::string refusal(const fs::path& p) {
    std::error_code failure;
    const fs::file_status s = fs::symlink_status(p, failure);
    if (fs::is_symlink(s)) return kLink;
    if (!fs::exists(s)) return "Cannot open file " + p.string();
    if (!fs::is_regular_file(s)) return "not a file";
    if (fs::file_size(p, failure) > kMaxProgramBytes) return "over 1 MB: not a program";
    return {};
}

Record from_folder(const fs::path& dir, const std::string& file) {
    Record r;
    r.name = dir.filename().string();
    std::vector<fs::path> programs;
    std::error_code failure;
    // Nothing outside the submission is read: a link anywhere in it is refused.
    for (auto it = fs::recursive_directory_iterator(dir, failure); !failure && it != fs::end(it);
         it.increment(failure)) {
        if (it->is_symlink()) {
            r.message = it->path().lexically_relative(dir).string() + ": " + kLink;
            return r;
        }
        if (it.depth() == 0 && is_program(it->path()) && it->is_regular_file()) programs.push_back(it->path());
    }
    std::sort(programs.begin(), programs.end());
    if (failure) {
        r.message = "Cannot read folder " + dir.string();
    } else if (programs.size() == 1) {
        r.program = programs[0].string();
    } else if (programs.empty()) {
        r.message = "no .cg file in the folder";
    } else if (file.empty()) {
        r.message = std::to_string(programs.size()) + " .cg files in the folder, not one";
    } else {
        // Several: the exercise names the one graded.
        const auto named = std::find_if(programs.begin(), programs.end(),
                                        [&](const fs::path& p) { return lower(p.filename()) == lower(file); });
        if (named == programs.end())
            r.message = std::to_string(programs.size()) + " .cg files in the folder, and none is " + file;
        else
            r.program = named->string();
    }
    return r;
}

Record from_path(const std::string& path, const std::string& file) {
    // Trailing slashes would leave the name empty.
    fs::path p = fs::path(path).lexically_normal();
    if (!p.has_filename()) p = p.parent_path();
    std::error_code failure;
    Record r;
    if (fs::is_directory(fs::symlink_status(p, failure))) {
        r = from_folder(p, file);
    } else {
        r.name = (is_program(p) ? p.stem() : p.filename()).string();
        r.program = path;
    }
    if (!r.program.empty()) {
        r.message = refusal(r.program);
        if (!r.message.empty()) r.program.clear();
    }
    split_lms_name(r.name, r.name, r.id);
    return r;
}

bool all_digits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Letters of Latin-1 and Latin Extended-A without their accents, from
// U+00C0; '*' keeps the character as it is.
constexpr std::string_view kBase =
    "aaaaaaaceeeeiiiidnooooo*ouuuuyts"
    "aaaaaaaceeeeiiiidnooooo*ouuuuyty"
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiiiiijjkkklllllllllln"
    "nnnnnnnnoooooooorrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";

// The next character of UTF-8 text; a byte that starts none is itself.
uint32_t next_code(std::string_view s, size_t& i) {
    const unsigned char c = static_cast<unsigned char>(s[i++]);
    const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + static_cast<size_t>(extra) > s.size()) return c;
    uint32_t code = c & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) code = code << 6 | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return code;
}

}  // namespace

void split_lms_name(const std::string& name, std::string& student, std::string& id) {
    std::vector<std::string> parts;
    for (size_t from = 0;;) {
        const size_t bar = name.find('_', from);
        parts.push_back(name.substr(from, bar - from));
        if (bar == std::string::npos) break;
        from = bar + 1;
    }
    std::string who = name, number;
    // Moodle: NAME_ID_assignsubmission_file_ (the last part empty).
    if (const auto at = std::find(parts.begin(), parts.end(), "assignsubmission");
        at != parts.end() && at - parts.begin() >= 2 && all_digits(*(at - 1))) {
        number = *(at - 1);
        who = name.substr(0, name.find("_" + number + "_assignsubmission"));
    } else {
        // Canvas: NAME[_LATE]_USERID_SUBMISSIONID_FILE.
        for (size_t k = 1; k + 1 < parts.size(); ++k) {
            if (!all_digits(parts[k]) || !all_digits(parts[k + 1])) continue;
            number = parts[k];
            who = parts[0];
            break;
        }
    }
    student = who;
    id = number;
}

std::string sort_key(std::string_view name) {
    std::string key;
    for (size_t i = 0; i < name.size();) {
        const size_t start = i;
        const uint32_t code = next_code(name, i);
        if (code < 0x80) {
            key += static_cast<char>(std::tolower(static_cast<int>(code)));
        } else if (code >= 0xC0 && code - 0xC0 < kBase.size() && kBase[code - 0xC0] != '*') {
            key += kBase[code - 0xC0];
            if (code == 0xC6 || code == 0xE6 || code == 0x152 || code == 0x153) key += 'e';  // æ, œ
            if (code == 0xDE || code == 0xFE) key += 'h';                                    // þ
            if (code == 0xDF) key += 's';                                                    // ß
        } else {
            key += '\x7f';  // other letters after the Latin ones, in their own order
            key += name.substr(start, i - start);
        }
    }
    // Names equal but for case or accents keep one order.
    return key + '\0' + std::string(name);
}

std::vector<Record> find_submissions(const std::vector<std::string>& paths, const std::string& file) {
    std::vector<Record> records;
    for (const std::string& path : paths) records.push_back(from_path(path, file));
    std::stable_sort(records.begin(), records.end(),
                     [](const Record& a, const Record& b) { return sort_key(a.name) < sort_key(b.name); });
    std::map<std::string, int> seen;
    for (Record& r : records)
        if (const int n = ++seen[r.name]; n > 1) r.name += " (" + std::to_string(n) + ")";
    return records;
}

}  // namespace korvane::grade
