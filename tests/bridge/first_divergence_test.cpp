// SPDX-License-Identifier: GPL-3.0-or-later
// The first divergence of a wrong program from the picture of a right one:
// the call and line a teacher would point at, and what nothing drew.
#include "first_divergence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interpreter.h"
#include "test_bridge.h"

namespace korvane {
namespace {

// The final canvas of a run and its timeline.
struct Drawn {
    Canvas canvas;
    TestBridge bridge{canvas.image};
    explicit Drawn(const std::string& text) {
        bridge.set_timeline(true);
        bridge.begin_run();
        Interpreter interp(bridge);
        interp.set_step_limit(1'000'000);
        EXPECT_EQ(interp.run_text(text), RUN_OK) << text;
    }
    std::span<const uint8_t> pixels() const { return {canvas.image.bits(0), 400 * 400}; }
};

// Two half-lines from (200, 200), one to the right and one to the left.
const char* const kTwoLines = R"(main()
{
    int x;
    clear(0);
    setcolor(5);
    for (x = 0; x <= 20; x++) point(200 + x, 200 + x / 2);
    for (x = 0; x <= 20; x++) point(200 - x, 200 + x / 2);
})";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(FirstDivergence, NamesTheCallALineOfPointsWentWrongAt) {
    const Drawn right(kTwoLines);
    struct Case {
        const char* what;
        std::string program;
        std::string divergence;
        std::string missing;
    } cases[] = {
        {"the right program", kTwoLines, "", ""},
        {"an octant swapped", replaced(kTwoLines, "point(200 - x, 200 + x / 2)", "point(200 - x / 2, 200 + x)"),
         "call 24, line 6: `point(200, 201)` drew where the accepted picture has background",
         "20 pixels of the accepted picture that no call drew, within x 180..199, y 200..210"},
        {"an octant missing", replaced(kTwoLines, "point(200 - x, 200 + x / 2)", "x;"), "",
         "20 pixels of the accepted picture that no call drew, within x 180..199, y 200..210"},
        {"one pixel past the end", replaced(kTwoLines, "x <= 20", "x <= 21"),
         "call 23, line 5: `point(221, 210)` drew where the accepted picture has background", ""},
        {"one pixel short", replaced(kTwoLines, "x <= 20", "x < 20"), "",
         "1 pixel of the accepted picture that no call drew, within x 220..220, y 210..210"},
        {"the second line in another colour",
         replaced(kTwoLines, "    for (x = 0; x <= 20; x++) point(200 - x",
                  "    setcolor(6);\n    for (x = 0; x <= 20; x++) point(200 - x"),
         "call 23, line 7: `point(200, 200)` drew where the accepted picture has colour 5", ""},
        {"the built-in line, which takes its ties the other way",
         replaced(kTwoLines, "for (x = 0; x <= 20; x++) point(200 + x, 200 + x / 2);", "line(200, 200, 220, 210);"),
         "call 2, line 5: `line(200, 200, 220, 210)` drew (201, 201) where the accepted picture has background",
         "10 pixels of the accepted picture that no call drew, within x 201..219, y 200..209"},
    };
    for (const Case& c : cases) {
        const Drawn wrong(c.program);
        const Divergence d = first_divergence(*wrong.bridge.timeline(), right.pixels());
        EXPECT_EQ(divergence_text(d), c.divergence) << c.what;
        EXPECT_EQ(missing_text(d), c.missing) << c.what;
    }
}

// A box cut by a diagonal wall, filled from its lower right part.
const char* const kFill = R"(fill(int x, int y)
{
    int c;
    c = getpel(x, y);
    if ((c != 1) && (c != 3)) {
        point(x, y);
        fill(x + 1, y);
        fill(x, y + 1);
        fill(x - 1, y);
        fill(x, y - 1);
    }
}

main()
{
    clear(0);
    setcolor(1);
    drawrect(100, 100, 120, 120);
    line(100, 110, 110, 120);
    setcolor(3);
    fill(115, 105);
})";

TEST(FirstDivergence, NamesThePointWhereAFillLeaked) {
    const Drawn right(kFill);
    // Eight neighbours: the fill slips between the wall's diagonal pixels.
    const Drawn leaking(replaced(kFill, "        fill(x, y - 1);\n",
                                 "        fill(x, y - 1);\n        fill(x + 1, y + 1);\n        fill(x - 1, y + 1);\n"
                                 "        fill(x - 1, y - 1);\n        fill(x + 1, y - 1);\n"));
    const Divergence d = first_divergence(*leaking.bridge.timeline(), right.pixels());
    EXPECT_EQ(divergence_text(d), "call 52, line 5: `point(108, 119)` drew where the accepted picture has background");
    // Beyond the wall: above the line from (100, 110) to (110, 120).
    EXPECT_GT(d.y - d.x, 10);
    EXPECT_EQ(missing_text(d), "");
}

}  // namespace
}  // namespace korvane
