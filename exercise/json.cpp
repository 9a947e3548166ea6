// SPDX-License-Identifier: GPL-3.0-or-later
#include "json.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <locale>
#include <sstream>

namespace korvane::exercise {

namespace {

// Deeper nesting is refused rather than risking the native stack.
constexpr int kMaxDepth = 64;

struct Failure {
    size_t at;
    const char* what;
};

class Reader {
public:
    explicit Reader(std::string_view text) : t_(text) {}

    void value(Json& v, int depth) {
        blanks();
        v.offset = p_;
        if (depth > kMaxDepth) fail("nested too deeply");
        if (p_ == t_.size()) fail("a value is missing");
        switch (t_[p_]) {
            case '{': object(v, depth); break;
            case '[': array(v, depth); break;
            case '"':
                v.kind = Json::STRING;
                v.text = string();
                break;
            case 't': word("true", v, Json::BOOLEAN, true); break;
            case 'f': word("false", v, Json::BOOLEAN, false); break;
            case 'n': word("null", v, Json::NUL, false); break;
            default: number(v);
        }
    }

    void end() {
        blanks();
        if (p_ != t_.size()) fail("text after the value");
    }

private:
    [[noreturn]] void fail(const char* what) const { throw Failure{p_, what}; }

    void blanks() {
        while (p_ < t_.size() && (t_[p_] == ' ' || t_[p_] == '\t' || t_[p_] == '\n' || t_[p_] == '\r')) ++p_;
    }

    bool take(char c) {
        blanks();
        if (p_ < t_.size() && t_[p_] == c) return ++p_, true;
        return false;
    }

    void word(std::string_view w, Json& v, Json::Kind kind, bool b) {
        if (t_.substr(p_, w.size()) != w) fail("not a value");
        p_ += w.size();
        v.kind = kind;
        v.boolean = b;
    }

    void number(Json& v) {
        const size_t start = p_;
        if (p_ < t_.size() && t_[p_] == '-') ++p_;
        const auto digits = [&] {
            const size_t from = p_;
            while (p_ < t_.size() && t_[p_] >= '0' && t_[p_] <= '9') ++p_;
            return p_ - from;
        };
        const size_t first = p_;
        const size_t whole = digits();
        if (whole == 0) fail("not a value");
        if (whole > 1 && t_[first] == '0') {
            p_ = first;
            fail("a number with a leading 0");
        }
        if (p_ < t_.size() && t_[p_] == '.') {
            ++p_;
            if (digits() == 0) fail("digits missing after the point");
        }
        if (p_ < t_.size() && (t_[p_] == 'e' || t_[p_] == 'E')) {
            ++p_;
            if (p_ < t_.size() && (t_[p_] == '+' || t_[p_] == '-')) ++p_;
            if (digits() == 0) fail("digits missing in the exponent");
        }
        // A stream in the classic locale: the page's C++ library has no
        // from_chars for doubles, and strtod follows the process's locale.
        std::istringstream in(std::string(t_.substr(start, p_ - start)));
        in.imbue(std::locale::classic());
        in >> v.number;
        if (in.fail() || !std::isfinite(v.number)) {
            p_ = start;
            fail("a number out of range");
        }
        v.kind = Json::NUMBER;
    }

    uint32_t hex4() {
        if (p_ + 4 > t_.size()) fail("\\u needs 4 hex digits");
        uint32_t code = 0;
        for (int i = 0; i < 4; ++i, ++p_) {
            const char c = t_[p_];
            const int d = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
            if (d < 0) fail("\\u needs 4 hex digits");
            code = code * 16 + static_cast<uint32_t>(d);
        }
        return code;
    }

    static void utf8(uint32_t code, std::string& out) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | code >> 18);
            out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    void escape(std::string& out) {
        if (p_ == t_.size()) fail("the string does not end");
        const char c = t_[p_++];
        switch (c) {
            case '"':
            case '\\':
            case '/': out += c; return;
            case 'b': out += '\b'; return;
            case 'f': out += '\f'; return;
            case 'n': out += '\n'; return;
            case 'r': out += '\r'; return;
            case 't': out += '\t'; return;
            case 'u': break;
            default: --p_, fail("an unknown escape");
        }
        uint32_t code = hex4();
        if (code >= 0xD800 && code < 0xDC00) {
            // A pair of UTF-16 halves is one character.
            if (t_.substr(p_, 2) != "\\u") fail("half a surrogate pair");
            p_ += 2;
            const uint32_t low = hex4();
            if (low < 0xDC00 || low > 0xDFFF) fail("half a surrogate pair");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            fail("half a surrogate pair");
        }
        utf8(code, out);
    }

    std::string string() {
        ++p_;  // the opening quote
        std::string out;
        for (;;) {
            if (p_ == t_.size()) fail("the string does not end");
            const char c = t_[p_];
            if (c == '"') break;
            if (static_cast<unsigned char>(c) < 0x20) fail("a control character in a string");
            ++p_;
            if (c == '\\') {
                escape(out);
            } else {
                out += c;
            }
        }
        ++p_;
        return out;
    }

    void array(Json& v, int depth) {
        ++p_;
        v.kind = Json::ARRAY;
        if (take(']')) return;
        do {
            value(v.items.emplace_back(), depth + 1);
        } while (take(','));
        if (!take(']')) fail("',' or ']' expected");
    }

    void object(Json& v, int depth) {
        ++p_;
        v.kind = Json::OBJECT;
        if (take('}')) return;
        do {
            blanks();
            if (p_ == t_.size() || t_[p_] != '"') fail("a key in quotes expected");
            const size_t key_at = p_;
            std::string key = string();
            if (v.find(key)) {
                p_ = key_at;
                fail("a key given twice");
            }
            if (!take(':')) fail("':' expected");
            auto& member = v.members.emplace_back(std::move(key), Json{});
            value(member.second, depth + 1);
        } while (take(','));
        if (!take('}')) fail("',' or '}' expected");
    }

    std::string_view t_;
    size_t p_ = 0;
};

}  // namespace

const Json* Json::find(std::string_view key) const {
    for (const auto& [k, v] : members)
        if (k == key) return &v;
    return nullptr;
}

bool parse_json(std::string_view text, Json& value, std::string& error) {
    Reader reader(text);
    Json v;
    try {
        reader.value(v, 0);
        reader.end();
    } catch (const Failure& f) {
        error = "invalid JSON at byte " + std::to_string(f.at) + ": " + f.what;
        return false;
    }
    value = std::move(v);
    return true;
}

std::string json_quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char code[8];
                    std::snprintf(code, sizeof code, "\\u%04x", c);
                    out += code;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

}  // namespace korvane::exercise
