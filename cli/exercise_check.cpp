// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise_check.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "exercise.h"
#include "first_divergence.h"
#include "headless_bridge.h"
#include "interpreter.h"
#include "picture.h"
#include "run_outcome.h"
#include "timeline.h"
#include "verdict.h"

namespace korvane {

namespace {

using exercise::Check;
using exercise::Exercise;

// How one check's run went: the first line of its error report, or the
// canvas's verdict and, when it differs, its first divergence.
struct CheckResult {
    int status = STATUS_RAN;
    std::string report;
    exercise::CanvasVerdict verdict;
    Divergence divergence;
};

bool prepare(TXImage3& canvas, const Exercise& e, std::ostream& err) {
    if (e.palette.empty()) {
        canvas.LoadDefaultPalette();
    } else if (std::string error; !canvas.LoadPalette(e.path(e.palette), error)) {
        err << error << '\n';
        return false;
    }
    canvas.AssignPalette(0);
    prepare_canvas(canvas);
    return true;
}

CheckResult run_check(const std::string& text, const Exercise& e, const Check& check, TXImage3& canvas) {
    std::ifstream file;
    std::istringstream none;
    if (!check.input.empty()) file.open(e.path(check.input), std::ios::binary);
    std::ostringstream output, report;
    HeadlessBridge bridge(canvas, check.input.empty() ? static_cast<std::istream&>(none) : file, output, report);
    bridge.set_timeline(true);
    bridge.set_grading();  // as the grader runs it: no sleeping, no answers past the check's
    bridge.set_time_limit(check.timeout);
    bridge.begin_run();
    Interpreter interpreter(bridge);
    if (check.seed) interpreter.seed_random(*check.seed);
    interpreter.set_step_limit(check.max_steps);
    const RunResult run = interpreter.run_text(text);
    CheckResult r;
    r.status = status_of(run);
    if (r.status != STATUS_RAN) {
        r.report = run == RUN_NO_MAIN ? kNoMainMessage : report.str().substr(0, report.str().find('\n'));
        return r;
    }
    r.verdict = exercise::judge_canvas(e, check, Picture::snapshot(canvas));
    if (r.verdict.pass) return r;
    r.status = STATUS_DIFFERS;
    const Picture& accepted = e.pictures.at(check.expected[r.verdict.nearest]);
    r.divergence = first_divergence(*bridge.timeline(), accepted.pixels);
    return r;
}

void write_result(const CheckResult& r, std::ostream& out) {
    if (r.status != STATUS_RAN && r.status != STATUS_DIFFERS) {
        out << r.report << '\n';
        return;
    }
    if (r.status == STATUS_RAN) {
        out << "pass\n";
        return;
    }
    out << "differs, " << exercise::count_of(r.verdict.diff.count, "pixel") << " off\n";
    const std::string first = divergence_text(r.divergence), missing = missing_text(r.divergence);
    out << "first difference: " << (first.empty() ? missing : first) << '\n';
    if (!first.empty() && !missing.empty()) out << "missing: " << missing << '\n';
}

}  // namespace

int check_exercise(const std::string& program, const std::string& exercise_dir, std::ostream& out, std::ostream& err) {
    std::ifstream file(program, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(file), {});
    if (!file.is_open() || file.bad()) {
        err << "Cannot open file " << program << '\n';
        return STATUS_FILE;
    }
    Exercise e;
    if (std::string error; !exercise::load_exercise(exercise_dir, e, error)) {
        err << error << '\n';
        return STATUS_FILE;
    }
    if (const auto use = exercise::find_forbidden(e, text)) {
        err << exercise::forbidden_message(*use) << " in line " << use->line << '\n';
        return STATUS_ERROR;
    }
    int status = STATUS_RAN;
    for (const size_t i : exercise::shown_checks(e, exercise::Moment::BEFORE_DUE_DATE)) {
        const Check& check = e.checks[i];
        TXImage3 canvas;
        if (!prepare(canvas, e, err)) return STATUS_FILE;
        const CheckResult r = run_check(text, e, check, canvas);
        out << "check " << i + 1 << " of " << e.checks.size() << " \"" << check.name << "\": ";
        write_result(r, out);
        out.flush();
        // An error, a limit or a missing main outweighs a difference.
        if (r.status == STATUS_DIFFERS) {
            if (status == STATUS_RAN) status = STATUS_DIFFERS;
        } else if (r.status != STATUS_RAN) {
            status = STATUS_ERROR;
        }
    }
    return status;
}

}  // namespace korvane
