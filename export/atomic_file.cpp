#include "atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace korvane {

namespace {

// mkstemp creates the file readable by its owner only; give it the mode a
// plain fopen would have given.
void set_default_mode(int fd) {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
}

}  // namespace

AtomicFile::AtomicFile(const std::string& path, std::string& error) : path_(path) {
    std::vector<char> name(path.begin(), path.end());
    const std::string suffix = ".tmp-XXXXXX";
    name.insert(name.end(), suffix.begin(), suffix.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        error = "Cannot create file " + path;
        return;
    }
    set_default_mode(fd);
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
    const bool written = std::fflush(stream_) == 0 && !std::ferror(stream_);
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!written || !closed) {
        error = "Cannot write file " + path_;
        return false;
    }
    if (std::rename(temp_path_.c_str(), path_.c_str()) != 0) {
        error = "Cannot create file " + path_;
        return false;
    }
    committed_ = true;
    return true;
}

}  // namespace korvane
