// SPDX-License-Identifier: GPL-3.0-or-later
// The one boundary between the compiled core and the browser: the worker
// calls the exported functions below; the core calls the worker back through
// the host functions of host.h.
#pragma once

#include <cstdint>

extern "C" {

// How korvane_run runs a program.
struct KorvaneRunOptions {
    // On a new canvas, bridge and interpreter, as a new runner process
    // starts (korvane.run); otherwise on the page's own, which keep their
    // state across runs as the desktop window's do.
    int32_t fresh;
    int32_t has_seed;
    uint32_t seed;
    // Bound on the steps; 0: no bound.
    double max_steps;
    // The host is asked before every drawing built-in (slow motion, step).
    int32_t trace;
};

// Runs the program of `length` bytes at text. Returns the runner's exit
// status (0 ran, 1 no main, 2 error or limit), or -1 when the run stopped
// to wait for the worker (host.h says where): korvane_resume goes on.
int korvane_run(const char* text, int length, const struct KorvaneRunOptions* options);
// Goes on with the run that returned -1; returns as korvane_run does.
int korvane_resume(void);

// Runs a short loop once, in a session of its own that nothing else sees:
// the browser swaps in a function's optimised code only at its next call,
// and a whole run is one call, so without it the first run after start-up
// stays in the unoptimised code throughout.
void korvane_warm_up(void);

// Line (from 0) of the last run's error report, or -1.
int korvane_error_line(void);

// Canvas of the last run: korvane_canvas_size() squared palette indices,
// bottom row first.
const uint8_t* korvane_pixels(void);
int korvane_canvas_size(void);
// The page canvas's palette: 256 entries of red, green, blue, unused.
const uint8_t* korvane_palette(void);
// Makes the palette file at path (in the module's file system) the page's
// palette, as the desktop reads one; on failure returns the report, else "".
const char* korvane_load_palette(const char* path);

// Where the page canvas's pixel (x, y from the bottom) came from in the last
// run: its line (from 0, -1 when not drawn by it) and the built-in's name.
int korvane_origin_line(int x, int y);
const char* korvane_origin_builtin(int x, int y);

// The language's keywords and built-in names, one a line, for the editor.
const char* korvane_keyword_names(void);
const char* korvane_builtin_names(void);
// The caption of the input box for kind (0 getnum, 1 getche).
const char* korvane_input_caption(int kind);

// Pauses of the page's runs (korvane.run's never pause). A command is a
// kind (0 continue, 1 step into, 2 step over, 3 step out, 4 run to line,
// 5 next drawing call, 6 halt) and, for run to line, a line from 0.
// Before a page run: how it begins.
void korvane_pauses_begin(int32_t kind, int32_t line);
// While it runs (from a host call): a command given without a pause.
void korvane_pause_request(int32_t kind, int32_t line);
// At any time, each replacing the last: the breakpoints' lines, and count
// watched pixels as x, y pairs.
void korvane_set_breakpoints(const int32_t* lines, int32_t count);
void korvane_set_watches(const int32_t* xy, int32_t count);
// The drawing timeline of the page canvas's last run. Call numbers are
// JavaScript numbers; call 0 is the canvas the run started from.
// The run's drawing calls, and the first call whose canvas can still be
// shown (0 unless the run made more calls than the timeline holds).
double korvane_timeline_calls(void);
double korvane_timeline_first(void);
// The canvas after call k (clamped to first..calls), laid out as
// korvane_pixels; valid until the next seek.
const uint8_t* korvane_timeline_seek(double k);
// Call k's line (from 0) and its built-in with its argument values, as
// "line(200, 200, 7, 13) colour 5"; -1 and "" for no call.
int korvane_timeline_line(double k);
const char* korvane_timeline_call(double k);
// Every write of pixel (x, y), as korvane-run --history prints them (call,
// line, built-in, colour, one a line), but only the first and the last
// `ends`; korvane_timeline_writes() then counts them all.
const char* korvane_timeline_history(int x, int y, int ends);
double korvane_timeline_writes(void);
// Hands the frames of a GIF of calls a..b to host_frame: after call a,
// after each show in the range (every = 0) or every `every` calls, and
// after call b. Returns how many.
int korvane_timeline_gif(double a, double b, double every);
// The canvas shown (pixels laid out as korvane_pixels, in the page
// canvas's palette) in words, then the drawing calls of the page canvas's
// last run unless with_calls is 0, as the desktop's View > Describe Canvas
// gives them (bridge/canvas_description.h); valid until the next call.
const char* korvane_describe_canvas(const uint8_t* pixels, int32_t with_calls);
// JSON for the editor (web/core/web_assist.cpp), each valid until the next
// call of the same function. The built-ins:
// [{name, arguments, signature, description}] in the interpreter's order.
const char* korvane_builtin_table(void);
// The outline of the program of `length` bytes at text, read without running
// it: {functions: [{name, parameters, line}], names, warnings: [{place,
// text, signature}]}, a place being {line, column, length} from 0.
const char* korvane_outline(const char* text, int length);
// A program file's `length` bytes at `bytes` as UTF-8 text, and a UTF-8
// text as the bytes a program file stores (text_encoding.h); the result is
// korvane_converted_length() bytes, kept until the next call of either.
const char* korvane_program_text(const char* bytes, int length);
const char* korvane_program_bytes(const char* text, int length);
int korvane_converted_length(void);
// The last run's error report: {code, message, line, token, hint}; code -1
// when it had none.
const char* korvane_error_details(void);
// An exercise (web/core/web_exercise.cpp). First its files beside
// exercise.json: each accepted picture by name (width x height palette
// indices, top row first, as a PNG holds them, and its PNG palette of
// `colours` red, green, blue triples), each answers file's text, and the
// palette file's bytes.
void korvane_exercise_picture(const char* name, int width, int height, const uint8_t* top_first, const uint8_t* rgb,
                              int colours);
void korvane_exercise_answers(const char* name, const char* text, int length);
void korvane_exercise_palette(const uint8_t* bytes, int length);
// Then exercise.json's text and the folder's file names, one a line; name
// is the title when the text gives none. Returns {error} or {title,
// statement, starter, file, shown (the indices of the visible checks),
// checks: [{title, input, seed}]}; the files handed over are used up.
const char* korvane_exercise_open(const char* name, const char* json, int length, const char* files);
// "forbidden built-in circle in line 3" for the first forbidden built-in
// the program uses, or "".
const char* korvane_exercise_forbidden(const char* text, int length);
// Runs check `index` of the exercise open on the program: {status, lines
// (as korvane-run --check words them), hint, errorLine, call, line} (call
// and line of the first divergence; call 0 for none).
const char* korvane_exercise_check(const char* text, int length, int index);
// For the last run of a check that differs, 400 x 400 indices bottom row
// first: which 0 the run's canvas, 1 the accepted picture, 2 the
// differences as --diff draws them; null for another check. Then their
// palette: 256 entries of red, green, blue, unused.
const uint8_t* korvane_exercise_view(int index, int which);
const uint8_t* korvane_exercise_view_palette(void);
}
