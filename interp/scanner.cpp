// The scanner: pulls one token at a time from ScanPos.
#include <cstring>

#include "state.h"

namespace korvane {

namespace {

struct KeywordEntry {
    char name[20];
    uint8_t code;
};

// KeywordTable in table order; the empty name ends it.
constexpr KeywordEntry KeywordTable[] = {
    {"if", KW_IF},         {"else", KW_ELSE},   {"for", KW_FOR},     {"do", KW_DO},
    {"while", KW_WHILE},   {"char", KW_CHAR},   {"int", KW_INT},     {"return", KW_RETURN},
    {"end", KW_END},       {"break", KW_BREAK}, {"continue", KW_CONTINUE},
    {"", KW_END},
};

}  // namespace

bool is_word_end(char c) {
    if (c == '\t' || c == '\r' || c == '\0') return true;
    return std::strchr(" !;,+-<>'/*%^=()&|", c) != nullptr;
}

void InterpreterState::step_over(uint32_t n) {
    while (n-- > 0 && cur() != '\0') ++ScanPos;
}

uint8_t InterpreterState::keyword_code() {
    for (uint8_t i = 0; i < tok.len; ++i) {
        char& c = tok.TokenText[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    for (const KeywordEntry& k : KeywordTable) {
        if (k.name[0] == '\0') break;
        if (std::strcmp(k.name, tok.TokenText) == 0) return k.code;
    }
    return KW_NONE;
}

namespace {

// Operator at p, or OP_NONE; sets its source length.
uint8_t scan_operator(const char* p, uint8_t& length) {
    const char c = p[0], n = p[1];
    length = 2;
    switch (c) {
        case '<': if (n == '=') return OP_LE; length = 1; return OP_LT;
        case '>': if (n == '=') return OP_GE; length = 1; return OP_GT;
        case '+': if (n == '+') return OP_INC; if (n == '=') return OP_ADD_ASSIGN; break;
        case '-': if (n == '-') return OP_DEC; if (n == '=') return OP_SUB_ASSIGN; break;
        case '=': if (n == '=') return OP_EQ; break;
        case '!': if (n == '=') return OP_NE; break;
        case '&': if (n == '&') return OP_AND; break;
        case '|': if (n == '|') return OP_OR; break;
        default: break;
    }
    return OP_NONE;
}

}  // namespace

uint8_t InterpreterState::read_token() {
    tok.TokenKind = TK_DELIM;
    tok.KeywordCode = KW_NONE;
    tok.op = OP_NONE;
    tok.len = 0;
    tok.TokenText[0] = '\0';

    while (is_blank(cur())) ++ScanPos;
    if (cur() == '\r') {
        // One line end per call: the CR and the LF after it.
        step_over(2);
        while (is_blank(cur())) ++ScanPos;
    }
    tok.start = ScanPos;
    if (cur() == '\0') {
        tok.KeywordCode = KW_EOF;
        return tok.TokenKind;
    }
    if (cur() == '{' || cur() == '}') {
        tok.TokenText[0] = cur();
        tok.TokenText[1] = '\0';
        tok.len = 1;
        tok.TokenKind = TK_BRACE;
        ++ScanPos;
        return tok.TokenKind;
    }
    if (cur() == '/' && at(ScanPos + 1) == '*') {
        step_over(2);
        for (;;) {
            while (cur() != '*' && cur() != '\0') ++ScanPos;
            if (cur() == '\0') break;
            ++ScanPos;
            if (cur() == '/') {
                ++ScanPos;
                break;
            }
        }
        tok.start = ScanPos;
    }

    const char* p = &TextBuffer[ScanPos];
    uint8_t length = 0;
    if (uint8_t code = scan_operator(p, length); code != OP_NONE) {
        tok.op = code;
        tok.TokenText[0] = static_cast<char>(code);
        tok.TokenText[1] = length == 2 ? static_cast<char>(code) : '\0';
        tok.TokenText[length] = '\0';
        tok.len = length;
        ScanPos += length;
        return tok.TokenKind;
    }

    const char c = *p;
    if (c == '"') {
        ++ScanPos;
        size_t n = 0;
        while (cur() != '"') {
            if (cur() == '\r' || cur() == '\0' || n + 1 >= kTokenTextSize) report_error(ERR_SYNTAX);
            tok.TokenText[n++] = cur();
            ++ScanPos;
        }
        ++ScanPos;
        tok.TokenText[n] = '\0';
        tok.len = static_cast<uint8_t>(n);
        tok.TokenKind = TK_STRING;
        return tok.TokenKind;
    }
    if (is_digit(c) || is_letter(c)) {
        size_t n = 0;
        while (!is_word_end(cur())) {
            if (n + 1 >= kTokenTextSize) report_error(ERR_SYNTAX);
            tok.TokenText[n++] = cur();
            ++ScanPos;
        }
        tok.TokenText[n] = '\0';
        tok.len = static_cast<uint8_t>(n);
        if (is_digit(c)) {
            tok.TokenKind = TK_NUMBER;
        } else {
            tok.KeywordCode = keyword_code();
            tok.TokenKind = tok.KeywordCode != KW_NONE ? TK_KEYWORD : TK_NAME;
        }
        return tok.TokenKind;
    }
    if (is_blank(c) || c == '\r' || c == '{' || c == '}' || c == '\0') {
        // Right after a comment or a line end: an empty token; the next call
        // deals with the character.
        return tok.TokenKind;
    }
    // A single-character delimiter ("+-*^/&|%=;(),'"), or a character that
    // begins no token: either way it is stepped over as a token of its own,
    // so no caller reads the same place for ever.
    tok.TokenText[0] = c;
    tok.TokenText[1] = '\0';
    tok.len = 1;
    ++ScanPos;
    return tok.TokenKind;
}

void InterpreterState::unread_token() {
    if (tok.KeywordCode != KW_EOF) ScanPos = tok.start;
}

}  // namespace korvane
