#include "test_picture.h"

#include <unistd.h>

#include <algorithm>

namespace korvane::testing {

Picture test_picture() {
    Picture p;
    p.width = 400;
    p.height = 400;
    p.pixels.assign(400 * 400, 200);
    auto fill = [&](int x0, int y0, int x1, int y1, uint8_t index) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) p.pixels[y * 400 + x] = index;
    };
    fill(40, 40, 71, 199, 7);     // stem of the F
    fill(72, 168, 151, 199, 7);   // top bar
    fill(72, 104, 127, 127, 7);   // middle bar
    fill(320, 336, 383, 391, 45); // block near the top-right corner
    p.pixels[0] = 1;
    for (int i = 0; i < 256; ++i) {
        p.palette[4 * i] = static_cast<uint8_t>(i);
        p.palette[4 * i + 1] = static_cast<uint8_t>(255 - i);
        p.palette[4 * i + 2] = static_cast<uint8_t>((i * 7) % 256);
    }
    return p;
}

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvane-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace korvane::testing
