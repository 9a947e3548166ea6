// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_data.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace korvane::grade {

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

QString q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

std::string full_message(const Record& r) {
    return r.line < 0 ? r.message : r.message + " in line " + std::to_string(r.line);
}

std::string results_csv(const std::vector<Record>& records) {
    std::string csv = "student,status,pixels_off,message,line,steps,seconds\n";
    for (const Record& r : records) {
        csv += csv_field(r.name) + ',' + std::string(status_name(r.status)) + ',';
        csv += (r.pixels_off ? std::to_string(*r.pixels_off) : "") + ',' + csv_field(r.message) + ',';
        csv += (r.line >= 0 ? std::to_string(r.line) : "") + ',';
        csv += (r.steps ? std::to_string(*r.steps) : "") + ',' + (r.seconds ? seconds_text(*r.seconds) : "") + '\n';
    }
    return csv;
}

std::string results_json(const std::string& title, const std::vector<Record>& records) {
    QJsonArray tests;
    int passed = 0;
    for (const Record& r : records) {
        const bool pass = r.status == Status::PASS;
        passed += pass;
        std::string output(status_name(r.status));
        if (!r.message.empty()) output += ": " + full_message(r);
        if (!r.hint.empty()) output += "\nhint: " + r.hint;
        QJsonObject extra{{"status", q(std::string(status_name(r.status)))}};
        if (r.seconds) extra["seconds"] = *r.seconds;
        if (r.pixels_off) extra["pixels_off"] = static_cast<double>(*r.pixels_off);
        if (r.line >= 0) extra["line"] = r.line;
        if (r.steps) extra["steps"] = static_cast<double>(*r.steps);
        if (r.group > 0) extra["group"] = r.group;
        tests.append(QJsonObject{{"name", q(r.name)},
                                 {"score", pass ? 1 : 0},
                                 {"max_score", 1},
                                 {"status", pass ? "passed" : "failed"},
                                 {"output", q(output)},
                                 {"extra_data", extra}});
    }
    const std::string summary =
        title + ": " + std::to_string(passed) + " of " + std::to_string(records.size()) + " passed";
    const QJsonObject root{{"output", q(summary)}, {"tests", tests}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace korvane::grade
