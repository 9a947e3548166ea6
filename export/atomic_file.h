// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a file so that it appears whole or not at all: the data goes to a
// temporary file beside the target, reaches the disk, and is renamed over
// the target only after everything was written and closed; then the folder
// is synced so the rename itself survives a power cut. A symlink is written
// through to its target, and an existing file keeps its permissions. A FIFO,
// a device or a pipe is written directly: it has no "whole or not at all".
#pragma once

#include <cstdio>
#include <string>

namespace korvane {

class AtomicFile {
public:
    // Creates the temporary file; on failure stream() is null and error is
    // "Cannot create file PATH".
    AtomicFile(const std::string& path, std::string& error);
    // Removes the temporary file unless commit() succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    FILE* stream() const { return stream_; }
    // Syncs and closes the temporary file and renames it over the target.
    // On failure the target is left as it was and error names the file.
    bool commit(std::string& error);

private:
    std::string path_;    // as the caller named it, for messages
    std::string target_;  // the file replaced: path_ with symlinks followed
    std::string temp_path_;
    FILE* stream_ = nullptr;
    bool committed_ = false;
};

}  // namespace korvane
