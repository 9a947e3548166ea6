// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace korvane {

namespace {

constexpr const char* kPositive = "a positive number";

template <class T>
bool whole_number(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    return status == std::errc{} && stop == end;
}

// An option whose value is kept as text, a file or folder name.
template <std::string RunnerOptions::*field>
const char* text(RunnerOptions& options, const std::string& value) {
    options.*field = value;
    return nullptr;
}

const char* seed(RunnerOptions& options, const std::string& value) {
    uint32_t n = 0;
    if (!whole_number(value, n)) return kPositive;
    options.seed = n;
    return nullptr;
}

const char* max_steps(RunnerOptions& options, const std::string& value) {
    return whole_number(value, options.max_steps) && options.max_steps > 0 ? nullptr : kPositive;
}

const char* timeout(RunnerOptions& options, const std::string& value) {
    char* stop = nullptr;
    options.timeout = std::strtod(value.c_str(), &stop);
    const bool ok = !value.empty() && *stop == '\0' && std::isfinite(options.timeout) && options.timeout > 0;
    return ok ? nullptr : kPositive;
}

const char* no_hints(RunnerOptions& options, const std::string&) {
    options.hints = false;
    return nullptr;
}

const char* grading(RunnerOptions& options, const std::string&) {
    options.grading = true;
    return nullptr;
}

const char* at_call(RunnerOptions& options, const std::string& value) {
    uint64_t k = 0;
    if (!whole_number(value, k)) return "a call number (0 or more)";
    options.at_call = k;
    return nullptr;
}

const char* history(RunnerOptions& options, const std::string& value) {
    const size_t comma = value.find(',');
    RunnerOptions::Pixel p{};
    const bool ok = comma != std::string::npos && whole_number(value.substr(0, comma), p.x) &&
                    whole_number(value.substr(comma + 1), p.y) && p.x >= 0 && p.y >= 0 && p.x < 400 && p.y < 400;
    if (!ok) return "X,Y of a canvas pixel (each 0..399)";
    options.history = p;
    return nullptr;
}

const char* break_line(RunnerOptions& options, const std::string& value) {
    int line = 0;
    if (!whole_number(value, line) || line < 0) return "a line number from 0";
    options.breaks.push_back(line);
    return nullptr;
}

const char* watch_pixel(RunnerOptions& options, const std::string& value) {
    constexpr const char* kPixel = "X,Y on the canvas (0..399 each)";
    const size_t comma = value.find(',');
    if (comma == std::string::npos) return kPixel;
    int32_t x = -1, y = -1;
    if (!whole_number(value.substr(0, comma), x) || !whole_number(value.substr(comma + 1), y)) return kPixel;
    if (x < 0 || x >= 400 || y < 0 || y >= 400) return kPixel;
    options.watches.emplace_back(x, y);
    return nullptr;
}

const RunnerOption kOptions[] = {
    {"--palette", "FILE.pal", "palette of the canvas (default: the built-in one)", text<&RunnerOptions::palette>},
    {"--png", "OUT.png", "final canvas as an indexed PNG", text<&RunnerOptions::png>},
    {"--jpeg", "OUT.jpg", "final canvas as a JPEG", text<&RunnerOptions::jpeg>},
    {"--frames", "DIR", "every show as DIR/frame-NNNNN.png", text<&RunnerOptions::frames>},
    {"--gif", "OUT.gif",
     "every show as a frame of an animated GIF, each shown until\n"
     "the next show (at least 20 ms); the final canvas is the\n"
     "last frame when it differs from the last shown one",
     text<&RunnerOptions::gif>},
    {"--input", "FILE", "answers for getnum and getche, one a line (default: stdin)", text<&RunnerOptions::input>},
    {"--seed", "N", "state of the random generator before the run (0..4294967295)", seed},
    {"--max-steps", "N", "end the run after N steps: \"step limit reached\", status 2", max_steps},
    {"--timeout", "S", "end the run after S seconds: \"time limit reached\", status 2", timeout},
    {"--grading", nullptr,
     "run as korvane-grade runs a check, the same on a busy machine as\n"
     "on a quiet one: sleep takes no time, and asking for more answers\n"
     "than the input holds ends the run: \"asked for input N times;\n"
     "this check gives M answers\", status 2",
     grading},
    {"--expect", "GOLD.png",
     "compare the final canvas with a 400 x 400 indexed PNG: status 4\n"
     "and the count and bounding box of differing pixels if they differ",
     text<&RunnerOptions::expect>},
    {"--diff", "OUT.png",
     "with --expect: the expected picture dimmed to grey, differing\n"
     "pixels in red (index 255)",
     text<&RunnerOptions::diff>},
    {"--check", "EXERCISE",
     "run every visible check of an exercise folder, with its answers,\n"
     "seed, palette and limits: one line per check, and a \"first\n"
     "difference:\" line for each that differs; status 0 when all pass,\n"
     "4 when one differs, 2 on an error, a limit or a forbidden built-in",
     text<&RunnerOptions::check>},
    {"--no-hints", nullptr,
     "only the messages: no \"warning:\" lines before the run, no\n"
     "\"hint:\" line after an error report (line and column count from 0)",
     no_hints},
    {"--provenance", "OUT",
     "records which call drew each pixel; OUT gets one line per pixel\n"
     "drawn during the run, bottom row first: \"x y index line builtin\"\n"
     "(y from the bottom, line counted from 0)",
     text<&RunnerOptions::provenance>},
    {"--stats", "OUT", "after the run, OUT gets \"steps N\": the steps it executed, as\n--max-steps counts them",
     text<&RunnerOptions::stats>},
    {"--pauses", "OUT.json",
     "where the run pauses, OUT gets one JSON object per pause (JSON\n"
     "lines): line, reason, depth, globals and the calls, innermost\n"
     "first, each with function, called_from and locals; the run\n"
     "goes on at once and is otherwise unchanged",
     text<&RunnerOptions::pauses>},
    {"--break", "LINE",
     "with --pauses: pause before the first statement on LINE (counted\n"
     "from 0, as messages count lines) each time the run comes to it;\n"
     "may be given more than once",
     break_line},
    {"--watch", "X,Y",
     "with --pauses: pause after each drawing call that changes pixel\n"
     "X,Y (y from the bottom), reason \"pixel\"; may be given more than once",
     watch_pixel},
    {"--at-call", "K",
     "--png and --jpeg show the canvas as it was after drawing call K\n"
     "(0: before the first; past the last: the final canvas)",
     at_call},
    {"--history", "X,Y",
     "after the run, prints every write of pixel (X, Y), one line each:\n"
     "\"call line builtin colour\" (calls counted from 1, y from the bottom)",
     history},
};

// Where the help text of every row starts.
constexpr size_t kHelpColumn = 23;

}  // namespace

std::span<const RunnerOption> runner_options() { return kOptions; }

std::string runner_help() {
    std::string help =
        "usage: korvane-run PROGRAM.cg [options]\n"
        "       korvane-run --help | --version\n";
    for (const RunnerOption& option : kOptions) {
        std::string head = std::string("  ") + option.name;
        if (option.value) head += std::string(" ") + option.value;
        head.resize(std::max(head.size() + 1, kHelpColumn), ' ');
        help += head;
        for (const char* c = option.help; *c; ++c)
            help += *c == '\n' ? "\n" + std::string(kHelpColumn, ' ') : std::string(1, *c);
        help += '\n';
    }
    return help +
           "status: 0 ran, 1 no main, 2 error or limit reached, 3 usage or file problem,\n"
           "        4 canvas differs from --expect, or a check of --check differs";
}

}  // namespace korvane
