// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>
#include <string>
#include <vector>

#include "runner.h"

int main(int argc, char** argv) {
    return korvane::runner_main(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr);
}
