// SPDX-License-Identifier: GPL-3.0-or-later
#include "grade.h"

#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "exercise.h"
#include "grading.h"
#include "korvane_version.h"
#include "report_data.h"
#include "report_folder.h"
#include "submissions.h"

namespace korvane::grade {

namespace {

class BlockInterruptions {
public:
    BlockInterruptions() {
        sigset_t interruptions;
        sigemptyset(&interruptions);
        sigaddset(&interruptions, SIGINT);
        sigaddset(&interruptions, SIGTERM);
        sigprocmask(SIG_BLOCK, &interruptions, &previous_);
    }
    ~BlockInterruptions() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    BlockInterruptions(const BlockInterruptions&) = delete;
    BlockInterruptions& operator=(const BlockInterruptions&) = delete;

private:
    sigset_t previous_;
};

// "\r[######------] 12/40" on a terminal, redrawn as runs end.
void draw_progress(std::ostream& err, size_t done, size_t total) {
    constexpr size_t kWidth = 30;
    const size_t filled = total ? done * kWidth / total : kWidth;
    err << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '-') << "] " << done << '/' << total
        << (done == total ? "\r\033[K" : "") << std::flush;
}

std::string summary(const std::vector<Record>& records) {
    int count[kStatusCount] = {};
    for (const Record& r : records) ++count[static_cast<int>(r.status)];
    std::string text = std::to_string(records.size()) + " submissions";
    for (int s = 0; s < kStatusCount; ++s)
        if (count[s] > 0) text += ", " + std::to_string(count[s]) + " " + std::string(status_name(Status(s)));
    return text;
}

bool write_report(const Exercise& exercise, const ReportFolder& folder, std::vector<Record>& records,
                  std::string& error) {
    const Groups groups = group_canvases(records);
    return folder.write("results.csv", results_csv(records), error) &&
           folder.write("results.json", results_json(exercise.title, records), error) &&
           folder.write("index.html", report_page(exercise, records, groups), error);
}

}  // namespace

int grade_main(const std::vector<std::string>& args, const std::string& self, std::ostream& out, std::ostream& err,
               bool progress) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) return out << kGradeHelp << '\n', GRADE_WRITTEN;
    if (args.size() == 1 && args[0] == "--version") return out << "korvane-grade " << kVersion << '\n', GRADE_WRITTEN;
    GradeOptions options;
    std::string error;
    if (!parse_grade_arguments(args, options, error)) return err << error << '\n', GRADE_BAD_INPUT;
    Exercise exercise;
    if (!load_exercise(options.exercise, exercise, error)) return err << error << '\n', GRADE_BAD_INPUT;
    const std::string runner = find_runner(options.runner, self);
    if (runner.empty()) {
        err << "Cannot find korvane-run" << (options.runner.empty() ? " beside korvane-grade or on PATH" : ": ")
            << options.runner << '\n';
        return GRADE_NOT_WRITTEN;
    }
    // From here an interruption is taken while the runs are awaited, and the
    // temporary folder is removed: no half report is left.
    const BlockInterruptions blocked;
    ReportFolder folder;
    if (!folder.open(options.out, error)) return err << error << '\n', GRADE_BAD_INPUT;
    std::vector<Record> records = find_submissions(options.submissions);
    const int jobs =
        options.jobs > 0 ? options.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const auto show = [&](size_t done, size_t total) {
        if (progress) draw_progress(err, done, total);
    };
    if (!copy_sources(exercise, folder, records, error) ||
        !run_class(exercise, folder, runner, jobs, records, show, error) ||
        !write_report(exercise, folder, records, error) || !folder.commit(error)) {
        err << error << '\n';
        return GRADE_NOT_WRITTEN;
    }
    out << "korvane-grade: " << summary(records) << "; report in "
        << (std::filesystem::path(options.out) / "index.html").string() << '\n';
    return GRADE_WRITTEN;
}

}  // namespace korvane::grade
