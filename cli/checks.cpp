#include "checks.h"

#include <algorithm>
#include <cinttypes>

#include "atomic_file.h"

namespace korvane {

PictureDiff compare_pictures(const Picture& expected, const Picture& actual) {
    PictureDiff d;
    for (int32_t y = 0; y < expected.height; ++y)
        for (int32_t x = 0; x < expected.width; ++x) {
            if (expected.at(x, y) == actual.at(x, y)) continue;
            if (d.count++ == 0) {
                d = {1, x, x, y, y};
                continue;
            }
            d.xmin = std::min(d.xmin, x);
            d.xmax = std::max(d.xmax, x);
            d.ymin = std::min(d.ymin, y);
            d.ymax = std::max(d.ymax, y);
        }
    return d;
}

Picture diff_picture(const Picture& expected, const Picture& actual) {
    constexpr uint8_t kMark = 255;
    Picture out = expected;
    for (int i = 0; i < 128; ++i)
        out.palette[4 * size_t(i)] = out.palette[4 * size_t(i) + 1] = out.palette[4 * size_t(i) + 2] = uint8_t(i);
    for (int i = 128; i < 256; ++i) std::fill_n(&out.palette[4 * size_t(i)], 4, 0);
    out.palette[4 * size_t(kMark)] = 255;
    for (size_t i = 0; i < out.pixels.size(); ++i) {
        if (expected.pixels[i] != actual.pixels[i]) {
            out.pixels[i] = kMark;
            continue;
        }
        const uint8_t* c = &expected.palette[4 * size_t(expected.pixels[i])];
        const int brightness = (299 * c[0] + 587 * c[1] + 114 * c[2]) / 1000;
        out.pixels[i] = static_cast<uint8_t>(brightness / 2);
    }
    return out;
}

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
