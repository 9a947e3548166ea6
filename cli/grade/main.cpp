// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "grade.h"

int main(int argc, char** argv) {
    std::error_code failure;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe", failure).string();
    return korvane::grade::grade_main(std::vector<std::string>(argv + 1, argv + argc), self, std::cout, std::cerr,
                                      isatty(STDERR_FILENO) != 0);
}
