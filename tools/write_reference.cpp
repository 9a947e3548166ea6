// SPDX-License-Identifier: GPL-3.0-or-later
// write_reference OUT.html HELP.txt...: writes the help as one printable
// page, read as the window reads it: a topic starts at a line "= Title",
// prose lines join into paragraphs, indented lines are examples kept as
// they stand. Nothing in the page depends on the time it was written.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "html_text.h"

namespace {

struct Topic {
    std::string title;
    std::vector<std::string> lines;
};

bool blank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

std::string trimmed(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

std::vector<Topic> topics_of(std::istream& in) {
    std::vector<Topic> topics;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("= ", 0) == 0)
            topics.push_back({line.substr(2), {}});
        else if (!topics.empty())
            topics.back().lines.push_back(line);
    }
    return topics;
}

std::string body_html(const Topic& topic) {
    std::string html, paragraph, example;
    const auto flush = [&] {
        if (!paragraph.empty()) html += "<p>" + korvane::html_escape(paragraph) + "</p>\n";
        if (!example.empty()) html += "<pre>" + korvane::html_escape(example) + "</pre>\n";
        paragraph.clear();
        example.clear();
    };
    for (const std::string& line : topic.lines) {
        const bool indented = !line.empty() && line[0] == ' ';
        if (blank(line) || (indented && !paragraph.empty()) || (!indented && !example.empty())) flush();
        if (blank(line)) continue;
        std::string& block = indented ? example : paragraph;
        if (!block.empty()) block += indented ? "\n" : " ";
        block += indented ? line : trimmed(line);
    }
    flush();
    return html;
}

std::string page(const std::vector<Topic>& topics) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Korvane Help</title>\n<style>\n"
        "body { max-width: 46em; margin: 2em auto; padding: 0 1em; font-family: sans-serif; line-height: 1.4; }\n"
        "pre { background: #f4f4f4; padding: 0.5em; overflow-x: auto; }\n"
        "@media print { nav { break-after: page; } h2 { break-after: avoid; } pre { break-inside: avoid; } }\n"
        "</style>\n</head>\n<body>\n<h1>Korvane Help</h1>\n<nav>\n<ol>\n";
    for (std::size_t i = 0; i < topics.size(); ++i)
        html += "<li><a href=\"#topic-" + std::to_string(i + 1) + "\">" + korvane::html_escape(topics[i].title) +
                "</a></li>\n";
    html += "</ol>\n</nav>\n";
    for (std::size_t i = 0; i < topics.size(); ++i)
        html += "<section id=\"topic-" + std::to_string(i + 1) + "\">\n<h2>" + korvane::html_escape(topics[i].title) +
                "</h2>\n" + body_html(topics[i]) + "</section>\n";
    return html + "</body>\n</html>\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: write_reference OUT.html HELP.txt...\n");
        return 2;
    }
    // The files are read as one text, as the window joins them.
    std::string joined;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "Cannot open file %s\n", argv[i]);
            return 3;
        }
        joined.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::istringstream text(joined);
    std::ofstream out(argv[1], std::ios::binary);
    out << page(topics_of(text));
    if (!out) {
        std::fprintf(stderr, "Cannot create file %s\n", argv[1]);
        return 3;
    }
    return 0;
}
