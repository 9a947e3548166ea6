// SPDX-License-Identifier: GPL-3.0-or-later
// Token kinds, keyword and operator codes, and the character classes of
// the scanner.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvane {

// kind values.
enum TokenKindCode : uint8_t {
    TK_DELIM = 0,    // operator, punctuation, the end of the text
    TK_NAME = 1,     // a word that is not a keyword
    TK_NUMBER = 2,   // a word beginning with a digit
    TK_KEYWORD = 3,  // a keyword; keyword tells which
    TK_STRING = 5,   // a double-quoted string literal, quotes stripped
    TK_BRACE = 6,    // { or }
};

// keyword values.
enum KeywordCodeValue : uint8_t {
    KW_NONE = 0,
    KW_CHAR = 1,
    KW_INT = 2,
    KW_IF = 3,
    KW_ELSE = 4,
    KW_FOR = 5,
    KW_DO = 6,
    KW_WHILE = 7,
    KW_RETURN = 9,
    KW_EOF = 11,  // the end of the text was reached
    KW_END = 12,
    KW_BREAK = 13,
    KW_CONTINUE = 14,
};

// What a token begins where a statement is due: a keyword's own code, or
// one of these (KW_NONE for a token that begins nothing).
enum StatementStart : uint8_t {
    BEGINS_NAME = 20,
    BEGINS_BLOCK = 21,
    ENDS_BLOCK = 22,
};

// Operator codes: text holds the code byte, twice for a two-character
// operator, so the text keeps the length of its source.
enum OperatorCode : uint8_t {
    OP_NONE = 0,
    OP_LT = 1,
    OP_LE = 2,
    OP_GT = 3,
    OP_GE = 4,
    OP_EQ = 5,
    OP_NE = 6,
    OP_INC = 7,
    OP_DEC = 8,
    OP_ADD_ASSIGN = 9,
    OP_SUB_ASSIGN = 10,
    OP_AND = 11,
    OP_OR = 12,
};

// The expression level that acts on a token after an operand; a token of
// none ends the operand's expression.
enum OperatorLevel : uint8_t {
    LEVEL_NONE = 0,
    LEVEL_COMPARISON = 1,  // any two-character operator, ++ -- += -= included
    LEVEL_ADDITIVE = 2,
    LEVEL_MULTIPLICATIVE = 3,
};

constexpr size_t kTokenTextSize = 80;  // characters of a token, NUL included
// text's bytes: a character takes up to four in UTF-8.
constexpr size_t kTokenBytes = 4 * (kTokenTextSize - 1) + 1;
constexpr size_t kNameSize = 32;  // names in the tables, NUL included

// What is noted of the text at a position before it was looked at, and
// where it holds no simple expression (or argument list).
constexpr int32_t kNotSimple = -1;
constexpr int32_t kNotLooked = -2;

// The current token. `op` and `start` are ours: `op` tells an operator from a
// stray control byte with the same value, `start` lets a token of any kind be
// put back exactly.
struct Token {
    char text[kTokenBytes] = {};
    uint8_t kind = TK_DELIM;
    uint8_t keyword = KW_NONE;
    uint8_t op = OP_NONE;
    uint16_t len = 0;  // strlen(text)
    char ch = 0;       // the character of a one-character delimiter, else 0
    uint8_t level = LEVEL_NONE;
    uint8_t begins = KW_NONE;  // a KeywordCodeValue or StatementStart
    int16_t builtin = -1;      // built-in table index of a name, or -1
    uint32_t start = 0;        // offset of the token's first source character
    int32_t id = -1;           // interned name of a TK_NAME token, so lookups compare integers
    int32_t number = 0;        // value of a TK_NUMBER token
    // The interpreter's note of the simple expression that begins here (its
    // entry, kNotSimple or kNotLooked), kept with the token, which is the one
    // token read from this place, so the statements' loop finds it in one load.
    mutable int32_t simple = kNotLooked;

    bool is(char c) const { return ch == c; }
    bool is_brace(char c) const { return kind == TK_BRACE && text[0] == c; }
    bool is_keyword(uint8_t code) const { return kind == TK_KEYWORD && keyword == code; }
    bool at_eof() const { return keyword == KW_EOF; }
};

inline bool is_blank(char c) { return c == ' ' || c == '\t'; }
inline bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// True for the characters that end a word: " !;,+-<>'/*%^=()&|", tab, CR, NUL.
bool is_word_end(char c);

}  // namespace korvane
