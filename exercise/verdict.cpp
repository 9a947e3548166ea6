// SPDX-License-Identifier: GPL-3.0-or-later
#include "verdict.h"

#include <algorithm>

namespace korvane::exercise {

namespace {

constexpr std::string_view kStatusNames[kStatusCount] = {"pass",  "differs", "step limit", "time limit", "out of input",
                                                         "error", "no main", "forbidden",  "unreadable", "crashed"};

}  // namespace

std::string_view status_name(Status status) { return kStatusNames[static_cast<int>(status)]; }

bool status_from_name(std::string_view name, Status& status) {
    for (int s = 0; s < kStatusCount; ++s)
        if (kStatusNames[s] == name) return status = Status(s), true;
    return false;
}

Status status_of_report(std::string_view message) {
    return message.starts_with("time limit reached")   ? Status::TIME_LIMIT
           : message.starts_with("step limit reached") ? Status::STEP_LIMIT
           : message.starts_with("asked for input")    ? Status::OUT_OF_INPUT
                                                       : Status::ERROR;
}

CanvasVerdict judge_canvas(const Exercise& exercise, const Check& check, const Picture& canvas) {
    CanvasVerdict best;
    for (size_t i = 0; i < check.expected.size(); ++i) {
        const PictureDiff d = compare_pictures(exercise.pictures.at(check.expected[i]), canvas);
        if (i == 0 || d.count < best.diff.count) {
            best.nearest = i;
            best.diff = d;
        }
    }
    best.pass = best.diff.count <= check.tolerance;
    return best;
}

std::string count_of(int64_t n, std::string_view noun, std::string_view plural) {
    const std::string many = plural.empty() ? std::string(noun) + "s" : std::string(plural);
    return std::to_string(n) + " " + (n == 1 ? std::string(noun) : many);
}

std::string difference_message(const Check& check, const CanvasVerdict& verdict) {
    const PictureDiff& d = verdict.diff;
    if (d.count == 0) return {};
    return count_of(d.count, "pixel") + (d.count == 1 ? " differs" : " differ") + " from " +
           check.expected[verdict.nearest] + ", within x " + std::to_string(d.xmin) + ".." + std::to_string(d.xmax) +
           ", y " + std::to_string(d.ymin) + ".." + std::to_string(d.ymax);
}

Status worst_status(std::span<const Status> statuses) {
    Status worst = Status::PASS;
    for (const Status s : statuses) worst = std::max(worst, s);
    return worst;
}

Score score_of(const Exercise& exercise, std::span<const Status> statuses) {
    Score score;
    for (size_t i = 0; i < exercise.checks.size(); ++i) {
        const double points = exercise.checks[i].points;
        score.max_score += points;
        if (i < statuses.size() && statuses[i] == Status::PASS) score.score += points;
    }
    return score;
}

bool shown_to_students(Visibility visibility, Moment moment) {
    switch (visibility) {
        case Visibility::VISIBLE: return true;
        case Visibility::HIDDEN: return false;
        case Visibility::AFTER_DUE_DATE: return moment != Moment::BEFORE_DUE_DATE;
        case Visibility::AFTER_PUBLISHED: return moment == Moment::AFTER_PUBLISHED;
    }
    return false;
}

std::vector<size_t> shown_checks(const Exercise& exercise, Moment moment) {
    std::vector<size_t> shown;
    for (size_t i = 0; i < exercise.checks.size(); ++i)
        if (shown_to_students(exercise.checks[i].visibility, moment)) shown.push_back(i);
    return shown;
}

std::string mistake_key(Status status, std::string_view message, std::string_view canvas) {
    // Separated by a byte no message or file name holds, so no two keys blur.
    std::string key(status_name(status));
    key += '\0';
    key += message;
    key += '\0';
    key += canvas;
    return key;
}

std::string program_fingerprint(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            // As written, up to the closing quote or the line's end.
            const size_t end = text.find_first_of(std::string{c, '\n'}, i + 1);
            const size_t stop = end == std::string_view::npos ? text.size() : end + (text[end] == c);
            out.append(text.substr(i, stop - i));
            i = stop;
        } else if (text.substr(i, 2) == "//") {
            i = std::min(text.find('\n', i), text.size());
        } else if (text.substr(i, 2) == "/*") {
            const size_t end = text.find("*/", i + 2);
            i = end == std::string_view::npos ? text.size() : end + 2;
        } else {
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\f' && c != '\v') out += c;
            ++i;
        }
    }
    return out;
}

}  // namespace korvane::exercise
