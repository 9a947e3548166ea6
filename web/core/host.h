// SPDX-License-Identifier: GPL-3.0-or-later
// The worker's functions that the core calls: each is the function of the
// same name in the worker's `host` object (web/src/worker.js), which reads
// and writes texts as Latin-1 bytes, as the desktop's files hold them.
#pragma once

#include <cstdint>

extern "C" {

// One line of program output.
void host_output(const char* text);
// An error report or notice.
void host_message(const char* text);
// A show: the canvas is at pixels (bottom row first). Nonzero ends the run.
int host_show(const uint8_t* pixels);
// Asked every few thousand steps. 3 (Bridge::POLL_YIELD) stops the run
// before the next step, to be resumed; any other nonzero ends it.
int host_poll(void);
// Waits ms milliseconds, ending early on Halt; without shared memory the
// wait is owed, and the next poll yields for it.
void host_sleep(int32_t ms);
// Writes the answer to the input box of `kind` (an InputKind) into buffer,
// at most size bytes; returns its length, or -1 while there is none yet
// (the run stops before the built-in and asks again on resume).
int host_answer(int kind, char* buffer, int size);
// Before every drawing built-in while the run is traced. 3 stops the run
// before the call, which asks again on resume; any other nonzero ends it.
int host_before_draw(int32_t line, const char* builtin, const uint8_t* pixels);
// At a pause: its JSON (the runner's --pauses line), the statement's range
// (line, column, end line, end column) and the canvas. Returns how the run
// goes on, a PauseCommand::Kind, and writes a RUN_TO_LINE's line to line;
// WAIT stops the run there, and the pause asks again on resume.
int host_pause(const char* json, const int32_t* range, const uint8_t* pixels, int32_t* line);
// A frame of a GIF cut from the timeline: the canvas is at pixels.
void host_frame(const uint8_t* pixels);
}
