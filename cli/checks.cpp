// SPDX-License-Identifier: GPL-3.0-or-later
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

std::string kept_part(const Timeline& timeline) {
    return "the run made more drawing calls than the timeline can hold: it keeps calls " +
           std::to_string(timeline.first_call() + 1) + " to " + std::to_string(timeline.calls());
}

void write_history(std::ostream& out, std::ostream& err, const Timeline& timeline, int32_t x, int32_t y) {
    if (timeline.truncated()) err << kept_part(timeline) << '\n';
    timeline.for_each_write(x, y, [&](const PixelWrite& w) {
        out << w.call << ' ' << w.line << ' ' << draw_op_name(w.op) << ' ' << int{w.colour} << '\n';
    });
}

}  // namespace korvane
