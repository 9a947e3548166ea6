// SPDX-License-Identifier: GPL-3.0-or-later
#include "check_run.h"

#include <algorithm>

#include "check_bridge.h"
#include "interpreter.h"
#include "run_outcome.h"
#include "timeline.h"

namespace korvane::exercise {

namespace {

void paint_palette(TXImage3& canvas, const Exercise& e) {
    if (e.palette_data.size() == canvas.PaletteData.size())
        std::copy(e.palette_data.begin(), e.palette_data.end(), canvas.PaletteData.begin());
    else
        canvas.LoadDefaultPalette();
    canvas.AssignPalette(0);
    prepare_canvas(canvas);
}

std::string first_line(const std::string& text) { return text.substr(0, text.find('\n')); }

}  // namespace

CheckRun run_check(const Exercise& e, size_t index, const std::string& program, const std::atomic<bool>* stop) {
    const Check& check = e.checks.at(index);
    TXImage3 canvas;
    paint_palette(canvas, e);
    const auto answers = e.answers.find(check.input);
    CheckBridge bridge(canvas, answers == e.answers.end() ? std::string() : answers->second, check.timeout, stop);
    bridge.set_timeline(true);
    bridge.begin_run();
    Interpreter interpreter(bridge);
    if (check.seed) interpreter.seed_random(*check.seed);
    interpreter.set_step_limit(check.max_steps);
    const RunResult result = interpreter.run_text(program);
    CheckRun run;
    run.canvas = Picture::snapshot(canvas);
    switch (status_of(result)) {
        case STATUS_RAN: break;
        case STATUS_NO_MAIN:
            run.status = Status::NO_MAIN;
            run.report = kNoMainMessage;
            return run;
        default:
            run.report = first_line(bridge.messages());
            run.status = status_of_report(run.report);
            run.hint = interpreter.error_details().hint;
            run.line = interpreter.error_line();
            return run;
    }
    run.verdict = judge_canvas(e, check, run.canvas);
    if (run.verdict.pass) return run;
    run.status = Status::DIFFERS;
    run.divergence = first_divergence(*bridge.timeline(), accepted_picture(e, index, run).pixels);
    return run;
}

const Picture& accepted_picture(const Exercise& e, size_t index, const CheckRun& run) {
    return e.pictures.at(e.checks.at(index).expected.at(run.verdict.nearest));
}

std::string check_title(const Exercise& e, size_t index) {
    const size_t total = e.checks.size() + static_cast<size_t>(e.hidden_checks);
    return "check " + std::to_string(index + 1) + " of " + std::to_string(total) + " \"" + e.checks.at(index).name +
           "\"";
}

std::vector<std::string> check_lines(const CheckRun& run) {
    if (run.status == Status::PASS) return {"pass"};
    if (run.status != Status::DIFFERS) return {run.report};
    std::vector<std::string> lines{"differs, " + count_of(run.verdict.diff.count, "pixel") + " off"};
    const std::string first = divergence_text(run.divergence), missing = missing_text(run.divergence);
    lines.push_back("first difference: " + (first.empty() ? missing : first));
    if (!first.empty() && !missing.empty()) lines.push_back("missing: " + missing);
    return lines;
}

}  // namespace korvane::exercise
