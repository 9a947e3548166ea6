// SPDX-License-Identifier: GPL-3.0-or-later
#include "grading.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "canvas_store.h"
#include "process_pool.h"
#include "verdict.h"

namespace korvane::grade {

namespace fs = std::filesystem;

namespace {

// Past the exercise's time limit, korvane-run ends a run itself; one still
// running this much later is stuck and is killed.
double kill_after(double timeout) { return timeout * 1.5 + 2; }

// At most `limit` bytes of a file; empty when it cannot be read.
std::string head_of(const std::string& path, size_t limit) {
    std::ifstream in(path, std::ios::binary);
    std::string text(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return text;
}

bool read_whole(const std::string& path, std::string& text) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buffer[8192];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

std::optional<uint64_t> steps_in(const std::string& stats) {
    unsigned long long steps = 0;
    if (std::sscanf(head_of(stats, 64).c_str(), "steps %llu", &steps) != 1) return std::nullopt;
    return steps;
}

Command command_for(const Exercise& e, const ReportFolder& folder, const std::string& runner, const Record& r,
                    size_t i) {
    const std::string work = folder.path("work/" + std::to_string(i + 1));
    // Absolute, so a program named like an option stays a program.
    Command c{{runner, fs::absolute(r.program).string(), "--png", work + ".png", "--stats", work + ".stats"},
              work + ".err",
              kill_after(e.timeout)};
    char timeout[32];
    std::snprintf(timeout, sizeof timeout, "%g", e.timeout);
    c.argv.insert(c.argv.end(), {"--timeout", timeout});
    if (e.seed) c.argv.insert(c.argv.end(), {"--seed", std::to_string(*e.seed)});
    if (e.max_steps) c.argv.insert(c.argv.end(), {"--max-steps", std::to_string(e.max_steps)});
    if (!e.input.empty()) c.argv.insert(c.argv.end(), {"--input", e.input});
    if (!e.palette.empty()) c.argv.insert(c.argv.end(), {"--palette", e.palette});
    return c;
}

bool leaves_a_canvas(Status s) {
    return s == Status::PASS || s == Status::ERROR || s == Status::TIME_LIMIT || s == Status::STEP_LIMIT;
}

// The final canvas of a finished run against the accepted pictures.
bool judge_picture(const Exercise& e, CanvasStore& store, const std::string& png, Record& r, std::string& error) {
    if (!leaves_a_canvas(r.status)) return true;
    Picture canvas;
    std::string unread;
    const bool read = read_indexed_png(png, canvas, unread);
    if (!read || canvas.width != e.accepted[0].picture.width || canvas.height != e.accepted[0].picture.height) {
        // Never a pass without a canvas to compare.
        if (r.status == Status::PASS) {
            r.status = Status::CRASHED;
            r.message = "korvane-run left no canvas of 400 x 400" + (read ? std::string() : ": " + unread);
        }
        return true;
    }
    r.canvas = store.keep(canvas, png, error);
    if (r.canvas.empty()) return false;
    const Nearest nearest = nearest_accepted(e, canvas);
    judge_canvas(e, nearest, r);
    r.accepted = "pictures/accepted-" + std::to_string(nearest.index + 1) + ".png";
    if (nearest.diff.count == 0) return true;
    r.difference = store.difference(r.canvas, canvas, e, nearest.index, error);
    return !r.difference.empty();
}

}  // namespace

bool copy_sources(const Exercise& exercise, const ReportFolder& folder, std::vector<Record>& records,
                  std::string& error) {
    for (size_t k = 0; k < exercise.accepted.size(); ++k) {
        const std::string name = "pictures/accepted-" + std::to_string(k + 1) + ".png";
        std::error_code failure;
        if (!fs::copy_file(exercise.accepted[k].path, folder.path(name), failure))
            return error = "Cannot write file " + folder.path(name), false;
    }
    for (size_t i = 0; i < records.size(); ++i) {
        Record& r = records[i];
        if (r.program.empty()) continue;
        std::string text;
        if (!read_whole(r.program, text)) {
            r.message = "Cannot open file " + r.program;
            continue;
        }
        r.text = "programs/" + std::to_string(i + 1) + ".txt";
        if (!folder.write(r.text, text, error)) return false;
    }
    return true;
}

bool run_class(const Exercise& exercise, const ReportFolder& folder, const std::string& runner, int jobs,
               std::vector<Record>& records, const std::function<void(size_t, size_t)>& progress, std::string& error) {
    std::vector<Command> commands;
    std::vector<size_t> owner;  // the record of each command
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].text.empty()) continue;
        commands.push_back(command_for(exercise, folder, runner, records[i], i));
        owner.push_back(i);
    }
    CanvasStore store(folder);
    size_t finished = 0;
    bool written = true;
    const bool whole = run_commands(commands, jobs, [&](size_t c, const Ending& ending) {
        Record& r = records[owner[c]];
        const std::string work = folder.path("work/" + std::to_string(owner[c] + 1));
        r.seconds = ending.seconds;
        judge_ending(ending, read_runner_message(head_of(work + ".err", 64 * 1024)), r);
        if (ending.kind == Ending::EXITED) r.steps = steps_in(work + ".stats");
        if (written && !judge_picture(exercise, store, work + ".png", r, error)) written = false;
        progress(++finished, commands.size());
    });
    if (!whole) error = "interrupted; no report written";
    return whole && written;
}

Groups group_canvases(std::vector<Record>& records) {
    std::map<std::string, std::vector<size_t>> by_canvas;
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].status != Status::PASS && !records[i].canvas.empty()) by_canvas[records[i].canvas].push_back(i);
    Groups groups;
    for (auto& [canvas, members] : by_canvas)
        if (members.size() > 1) groups.push_back(std::move(members));
    // Records are in name order, so a group's first member names it.
    std::sort(groups.begin(), groups.end(),
              [](const auto& a, const auto& b) { return a.size() != b.size() ? a.size() > b.size() : a[0] < b[0]; });
    for (size_t g = 0; g < groups.size(); ++g)
        for (size_t i : groups[g]) records[i].group = static_cast<int>(g + 1);
    return groups;
}

}  // namespace korvane::grade
