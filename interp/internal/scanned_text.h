// SPDX-License-Identifier: GPL-3.0-or-later
// The program's text as the scanner reads it: where reading stands, the
// current token, every token once read (so each place is scanned once) and
// the names met so far.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "tokens.h"

namespace korvane {

// What read_token produces at one position depends only on the text and the
// position, so each result is kept for the rest of the run.
struct CachedToken {
    Token token;
    uint32_t end;  // scan_pos after the token
};

// One token of a reading of the whole text, for hints and outlines.
struct Lexeme {
    uint32_t start, end;  // the token's source characters
    const Token* token;
};

struct ScannedText {
    // Program text, NUL-terminated (with spare NULs so a look-ahead of one
    // character past the end stays inside).
    std::vector<char> source_text;
    uint32_t scan_pos = 0;
    const Token* tok = &scan;  // the current token; points into the token cache
    // Per position where a reading began, and per token's first character:
    // the token read there, or null.
    std::vector<const CachedToken*> token_at;
    std::deque<CachedToken> tokens;   // a deque keeps the addresses stable
    std::vector<uint32_t> line_ends;  // filled on the first line_of of a run
    std::unordered_map<std::string, int32_t> name_ids;
    Token scan;        // where read_token builds a token it has not seen yet
    Token main_token;  // the name that starts a run

    // Takes a new text, with nothing of the last one kept.
    void take_text(const std::string& program);
    char at(uint32_t pos) const { return source_text[pos]; }
    char cur() const { return source_text[scan_pos]; }
    // Moves scan_pos on by n, never past the end.
    void step_over(uint32_t n) {
        while (n-- > 0 && cur() != '\0') ++scan_pos;
    }
    // Puts the current token back: scan_pos returns to its first character.
    void unread_token() {
        if (tok->keyword != KW_EOF) scan_pos = tok->start;
    }
};

}  // namespace korvane
