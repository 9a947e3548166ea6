// The runner's command line.
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "runner.h"

namespace korvane {

const char* const kUsage = "usage: korvane-run PROGRAM.cg [options]   (--help lists them)";

const char* const kHelp =
    "usage: korvane-run PROGRAM.cg [options]\n"
    "       korvane-run --help | --version\n"
    "  --palette FILE.pal   palette of the canvas (default: the built-in one)\n"
    "  --png OUT.png        final canvas as an indexed PNG\n"
    "  --jpeg OUT.jpg       final canvas as a JPEG\n"
    "  --frames DIR         every show as DIR/frame-NNNNN.png\n"
    "  --gif OUT.gif        every show as a frame of an animated GIF, each shown until\n"
    "                       the next show (at least 20 ms); the final canvas is the\n"
    "                       last frame when it differs from the last shown one\n"
    "  --input FILE         answers for getnum and getche, one a line (default: stdin)\n"
    "  --seed N             state of the random generator before the run (0..4294967295)\n"
    "  --max-steps N        end the run after N steps: \"step limit reached\", status 2\n"
    "  --timeout S          end the run after S seconds: \"time limit reached\", status 2\n"
    "  --expect GOLD.png    compare the final canvas with a 400 x 400 indexed PNG: status 4\n"
    "                       and the count and bounding box of differing pixels if they differ\n"
    "  --diff OUT.png       with --expect: the expected picture dimmed to grey, differing\n"
    "                       pixels in red (index 255)\n"
    "  --no-hints           only the messages: no \"warning:\" lines before the run, no\n"
    "                       \"hint:\" line after an error report (line and column count from 0)\n"
    "  --provenance OUT     records which call drew each pixel; OUT gets one line per pixel\n"
    "                       drawn during the run, bottom row first: \"x y index line builtin\"\n"
    "                       (y from the bottom, line counted from 0)\n"
    "status: 0 ran, 1 no main, 2 error or limit reached, 3 usage or file problem,\n"
    "        4 canvas differs from --expect";

namespace {

template <class T>
bool whole_number(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    return status == std::errc{} && stop == end;
}

bool seconds(const std::string& text, double& value) {
    char* stop = nullptr;
    value = std::strtod(text.c_str(), &stop);
    return !text.empty() && *stop == '\0' && std::isfinite(value) && value > 0;
}

// Options with a number; false with a message when the value is not one.
bool number_option(const std::string& arg, const std::string& value, RunnerOptions& options, std::string& error) {
    bool ok = false;
    if (arg == "--seed") {
        uint32_t seed = 0;
        ok = whole_number(value, seed);
        if (ok) options.seed = seed;
    } else if (arg == "--max-steps") {
        ok = whole_number(value, options.max_steps) && options.max_steps > 0;
    } else {
        ok = seconds(value, options.timeout);
    }
    if (!ok) error = "option " + arg + " needs a positive number, not '" + value + "'\n" + kUsage;
    return ok;
}

std::string* text_option(const std::string& arg, RunnerOptions& o) {
    if (arg == "--palette") return &o.palette;
    if (arg == "--png") return &o.png;
    if (arg == "--jpeg") return &o.jpeg;
    if (arg == "--frames") return &o.frames;
    if (arg == "--gif") return &o.gif;
    if (arg == "--input") return &o.input;
    if (arg == "--expect") return &o.expect;
    if (arg == "--diff") return &o.diff;
    if (arg == "--provenance") return &o.provenance;
    return nullptr;
}

bool is_number_option(const std::string& arg) { return arg == "--seed" || arg == "--max-steps" || arg == "--timeout"; }

}  // namespace

bool parse_arguments(const std::vector<std::string>& args, RunnerOptions& options, std::string& error) {
    options.hints = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--no-hints") {
            options.hints = false;
            continue;
        }
        std::string* text = text_option(arg, options);
        if (text || is_number_option(arg)) {
            if (i + 1 == args.size() || args[i + 1].empty()) {
                error = "option " + arg + " needs a value\n" + kUsage;
                return false;
            }
            const std::string& value = args[++i];
            if (text)
                *text = value;
            else if (!number_option(arg, value, options, error))
                return false;
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
    if (options.program.empty()) error = kUsage;
    return !options.program.empty();
}

}  // namespace korvane
