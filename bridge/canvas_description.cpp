// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_description.h"

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

#include "call_log.h"
#include "timeline.h"

namespace korvane {

namespace {

using std::to_string;

// "1 drawing call", "2 drawing calls".
std::string counted(uint64_t n, const char* what) { return to_string(n) + ' ' + what + (n == 1 ? "" : "s"); }

struct ColourUse {
    int index = 0;
    int64_t pixels = 0;
    int left = INT_MAX, right = -1, bottom = INT_MAX, top = -1;
};

void colour_lines(const CanvasPixels& canvas, std::vector<std::string>& lines) {
    std::array<ColourUse, 256> uses{};
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            ColourUse& use = uses[canvas.pixels[static_cast<size_t>(y) * canvas.width + x]];
            ++use.pixels;
            use.left = std::min(use.left, x);
            use.right = std::max(use.right, x);
            use.bottom = std::min(use.bottom, y);
            use.top = std::max(use.top, y);
        }
    for (int i = 0; i < 256; ++i) uses[i].index = i;
    std::stable_sort(uses.begin(), uses.end(),
                     [](const ColourUse& a, const ColourUse& b) { return a.pixels > b.pixels; });
    for (const ColourUse& use : uses) {
        if (use.pixels == 0) break;
        const uint8_t* rgb = &canvas.palette[4 * use.index];
        lines.push_back("colour " + to_string(use.index) + " (red " + to_string(rgb[0]) + ", green " +
                        to_string(rgb[1]) + ", blue " + to_string(rgb[2]) + "): " + to_string(use.pixels) +
                        " pixels, x " + to_string(use.left) + " to " + to_string(use.right) + ", y " +
                        to_string(use.bottom) + " to " + to_string(use.top));
    }
}

void call_lines(const Timeline& timeline, std::vector<std::string>& lines) {
    const uint64_t first = timeline.first_call() + 1, last = timeline.calls();
    if (last == 0) {
        lines.push_back("The last run made no drawing calls.");
        return;
    }
    lines.push_back("The last run made " + counted(last, "drawing call") + ":");
    if (first > 1)
        lines.push_back("(the timeline kept calls " + to_string(first) + " to " + to_string(last) + " only)");
    const uint64_t end = std::min(last, first + kDescribedCalls - 1);
    for (uint64_t k = first; k <= end; ++k) {
        const LoggedCall c = timeline.call(k);
        lines.push_back(to_string(k) + ". line " + to_string(c.line) + ": " + describe_call(c));
    }
    if (end < last) lines.push_back("... and " + counted(last - end, "more call"));
}

}  // namespace

std::string describe_canvas(const CanvasPixels& canvas, const Timeline* timeline) {
    std::vector<std::string> lines;
    lines.push_back("The canvas is " + to_string(canvas.width) + " by " + to_string(canvas.height) +
                    " pixels; x runs from the left, y from the bottom.");
    lines.push_back("Colours on it, most pixels first:");
    colour_lines(canvas, lines);
    lines.emplace_back();
    if (timeline)
        call_lines(*timeline, lines);
    else
        lines.push_back("The drawing calls are listed after a run.");
    std::string text = lines.front();
    for (size_t i = 1; i < lines.size(); ++i) text += '\n' + lines[i];
    return text;
}

}  // namespace korvane
