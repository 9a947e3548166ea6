// SPDX-License-Identifier: GPL-3.0-or-later
// korvane-grade's command line.
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>

#include "grade.h"

namespace korvane::grade {

const char* const kGradeUsage = "usage: korvane-grade EXERCISE SUBMISSION... [options]   (--help lists them)";

const char* const kGradeHelp =
    "usage: korvane-grade EXERCISE SUBMISSION... [--out DIR] [--update] [--jobs N] [--runner PATH]\n"
    "       korvane-grade EXERCISE SUBMISSION --gradescope RESULTS.json\n"
    "       korvane-grade --publish EXERCISE OUT   (the students' edition: no hidden\n"
    "                   checks, their answers and pictures, nor the model)\n"
    "       korvane-grade --help | --version\n"
    "EXERCISE is a folder: expected*.png (accepted pictures, indexed, 400 x 400),\n"
    "  optional input.txt (answers), palette.pal, and exercise.json (checks with\n"
    "  points and visibility, forbidden built-ins, seed, timeout, max_steps,\n"
    "  tolerance, title: see korvane-grade(1)).\n"
    "SUBMISSION is a .cg file or a folder holding one; its name is the student's.\n"
    "  --out DIR        the report's folder (default: grade-report): index.html,\n"
    "                   students/, results.csv, grades.json, pictures/, programs/\n"
    "  --update         grade the named submissions again and merge them into the\n"
    "                   report in DIR (without it, a report of more submissions\n"
    "                   than these is refused, never replaced)\n"
    "  --gradescope F   grade one submission and write Gradescope's results to F\n"
    "                   (no report)\n"
    "  --jobs N         runs at a time (default: the number of cores)\n"
    "  --runner PATH    the korvane-run to use (default: the one beside korvane-grade,\n"
    "                   else korvane-run on PATH)\n"
    "  --               every argument after it is a submission, even one starting with -\n"
    "status: 0 report written, 1 usage or exercise problem, 2 report not written";

namespace {

bool positive(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    return status == std::errc{} && stop == end && value > 0;
}

bool executable(const std::filesystem::path& p) {
    std::error_code failure;
    return std::filesystem::is_regular_file(p, failure) && ::access(p.c_str(), X_OK) == 0;
}

}  // namespace

bool parse_grade_arguments(const std::vector<std::string>& args, GradeOptions& options, std::string& error) {
    std::vector<std::string> positional;
    bool options_end = false;  // after "--", a name that starts with '-' is a submission
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options_end) {
            if (!arg.empty()) positional.push_back(arg);
        } else if (arg == "--") {
            options_end = true;
        } else if (arg == "--update") {
            options.update = true;
        } else if (arg == "--out" || arg == "--jobs" || arg == "--runner" || arg == "--gradescope") {
            if (i + 1 == args.size() || args[i + 1].empty()) {
                error = "option " + arg + " needs a value\n" + kGradeUsage;
                return false;
            }
            const std::string& value = args[++i];
            if (arg == "--out") {
                options.out = value;
            } else if (arg == "--runner") {
                options.runner = value;
            } else if (arg == "--gradescope") {
                options.gradescope = value;
            } else if (!positive(value, options.jobs)) {
                error = "option --jobs needs a positive number, not '" + value + "'\n" + kGradeUsage;
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg + "\n" + kGradeUsage;
            return false;
        } else if (!arg.empty()) {
            positional.push_back(arg);
        }
    }
    if (positional.size() < 2) {
        error = kGradeUsage;
        return false;
    }
    if (!options.gradescope.empty() && (positional.size() != 2 || options.update)) {
        error = "option --gradescope grades one submission, without --update\n" + std::string(kGradeUsage);
        return false;
    }
    options.exercise = positional[0];
    options.submissions.assign(positional.begin() + 1, positional.end());
    return true;
}

std::string find_runner(const std::string& given, const std::string& self) {
    namespace fs = std::filesystem;
    if (!given.empty()) return executable(given) ? fs::absolute(given).string() : std::string();
    if (!self.empty()) {
        if (const fs::path beside = fs::path(self).parent_path() / "korvane-run"; executable(beside)) return beside;
    }
    const char* path = std::getenv("PATH");
    for (std::string_view dirs = path ? path : ""; !dirs.empty();) {
        const size_t colon = dirs.find(':');
        const fs::path candidate = fs::path(dirs.substr(0, colon)) / "korvane-run";
        if (!candidate.parent_path().empty() && executable(candidate)) return fs::absolute(candidate).string();
        dirs = colon == std::string_view::npos ? std::string_view{} : dirs.substr(colon + 1);
    }
    return {};
}

}  // namespace korvane::grade
