// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_encoding.h"

namespace korvane {

namespace {

bool is_continuation(unsigned char c) { return (c & 0xC0u) == 0x80u; }

// The length of the valid UTF-8 character at bytes[i], or 0: no overlong
// forms, no surrogates, nothing beyond U+10FFFF.
size_t valid_length(std::string_view bytes, size_t i) {
    const auto byte = [&](size_t k) { return i + k < bytes.size() ? static_cast<unsigned char>(bytes[i + k]) : 0u; };
    const unsigned lead = byte(0);
    if (lead < 0x80) return 1;
    const size_t n = utf8_length(static_cast<unsigned char>(lead));
    if (n == 1 || lead < 0xC2) return 0;
    for (size_t k = 1; k < n; ++k) {
        if (!is_continuation(static_cast<unsigned char>(byte(k)))) return 0;
    }
    const unsigned second = byte(1);
    if (lead == 0xE0 && second < 0xA0) return 0;   // overlong
    if (lead == 0xED && second >= 0xA0) return 0;  // a surrogate
    if (lead == 0xF0 && second < 0x90) return 0;   // overlong
    if (lead == 0xF4 && second >= 0x90) return 0;  // beyond U+10FFFF
    if (lead > 0xF4) return 0;
    return n;
}

// True when the bytes are UTF-8 with a character beyond ASCII.
bool reads_as_utf8(std::string_view bytes) {
    bool wide = false;
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = valid_length(bytes, i);
        if (n == 0) return false;
        wide = wide || n > 1;
        i += n;
    }
    return wide;
}

}  // namespace

size_t utf8_length(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

uint32_t utf8_code(std::string_view text, size_t& length) {
    length = valid_length(text, 0);
    if (length == 0) {
        length = 1;
        return static_cast<unsigned char>(text[0]);
    }
    static constexpr unsigned kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    uint32_t code = static_cast<unsigned char>(text[0]) & kLeadBits[length];
    for (size_t k = 1; k < length; ++k) code = code << 6 | (static_cast<unsigned char>(text[k]) & 0x3Fu);
    return code;
}

void append_utf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    const size_t n = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    static constexpr unsigned kLeads[] = {0, 0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLeads[n] | code >> (6 * (n - 1)));
    for (size_t k = n - 1; k > 0; --k) out += static_cast<char>(0x80u | ((code >> (6 * (k - 1))) & 0x3Fu));
}

std::string program_text_from_bytes(std::string_view bytes) {
    if (reads_as_utf8(bytes)) {
        constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
        if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
        return std::string(bytes);
    }
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) append_utf8(text, static_cast<unsigned char>(c));
    return text;
}

std::string program_bytes_from_text(std::string_view utf8) {
    std::string latin1;
    latin1.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        size_t n = 0;
        const uint32_t code = utf8_code(utf8.substr(i), n);
        if (code > 0xFF) return std::string(utf8);
        latin1 += static_cast<char>(code);
        i += n;
    }
    return reads_as_utf8(latin1) ? std::string(utf8) : latin1;
}

size_t character_count(std::string_view utf8) {
    size_t n = 0;
    for (const char c : utf8) n += is_continuation(static_cast<unsigned char>(c)) ? 0 : 1;
    return n;
}

}  // namespace korvane
