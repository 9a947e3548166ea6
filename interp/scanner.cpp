// SPDX-License-Identifier: GPL-3.0-or-later
// The scanner: pulls one token at a time from scan_pos.
#include <array>
#include <cstring>

#include "interpreter.h"
#include "state.h"
#include "text_encoding.h"

namespace korvane {

namespace {

struct KeywordEntry {
    char name[20];
    uint8_t code;
};

// KeywordTable in table order; the empty name ends it.
constexpr KeywordEntry KeywordTable[] = {
    {"if", KW_IF},       {"else", KW_ELSE},   {"for", KW_FOR},           {"do", KW_DO},
    {"while", KW_WHILE}, {"char", KW_CHAR},   {"int", KW_INT},           {"return", KW_RETURN},
    {"end", KW_END},     {"break", KW_BREAK}, {"continue", KW_CONTINUE}, {"", KW_END},
};

}  // namespace

std::span<const char* const> keyword_names() {
    // The table without its empty end entry.
    static const auto names = [] {
        std::array<const char*, std::size(KeywordTable) - 1> a{};
        for (size_t i = 0; i < a.size(); ++i) a[i] = KeywordTable[i].name;
        return a;
    }();
    return names;
}

bool is_word_end(char c) {
    if (c == '\t' || c == '\r' || c == '\0') return true;
    return std::strchr(" !;,+-<>'/*%^=()&|", c) != nullptr;
}

uint8_t InterpreterState::keyword_code() {
    for (uint16_t i = 0; i < scan.len; ++i) {
        char& c = scan.text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    for (const KeywordEntry& k : KeywordTable) {
        if (k.name[0] == '\0') break;
        if (std::strcmp(k.name, scan.text) == 0) return k.code;
    }
    return KW_NONE;
}

namespace {

// Operator at p, or OP_NONE; sets its source length.
uint8_t scan_operator(const char* p, uint8_t& length) {
    const char c = p[0], n = p[1];
    length = 2;
    switch (c) {
        case '<':
            if (n == '=') return OP_LE;
            length = 1;
            return OP_LT;
        case '>':
            if (n == '=') return OP_GE;
            length = 1;
            return OP_GT;
        case '+':
            if (n == '+') return OP_INC;
            if (n == '=') return OP_ADD_ASSIGN;
            break;
        case '-':
            if (n == '-') return OP_DEC;
            if (n == '=') return OP_SUB_ASSIGN;
            break;
        case '=':
            if (n == '=') return OP_EQ;
            break;
        case '!':
            if (n == '=') return OP_NE;
            break;
        case '&':
            if (n == '&') return OP_AND;
            break;
        case '|':
            if (n == '|') return OP_OR;
            break;
        default: break;
    }
    return OP_NONE;
}

uint8_t begins_statement(const Token& t) {
    switch (t.kind) {
        case TK_KEYWORD: return t.keyword;
        case TK_NAME: return BEGINS_NAME;
        case TK_BRACE: return t.text[0] == '{' ? BEGINS_BLOCK : ENDS_BLOCK;
        default: return KW_NONE;
    }
}

OperatorLevel level_of(const Token& t) {
    if (t.op != OP_NONE) return LEVEL_COMPARISON;
    switch (t.ch) {
        case '+':
        case '-':
        case '|': return LEVEL_ADDITIVE;
        case '*':
        case '/':
        case '%':
        case '&': return LEVEL_MULTIPLICATIVE;
        default: return LEVEL_NONE;
    }
}

}  // namespace

int32_t InterpreterState::intern(const char* name) {
    const auto [it, added] = name_ids.emplace(name, static_cast<int32_t>(name_ids.size()));
    if (added) {
        function_of_id.push_back(-1);
        global_of_id.push_back(-1);
        local_of_id.push_back(-1);
    }
    return it->second;
}

int32_t InterpreterState::id_of(const char* name) const {
    const auto it = name_ids.find(name);
    return it == name_ids.end() ? -1 : it->second;
}

int32_t InterpreterState::literal_character() {
    if (cur() == '\0') return 0;  // the text's end stays where it is
    size_t length = 0;
    const uint32_t code = utf8_code(std::string_view(&source_text[scan_pos], source_text.size() - scan_pos), length);
    scan_pos += static_cast<uint32_t>(length);
    return code <= 0xFF ? static_cast<int8_t>(code) : '?';
}

uint8_t InterpreterState::read_new_token() {
    const uint32_t from = scan_pos;
    skip_space();
    // A token read before from its own first character is the same token:
    // each has one entry, so what is noted of it is noted once.
    if (const CachedToken* same = token_at[scan_pos]; same != nullptr) {
        token_at[from] = same;
        tok = &same->token;
        scan_pos = same->end;
        return tok->kind;
    }
    const uint32_t start = scan_pos;
    scan_token();
    scan.ch = scan.kind == TK_DELIM && scan.op == OP_NONE && scan.len == 1 ? scan.text[0] : 0;
    scan.level = level_of(scan);
    scan.begins = begins_statement(scan);
    if (scan.kind == TK_NAME) {
        scan.id = intern(scan.text);
        scan.builtin = static_cast<int16_t>(builtin_index(scan.text));
    } else if (scan.kind == TK_NUMBER) {
        // Decimal value of the leading digits, modulo 2^32.
        uint32_t value = 0;
        for (const char* p = scan.text; is_digit(*p); ++p) value = value * 10u + static_cast<uint32_t>(*p - '0');
        scan.number = static_cast<int32_t>(value);
    }
    scan.simple = kNotLooked;
    const CachedToken& added = tokens.emplace_back(CachedToken{scan, scan_pos});
    token_at[from] = &added;
    token_at[start] = &added;
    tok = &added.token;
    return tok->kind;
}

// Passes over blanks, line ends and comments, so none of them is ever a
// token: a comment or a blank line cannot end an expression or a header.
void InterpreterState::skip_space() {
    for (;;) {
        while (is_blank(cur())) ++scan_pos;
        if (cur() == '\r') {
            step_over(2);  // the CR and the LF after it
        } else if (cur() == '/' && at(scan_pos + 1) == '*') {
            // Comments do not nest; one left open runs to the end of the text.
            step_over(2);
            for (;;) {
                while (cur() != '*' && cur() != '\0') ++scan_pos;
                if (cur() == '\0') break;
                ++scan_pos;
                if (cur() == '/') {
                    ++scan_pos;
                    break;
                }
            }
        } else if (cur() == '/' && at(scan_pos + 1) == '/') {
            // Up to the line end, which counts its line as any other.
            while (cur() != '\r' && cur() != '\0') ++scan_pos;
        } else {
            return;
        }
    }
}

namespace {

// A token the scanner refuses is marked from its first character, though
// the message names the line where the scanner stands.
[[noreturn]] void refuse_token(InterpreterState& s) { s.report_error_at(ERR_SYNTAX, s.scan.start, s.scan_pos); }

}  // namespace

std::vector<Lexeme> InterpreterState::read_all_tokens() {
    std::vector<Lexeme> all;
    quiet = true;
    scan_pos = 0;
    try {
        for (;;) {
            read_token();
            const uint32_t start = tok->start;
            all.push_back(Lexeme{start, scan_pos, tok});
            if (tok->at_eof()) break;
        }
    } catch (const ErrorReport&) {
        // The rest of the text is not read: the scanner refuses a token there.
    }
    quiet = false;
    return all;
}

void InterpreterState::scan_token() {
    scan.kind = TK_DELIM;
    scan.keyword = KW_NONE;
    scan.op = OP_NONE;
    scan.len = 0;
    scan.builtin = -1;
    scan.id = -1;
    scan.number = 0;
    scan.text[0] = '\0';

    skip_space();
    scan.start = scan_pos;
    if (cur() == '\0') {
        scan.keyword = KW_EOF;
        return;
    }
    if (cur() == '{' || cur() == '}') {
        scan.text[0] = cur();
        scan.text[1] = '\0';
        scan.len = 1;
        scan.kind = TK_BRACE;
        ++scan_pos;
        return;
    }

    const char* p = &source_text[scan_pos];
    uint8_t length = 0;
    if (uint8_t code = scan_operator(p, length); code != OP_NONE) {
        scan.op = code;
        scan.text[0] = static_cast<char>(code);
        scan.text[1] = length == 2 ? static_cast<char>(code) : '\0';
        scan.text[length] = '\0';
        scan.len = length;
        scan_pos += length;
        return;
    }

    const char c = *p;
    // Strings and words hold at most kTokenTextSize - 1 characters, however
    // many bytes each takes.
    const auto take = [this](size_t& n, size_t& characters) {
        const bool starts = (cur() & 0xC0) != 0x80;  // a character, not its continuation
        if (starts && characters + 1 >= kTokenTextSize) refuse_token(*this);
        characters += starts ? 1 : 0;
        scan.text[n++] = cur();
        ++scan_pos;
    };
    if (c == '"') {
        ++scan_pos;
        size_t n = 0, characters = 0;
        while (cur() != '"') {
            if (cur() == '\r' || cur() == '\0') refuse_token(*this);
            take(n, characters);
        }
        ++scan_pos;
        scan.text[n] = '\0';
        scan.len = static_cast<uint16_t>(n);
        scan.kind = TK_STRING;
        return;
    }
    if (is_digit(c) || is_letter(c)) {
        size_t n = 0, characters = 0;
        while (!is_word_end(cur())) take(n, characters);
        scan.text[n] = '\0';
        scan.len = static_cast<uint16_t>(n);
        if (is_digit(c)) {
            scan.kind = TK_NUMBER;
        } else {
            scan.keyword = keyword_code();
            scan.kind = scan.keyword != KW_NONE ? TK_KEYWORD : TK_NAME;
        }
        return;
    }
    // A single-character delimiter ("+-*^/&|%=;(),'"), or a character that
    // begins no token: either way it is stepped over as a token of its own
    // (all the bytes of a character beyond ASCII), so no caller reads the
    // same place for ever.
    size_t n = 0;
    do scan.text[n++] = source_text[scan_pos++];
    while (n < utf8_length(static_cast<unsigned char>(c)) && (cur() & 0xC0) == 0x80);
    scan.text[n] = '\0';
    scan.len = static_cast<uint16_t>(n);
    return;
}

}  // namespace korvane
