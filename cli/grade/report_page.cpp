// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_page.h"

#include <cstdio>
#include <filesystem>

#include "korvane_version.h"
#include "report_data.h"

namespace korvane::grade {

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
.groups figure { display: inline-block; margin: 0 1.5em 1em 0; vertical-align: top; max-width: 14em; }
td.message { max-width: 28em; white-space: pre-wrap; }
</style>
)";

std::string css_class(Status s) { return s == Status::PASS ? "pass" : s == Status::DIFFERS ? "differs" : "fail"; }

std::string thumbnail(const std::string& file, const std::string& alt) {
    if (file.empty()) return "<td>&ndash;</td>";
    const std::string f = html_escape(file);
    return "<td><a href=\"" + f + "\"><img class=\"thumb\" src=\"" + f + "\" alt=\"" + html_escape(alt) +
           "\"></a></td>";
}

// The difference thumbnail with the box of the differing pixels outlined:
// a pixel or two would vanish at a quarter of the size.
std::string difference(const Record& r) {
    if (r.difference.empty()) return "<td>&ndash;</td>";
    const PictureDiff& d = r.off;
    constexpr double kScale = 100.0 / 400;
    char box[128];
    std::snprintf(box, sizeof box, "left:%.1fpx;top:%.1fpx;width:%.1fpx;height:%.1fpx", d.xmin * kScale - 2,
                  (399 - d.ymax) * kScale - 2, (d.xmax - d.xmin + 1) * kScale + 4, (d.ymax - d.ymin + 1) * kScale + 4);
    const std::string f = html_escape(r.difference);
    return "<td><a class=\"where\" href=\"" + f + "\"><img class=\"thumb\" src=\"" + f + "\" alt=\"difference for " +
           html_escape(r.name) + "\"><span style=\"" + box + "\"></span></a></td>";
}

std::string counts(const std::vector<Record>& records) {
    int count[kStatusCount] = {};
    for (const Record& r : records) ++count[static_cast<int>(r.status)];
    std::string html = "<table class=\"counts\"><tr>";
    for (int s = 0; s < kStatusCount; ++s)
        html += "<th class=\"" + css_class(Status(s)) + "\">" + std::string(status_name(Status(s))) + "</th>";
    html += "</tr><tr>";
    for (int s = 0; s < kStatusCount; ++s) html += "<td>" + std::to_string(count[s]) + "</td>";
    return html + "</tr></table>\n";
}

std::string groups_section(const std::vector<Record>& records, const Groups& groups) {
    std::string html = "<h2>Same canvas</h2>\n";
    if (groups.empty()) return html + "<p>No two submissions that did not pass left the same canvas.</p>\n";
    html +=
        "<p>Submissions that did not pass and left identical canvases, largest group first: one comment each.</p>\n"
        "<div class=\"groups\">\n";
    for (size_t g = 0; g < groups.size(); ++g) {
        const Record& first = records[groups[g][0]];
        const std::string number = std::to_string(g + 1);
        html += "<figure id=\"group-" + number + "\"><a href=\"" + html_escape(first.canvas) +
                "\"><img class=\"thumb\" src=\"" + html_escape(first.canvas) + "\" alt=\"canvas of group " + number +
                "\"></a><figcaption>Group " + number + ": " + std::to_string(groups[g].size()) + " students<br>";
        for (size_t k = 0; k < groups[g].size(); ++k) {
            const size_t i = groups[g][k];
            html += (k ? ", " : "") + std::string("<a href=\"#s-") + std::to_string(i + 1) + "\">" +
                    html_escape(records[i].name) + "</a>";
        }
        html += "</figcaption></figure>\n";
    }
    return html + "</div>\n";
}

std::string row(const Record& r, size_t i) {
    const std::string name = html_escape(r.name);
    const std::string off = r.pixels_off ? std::to_string(*r.pixels_off) : "";
    std::string html = "<tr id=\"s-" + std::to_string(i + 1) + "\" data-name=\"" + name + "\" data-status=\"" +
                       std::to_string(static_cast<int>(r.status)) + "\" data-off=\"" + off + "\">";
    html += "<td>" + name + "</td><td class=\"" + css_class(r.status) + "\">" + std::string(status_name(r.status)) +
            "</td><td>" + off + "</td>";
    html += thumbnail(r.canvas, "canvas of " + r.name) + thumbnail(r.accepted, "accepted picture") + difference(r);
    html += "<td class=\"message\">" + html_escape(full_message(r));
    if (!r.hint.empty()) html += "<br><span class=\"hint\">hint: " + html_escape(r.hint) + "</span>";
    if (r.group > 0)
        html += "<br><a href=\"#group-" + std::to_string(r.group) + "\">same canvas as group " +
                std::to_string(r.group) + "</a>";
    html += "</td><td>";
    if (!r.text.empty())
        html += "<a href=\"" + html_escape(r.text) + "\">" +
                html_escape(std::filesystem::path(r.program).filename().string()) + "</a>";
    return html + "</td></tr>\n";
}

std::string accepted_names(const Exercise& e) {
    std::string names;
    for (size_t i = 0; i < e.accepted.size(); ++i)
        names += (i ? ", " : "") + std::filesystem::path(e.accepted[i].path).filename().string();
    return names;
}

}  // namespace

std::string html_escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string report_page(const Exercise& exercise, const std::vector<Record>& records, const Groups& groups) {
    const std::string title = html_escape(exercise.title);
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title +
                       " &ndash; grades</title>\n" + kStyle + "</head>\n<body>\n<h1>" + title + "</h1>\n";
    html += "<p>" + std::to_string(records.size()) + " submissions, compared with " +
            html_escape(accepted_names(exercise)) + "; up to " + std::to_string(exercise.tolerance) +
            " differing pixels still pass.</p>\n";
    html += counts(records) + groups_section(records, groups);
    html +=
        "<h2>Students</h2>\n<table id=\"students\">\n<thead><tr>"
        "<th><button type=\"button\" data-key=\"name\">Student</button></th>"
        "<th><button type=\"button\" data-key=\"status\">Status</button></th>"
        "<th><button type=\"button\" data-key=\"off\">Pixels off</button></th>"
        "<th>Canvas</th><th>Accepted</th><th>Difference</th><th>Message</th><th>Program</th></tr></thead>\n<tbody>\n";
    for (size_t i = 0; i < records.size(); ++i) html += row(records[i], i);
    html += "</tbody>\n</table>\n<p>Written by korvane-grade " + std::string(kVersion) + ".</p>\n";
    return html + kSortScript + "</body>\n</html>\n";
}

}  // namespace korvane::grade
