// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_styles.h"

#include <algorithm>
#include <string>

#include "interpreter.h"

namespace korvane {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isWordChar(char c)
{
    return isLetter(c) || isDigit(c) || c == '_';
}
bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

bool listed(std::span<const char* const> names, std::string_view word)
{
    return std::any_of(names.begin(), names.end(),
                       [word](const char* name) { return word == name; });
}

// Names and keywords ignore case, as the scanner lowers every word.
ProgramStyle wordStyle(std::string_view word)
{
    std::string lower(word);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (listed(keyword_names(), lower))
        return STYLE_KEYWORD;
    if (listed(builtin_names(), lower))
        return STYLE_BUILTIN;
    return STYLE_PLAIN;
}

// Length of the token of style `style` that starts at text[at].
size_t tokenLength(std::string_view text, size_t at, ProgramStyle& style)
{
    const std::string_view rest = text.substr(at);
    const char c = rest[0];
    if (rest.starts_with("/*")) {
        style = STYLE_COMMENT;
        const size_t close = rest.find("*/", 2);
        return close == std::string_view::npos ? rest.size() : close + 2;
    }
    if (rest.starts_with("//")) {
        style = STYLE_COMMENT;
        return std::find_if(rest.begin(), rest.end(), isLineEnd) - rest.begin();
    }
    if (c == '"') {
        style = STYLE_STRING;
        size_t end = 1;
        while (end < rest.size() && rest[end] != '"' && !isLineEnd(rest[end]))
            ++end;
        return end < rest.size() && rest[end] == '"' ? end + 1 : end;
    }
    if (c == '\'' && rest.size() >= 3 && rest[2] == '\'' && !isLineEnd(rest[1])) {
        style = STYLE_CHARACTER;
        return 3;
    }
    if (isWordChar(c)) {
        const size_t end = std::find_if_not(rest.begin(), rest.end(), isWordChar) - rest.begin();
        style = isDigit(c) ? STYLE_NUMBER : wordStyle(rest.substr(0, end));
        return end;
    }
    style = STYLE_PLAIN;
    return 1;
}

}  // namespace

std::vector<StyleRun> style_runs(std::string_view text)
{
    std::vector<StyleRun> runs;
    for (size_t at = 0; at < text.size();) {
        ProgramStyle style = STYLE_PLAIN;
        const size_t length = tokenLength(text, at, style);
        if (!runs.empty() && runs.back().style == style)
            runs.back().length += static_cast<int>(length);
        else
            runs.push_back({static_cast<int>(at), static_cast<int>(length), style});
        at += length;
    }
    return runs;
}

}  // namespace korvane
