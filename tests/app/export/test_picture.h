// A small asymmetric test picture and a scratch folder for the writer tests.
#pragma once

#include <filesystem>
#include <string>

#include "picture.h"

namespace korvane::testing {

// 400 x 400: an "F" of index 7 on index 200 in the lower left, a block of
// index 45 at the top right, index 1 in the bottom-left pixel. The palette
// has distinct channels (red = i, green = 255 - i, blue = (i * 7) % 256).
Picture test_picture();

// A fresh empty folder, removed with everything in it at destruction.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::filesystem::path path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Names of the files now in the folder.
    std::vector<std::string> entries() const;

private:
    std::filesystem::path path_;
};

}  // namespace korvane::testing
