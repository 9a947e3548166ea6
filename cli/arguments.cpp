// SPDX-License-Identifier: GPL-3.0-or-later
// The runner's command line, read by the options' table.
#include <algorithm>

#include "options.h"
#include "runner.h"

namespace korvane {

const char* const kUsage = "usage: korvane-run PROGRAM.cg [options]   (--help lists them)";

namespace {

const RunnerOption* find_option(const std::string& name) {
    const auto options = runner_options();
    const auto found =
        std::find_if(options.begin(), options.end(), [&](const RunnerOption& o) { return name == o.name; });
    return found == options.end() ? nullptr : &*found;
}

}  // namespace

bool parse_arguments(const std::vector<std::string>& args, RunnerOptions& options, std::string& error) {
    options.hints = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const RunnerOption* option = find_option(arg)) {
            std::string value;
            if (option->value) {
                if (i + 1 == args.size() || args[i + 1].empty()) {
                    error = "option " + arg + " needs a value\n" + kUsage;
                    return false;
                }
                value = args[++i];
            }
            if (const char* wanted = option->apply(options, value)) {
                error = "option " + arg + " needs " + wanted + ", not '" + value + "'\n" + kUsage;
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg + "\n" + kUsage;
            return false;
        } else if (options.program.empty() && !arg.empty()) {
            options.program = arg;
        } else {
            error = kUsage;
            return false;
        }
    }
    if (!options.diff.empty() && options.expect.empty()) {
        error = std::string("option --diff needs --expect\n") + kUsage;
        return false;
    }
    if (options.at_call && options.png.empty() && options.jpeg.empty()) {
        error = std::string("option --at-call needs --png or --jpeg\n") + kUsage;
        return false;
    }
    if ((!options.breaks.empty() || !options.watches.empty()) && options.pauses.empty()) {
        error = std::string("options --break and --watch need --pauses\n") + kUsage;
        return false;
    }
    const bool run_options = !options.input.empty() || options.seed || !options.palette.empty() ||
                             !options.expect.empty() || options.max_steps > 0 || options.timeout > 0;
    if (!options.check.empty() && run_options) {
        error =
            std::string("option --check takes the answers, seed, palette, limits and pictures from the exercise\n") +
            kUsage;
        return false;
    }
    if (options.program.empty()) error = kUsage;
    return !options.program.empty();
}

}  // namespace korvane
