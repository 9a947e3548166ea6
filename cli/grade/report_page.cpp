// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_page.h"

#include <cstdio>
#include <filesystem>
#include <set>

#include "korvane_version.h"
#include "report_data.h"
#include "thumbnail.h"

namespace korvane::grade {

using exercise::count_of;
using exercise::Exercise;

namespace {

// The table sorts by a column when its heading is clicked (again: reversed);
// without scripts it stays in name order. Empty values sort last.
constexpr const char* kSortScript = R"(<script>
for (const button of document.querySelectorAll('#students th button')) {
  button.addEventListener('click', () => {
    const key = button.dataset.key, body = document.querySelector('#students tbody');
    const order = button.dataset.order === 'up' ? -1 : 1;
    button.dataset.order = order === 1 ? 'up' : 'down';
    const compare = (a, b) => {
      const x = a.dataset[key], y = b.dataset[key];
      if (x === '' || y === '') return (x === '') - (y === '');
      const d = key === 'name' ? x.localeCompare(y) : Number(x) - Number(y);
      return order * d || a.dataset.name.localeCompare(b.dataset.name);
    };
    for (const row of [...body.rows].sort(compare)) body.appendChild(row);
  });
}
</script>
)";

constexpr const char* kStyle = R"(<style>
body { font: 15px/1.4 sans-serif; margin: 1.5em; color: #1d1d1d; background: #fff; }
table { border-collapse: collapse; }
th, td { padding: 4px 10px; text-align: left; vertical-align: top; border-bottom: 1px solid #ddd; }
th button { font: inherit; font-weight: bold; border: 0; background: none; padding: 0; cursor: pointer; text-decoration: underline dotted; }
img.thumb { width: 100px; height: 100px; image-rendering: pixelated; border: 1px solid #999; display: block; }
a.where { position: relative; display: inline-block; }
a.where span { position: absolute; border: 1px solid #fc0; }
.pass { color: #176b2c; } .differs { color: #9a5700; } .fail { color: #b3141b; }
.hint { color: #444; font-style: italic; }
.groups figure { display: inline-block; margin: 0 1.5em 1em 0; vertical-align: top; max-width: 16em; }
td.message { max-width: 28em; white-space: pre-wrap; }
pre.program { margin: 0; font-size: 13px; }
pre.program span.n { color: #888; user-select: none; }
pre.program mark { background: #fdd; }
</style>
)";

std::string css_class(Status s) { return s == Status::PASS ? "pass" : s == Status::DIFFERS ? "differs" : "fail"; }

std::string status_cell(Status s) {
    return "<td class=\"" + css_class(s) + "\">" + std::string(exercise::status_name(s)) + "</td>";
}

// A picture's thumbnail linking to the picture; `up` leads from a page in a
// folder of the report back to its top.
std::string thumbnail_cell(const std::string& file, const std::string& alt, const std::string& up) {
    if (file.empty()) return "<td>&ndash;</td>";
    return "<td><a href=\"" + html_escape(up + file) + "\"><img class=\"thumb\" src=\"" +
           html_escape(up + thumbnail_name(file)) + "\" alt=\"" + html_escape(alt) + "\"></a></td>";
}

// The difference thumbnail with the box of the differing pixels outlined.
std::string difference_cell(const CheckResult& c, const std::string& name, const std::string& up) {
    if (c.difference.empty()) return "<td>&ndash;</td>";
    const PictureDiff& d = c.off;
    constexpr double kScale = 100.0 / 400;
    char box[128];
    std::snprintf(box, sizeof box, "left:%.1fpx;top:%.1fpx;width:%.1fpx;height:%.1fpx", d.xmin * kScale - 2,
                  (399 - d.ymax) * kScale - 2, (d.xmax - d.xmin + 1) * kScale + 4, (d.ymax - d.ymin + 1) * kScale + 4);
    return "<td><a class=\"where\" href=\"" + html_escape(up + c.difference) + "\"><img class=\"thumb\" src=\"" +
           html_escape(up + thumbnail_name(c.difference)) + "\" alt=\"difference for " + html_escape(name) +
           "\"><span style=\"" + box + "\"></span></a></td>";
}

// The program with its lines numbered from 0, as messages count them, and
// the line of the message marked.
std::string program_text(const std::string& text, int marked) {
    std::string html = "<pre class=\"program\">";
    size_t from = 0;
    for (int line = 0; from < text.size() || line == 0; ++line) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string content = text.substr(from, end - from);
        if (!content.empty() && content.back() == '\r') content.pop_back();
        char number[16];
        std::snprintf(number, sizeof number, "%3d  ", line);
        const std::string row = "<span class=\"n\">" + std::string(number) + "</span>" + html_escape(content);
        html += (line == marked ? "<mark>" + row + "</mark>" : row) + "\n";
        from = end + 1;
    }
    return html + "</pre>";
}

std::string message_html(const std::string& message, int line, const std::string& hint) {
    std::string html = html_escape(full_message(message, line));
    if (!hint.empty()) html += "<br><span class=\"hint\">hint: " + html_escape(hint) + "</span>";
    return html;
}

const CheckResult* deciding(const Record& r) {
    for (const CheckResult& c : r.checks)
        if (c.status == r.status) return &c;
    return nullptr;
}

std::string counts(const std::vector<Record>& records) {
    int count[exercise::kStatusCount] = {};
    for (const Record& r : records) ++count[static_cast<int>(r.status)];
    std::string head, values;
    for (int s = 0; s < exercise::kStatusCount; ++s) {
        if (count[s] == 0) continue;
        head += "<th class=\"" + css_class(Status(s)) + "\">" + std::string(exercise::status_name(Status(s))) + "</th>";
        values += "<td>" + std::to_string(count[s]) + "</td>";
    }
    return "<table class=\"counts\"><tr>" + head + "</tr><tr>" + values + "</tr></table>\n";
}

std::string member_link(const std::vector<Record>& records, size_t i) {
    return "<a href=\"#s-" + std::to_string(i + 1) + "\">" + html_escape(records[i].name) + "</a>";
}

std::string groups_section(const std::vector<Record>& records, const Groups& groups) {
    std::string html = "<h2>The same mistake</h2>\n";
    if (groups.empty()) return html + "<p>No two submissions that did not pass went wrong the same way.</p>\n";
    html +=
        "<p>Submissions that did not pass with the same status, message and canvases, largest group first: one "
        "comment each.</p>\n<div class=\"groups\">\n";
    for (size_t g = 0; g < groups.size(); ++g) {
        const Record& first = records[groups[g][0]];
        const CheckResult* c = deciding(first);
        const std::string number = std::to_string(g + 1);
        html += "<figure id=\"group-" + number + "\">";
        if (c && !c->canvas.empty())
            html += "<a href=\"" + html_escape(c->canvas) + "\"><img class=\"thumb\" src=\"" +
                    html_escape(thumbnail_name(c->canvas)) + "\" alt=\"canvas of group " + number + "\"></a>";
        html += "<figcaption>Group " + number + ": " + count_of(static_cast<int64_t>(groups[g].size()), "student") +
                ", " + std::string(exercise::status_name(first.status)) + ": " +
                html_escape(full_message(first.message, -1)) + "<br>";
        for (size_t k = 0; k < groups[g].size(); ++k) html += (k ? ", " : "") + member_link(records, groups[g][k]);
        html += "</figcaption></figure>\n";
    }
    return html + "</div>\n";
}

std::string same_text_section(const std::vector<Record>& records) {
    std::string html;
    std::set<size_t> told;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].same_text.empty() || told.contains(i)) continue;
        html += "<li>" + member_link(records, i);
        for (size_t j : records[i].same_text) {
            html += ", " + member_link(records, j);
            told.insert(j);
        }
        html += "</li>\n";
    }
    if (html.empty()) return {};
    return "<h2>The same program</h2>\n<p>Programs that are the same once comments and blanks are set aside (passes "
           "too): worth a look.</p>\n<ul>\n" +
           html + "</ul>\n";
}

std::string row(const Exercise& exercise, const std::vector<Record>& records, size_t i, const Programs& programs,
                const std::string& page) {
    const Record& r = records[i];
    const std::string name = html_escape(r.name);
    const CheckResult* d = deciding(r);
    const std::string off = d && d->pixels_off ? std::to_string(*d->pixels_off) : "";
    std::string html = "<tr id=\"s-" + std::to_string(i + 1) + "\" data-name=\"" + name + "\" data-status=\"" +
                       std::to_string(static_cast<int>(r.status)) + "\" data-score=\"" + points_text(r.score.score) +
                       "\" data-off=\"" + off + "\">";
    html += "<td><a href=\"" + html_escape(page) + "\">" + name + "</a>" +
            (r.id.empty() ? "" : "<br>" + html_escape(r.id)) + "</td>" + status_cell(r.status);
    html += "<td>" + points_text(r.score.score) + " / " + points_text(r.score.max_score) + "</td>";
    for (size_t k = 0; k < exercise.checks.size(); ++k) {
        if (k < r.checks.size())
            html += status_cell(r.checks[k].status);
        else
            html += "<td>&ndash;</td>";
    }
    html += "<td>" + off + "</td>";
    static const CheckResult none;
    const CheckResult& shown = d ? *d : none;
    html += thumbnail_cell(shown.canvas, "canvas of " + r.name, "") +
            thumbnail_cell(shown.accepted, "accepted picture", "") + difference_cell(shown, r.name, "");
    html += "<td class=\"message\">" + message_html(r.message, r.line, r.hint);
    if (r.group > 0)
        html += "<br><a href=\"#group-" + std::to_string(r.group) + "\">the same mistake as group " +
                std::to_string(r.group) + "</a>";
    if (!r.same_text.empty()) html += "<br>the same program as " + member_link(records, r.same_text[0]);
    html += "</td><td>";
    if (const auto text = programs.find(r.text); text != programs.end())
        html += "<details><summary><a href=\"" + html_escape(r.text) + "\">" +
                html_escape(std::filesystem::path(r.program).filename().string()) + "</a></summary>" +
                program_text(text->second, r.line) + "</details>";
    return html + "</td></tr>\n";
}

std::string page_head(const std::string& title) {
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title + "</title>\n" +
           kStyle + "</head>\n<body>\n";
}

std::string check_names(const Exercise& e) {
    std::string names;
    for (size_t k = 0; k < e.checks.size(); ++k) {
        const exercise::Check& c = e.checks[k];
        names += (k ? "; " : "") + html_escape(c.name) + " (" + count_of(static_cast<int64_t>(c.points), "point") +
                 (c.visibility == exercise::Visibility::VISIBLE
                      ? ""
                      : ", " + std::string(exercise::visibility_name(c.visibility))) +
                 ")";
    }
    return names;
}

}  // namespace

std::vector<std::string> student_page_names(const std::vector<Record>& records) {
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (const Record& r : records) {
        std::string base;
        for (const char c : r.name) base += std::isalnum(static_cast<unsigned char>(c)) || c == '-' ? c : '_';
        if (base.empty()) base = "student";
        std::string name = base;
        for (int n = 2; !taken.insert(name).second; ++n) name = base + "-" + std::to_string(n);
        names.push_back("students/" + name + ".html");
    }
    return names;
}

std::string report_page(const Exercise& exercise, const std::vector<Record>& records, const Groups& groups,
                        const Programs& programs) {
    const std::string title = html_escape(exercise.title);
    std::string html = page_head(title + " &ndash; grades") + "<h1>" + title + "</h1>\n";
    html += "<p>" + count_of(static_cast<int64_t>(records.size()), "submission") + "; " +
            count_of(static_cast<int64_t>(exercise.checks.size()), "check") + ": " + check_names(exercise) + ".</p>\n";
    html += counts(records) + groups_section(records, groups) + same_text_section(records);
    html +=
        "<h2>Students</h2>\n<table id=\"students\">\n<thead><tr>"
        "<th><button type=\"button\" data-key=\"name\">Student</button></th>"
        "<th><button type=\"button\" data-key=\"status\">Status</button></th>"
        "<th><button type=\"button\" data-key=\"score\">Score</button></th>";
    for (const exercise::Check& c : exercise.checks) html += "<th>" + html_escape(c.name) + "</th>";
    html +=
        "<th><button type=\"button\" data-key=\"off\">Pixels off</button></th>"
        "<th>Canvas</th><th>Accepted</th><th>Difference</th><th>Message</th><th>Program</th></tr></thead>\n<tbody>\n";
    const std::vector<std::string> pages = student_page_names(records);
    for (size_t i = 0; i < records.size(); ++i) html += row(exercise, records, i, programs, pages[i]);
    html += "</tbody>\n</table>\n<p>Written by korvane-grade " + std::string(kVersion) + ".</p>\n";
    return html + kSortScript + "</body>\n</html>\n";
}

std::string student_page(const Exercise& exercise, const Record& r, const Programs& programs) {
    const std::string title = html_escape(exercise.title);
    std::string html = page_head(title + " &ndash; " + html_escape(r.name)) + "<h1>" + title + "</h1>\n<p>" +
                       html_escape(r.name) + "</p>\n";
    const std::vector<size_t> shown = exercise::shown_checks(exercise, exercise::Moment::BEFORE_DUE_DATE);
    if (r.checks.empty()) {
        html += "<p class=\"fail\">" + std::string(exercise::status_name(r.status)) + ": " +
                message_html(r.message, r.line, r.hint) + "</p>\n";
    } else {
        html +=
            "<table>\n<thead><tr><th>Check</th><th>Status</th><th>Points</th><th>Canvas</th><th>Accepted</th>"
            "<th>Difference</th><th>Message</th></tr></thead>\n<tbody>\n";
        for (size_t k : shown) {
            const CheckResult& c = r.checks[k];
            const exercise::Check& check = exercise.checks[k];
            html += "<tr><td>" + html_escape(check.name) + "</td>" + status_cell(c.status) + "<td>" +
                    points_text(c.status == Status::PASS ? check.points : 0) + " / " + points_text(check.points) +
                    "</td>" + thumbnail_cell(c.canvas, "your canvas", "../") +
                    thumbnail_cell(c.accepted, "accepted picture", "../") + difference_cell(c, r.name, "../") +
                    "<td class=\"message\">" + message_html(c.message, c.line, c.hint) + "</td></tr>\n";
        }
        html += "</tbody>\n</table>\n";
        if (shown.size() < exercise.checks.size())
            html += "<p>" + count_of(static_cast<int64_t>(exercise.checks.size() - shown.size()), "more check") +
                    " will be shown later.</p>\n";
    }
    if (const auto text = programs.find(r.text); text != programs.end()) {
        // The line of a check students cannot see is not marked either.
        const bool own_line = r.checks.empty() || !shown.empty();
        html += "<h2>Your program</h2>\n" + program_text(text->second, own_line ? r.line : -1) + "\n";
    }
    return html + "</body>\n</html>\n";
}

}  // namespace korvane::grade
