// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the built-in default palette to the file named on the command line.
#include <cstdio>
#include <fstream>

#include "ximage3.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_palette OUT.pal\n");
        return 2;
    }
    const auto& pal = korvane::default_palette();
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(pal.data()), static_cast<std::streamsize>(pal.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "make_palette: cannot write '%s'\n", argv[1]);
        return 1;
    }
    return 0;
}
