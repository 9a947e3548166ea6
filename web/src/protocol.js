// SPDX-License-Identifier: GPL-3.0-or-later
// What the page and the worker say to each other: the message types and the
// layout of the shared memory through which the page reaches a running
// program (Halt, input answers, the debugger's commands, breakpoints and
// pixel watches) and the worker hands over frames. Where the browser gives
// no shared memory (a host without the isolation headers, a plain-http
// address), each side keeps the same layout in memory of its own and
// sends what it changes as messages; the run then goes in slices, between
// which the worker reads them.

// page -> worker
export const INIT = 'init';         // {buffer}: the shared memory, or a copy of the page's own
export const RUN = 'run';           // {id, source, fresh, seed, maxSteps, input, trace, start}: start {kind, line}, a command
export const PALETTE = 'palette';   // {name, bytes}: a palette file
export const INSPECT = 'inspect';   // {id, x, y}: who drew the pixel
export const SEEK = 'seek';         // {serial, k}: the canvas after call k of the timeline; dropped once a newer seek is asked for
export const HISTORY = 'history';   // {id, x, y}: every write of the pixel in the timeline
export const GIF = 'gif';           // {id, from, to, every}: a GIF of calls from..to, a frame at each show (every 0) or every so many calls
export const DESCRIBE = 'describe'; // {id, pixels, calls}: the canvas shown in words, then the last run's calls unless calls is false
// either way, without shared memory
export const SET = 'set';           // {slot, value}: a control slot's new value
export const LIST = 'list';         // {name, values}: the breakpoints or watches list, its count first
export const ANSWER = 'answer';     // {bytes}: an input answer
export const FRAME_SENT = 'frame';  // {pixels}: a frame, for the frame bytes
// worker -> page
export const READY = 'ready';       // {keywords, builtins, captions, palette}
export const OUTPUT = 'output';     // {lines, dropped}: program output, in order; dropped: lines left out before them
export const INPUT = 'input';       // {kind}: 0 getnum, 1 getche (the core's input box kinds); answer through the shared memory
export const DONE = 'done';         // {id, status, output, message, pixels, errorLine, details, at, timeline}; timeline: {calls, first, line, call} (the last call)
export const ORIGIN = 'origin';     // {id, line, builtin}
export const TRACE = 'trace';       // {line, builtin}: the drawing call about to run
export const PALETTE_SET = 'palette-set'; // {palette, error}: error empty when it was loaded
export const SHOWN = 'shown';       // {pixels, at}: a show while recording, at performance.timeOrigin + now
export const PAUSED = 'paused';     // {pause, range, timeline}: the run waits for a command; pause as korvane-run
                                    // --pauses writes it, range {line, column, endLine, endColumn} of what runs
                                    // next, timeline as in DONE: the calls so far
export const AT_CALL = 'at-call';   // {serial, k, line, call, pixels}: the seek's canvas and call k's line and text
export const GIF_MADE = 'gif-made'; // {id, blob, frames, left}: the GIF asked for, at most `frames` frames; left: those left out
export const WRITES = 'writes';     // {id, writes, count}: the first and last HISTORY_ENDS writes {call, line, builtin, colour}, and how many in all
export const DESCRIBED = 'described'; // {id, text}: the description asked for

// page -> reader (outline_worker.js), the editor's own instance of the core
export const OUTLINE = 'outline';   // {id, source}: read the program without running it
export const PROGRAM_TEXT = 'program-text';   // {id, data}: a program file's bytes as text
export const PROGRAM_BYTES = 'program-bytes'; // {id, data}: a text as the bytes a program file stores
// reader -> page
export const BUILTINS = 'builtins'; // {table}: the built-in table, once, at start
export const OUTLINED = 'outlined'; // {id, outline}: the program's outline (web/core/korvane_web.h)
export const CONVERTED = 'converted'; // {id, data}: the text or bytes asked for

// Int32 slots of the control buffer.
export const HALT = 0;          // 1: the user asked the program to stop
export const ANSWERED = 1;      // 1: an answer waits in the answer bytes
export const ANSWER_LENGTH = 2;
export const COMMANDS = 3;      // commands given so far; the newest is in COMMAND and COMMAND_LINE
export const FRAME = 4;         // counts the frames handed over
export const DELAY = 5;         // slow motion: milliseconds before each drawing call
export const MODE = 6;          // TRACE_OFF or TRACE_SLOW
export const TRACE_OFF = 0;
export const TRACE_SLOW = 1;
export const OUTPUT_WANTED = 7; // 1: the page has shown the last output batch and takes the next
export const RECORDING = 8;     // 1: every show is sent to the page for the GIF
export const RUNNING = 9;       // 1: from the start of a run until its end is sent
export const SEEK_SERIAL = 10;  // the serial of the newest seek asked for
export const COMMAND = 11;      // a command kind, below
export const COMMAND_LINE = 12; // RUN_TO_LINE's line
export const BREAKPOINTS_SET = 13; // counts the changes of the breakpoints list
export const WATCHES_SET = 14;  // counts the changes of the pixel watches list
// A paused run cannot read messages, so the timeline's seeks, pixel
// histories and descriptions reach it here. PAUSE_ASKED changes with everything the page asks
// of a paused run (a command, Halt, a request) and is odd while the page
// writes a request: the worker takes a request only when it read the same
// even value before and after it.
export const PAUSE_ASKED = 15;
export const SEEK_CALL = 16;       // the newest seek's call, less SEEK_CALL_HIGH * 2^32
export const SEEK_CALL_HIGH = 17;
export const HISTORY_ASKED = 18;   // the id of the newest pixel history asked for
export const HISTORY_X = 19;
export const HISTORY_Y = 20;
export const DESCRIBE_ASKED = 21; // the id of the newest description asked for; the pixels in `shown`
export const CONTROL_SLOTS = 22;
export const ANSWER_BYTES = 4096;
// The lists the page keeps for the worker: a count, then the breakpoints'
// lines or the watched pixels' x, y pairs.
export const MAX_BREAKPOINTS = 1000;
export const MAX_WATCHES = 100;

// Commands of the debugger: the core's PauseCommand kinds (web/core/web_pauses.cpp).
export const CONTINUE = 0;
export const STEP_INTO = 1;
export const STEP_OVER = 2;
export const STEP_OUT = 3;
export const RUN_TO_LINE = 4;
export const NEXT_DRAWING_CALL = 5;
export const HALT_RUN = 6;
export const WAIT = 7;           // to the core: no command yet, the run stops and asks again
// The core's answers while it runs without shared memory.
export const POLL_YIELD = 3;     // from poll or beforeDraw: the run stops before the next step and asks again
export const RUN_WAITS = -1;     // from korvane_run or korvane_resume: the run stopped, resume goes on
export const NO_ANSWER = -1;     // from answer: not there yet
// The page keeps only this many of the newest output lines of a run.
export const OUTPUT_KEPT = 10000;
// A pixel's history lists this many of its first and of its last writes.
export const HISTORY_ENDS = 1000;

export const SIZE = 400;
export const PIXELS = SIZE * SIZE;

// One allocation for everything shared; both sides view it the same way.
export function sharedViews(buffer) {
    const control = new Int32Array(buffer, 0, CONTROL_SLOTS);
    const answer = new Uint8Array(buffer, CONTROL_SLOTS * 4, ANSWER_BYTES);
    const frame = new Uint8Array(buffer, CONTROL_SLOTS * 4 + ANSWER_BYTES, PIXELS);
    const lists = CONTROL_SLOTS * 4 + ANSWER_BYTES + PIXELS;
    const breakpoints = new Int32Array(buffer, lists, 1 + MAX_BREAKPOINTS);
    const watches = new Int32Array(buffer, lists + (1 + MAX_BREAKPOINTS) * 4, 1 + 2 * MAX_WATCHES);
    // The page's screen, for a description asked at a pause.
    const shown = new Uint8Array(buffer, lists + (2 + MAX_BREAKPOINTS + 2 * MAX_WATCHES) * 4, PIXELS);
    return { control, answer, frame, breakpoints, watches, shown };
}

// Whether this browsing context may share memory with its workers.
export function canShare() {
    return globalThis.crossOriginIsolated === true && typeof SharedArrayBuffer === 'function';
}

export function isShared(buffer) {
    return typeof SharedArrayBuffer === 'function' && buffer instanceof SharedArrayBuffer;
}

export function newBuffer(shared) {
    const bytes = CONTROL_SLOTS * 4 + ANSWER_BYTES + PIXELS + (2 + MAX_BREAKPOINTS + 2 * MAX_WATCHES) * 4 + PIXELS;
    return shared ? new SharedArrayBuffer(bytes) : new ArrayBuffer(bytes);
}

// What the page tells of how it runs programs.
export function modeName(shared) {
    return shared ? 'shared memory' : 'messages (no cross-origin isolation)';
}

// Texts cross to and from the core as UTF-8. Program files are read and
// written by the core's rule instead (OutlineClient.programText).
export function toUtf8(text) { return new TextEncoder().encode(text); }

export function fromUtf8(bytes) { return new TextDecoder().decode(bytes); }

// The core's columns count characters, the editor's UTF-16 units (two for
// a character beyond U+FFFF): the units of the first `characters` of text.
export function unitsFor(text, characters) {
    let units = 0;
    for (let n = 0; n < characters && units < text.length; n++) units += text.codePointAt(units) > 0xffff ? 2 : 1;
    return units;
}

// The characters of text, as the core counts them.
export function characterCount(text) { return [...text].length; }

// The core's text at pointer, up to its NUL.
export function coreText(heap, pointer) {
    let end = pointer;
    while (heap[end]) end++;
    return fromUtf8(heap.subarray(pointer, end));
}

// Bytes as a binary string, one character a byte, for btoa.
export function fromLatin1(bytes) {
    let text = '';
    for (let i = 0; i < bytes.length; i += 8192)
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    return text;
}
