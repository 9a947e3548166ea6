// SPDX-License-Identifier: GPL-3.0-or-later
// The built-ins' names, argument names and one-line descriptions: the one
// table behind the interpreter's lookup, the highlighting, the call tips,
// the warnings and the help.
#include <array>
#include <cstring>

#include "interpreter.h"
#include "language.h"

namespace korvane {

namespace {

constexpr BuiltinInfo kBuiltins[] = {
    {"getche", "", "asks for a character and gives its code", true},
    {"putch", "c", "adds a line holding the character with code c", false},
    {"puts", "\"text\"", "adds a line holding the text", false},
    {"print", "value", "adds a line holding the value, or a \"text\"", false},
    {"getnum", "", "asks for a number and gives it", true},
    {"rand", "n", "gives a random number from 0 to n - 1", true},
    {"clear", "colour", "fills the whole canvas with the colour", false},
    {"setcolor", "colour", "sets the colour of point, line, fillrect and the like", false},
    {"line", "x1, y1, x2, y2", "draws a line in the current colour", true},
    {"xline", "x1, y1, x2, y2", "draws a line XORed with the current colour", true},
    {"fline", "x1, y1, x2, y2", "draws a thick line in the current colour", true},
    {"point", "x, y", "sets one pixel to the current colour", true},
    {"circ2", "x, y, colour", "draws a small ring of radius 2, a marker", true},
    {"fcirc2", "x, y, border_colour, fill_colour", "draws a filled marker ring", true},
    {"fpoint", "x, y", "sets a 2 x 2 block to the current colour", true},
    {"grid", "nv, nh, colour", "draws nv vertical and nh horizontal lines over the canvas", true},
    {"fillrect", "x1, y1, x2, y2", "fills a rectangle in the current colour", true},
    {"drawrect", "x1, y1, x2, y2", "draws a rectangle's outline in the current colour", true},
    {"brect", "x1, y1, x2, y2, fill_colour, border_colour", "draws a filled rectangle with a border", true},
    {"dline", "x1, y1, x2, y2", "draws a dashed line in the current colour", true},
    {"trifill", "x1, y1, x2, y2, x3, y3, fill_colour, edge_colour", "fills a triangle with an edge", true},
    {"circle", "x, y, r, colour", "draws a circle with centre (x, y) and radius r", true},
    {"xcircle", "x, y, r, colour", "draws a circle XORed with the colour", true},
    {"disk", "x, y, r, colour", "draws a filled circle", true},
    {"bdisk", "x, y, r, border_colour, fill_colour", "draws a filled circle with a border", true},
    {"ellipse", "x, y, a, b, colour", "draws an ellipse with half-width a and half-height b", true},
    {"xellipse", "x, y, a, b, colour", "draws an ellipse XORed with the colour", true},
    {"elldisk", "x, y, a, b, colour", "draws a filled ellipse", true},
    {"ellbdisk", "x, y, a, b, border_colour, fill_colour", "draws a filled ellipse with a border", true},
    {"floodfill", "x, y, c1, c2, c3, mode", "fills the region around (x, y) with c1", true},
    {"show", "", "copies the canvas to the screen; Halt stops the program here", true},
    {"sleep", "ms", "waits ms milliseconds", true},
    {"textout", "x, y, \"text\"", "writes the text in the style of the last textstyle", false},
    {"textstyle", "colour, size, \"font\"", "sets the colour, size and font of textout", false},
    {"h_axis", "y, x1, x2, nmajor, nminor, place, lmajor, lminor, cmajor, cminor",
     "draws the ticks of a horizontal axis", true},
    {"v_axis", "x, y1, y2, nmajor, nminor, place, lmajor, lminor, cmajor, cminor", "draws the ticks of a vertical axis",
     true},
    {"abs", "x", "gives the absolute value of x", false},
    {"getpel", "x, y", "gives the palette index of the pixel at (x, y)", true},
};

}  // namespace

std::span<const BuiltinInfo> builtin_table() { return kBuiltins; }

std::span<const char* const> builtin_names() {
    static const auto names = [] {
        std::array<const char*, std::size(kBuiltins)> a{};
        for (size_t i = 0; i < a.size(); ++i) a[i] = kBuiltins[i].name;
        return a;
    }();
    return names;
}

int find_builtin(const std::string& name) {
    for (size_t i = 0; i < std::size(kBuiltins); ++i) {
        if (name == kBuiltins[i].name) return static_cast<int>(i);
    }
    return -1;
}

std::string builtin_signature(const BuiltinInfo& builtin) {
    return std::string(builtin.name) + "(" + builtin.arguments + ")";
}

int builtin_value_count(const BuiltinInfo& builtin) {
    if (builtin.arguments[0] == '\0') return 0;
    int count = 1;
    for (const char* p = builtin.arguments; *p != '\0'; ++p) count += *p == ',';
    return count;
}

}  // namespace korvane
