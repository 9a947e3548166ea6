// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace korvane {

namespace {

// Follows symlinks, even dangling ones, so the rename replaces the file a
// link points at rather than the link. A loop is left to fail at open.
std::string follow_symlinks(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path p = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) break;
        const fs::path target = fs::read_symlink(p, ec);
        if (ec) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return p.string();
}

// mkstemp creates the file readable by its owner only: give it the mode of
// the file it replaces, or the one a plain fopen would have given.
void set_mode(int fd, const std::string& target) {
    struct stat existing;
    if (stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        fchmod(fd, existing.st_mode & 07777);
        return;
    }
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
}

std::string folder_of(const std::string& target) {
    const std::string folder = std::filesystem::path(target).parent_path().string();
    return folder.empty() ? "." : folder;
}

// Makes the rename durable; file systems that cannot sync a folder say so,
// and the data itself is already on disk, so that is not a failure.
void sync_folder(const std::string& target) {
    const int fd = open(folder_of(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// A FIFO, a device or a pipe (`--png /dev/stdout`, `>(...)`) cannot be
// replaced by a rename without breaking whoever reads it: such a target is
// written directly. The kernel resolves /proc's pipe links, which
// follow_symlinks could not.
bool is_special(const std::string& path) {
    struct stat existing;
    return stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode);
}

}  // namespace

AtomicFile::AtomicFile(const std::string& path, std::string& error) : path_(path), target_(follow_symlinks(path)) {
    if (is_special(path)) {
        stream_ = std::fopen(path.c_str(), "wb");
        if (!stream_) error = "Cannot create file " + path;
        return;
    }
    std::vector<char> name(target_.begin(), target_.end());
    const std::string suffix = ".tmp-XXXXXX";
    name.insert(name.end(), suffix.begin(), suffix.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        error = "Cannot create file " + path;
        return;
    }
    set_mode(fd, target_);
    temp_path_ = name.data();
    stream_ = fdopen(fd, "wb");
    if (!stream_) {
        close(fd);
        error = "Cannot create file " + path;
    }
}

AtomicFile::~AtomicFile() {
    if (stream_) std::fclose(stream_);
    if (!committed_ && !temp_path_.empty()) std::remove(temp_path_.c_str());
}

bool AtomicFile::commit(std::string& error) {
    const bool direct = temp_path_.empty();
    const bool written = std::fflush(stream_) == 0 && !std::ferror(stream_) && (direct || fsync(fileno(stream_)) == 0);
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!written || !closed) {
        error = "Cannot write file " + path_;
        return false;
    }
    if (!direct && std::rename(temp_path_.c_str(), target_.c_str()) != 0) {
        error = "Cannot create file " + path_;
        return false;
    }
    committed_ = true;
    if (!direct) sync_folder(target_);
    return true;
}

}  // namespace korvane
