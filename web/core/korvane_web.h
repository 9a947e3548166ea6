// The one boundary between the compiled core and the browser.
//
// The worker calls the exported functions below. The core calls back into
// the worker through the host functions declared in host.h, which the worker
// supplies as `Module.host` when it creates the module:
//   output(text)               one line of program output
//   message(text)              an error report or notice
//   show(pixels) -> halt       a show: the canvas is at `pixels` (160,000
//                              bytes, bottom row first); nonzero ends the run
//   poll() -> halt             asked every few thousand steps
//   sleep(ms)                  waits, ending early on Halt
//   answer(kind) -> text       the answer to getnum (0) or getche (1)
//   beforeDraw(line, builtin, pixels) -> halt   while the run is traced
//   textMask(font, points, text, left, top, mask) -> drawn
//                              renders text into mask (400 x 400, top row first)
#pragma once

#include <cstdint>

extern "C" {

// Runs the program of `length` bytes at text. fresh: on a new canvas, bridge
// and interpreter, as a new runner process starts (korvane.run); otherwise on
// the page's own, which keep their state across runs as the desktop window's
// do. max_steps 0: no bound. trace: the host is asked before every drawing
// built-in (slow motion, step).
// Returns the runner's exit status: 0 ran, 1 no main, 2 error or limit.
int korvane_run(const char* text, int length, int fresh, int has_seed, uint32_t seed, double max_steps, int trace);

// Line (from 0) of the last run's error report, or -1.
int korvane_error_line(void);

// Canvas of the last run: 160,000 palette indices, bottom row first.
const uint8_t* korvane_pixels(void);
// The page canvas's palette: 256 entries of red, green, blue, unused.
const uint8_t* korvane_palette(void);
// Makes 1024 bytes at `bytes` the page's palette; size must be 1024.
int korvane_set_palette(const uint8_t* bytes, int size);

// Where the page canvas's pixel (x, y from the bottom) came from in the last
// run: its line (from 0, -1 when not drawn by it) and the built-in's name.
int korvane_origin_line(int x, int y);
const char* korvane_origin_builtin(int x, int y);

// The language's keywords and built-in names, one a line, for the editor.
const char* korvane_keyword_names(void);
const char* korvane_builtin_names(void);
}
