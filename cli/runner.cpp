// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "atomic_file.h"
#include "canvas_bridge.h"
#include "checks.h"
#include "exercise_check.h"
#include "headless_bridge.h"
#include "interpreter.h"
#include "korvane_version.h"
#include "language.h"
#include "options.h"
#include "pause_log.h"
#include "picture.h"
#include "timeline.h"
#include "ximage3.h"

namespace korvane {

namespace {

bool read_file(const std::string& path, std::string& text) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buffer[8192];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

// Sets up the canvas as start-up does, with the palette of the options.
bool prepare(TXImage3& canvas, const RunnerOptions& options, std::ostream& err) {
    if (options.palette.empty()) {
        canvas.LoadDefaultPalette();
    } else if (std::string error; !canvas.LoadPalette(options.palette, error)) {
        err << error << '\n';
        return false;
    }
    canvas.AssignPalette(0);
    prepare_canvas(canvas);
    return true;
}

bool make_folder(const std::string& dir, std::ostream& err) {
    std::error_code failure;
    std::filesystem::create_directories(dir, failure);
    if (!failure && std::filesystem::is_directory(dir)) return true;
    err << "Cannot create folder " << dir << '\n';
    return false;
}

// Writes the requested pictures of the final canvas; false if one failed.
bool write_pictures(const TXImage3& canvas, const RunnerOptions& options, std::ostream& err) {
    if (options.png.empty() && options.jpeg.empty()) return true;
    const Picture picture = Picture::snapshot(canvas);
    bool ok = true;
    std::string error;
    if (!options.png.empty() && !write_png(options.png, picture, error)) {
        err << error << '\n';
        ok = false;
    }
    if (!options.jpeg.empty() && !write_jpeg(options.jpeg, picture, error)) {
        err << error << '\n';
        ok = false;
    }
    return ok;
}

// The golden picture of --expect, refused unless it has the canvas's size.
bool read_expected(const std::string& path, Picture& expected, std::ostream& err) {
    std::string error;
    if (!read_indexed_png(path, expected, error)) {
        err << error << '\n';
        return false;
    }
    if (expected.width == kCanvasSize && expected.height == kCanvasSize) return true;
    err << path << " is " << expected.width << " x " << expected.height << ", not 400 x 400 like the canvas\n";
    return false;
}

// Compares the final canvas with the expected picture and writes --diff.
// Returns the status the comparison adds (STATUS_RAN when they match).
int check_expected(const Picture& expected, const Picture& final_canvas, const RunnerOptions& options,
                   std::ostream& err) {
    int status = STATUS_RAN;
    const PictureDiff d = compare_pictures(expected, final_canvas);
    if (d.count > 0) {
        err << d.count << " pixels differ from " << options.expect << ", within x " << d.xmin << ".." << d.xmax
            << ", y " << d.ymin << ".." << d.ymax << '\n';
        status = STATUS_DIFFERS;
    }
    std::string error;
    if (!options.diff.empty() && !write_png(options.diff, diff_picture(expected, final_canvas), error)) {
        err << error << '\n';
        status = STATUS_FILE;
    }
    return status;
}

// The input of the answers: the --input file, or the given stream.
std::istream* open_input(const RunnerOptions& options, std::istream& in, std::unique_ptr<std::ifstream>& file,
                         std::ostream& err) {
    if (options.input.empty()) return &in;
    file = std::make_unique<std::ifstream>(options.input, std::ios::binary);
    if (*file) return file.get();
    err << "Cannot open file " << options.input << '\n';
    return nullptr;
}

std::string place_text(const TextPlace& place) {
    return "line " + std::to_string(place.line) + ", column " + std::to_string(place.column) + ": ";
}

// Calls that give another number of values than the callee takes: they
// run all the same, so they are told before the run.
void write_warnings(const std::string& program, std::ostream& err) {
    for (const CallWarning& w : outline_program(program).warnings) {
        err << "warning: " << place_text(w.place) << w.text << '\n';
    }
    err.flush();
}

void apply_bounds(const RunnerOptions& options, HeadlessBridge& bridge, Interpreter& interpreter) {
    if (options.seed) interpreter.seed_random(*options.seed);
    if (options.max_steps > 0) interpreter.set_step_limit(options.max_steps);
    if (options.timeout > 0) bridge.set_time_limit(options.timeout);
    if (options.grading) bridge.set_grading();
}

bool write_stats(const std::string& path, uint64_t steps, std::string& error) {
    AtomicFile file(path, error);
    if (!file.stream()) return false;
    std::fprintf(file.stream(), "steps %llu\n", static_cast<unsigned long long>(steps));
    return file.commit(error);
}

// The canvas the pictures show: the final one, or the one after --at-call's call.
const TXImage3& shown_canvas(HeadlessBridge& bridge, const RunnerOptions& options, TXImage3& view, std::ostream& err) {
    if (!options.at_call) return bridge.canvas();
    const Timeline& timeline = *bridge.timeline();
    if (*options.at_call < timeline.first_call()) err << kept_part(timeline) << '\n';
    timeline.seek(*options.at_call, view);
    return view;
}

// Everything written after the run; false if something could not be.
bool write_outputs(HeadlessBridge& bridge, const Interpreter& interpreter, const RunnerOptions& options,
                   std::ostream& out, std::ostream& err) {
    TXImage3 view(1);
    bool ok = write_pictures(shown_canvas(bridge, options, view, err), options, err) && bridge.frames_ok();
    if (options.history) write_history(out, err, *bridge.timeline(), options.history->x, options.history->y);
    std::string error;
    if (bridge.records_gif() && !bridge.finish_gif(error)) {
        err << error << '\n';
        ok = false;
    }
    if (!options.provenance.empty() &&
        !write_provenance(options.provenance, bridge, Picture::snapshot(bridge.canvas()), error)) {
        err << error << '\n';
        ok = false;
    }
    if (!options.stats.empty() && !write_stats(options.stats, interpreter.steps_taken(), error)) {
        err << error << '\n';
        ok = false;
    }
    return ok;
}

// --pauses: the log that each pause of the run writes to.
bool open_pause_log(const RunnerOptions& options, const TXImage3& canvas, std::ofstream& file,
                    std::optional<PauseLog>& log, std::ostream& err) {
    if (options.pauses.empty()) return true;
    file.open(options.pauses, std::ios::binary);
    if (!file) {
        err << "Cannot create file " << options.pauses << '\n';
        return false;
    }
    PixelWatches watches;
    for (const auto& [x, y] : options.watches) watches.add(canvas, x, y);
    log.emplace(file, canvas, watches);
    return true;
}

void attach_pause_log(const RunnerOptions& options, std::optional<PauseLog>& log, Interpreter& interpreter) {
    if (!log) return;
    interpreter.set_pause_host(&*log);
    interpreter.set_breakpoints(options.breaks);
    interpreter.set_pixel_watch(!options.watches.empty());
}

}  // namespace

int run_program_file(const RunnerOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    std::string text;
    if (!read_file(options.program, text)) {
        err << "Cannot open file " << options.program << '\n';
        return STATUS_FILE;
    }
    TXImage3 canvas;
    if (!prepare(canvas, options, err)) return STATUS_FILE;
    Picture expected;
    if (!options.expect.empty() && !read_expected(options.expect, expected, err)) return STATUS_FILE;
    if (!options.frames.empty() && !make_folder(options.frames, err)) return STATUS_FILE;
    std::unique_ptr<std::ifstream> input_file;
    std::istream* input = open_input(options, in, input_file, err);
    if (!input) return STATUS_FILE;
    std::ofstream pause_file;
    std::optional<PauseLog> pause_log;
    if (!open_pause_log(options, canvas, pause_file, pause_log, err)) return STATUS_FILE;
    HeadlessBridge bridge(canvas, *input, out, err);
    if (std::string error; !options.gif.empty() && !bridge.record_gif_to(options.gif, error)) {
        err << error << '\n';
        return STATUS_FILE;
    }
    if (!options.frames.empty()) bridge.write_frames_to(options.frames);
    if (input == &std::cin) bridge.await_answers_on(fileno(stdin));
    bridge.set_provenance(!options.provenance.empty());
    bridge.set_timeline(options.at_call || options.history);
    bridge.begin_run();
    Interpreter interpreter(bridge);
    apply_bounds(options, bridge, interpreter);
    attach_pause_log(options, pause_log, interpreter);
    if (options.hints) write_warnings(text, err);
    const RunResult result = interpreter.run_text(text);
    out.flush();
    if (const ErrorDetails& e = interpreter.error_details(); options.hints && e.code >= 0)
        err << "hint: " << place_text(e.token) << e.hint << '\n';
    if (result == RUN_NO_MAIN) err << kNoMainMessage << '\n';

    int status = status_of(result);
    // A file that could not be written is a file problem, whatever the run did.
    bool written = write_outputs(bridge, interpreter, options, out, err);
    if (pause_log && !pause_file.flush()) {
        err << "Cannot write file " << options.pauses << '\n';
        written = false;
    }
    if (!written) status = std::max(status, static_cast<int>(STATUS_FILE));
    if (!options.expect.empty()) {
        const int check = check_expected(expected, Picture::snapshot(canvas), options, err);
        // A run that already failed keeps its status; the difference is still reported.
        if (status == STATUS_RAN) status = check;
    }
    return status;
}

int runner_main(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << runner_help() << '\n';
        return STATUS_RAN;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << "korvane-run " << kVersion << '\n';
        return STATUS_RAN;
    }
    RunnerOptions options;
    if (std::string error; !parse_arguments(args, options, error)) {
        err << error << '\n';
        return STATUS_FILE;
    }
    if (!options.check.empty()) return check_exercise(options.program, options.check, out, err);
    return run_program_file(options, in, out, err);
}

}  // namespace korvane
