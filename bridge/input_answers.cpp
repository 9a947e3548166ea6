// SPDX-License-Identifier: GPL-3.0-or-later
#include "input_answers.h"

#include <charconv>

#include "bridge.h"

namespace korvane {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

[[noreturn]] void reject(const std::string& answer) {
    throw InputRejected("'" + answer + "' is not a valid integer value");
}

}  // namespace

int32_t getnum_answer(const std::string& answer) {
    if (answer.empty()) return 0;
    const char* first = answer.data();
    const char* last = first + answer.size();
    while (first < last && is_blank(*first)) ++first;
    while (last > first && is_blank(last[-1])) --last;
    // from_chars takes no '+', but a leading plus sign is a valid answer.
    if (first < last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
    int32_t value = 0;
    auto [end, status] = std::from_chars(first, last, value);
    if (first == last || status != std::errc{} || end != last) reject(answer);
    return value;
}

int8_t getche_answer(const std::string& utf8) {
    if (utf8.empty()) return 0;
    const auto byte = [&](size_t i) { return i < utf8.size() ? static_cast<unsigned char>(utf8[i]) : 0u; };
    const unsigned lead = byte(0);
    // A two-byte sequence is the only form of U+0080..U+07FF; of these, only
    // U+0080..U+00FF are Latin-1, and the rest turn into '?' as in the window.
    const bool follows = (byte(1) & 0xC0u) == 0x80u;
    if (lead >= 0xC2 && lead <= 0xDF && follows) {
        const unsigned code = (lead & 0x1Fu) << 6 | (byte(1) & 0x3Fu);
        return static_cast<int8_t>(code <= 0xFF ? code : '?');
    }
    if (lead >= 0xE0 && lead <= 0xF4 && follows) return '?';
    // ASCII, or a byte that starts no UTF-8 character: taken as Latin-1 itself.
    return static_cast<int8_t>(lead);
}

std::string past_the_answers(uint64_t asked) {
    const uint64_t given = asked - 1;
    return "asked for input " + std::to_string(asked) + (asked == 1 ? " time" : " times") + "; this check gives " +
           (given == 0 ? std::string("no answers") : std::to_string(given) + (given == 1 ? " answer" : " answers"));
}

}  // namespace korvane
