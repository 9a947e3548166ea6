// SPDX-License-Identifier: GPL-3.0-or-later
#include "grading.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "canvas_store.h"
#include "process_pool.h"
#include "run_ending.h"
#include "submissions.h"
#include "thumbnail.h"

namespace korvane::grade {

namespace fs = std::filesystem;
using exercise::Check;
using exercise::Exercise;

namespace {

// Past the check's time limit, korvane-run ends a run itself; one still
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

// The whole program, never through a link: what was checked is what is read.
bool read_program(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[8192];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && text.size() <= kMaxProgramBytes)
        text.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    return n >= 0 && text.size() <= kMaxProgramBytes;
}

std::optional<uint64_t> steps_in(const std::string& stats) {
    unsigned long long steps = 0;
    if (std::sscanf(head_of(stats, 64).c_str(), "steps %llu", &steps) != 1) return std::nullopt;
    return steps;
}

std::string work_name(size_t record, size_t check) {
    return "work/" + std::to_string(record + 1) + "-" + std::to_string(check + 1);
}

Command command_for(const Exercise& e, const Check& check, const std::string& work, const std::string& runner,
                    const std::string& program) {
    // Absolute, so a program named like an option stays a program.
    Command c{{runner, fs::absolute(program).string(), "--png", work + ".png", "--stats", work + ".stats", "--grading"},
              work + ".err",
              kill_after(check.timeout)};
    char timeout[32];
    std::snprintf(timeout, sizeof timeout, "%g", check.timeout);
    c.argv.insert(c.argv.end(), {"--timeout", timeout, "--max-steps", std::to_string(check.max_steps)});
    if (check.seed) c.argv.insert(c.argv.end(), {"--seed", std::to_string(*check.seed)});
    if (!check.input.empty()) c.argv.insert(c.argv.end(), {"--input", e.path(check.input)});
    if (!e.palette.empty()) c.argv.insert(c.argv.end(), {"--palette", e.path(e.palette)});
    return c;
}

bool leaves_a_canvas(Status s) {
    return s == Status::PASS || s == Status::ERROR || s == Status::TIME_LIMIT || s == Status::STEP_LIMIT ||
           s == Status::OUT_OF_INPUT;
}

// The final canvas of a finished run against the check's accepted pictures.
bool judge_picture(const Exercise& e, const Check& check, CanvasStore& store, const std::string& png, CheckResult& r,
                   std::string& error) {
    if (!leaves_a_canvas(r.status)) return true;
    Picture canvas;
    std::string unread;
    const bool read = read_indexed_png(png, canvas, unread);
    if (!read || canvas.width != 400 || canvas.height != 400) {
        // Never a pass without a canvas to compare.
        if (r.status == Status::PASS) {
            r.status = Status::CRASHED;
            r.message = "korvane-run left no canvas of 400 x 400" + (read ? std::string() : ": " + unread);
        }
        return true;
    }
    r.canvas = store.keep(canvas, png, error);
    if (r.canvas.empty()) return false;
    r.canvas_key = CanvasStore::content_key(canvas);
    const exercise::CanvasVerdict v = exercise::judge_canvas(e, check, canvas);
    r.pixels_off = v.diff.count;
    r.off = v.diff;
    const std::string& nearest = check.expected[v.nearest];
    r.accepted = accepted_in_report(e, nearest);
    if (r.status == Status::PASS) {
        r.status = v.pass ? Status::PASS : Status::DIFFERS;
        r.message = exercise::difference_message(check, v);
    }
    if (v.diff.count == 0) return true;
    r.difference = store.difference(r.canvas, canvas, e.pictures.at(nearest), r.accepted, error);
    return !r.difference.empty();
}

}  // namespace

std::string accepted_in_report(const Exercise& exercise, const std::string& name) {
    const auto at = exercise.pictures.find(name);
    return "pictures/accepted-" + std::to_string(std::distance(exercise.pictures.begin(), at) + 1) + ".png";
}

bool copy_sources(const Exercise& exercise, const ReportFolder& folder, const std::string& prefix,
                  std::vector<Record>& records, std::string& error) {
    for (const auto& [name, picture] : exercise.pictures) {
        const std::string copy = accepted_in_report(exercise, name);
        std::error_code failure;
        fs::copy_file(exercise.path(name), folder.path(copy), fs::copy_options::overwrite_existing, failure);
        if (failure) return error = "Cannot write file " + folder.path(copy), false;
        if (!write_thumbnail(picture, folder.path(copy), error)) return false;
    }
    for (size_t i = 0; i < records.size(); ++i) {
        Record& r = records[i];
        if (r.program.empty()) continue;
        std::string text;
        if (!read_program(r.program, text)) {
            r.message = "Cannot open file " + r.program;
            continue;
        }
        r.text = "programs/" + prefix + std::to_string(i + 1) + ".txt";
        if (!folder.write(r.text, text, error)) return false;
        r.fingerprint = exercise::program_fingerprint(text);
        if (const auto use = exercise::find_forbidden(exercise, text)) {
            r.status = Status::FORBIDDEN;
            r.message = exercise::forbidden_message(*use);
            r.line = use->line;
        }
    }
    return true;
}

bool run_class(const Exercise& exercise, const ReportFolder& folder, const std::string& prefix,
               const std::string& runner, int jobs, std::vector<Record>& records,
               const std::function<void(size_t, size_t)>& progress, std::string& error) {
    std::vector<Command> commands;
    std::vector<std::pair<size_t, size_t>> owner;  // the record and check of each command
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].text.empty() || records[i].status == Status::FORBIDDEN) continue;
        records[i].checks.assign(exercise.checks.size(), CheckResult{});
        for (size_t k = 0; k < exercise.checks.size(); ++k) {
            commands.push_back(
                command_for(exercise, exercise.checks[k], folder.path(work_name(i, k)), runner, records[i].program));
            owner.emplace_back(i, k);
        }
    }
    CanvasStore store(folder, prefix);
    size_t finished = 0;
    bool written = true;
    const bool whole = run_commands(commands, jobs, [&](size_t c, const Ending& ending) {
        const auto [i, k] = owner[c];
        CheckResult& r = records[i].checks[k];
        const std::string work = folder.path(work_name(i, k));
        r.seconds = ending.seconds;
        judge_ending(ending, read_runner_message(head_of(work + ".err", 64 * 1024)), r);
        if (ending.kind == Ending::EXITED) r.steps = steps_in(work + ".stats");
        if (written && !judge_picture(exercise, exercise.checks[k], store, work + ".png", r, error)) written = false;
        progress(++finished, commands.size());
    });
    if (!whole) error = "interrupted; no report written";
    return whole && written;
}

void settle(const Exercise& exercise, Record& r) {
    if (r.checks.empty()) {
        r.score = exercise::score_of(exercise, {});
        return;
    }
    std::vector<Status> statuses;
    for (const CheckResult& c : r.checks) statuses.push_back(c.status);
    r.status = exercise::worst_status(statuses);
    r.score = exercise::score_of(exercise, statuses);
    const CheckResult& deciding =
        *std::find_if(r.checks.begin(), r.checks.end(), [&](const CheckResult& c) { return c.status == r.status; });
    r.message = deciding.message;
    r.hint = deciding.hint;
    r.line = deciding.line;
}

Groups group_mistakes(std::vector<Record>& records) {
    std::map<std::string, std::vector<size_t>> by_mistake;
    for (size_t i = 0; i < records.size(); ++i) {
        Record& r = records[i];
        r.group = 0;
        if (r.status == Status::PASS) continue;
        std::string canvases;
        for (const CheckResult& c : r.checks) canvases += c.canvas_key + ' ';
        by_mistake[exercise::mistake_key(r.status, r.message, canvases)].push_back(i);
    }
    Groups groups;
    for (auto& [key, members] : by_mistake)
        if (members.size() > 1) groups.push_back(std::move(members));
    // Records are in name order, so a group's first member names it.
    std::sort(groups.begin(), groups.end(),
              [](const auto& a, const auto& b) { return a.size() != b.size() ? a.size() > b.size() : a[0] < b[0]; });
    for (size_t g = 0; g < groups.size(); ++g)
        for (size_t i : groups[g]) records[i].group = static_cast<int>(g + 1);
    return groups;
}

void mark_same_texts(std::vector<Record>& records) {
    std::map<std::string, std::vector<size_t>> by_text;
    for (size_t i = 0; i < records.size(); ++i) {
        records[i].same_text.clear();
        if (!records[i].fingerprint.empty()) by_text[records[i].fingerprint].push_back(i);
    }
    for (const auto& [text, members] : by_text)
        for (size_t i : members)
            for (size_t j : members)
                if (i != j) records[i].same_text.push_back(j);
}

}  // namespace korvane::grade
