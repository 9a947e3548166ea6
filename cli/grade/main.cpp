// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "grade.h"
#include "publish.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--publish")
        return korvane::grade::publish_main({args.begin() + 1, args.end()}, std::cout, std::cerr);
    std::error_code failure;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe", failure).string();
    return korvane::grade::grade_main(args, self, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
