// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_folder.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace korvane::grade {

namespace fs = std::filesystem;

namespace {

// Only an empty folder or one that korvane-grade wrote may be replaced.
bool replaceable(const fs::path& out) {
    std::error_code failure;
    if (!fs::exists(out, failure)) return true;
    if (!fs::is_directory(out, failure)) return false;
    if (fs::is_empty(out, failure)) return true;
    return (fs::is_regular_file(out / "grades.json", failure) || fs::is_regular_file(out / "results.json", failure)) &&
           fs::is_regular_file(out / "index.html", failure);
}

// A new empty folder named .NAME.WHAT-XXXXXX beside out.
std::string sibling(const fs::path& out, const std::string& what) {
    std::string pattern = (out.parent_path() / ("." + out.filename().string() + "." + what + "-XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    return mkdtemp(buffer.data()) ? std::string(buffer.data()) : std::string();
}

void make_private_folder_readable(const std::string& dir) {
    // mkdtemp makes it private; the report is for reading as any folder is.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(dir.c_str(), 0777 & ~mask);
}

bool make_subfolders(const std::string& dir) {
    std::error_code failure;
    for (const char* folder : {"pictures", "programs", "students", "work"})
        fs::create_directory(fs::path(dir) / folder, failure);
    return !failure;
}

}  // namespace

ReportFolder::~ReportFolder() {
    std::error_code ignored;
    if (!temp_.empty()) fs::remove_all(temp_, ignored);
}

bool ReportFolder::open_scratch(std::string& error) {
    std::error_code failure;
    const fs::path base = fs::temp_directory_path(failure);
    temp_ = failure ? std::string() : sibling(base / "korvane-grade", "scratch");
    if (temp_.empty() || !make_subfolders(temp_)) return error = "Cannot create a folder in " + base.string(), false;
    return true;
}

bool ReportFolder::open(const std::string& out, bool keep, std::string& error) {
    fs::path target = fs::absolute(out).lexically_normal();
    if (!target.has_filename()) target = target.parent_path();
    if (!replaceable(target)) {
        error = out + " exists and is not a report of korvane-grade; name another folder with --out";
        return false;
    }
    std::error_code failure;
    fs::create_directories(target.parent_path(), failure);
    temp_ = sibling(target, "partial");
    if (temp_.empty()) {
        error = "Cannot create folder " + target.parent_path().string();
        return false;
    }
    make_private_folder_readable(temp_);
    out_ = target.string();
    if (!make_subfolders(temp_)) return error = "Cannot create folder " + temp_, false;
    if (!keep) return true;
    for (const char* kept : {"pictures", "programs"}) {
        fs::copy(target / kept, fs::path(temp_) / kept, fs::copy_options::recursive | fs::copy_options::skip_existing,
                 failure);
        if (failure) return error = "Cannot copy " + (target / kept).string() + " into the new report", false;
    }
    return true;
}

std::string ReportFolder::path(const std::string& relative) const { return (fs::path(temp_) / relative).string(); }

bool ReportFolder::write(const std::string& relative, const std::string& data, std::string& error) const {
    const std::string file = path(relative);
    FILE* f = std::fopen(file.c_str(), "wb");
    const bool ok = f && std::fwrite(data.data(), 1, data.size(), f) == data.size();
    if (f && std::fclose(f) != 0) return error = "Cannot write file " + file, false;
    if (!ok) error = "Cannot write file " + file;
    return ok;
}

bool ReportFolder::commit(std::string& error) {
    std::error_code failure;
    fs::remove_all(path("work"), failure);
    std::string old;
    if (fs::exists(out_)) {
        old = sibling(out_, "old");
        if (old.empty() || std::rename(out_.c_str(), old.c_str()) != 0) {
            if (!old.empty()) fs::remove(old, failure);
            error = "Cannot replace " + out_;
            return false;
        }
    }
    if (std::rename(temp_.c_str(), out_.c_str()) != 0) {
        if (!old.empty()) std::rename(old.c_str(), out_.c_str());
        error = "Cannot rename " + temp_ + " to " + out_;
        return false;
    }
    temp_.clear();
    if (!old.empty()) fs::remove_all(old, failure);
    return true;
}

}  // namespace korvane::grade
