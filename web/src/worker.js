// SPDX-License-Identifier: GPL-3.0-or-later
// The worker owns the run: it holds the compiled core and answers the page.
// A run blocks this thread, so the page reaches it only through shared
// memory (Halt, answers, the debugger's commands) and sees it through
// messages and frames.
import * as P from './protocol.js';
import { CollectedOutput, StreamedOutput } from './run_output.js';
import { WorkerPauses } from './worker_pauses.js';
import * as timeline from './timeline_worker.js';

importScripts('korvane-core.js');

let core = null;       // the module instance
let shared = null;     // views of the shared buffer
let run = null;        // what the current run collects
let palette = null;    // the palette file the page loaded, if any: {name, bytes}
let pauses = null;     // the debugger's side here
const queue = [];      // messages that arrived before the core was ready

function cString(pointer) { return P.coreText(core.HEAPU8, pointer); }

function halted() { return Atomics.load(shared.control, P.HALT) !== 0; }

function now() { return performance.timeOrigin + performance.now(); }

function handFrame(pixels) {
    shared.frame.set(core.HEAPU8.subarray(pixels, pixels + P.PIXELS));
    Atomics.add(shared.control, P.FRAME, 1);
}

// Waits up to ms, ending early when Halt is pressed.
function pause(ms) {
    Atomics.wait(shared.control, P.HALT, 0, ms);
}

// Reads the page dialog's answer, or nothing if Halt came first.
function dialogAnswer(kind) {
    run.output.flush();
    Atomics.store(shared.control, P.ANSWERED, 0);
    postMessage({ type: P.INPUT, kind });
    while (Atomics.load(shared.control, P.ANSWERED) === 0 && !halted())
        Atomics.wait(shared.control, P.ANSWERED, 0, 100);
    if (halted()) return new Uint8Array(0);
    const length = Atomics.load(shared.control, P.ANSWER_LENGTH);
    return shared.answer.slice(0, length);
}

// A page run learns what the debugger's buttons and marks changed.
function syncPauses() {
    if (run.onScreen) pauses.sync();
}

// The functions of web/core/host.h.
const host = {
    output(text) { run.output.add(cString(text)); },
    message(text) {
        const t = cString(text);
        run.message += t.endsWith('\n') ? t : t + '\n';
    },
    show(pixels) {
        if (run.onScreen) {
            run.output.offer();
            handFrame(pixels);
            // The GIF holds every show, however fast they come.
            if (Atomics.load(shared.control, P.RECORDING)) {
                const copy = core.HEAPU8.slice(pixels, pixels + P.PIXELS);
                postMessage({ type: P.SHOWN, pixels: copy, at: now() }, [copy.buffer]);
            }
        }
        return halted() ? 1 : 0;
    },
    poll() {
        // A program that prints but never shows still has its lines seen.
        run.output.offer();
        syncPauses();
        return halted() ? 1 : 0;
    },
    sleep(ms) {
        run.output.flush();
        pause(ms);
    },
    answer(kind, buffer, size) {
        let bytes;
        if (run.answers) {
            // As the runner reads its input: one line each, none left is an empty answer.
            bytes = P.toUtf8(run.answers.length ? run.answers.shift() : '');
        } else {
            bytes = dialogAnswer(kind);
        }
        const n = Math.min(bytes.length, size);
        core.HEAPU8.set(bytes.subarray(0, n), buffer);
        return n;
    },
    beforeDraw(line, builtin, pixels) {
        if (Atomics.load(shared.control, P.MODE) === P.TRACE_OFF) return 0;
        syncPauses();
        handFrame(pixels);
        postMessage({ type: P.TRACE, line, builtin: cString(builtin) });
        pause(Atomics.load(shared.control, P.DELAY));
        return halted() ? 1 : 0;
    },
    pause(json, range, pixels, line) {
        run.output.flush();
        handFrame(pixels);
        return pauses.pause(json, range, line, halted);
    },
    frame(pixels) { timeline.frame(core, pixels); },
};

// The answers of korvane.run: a text of lines, as the runner's --input file,
// or an array of lines.
function answerLines(input) {
    if (input === undefined || input === null) return [];
    if (Array.isArray(input)) return input.map(String);
    const lines = String(input).split('\n').map((l) => (l.endsWith('\r') ? l.slice(0, -1) : l));
    if (lines.length && lines[lines.length - 1] === '') lines.pop();
    return lines;
}

async function startCore() {
    core = await createKorvane({ host });
    // The page lays out its shared memory for this canvas.
    if (core._korvane_canvas_size() !== P.SIZE) throw new Error('the core and the page disagree on the canvas size');
    if (palette) loadPalette(palette);
}

// Once the page is told the core is ready: korvane_warm_up's run, its
// output dropped (web/core/korvane_web.h says why).
function warmUp() {
    run = { onScreen: false, output: new CollectedOutput(), answers: [], message: '' };
    core._korvane_warm_up();
    run = null;
}

// KorvaneRunOptions (web/core/korvane_web.h): its fields at their offsets.
function runOptions(request) {
    const seeded = request.seed !== undefined && request.seed !== null;
    const at = core._malloc(32);
    const view = new DataView(core.HEAPU8.buffer, at, 32);
    view.setInt32(0, request.fresh ? 1 : 0, true);
    view.setInt32(4, seeded ? 1 : 0, true);
    view.setUint32(8, seeded ? request.seed >>> 0 : 0, true);
    view.setFloat64(16, Number(request.maxSteps) || 0, true);
    view.setInt32(24, request.trace ? 1 : 0, true);
    return at;
}

function callRun(request) {
    const bytes = P.toUtf8(request.source);
    const text = core._malloc(bytes.length + 1);
    core.HEAPU8.set(bytes, text);
    const options = runOptions(request);
    try {
        return core._korvane_run(text, bytes.length, options);
    } finally {
        if (core) {
            core._free(text);
            core._free(options);
        }
    }
}

async function doRun(request) {
    Atomics.store(shared.control, P.HALT, 0);
    Atomics.store(shared.control, P.RUNNING, 1);
    // korvane.run answers from its input lines, as the runner from its file,
    // and collects its output; the page's runs ask the user and stream it.
    const fromLines = request.fresh || request.input !== undefined;
    run = {
        onScreen: !request.fresh,
        output: request.fresh ? new CollectedOutput() : new StreamedOutput(shared.control),
        answers: fromLines ? answerLines(request.input) : null,
        message: '',
    };
    if (run.onScreen) pauses.begin(core, request.start);
    let status;
    let errorLine = -1;
    let details = null;
    try {
        status = callRun(request);
        errorLine = core._korvane_error_line();
        if (status !== 0) details = JSON.parse(cString(core._korvane_error_details()));
    } catch (error) {
        // The browser's own stack ran out, or the core trapped: the module's
        // state cannot be trusted any more, so the run ends with a report and
        // a new instance takes over.
        status = 2;
        run.message += error instanceof RangeError
            ? 'The program nests too deep for the browser\'s stack\n'
            : `The run stopped: ${error.message}\n`;
        await startCore();
    }
    const pixelsAt = core._korvane_pixels();
    const pixels = core.HEAPU8.slice(pixelsAt, pixelsAt + P.PIXELS);
    run.output.flush();
    Atomics.store(shared.control, P.RUNNING, 0);
    postMessage({
        type: P.DONE, id: request.id, status, errorLine, details, message: run.message,
        output: run.output.text(), pixels, at: now(), timeline: timeline.summary(core, cString),
    }, [pixels.buffer]);
    run = null;
}

// Reads a palette file as the desktop does, through the module's files.
function loadPalette({ name, bytes }) {
    const path = '/' + (name.replace(/[/\0]/g, '_') || 'palette.pal');
    core.FS.writeFile(path, bytes);
    const text = P.toUtf8(path + '\0');
    const at = core._malloc(text.length);
    core.HEAPU8.set(text, at);
    const error = cString(core._korvane_load_palette(at));
    core._free(at);
    core.FS.unlink(path);
    return error;
}

function paletteBytes() {
    const at = core._korvane_palette();
    return core.HEAPU8.slice(at, at + 1024);
}

// A seek or pixel history, asked by message after a run or through the
// shared memory at a pause.
function answerTimeline(data) {
    if (data.type === P.HISTORY) {
        postMessage(timeline.history(core, cString, data));
    } else if (data.serial === Atomics.load(shared.control, P.SEEK_SERIAL)) {
        // Only the newest position matters while the slider moves.
        const shown = timeline.seek(core, cString, data);
        postMessage(shown, [shown.pixels.buffer]);
    }
}

async function handle(data) {
    switch (data.type) {
        case P.RUN: await doRun(data); break;
        case P.PALETTE: {
            const file = { name: String(data.name), bytes: new Uint8Array(data.bytes) };
            const error = loadPalette(file);
            if (!error) palette = file;
            postMessage({ type: P.PALETTE_SET, error, palette: paletteBytes() });
            break;
        }
        case P.INSPECT:
            postMessage({
                type: P.ORIGIN, id: data.id, line: core._korvane_origin_line(data.x, data.y),
                builtin: cString(core._korvane_origin_builtin(data.x, data.y)),
            });
            break;
        case P.SEEK:
        case P.HISTORY: answerTimeline(data); break;
        case P.GIF: postMessage(timeline.gif(core, paletteBytes(), data)); break;
    }
}

// Messages are handled one at a time, in order, even across the awaits.
let busy = Promise.resolve();
onmessage = (event) => {
    if (event.data.type === P.INIT) {
        shared = P.sharedViews(event.data.buffer);
        pauses = new WorkerPauses(shared, (message) => postMessage(message), {
            summary: () => timeline.summary(core, cString), answer: answerTimeline,
        });
        busy = busy.then(async () => {
            await startCore();
            postMessage({
                type: P.READY, palette: paletteBytes(),
                keywords: cString(core._korvane_keyword_names()).trim().split('\n'),
                builtins: cString(core._korvane_builtin_names()).trim().split('\n'),
                captions: [0, 1].map((kind) => cString(core._korvane_input_caption(kind))),
            });
            warmUp();
        });
        return;
    }
    queue.push(event.data);
    busy = busy.then(() => handle(queue.shift()));
};
