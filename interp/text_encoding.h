// SPDX-License-Identifier: GPL-3.0-or-later
// How a program's characters are stored. Program files hold Latin-1 (one
// byte a character, as every older file does) or UTF-8; inside, the
// interpreter and every front end hold a program as UTF-8. These functions
// are the one place that tells the two apart, so the window, the runner and
// the page read and write the same files the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

// The text of a program file's bytes, as UTF-8. Bytes that are valid UTF-8
// and hold at least one character beyond ASCII are UTF-8 (a leading byte
// order mark is dropped); any other bytes are Latin-1, each byte one character.
std::string program_text_from_bytes(std::string_view bytes);

// The bytes to store for a UTF-8 text: Latin-1 when every character fits in
// it and those bytes read back as the same text (byte for byte what older
// versions wrote), otherwise the UTF-8 itself, without a byte order mark.
std::string program_bytes_from_text(std::string_view utf8);

// The characters in a UTF-8 text (the bytes that begin one), so that a
// column counts é, € and 😀 as one each.
size_t character_count(std::string_view utf8);

// How many bytes the UTF-8 character that begins with `lead` takes (1 for
// a byte that begins none).
size_t utf8_length(unsigned char lead);

// The code of the UTF-8 character at the start of text (at least one byte),
// and its length in `length`; a byte that begins no character is its own code.
uint32_t utf8_code(std::string_view text, size_t& length);

// Appends the UTF-8 of a code (at most 0x10FFFF).
void append_utf8(std::string& out, uint32_t code);

}  // namespace korvane
