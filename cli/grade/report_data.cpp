// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_data.h"

#include <cstdio>

#include "json.h"

namespace korvane::grade {

using exercise::Exercise;
using exercise::Json;
using exercise::json_quote;

namespace {

// A spreadsheet runs a field that starts like a formula: untrusted names and
// messages get a leading quote so they stay text.
std::string csv_field(const std::string& text) {
    std::string field = text;
    if (!field.empty() && std::string_view("=+-@\t\r").find(field[0]) != std::string_view::npos) field.insert(0, "'");
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string seconds_text(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

std::string number(double n) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", n);
    return text;
}

// The steps and seconds of all checks that ran; none when none ran.
std::optional<uint64_t> total_steps(const Record& r) {
    std::optional<uint64_t> total;
    for (const CheckResult& c : r.checks)
        if (c.steps) total = total.value_or(0) + *c.steps;
    return total;
}
std::optional<double> total_seconds(const Record& r) {
    std::optional<double> total;
    for (const CheckResult& c : r.checks)
        if (c.seconds) total = total.value_or(0) + *c.seconds;
    return total;
}

const CheckResult* deciding(const Record& r) {
    for (const CheckResult& c : r.checks)
        if (c.status == r.status) return &c;
    return nullptr;
}

// {"key": value, ...} from pairs whose values are already JSON.
std::string object(const std::vector<std::pair<std::string, std::string>>& members, const std::string& indent) {
    std::string out = "{";
    for (size_t i = 0; i < members.size(); ++i)
        out += (i ? ",\n" : "\n") + indent + "  " + json_quote(members[i].first) + ": " + members[i].second;
    return out + "\n" + indent + "}";
}

std::string array(const std::vector<std::string>& items, const std::string& indent) {
    if (items.empty()) return "[]";
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ",\n" : "\n") + indent + "  " + items[i];
    return out + "\n" + indent + "]";
}

std::string status_json(Status s) { return json_quote(exercise::status_name(s)); }

std::string check_json(const CheckResult& c, const std::string& indent) {
    std::vector<std::pair<std::string, std::string>> m = {{"status", status_json(c.status)},
                                                          {"message", json_quote(c.message)},
                                                          {"hint", json_quote(c.hint)},
                                                          {"line", std::to_string(c.line)}};
    if (c.pixels_off)
        m.insert(m.end(), {{"pixels_off", std::to_string(*c.pixels_off)},
                           {"box", "[" + std::to_string(c.off.xmin) + ", " + std::to_string(c.off.xmax) + ", " +
                                       std::to_string(c.off.ymin) + ", " + std::to_string(c.off.ymax) + "]"}});
    if (c.steps) m.emplace_back("steps", std::to_string(*c.steps));
    if (c.seconds) m.emplace_back("seconds", number(*c.seconds));
    m.insert(m.end(), {{"canvas", json_quote(c.canvas)},
                       {"accepted", json_quote(c.accepted)},
                       {"difference", json_quote(c.difference)},
                       {"canvas_key", json_quote(c.canvas_key)}});
    return object(m, indent);
}

const std::string& text_of(const Json& o, const char* key) {
    static const std::string none;
    const Json* v = o.find(key);
    return v && v->kind == Json::STRING ? v->text : none;
}
double number_of(const Json& o, const char* key, double otherwise) {
    const Json* v = o.find(key);
    return v && v->kind == Json::NUMBER ? v->number : otherwise;
}

bool read_status(const Json& o, Status& s) { return exercise::status_from_name(text_of(o, "status"), s); }

bool read_check(const Json& o, CheckResult& c) {
    if (o.kind != Json::OBJECT || !read_status(o, c.status)) return false;
    c.message = text_of(o, "message");
    c.hint = text_of(o, "hint");
    c.line = static_cast<int>(number_of(o, "line", -1));
    if (const Json* p = o.find("pixels_off"); p && p->kind == Json::NUMBER) {
        c.pixels_off = static_cast<int64_t>(p->number);
        c.off.count = *c.pixels_off;
        if (const Json* box = o.find("box"); box && box->items.size() == 4) {
            c.off.xmin = static_cast<int32_t>(box->items[0].number);
            c.off.xmax = static_cast<int32_t>(box->items[1].number);
            c.off.ymin = static_cast<int32_t>(box->items[2].number);
            c.off.ymax = static_cast<int32_t>(box->items[3].number);
        }
    }
    if (const Json* s = o.find("steps"); s && s->kind == Json::NUMBER) c.steps = static_cast<uint64_t>(s->number);
    if (const Json* s = o.find("seconds"); s && s->kind == Json::NUMBER) c.seconds = s->number;
    c.canvas = text_of(o, "canvas");
    c.accepted = text_of(o, "accepted");
    c.difference = text_of(o, "difference");
    c.canvas_key = text_of(o, "canvas_key");
    return true;
}

}  // namespace

std::string full_message(const std::string& message, int line) {
    return line < 0 ? message : message + " in line " + std::to_string(line);
}

std::string points_text(double points) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", points);
    return text;
}

std::string results_csv(const Exercise& exercise, const std::vector<Record>& records) {
    std::string csv = "student,id,status,score,max_score";
    for (const exercise::Check& check : exercise.checks) csv += "," + csv_field(check.name);
    csv += ",pixels_off,message,line,steps,seconds\n";
    for (const Record& r : records) {
        csv += csv_field(r.name) + ',' + r.id + ',' + std::string(exercise::status_name(r.status)) + ',';
        csv += points_text(r.score.score) + ',' + points_text(r.score.max_score);
        for (size_t k = 0; k < exercise.checks.size(); ++k)
            csv += "," + (k < r.checks.size() ? std::string(exercise::status_name(r.checks[k].status)) : "");
        const CheckResult* d = deciding(r);
        csv += ',' + (d && d->pixels_off ? std::to_string(*d->pixels_off) : "") + ',' + csv_field(r.message) + ',';
        csv += (r.line >= 0 ? std::to_string(r.line) : "") + ',';
        const auto steps = total_steps(r);
        const auto seconds = total_seconds(r);
        csv += (steps ? std::to_string(*steps) : "") + ',' + (seconds ? seconds_text(*seconds) : "") + '\n';
    }
    return csv;
}

std::string grades_json(const Exercise& exercise, const std::vector<Record>& records) {
    std::vector<std::string> names;
    for (const exercise::Check& check : exercise.checks) names.push_back(json_quote(check.name));
    std::vector<std::string> submissions;
    for (const Record& r : records) {
        std::vector<std::string> checks;
        for (const CheckResult& c : r.checks) checks.push_back(check_json(c, "      "));
        submissions.push_back(object({{"student", json_quote(r.name)},
                                      {"id", json_quote(r.id)},
                                      {"program", json_quote(r.program)},
                                      {"text", json_quote(r.text)},
                                      {"fingerprint", json_quote(r.fingerprint)},
                                      {"status", status_json(r.status)},
                                      {"score", number(r.score.score)},
                                      {"max_score", number(r.score.max_score)},
                                      {"message", json_quote(r.message)},
                                      {"hint", json_quote(r.hint)},
                                      {"line", std::to_string(r.line)},
                                      {"checks", array(checks, "    ")}},
                                     "    "));
    }
    return object({{"title", json_quote(exercise.title)},
                   {"checks", "[" +
                                  [&] {
                                      std::string list;
                                      for (size_t i = 0; i < names.size(); ++i) list += (i ? ", " : "") + names[i];
                                      return list;
                                  }() +
                                  "]"},
                   {"submissions", array(submissions, "  ")}},
                  "") +
           "\n";
}

bool read_grades_json(const std::string& text, const Exercise& exercise, std::vector<Record>& records,
                      std::string& error) {
    Json root;
    if (!parse_json(text, root, error)) return false;
    const Json* checks = root.find("checks");
    const Json* submissions = root.find("submissions");
    bool same_checks = checks && checks->items.size() == exercise.checks.size();
    for (size_t k = 0; same_checks && k < exercise.checks.size(); ++k)
        same_checks = checks->items[k].text == exercise.checks[k].name;
    if (!same_checks || !submissions) return error = "it was graded with other checks", false;
    for (const Json& s : submissions->items) {
        Record r;
        if (!read_status(s, r.status)) return error = "a submission without a status", false;
        r.name = text_of(s, "student");
        r.id = text_of(s, "id");
        r.program = text_of(s, "program");
        r.text = text_of(s, "text");
        r.fingerprint = text_of(s, "fingerprint");
        r.score = {number_of(s, "score", 0), number_of(s, "max_score", 0)};
        r.message = text_of(s, "message");
        r.hint = text_of(s, "hint");
        r.line = static_cast<int>(number_of(s, "line", -1));
        if (const Json* list = s.find("checks")) {
            for (const Json& c : list->items) {
                if (!read_check(c, r.checks.emplace_back())) return error = "a check without a status", false;
            }
        }
        records.push_back(std::move(r));
    }
    return true;
}

std::string gradescope_json(const Exercise& exercise, const Record& r) {
    std::vector<std::string> tests;
    std::vector<size_t> shown_failing;
    double seconds = 0;
    for (size_t k = 0; k < exercise.checks.size(); ++k) {
        const exercise::Check& check = exercise.checks[k];
        const CheckResult* c = k < r.checks.size() ? &r.checks[k] : nullptr;
        const Status status = c ? c->status : r.status;
        const bool pass = status == Status::PASS;
        std::string output(exercise::status_name(status));
        const std::string message = c ? full_message(c->message, c->line) : full_message(r.message, r.line);
        if (!message.empty()) output += ": " + message;
        const std::string hint = c ? c->hint : r.hint;
        if (!hint.empty()) output += "\nhint: " + hint;
        if (c && c->seconds) seconds += *c->seconds;
        tests.push_back(object({{"name", json_quote(check.name)},
                                {"number", json_quote(std::to_string(k + 1))},
                                {"score", number(pass ? check.points : 0)},
                                {"max_score", number(check.points)},
                                {"status", json_quote(pass ? "passed" : "failed")},
                                {"output", json_quote(output)},
                                {"visibility", json_quote(exercise::visibility_name(check.visibility))}},
                               "    "));
    }
    // The summary every student sees names no check they may not see.
    std::string output = exercise.title + ": ";
    if (r.checks.empty()) {
        output += std::string(exercise::status_name(r.status)) + ": " + full_message(r.message, r.line);
    } else {
        const std::vector<size_t> shown = exercise::shown_checks(exercise, exercise::Moment::BEFORE_DUE_DATE);
        size_t passed = 0;
        for (size_t k : shown) passed += r.checks[k].status == Status::PASS;
        output += std::to_string(passed) + " of " +
                  exercise::count_of(static_cast<int64_t>(shown.size()), "visible check") + " passed";
        if (shown.size() < exercise.checks.size())
            output += "; " +
                      exercise::count_of(static_cast<int64_t>(exercise.checks.size() - shown.size()), "more check") +
                      " shown later";
    }
    return object({{"score", number(r.score.score)},
                   {"execution_time", number(seconds)},
                   {"output", json_quote(output)},
                   {"visibility", json_quote("visible")},
                   {"stdout_visibility", json_quote("hidden")},
                   {"tests", array(tests, "  ")}},
                  "") +
           "\n";
}

}  // namespace korvane::grade
