// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise_check.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "check_run.h"
#include "exercise.h"
#include "run_outcome.h"

namespace korvane {

int check_exercise(const std::string& program, const std::string& exercise_dir, std::ostream& out, std::ostream& err) {
    std::ifstream file(program, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(file), {});
    if (!file.is_open() || file.bad()) {
        err << "Cannot open file " << program << '\n';
        return STATUS_FILE;
    }
    exercise::Exercise e;
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
        const exercise::CheckRun r = exercise::run_check(e, i, text);
        const std::vector<std::string> lines = exercise::check_lines(r);
        out << exercise::check_title(e, i) << ": " << lines[0] << '\n';
        for (size_t l = 1; l < lines.size(); ++l) out << lines[l] << '\n';
        out.flush();
        // An error, a limit or a missing main outweighs a difference.
        if (r.status == exercise::Status::DIFFERS) {
            if (status == STATUS_RAN) status = STATUS_DIFFERS;
        } else if (r.status != exercise::Status::PASS) {
            status = STATUS_ERROR;
        }
    }
    return status;
}

}  // namespace korvane
