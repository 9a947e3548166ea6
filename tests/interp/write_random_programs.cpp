// SPDX-License-Identifier: GPL-3.0-or-later
// write_random_programs N DIR [broken]: writes the first N random programs
// of the interpreter's robustness test as DIR/random-NNNN.cg, or with
// `broken` its first N broken programs as DIR/broken-NNNN.cg, so other
// front ends and builds can be checked against the runner on the same texts.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "random_programs.h"

int main(int argc, char** argv) {
    const bool broken = argc == 4 && std::string(argv[3]) == "broken";
    if (argc != 3 && !broken) {
        std::fprintf(stderr, "usage: write_random_programs N DIR [broken]\n");
        return 2;
    }
    const int count = std::atoi(argv[1]);
    std::mt19937 rng(broken ? 20261211 : 20261208);
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, broken ? "/broken-%04d.cg" : "/random-%04d.cg", i);
        std::ofstream out(std::string(argv[2]) + name, std::ios::binary);
        out << (broken ? korvane::testing::broken_program(rng, i) : korvane::testing::random_program(rng, i));
        if (!out) {
            std::fprintf(stderr, "Cannot create file %s%s\n", argv[2], name);
            return 3;
        }
    }
    return 0;
}
