// SPDX-License-Identifier: GPL-3.0-or-later
// write_help_messages FILE: writes the help topic that lists every message
// with its hint and an example, from the interpreter's table. The window and
// the page both read the file beside the rest of the help.
#include <cstdio>
#include <fstream>

#include "language.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_help_messages FILE\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << korvane::messages_help_text();
    if (!out) {
        std::fprintf(stderr, "Cannot create file %s\n", argv[1]);
        return 3;
    }
    return 0;
}
