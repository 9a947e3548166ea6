// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_ending.h"

#include <cstring>

#include "run_outcome.h"

namespace korvane::grade {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.remove_suffix(1);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

// Splits " in line N" off the end of a message.
void take_line(std::string& message, int& line) {
    static constexpr std::string_view kAt = " in line ";
    const size_t at = message.rfind(kAt);
    if (at == std::string::npos) return;
    const std::string digits = message.substr(at + kAt.size());
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return;
    line = std::stoi(digits);
    message.resize(at);
}

std::string runner_note(const Ending& ending) {
    switch (ending.kind) {
        case Ending::EXITED: return "korvane-run ended with status " + std::to_string(ending.code);
        case Ending::SIGNALLED:
            return "korvane-run crashed: signal " + std::to_string(ending.code) + " (" + strsignal(ending.code) + ")";
        case Ending::KILLED: return "still running well past the time limit; stopped";
        case Ending::NOT_STARTED: return std::string("korvane-run could not be started: ") + std::strerror(ending.code);
    }
    return {};
}

}  // namespace

RunnerMessage read_runner_message(std::string_view err) {
    RunnerMessage m;
    bool have_message = false;
    while (!err.empty()) {
        const size_t end = err.find('\n');
        const std::string_view line = trim(err.substr(0, end));
        err = end == std::string_view::npos ? std::string_view{} : err.substr(end + 1);
        if (line.empty() || line.starts_with("warning:")) continue;
        if (!have_message) {
            m.message = line;
            have_message = true;
        } else {
            if (line.starts_with("hint:")) m.hint = trim(line.substr(5));
            break;
        }
    }
    take_line(m.message, m.line);
    return m;
}

void judge_ending(const Ending& ending, const RunnerMessage& m, CheckResult& r) {
    r.message = m.message;
    r.hint = m.hint;
    r.line = m.line;
    if (ending.kind != Ending::EXITED || ending.code > STATUS_FILE) {
        r.status = ending.kind == Ending::KILLED ? Status::TIME_LIMIT : Status::CRASHED;
        r.message = runner_note(ending);
        r.hint.clear();
        r.line = -1;
        return;
    }
    switch (ending.code) {
        case STATUS_RAN:  // whatever it printed, a run that ended well has no message
            r.status = Status::PASS;
            r.message.clear();
            r.hint.clear();
            r.line = -1;
            break;
        case STATUS_NO_MAIN: r.status = Status::NO_MAIN; break;
        case STATUS_FILE: r.status = Status::UNREADABLE; break;
        default: r.status = exercise::status_of_report(m.message);
    }
}

}  // namespace korvane::grade
