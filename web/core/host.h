// The worker's functions that the core calls (see korvane_web.h).
#pragma once

#include <cstdint>
#include <string>

namespace korvane::host {

void output(const char* text);
void message(const char* text);
int show(const uint8_t* pixels);
int poll();
void sleep(int32_t ms);
std::string answer(int kind);
int before_draw(int32_t line, const char* builtin, const uint8_t* pixels);
// Fills mask (rows top first) with 1 where the text's glyphs cover a pixel.
void text_mask(const char* font, int32_t points, const char* text, int32_t left, int32_t top, uint8_t* mask);

}  // namespace korvane::host
