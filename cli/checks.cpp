#include "checks.h"

#include <cinttypes>

#include "atomic_file.h"

namespace korvane {

bool write_provenance(const std::string& path, const CanvasBridge& bridge, const Picture& canvas, std::string& error) {
    AtomicFile file(path, error);
    if (!file.stream()) return false;
    for (int32_t y = 0; y < canvas.height; ++y)
        for (int32_t x = 0; x < canvas.width; ++x) {
            const PixelOrigin o = bridge.origin_at(x, y);
            if (o.line >= 0)
                std::fprintf(file.stream(), "%d %d %d %d %s\n", x, y, canvas.at(x, y), o.line, o.builtin.c_str());
        }
    return file.commit(error);
}

}  // namespace korvane
