// SPDX-License-Identifier: GPL-3.0-or-later
#include "grade.h"

#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "atomic_file.h"
#include "exercise.h"
#include "grading.h"
#include "korvane_version.h"
#include "report_data.h"
#include "report_folder.h"
#include "report_page.h"
#include "submissions.h"

namespace korvane::grade {

namespace fs = std::filesystem;
using exercise::Exercise;

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
    int count[exercise::kStatusCount] = {};
    for (const Record& r : records) ++count[static_cast<int>(r.status)];
    std::string text = exercise::count_of(static_cast<int64_t>(records.size()), "submission");
    for (int s = 0; s < exercise::kStatusCount; ++s)
        if (count[s] > 0) text += ", " + std::to_string(count[s]) + " " + std::string(exercise::status_name(Status(s)));
    return text;
}

bool read_file(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool write_report(const Exercise& exercise, const ReportFolder& folder, std::vector<Record>& records,
                  std::string& error) {
    const Groups groups = group_mistakes(records);
    mark_same_texts(records);
    Programs programs;
    for (const Record& r : records)
        if (!r.text.empty()) read_file(folder.path(r.text), programs[r.text]);
    const std::vector<std::string> pages = student_page_names(records);
    for (size_t i = 0; i < records.size(); ++i)
        if (!folder.write(pages[i], student_page(exercise, records[i], programs), error)) return false;
    return folder.write("results.csv", results_csv(exercise, records), error) &&
           folder.write("grades.json", grades_json(exercise, records), error) &&
           folder.write("index.html", report_page(exercise, records, groups, programs), error);
}

// Submissions in the report at out: its grades.json's, or the rows of an
// older report's results.csv; 0 when there is none.
size_t submissions_in(const fs::path& out) {
    std::string csv;
    if (!read_file((out / "results.csv").string(), csv)) return 0;
    return static_cast<size_t>(std::count(csv.begin(), csv.end(), '\n')) - (csv.empty() ? 0 : 1);
}

// The earlier records that these do not replace, with these, in name order.
std::vector<Record> merged(std::vector<Record> earlier, std::vector<Record> graded) {
    std::set<std::string> regraded;
    for (const Record& r : graded) regraded.insert(r.name);
    std::erase_if(earlier, [&](const Record& r) { return regraded.contains(r.name); });
    for (Record& r : graded) earlier.push_back(std::move(r));
    std::stable_sort(earlier.begin(), earlier.end(),
                     [](const Record& a, const Record& b) { return sort_key(a.name) < sort_key(b.name); });
    return earlier;
}

// A prefix for this grading's files that no file of the earlier report has.
std::string fresh_prefix(const ReportFolder& folder) {
    for (int n = 1;; ++n) {
        const std::string prefix = "u" + std::to_string(n) + "-";
        if (!fs::exists(folder.path("programs/" + prefix + "1.txt")) &&
            !fs::exists(folder.path("pictures/canvas-" + prefix + "1.png")))
            return prefix;
    }
}

bool grade(const Exercise& exercise, const ReportFolder& folder, const std::string& prefix, const std::string& runner,
           int jobs, std::vector<Record>& records, bool progress, std::ostream& err, std::string& error) {
    const auto show = [&](size_t done, size_t total) {
        if (progress) draw_progress(err, done, total);
    };
    if (!copy_sources(exercise, folder, prefix, records, error) ||
        !run_class(exercise, folder, prefix, runner, jobs, records, show, error))
        return false;
    for (Record& r : records) settle(exercise, r);
    return true;
}

int grade_for_gradescope(const GradeOptions& options, const Exercise& exercise, const std::string& runner, int jobs,
                         std::ostream& out, std::ostream& err) {
    std::string error;
    ReportFolder scratch;
    std::vector<Record> records = find_submissions(options.submissions, exercise.file);
    if (!scratch.open_scratch(error) || !grade(exercise, scratch, "", runner, jobs, records, false, err, error))
        return err << error << '\n', GRADE_NOT_WRITTEN;
    const Record& r = records[0];
    AtomicFile file(options.gradescope, error);
    const std::string json = gradescope_json(exercise, r);
    if (!file.stream() || std::fwrite(json.data(), 1, json.size(), file.stream()) != json.size() ||
        !file.commit(error)) {
        if (error.empty()) error = "Cannot write file " + options.gradescope;
        return err << error << '\n', GRADE_NOT_WRITTEN;
    }
    out << "korvane-grade: " << r.name << ": " << exercise::status_name(r.status) << ", " << points_text(r.score.score)
        << " of " << points_text(r.score.max_score) << " points; results in " << options.gradescope << '\n';
    return GRADE_WRITTEN;
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
    if (!exercise::load_exercise(options.exercise, exercise, error)) return err << error << '\n', GRADE_BAD_INPUT;
    const std::string runner = find_runner(options.runner, self);
    if (runner.empty()) {
        err << "Cannot find korvane-run" << (options.runner.empty() ? " beside korvane-grade or on PATH" : ": ")
            << options.runner << '\n';
        return GRADE_NOT_WRITTEN;
    }
    const int jobs =
        options.jobs > 0 ? options.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // From here an interruption is taken while the runs are awaited, and the
    // temporary folder is removed: no half report is left.
    const BlockInterruptions blocked;
    if (!options.gradescope.empty()) return grade_for_gradescope(options, exercise, runner, jobs, out, err);

    std::vector<Record> earlier;
    const size_t before = submissions_in(options.out);
    if (options.update) {
        std::string text;
        if (!read_file((fs::path(options.out) / "grades.json").string(), text))
            return err << options.out << " holds no report of korvane-grade to update\n", GRADE_BAD_INPUT;
        if (!read_grades_json(text, exercise, earlier, error))
            return err << "Cannot update " << options.out << ": " << error << '\n', GRADE_BAD_INPUT;
    } else if (before > options.submissions.size()) {
        // Re-grading one late student must not drop the rest of the class.
        err << options.out << " holds a report of " << exercise::count_of(static_cast<int64_t>(before), "submission")
            << "; grading " << options.submissions.size()
            << " would replace it: add --update to merge them into it, or name another folder with --out\n";
        return GRADE_BAD_INPUT;
    }
    ReportFolder folder;
    if (!folder.open(options.out, options.update, error)) return err << error << '\n', GRADE_BAD_INPUT;
    std::vector<Record> records = find_submissions(options.submissions, exercise.file);
    const std::string prefix = options.update ? fresh_prefix(folder) : "";
    if (!grade(exercise, folder, prefix, runner, jobs, records, progress, err, error)) {
        err << error << '\n';
        return GRADE_NOT_WRITTEN;
    }
    const size_t graded = records.size();
    if (options.update) records = merged(std::move(earlier), std::move(records));
    if (!write_report(exercise, folder, records, error) || !folder.commit(error)) {
        err << error << '\n';
        return GRADE_NOT_WRITTEN;
    }
    out << "korvane-grade: " << summary(records);
    if (options.update) out << " (" << graded << " graded again or added)";
    out << "; report in " << (fs::path(options.out) / "index.html").string() << '\n';
    return GRADE_WRITTEN;
}

}  // namespace korvane::grade
