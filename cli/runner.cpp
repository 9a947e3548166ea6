#include "runner.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "canvas_bridge.h"
#include "headless_bridge.h"
#include "interpreter.h"
#include "picture.h"
#include "ximage3.h"

namespace korvane {

const char* const kUsage =
    "usage: korvane-run PROGRAM.cg [--palette FILE.pal] [--png OUT.png] [--jpeg OUT.jpg] "
    "[--frames DIR]";

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

int status_of(RunResult result) {
    switch (result) {
        case RUN_OK:
        case RUN_END: return STATUS_RAN;
        case RUN_NO_MAIN: return STATUS_NO_MAIN;
        case RUN_ERROR:
        case RUN_ABORTED: return STATUS_ERROR;
        case RUN_CANNOT_READ: return STATUS_FILE;
    }
    return STATUS_ERROR;
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

}  // namespace

bool parse_arguments(const std::vector<std::string>& args, RunnerOptions& options,
                     std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string* value = arg == "--palette" ? &options.palette
                             : arg == "--png"   ? &options.png
                             : arg == "--jpeg"  ? &options.jpeg
                             : arg == "--frames" ? &options.frames
                                                 : nullptr;
        if (value) {
            if (i + 1 == args.size() || args[i + 1].empty()) {
                error = "option " + arg + " needs a value\n" + kUsage;
                return false;
            }
            *value = args[++i];
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
    if (options.program.empty()) error = kUsage;
    return !options.program.empty();
}

std::string normalise_line_ends(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

int run_program_file(const RunnerOptions& options, std::istream& in, std::ostream& out,
                     std::ostream& err) {
    std::string text;
    if (!read_file(options.program, text)) {
        err << "Cannot open file " << options.program << '\n';
        return STATUS_FILE;
    }
    TXImage3 canvas;
    if (!prepare(canvas, options, err)) return STATUS_FILE;
    if (!options.frames.empty() && !make_folder(options.frames, err)) return STATUS_FILE;

    HeadlessBridge bridge(canvas, in, out, err);
    if (!options.frames.empty()) bridge.write_frames_to(options.frames);
    Interpreter interpreter(bridge);
    const RunResult result = interpreter.run_text(normalise_line_ends(text));
    out.flush();
    if (result == RUN_NO_MAIN) err << "Program Error! Can't find main()\n";

    int status = status_of(result);
    const bool written = write_pictures(canvas, options, err) && bridge.frames_ok();
    // A picture that could not be written is a file problem, whatever the run did.
    if (!written) status = std::max(status, static_cast<int>(STATUS_FILE));
    return status;
}

int runner_main(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage << '\n';
        return STATUS_RAN;
    }
    RunnerOptions options;
    if (std::string error; !parse_arguments(args, options, error)) {
        err << error << '\n';
        return STATUS_FILE;
    }
    return run_program_file(options, in, out, err);
}

}  // namespace korvane
