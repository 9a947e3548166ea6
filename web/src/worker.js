// SPDX-License-Identifier: GPL-3.0-or-later
// The worker owns the run: it holds the compiled core and answers the page.
// With shared memory a run blocks this thread, so the page reaches it only
// through that memory (Halt, answers, the debugger's commands) and sees it
// through messages and frames. Without, the core gives the thread back
// every few milliseconds and wherever it must wait (an answer, a command at
// a pause, a sleep), and the page's changes arrive as messages between.
import * as P from './protocol.js';
import { CollectedOutput, StreamedOutput } from './run_output.js';
import { WorkerPauses } from './worker_pauses.js';
import * as timeline from './timeline_worker.js';

importScripts('korvane-core.js');

let core = null;       // the module instance
let shared = null;     // views of the shared buffer, or of this worker's copy
let blocking = true;   // shared memory: the run may wait here
let run = null;        // what the current run collects
let palette = null;    // the palette file the page loaded, if any: {name, bytes}
let pauses = null;     // the debugger's side here
const queue = [];      // messages that arrived before the core was ready
// A run without shared memory runs this long before it reads its messages.
const SLICE_MS = 20;
// Frames are sent at most this often without shared memory; the newest is kept.
const FRAME_MS = 15;
let woken = null;      // resolves the wait of a run without shared memory

function cString(pointer) { return P.coreText(core.HEAPU8, pointer); }

function halted() { return Atomics.load(shared.control, P.HALT) !== 0; }

function now() { return performance.timeOrigin + performance.now(); }

function handFrame(pixels, immediately = false) {
    if (blocking) {
        shared.frame.set(core.HEAPU8.subarray(pixels, pixels + P.PIXELS));
        Atomics.add(shared.control, P.FRAME, 1);
        return;
    }
    run.frameAt = pixels;
    if (immediately || performance.now() - run.frameSent >= FRAME_MS) sendFrame();
}

// The newest frame not yet sent, if any.
function sendFrame() {
    if (run.frameAt === null) return;
    const pixels = core.HEAPU8.slice(run.frameAt, run.frameAt + P.PIXELS);
    postMessage({ type: P.FRAME_SENT, pixels }, [pixels.buffer]);
    run.frameAt = null;
    run.frameSent = performance.now();
}

// A control slot the page reads, as the page would see it.
function setSlot(slot, value) {
    Atomics.store(shared.control, slot, value);
    if (!blocking) postMessage({ type: P.SET, slot, value });
}

// Without shared memory: resolves once test() holds (looked at whenever a
// message changed something) or ms have passed.
async function until(test, ms = Infinity) {
    const end = performance.now() + ms;
    while (!test() && performance.now() < end) {
        await new Promise((resolve) => {
            woken = resolve;
            if (end !== Infinity) setTimeout(resolve, end - performance.now());
        });
    }
}

function wake() {
    const resolve = woken;
    woken = null;
    resolve?.();
}

// Lets the messages that came during a slice in; a message port, as timers
// nested this deep wait at least 4 ms.
const nextTurn = (() => {
    const channel = new MessageChannel();
    const waiting = [];
    channel.port1.onmessage = () => waiting.shift()?.();
    return () => new Promise((resolve) => {
        waiting.push(resolve);
        channel.port2.postMessage(0);
    });
})();

// Waits up to ms, ending early when Halt is pressed.
function pause(ms) {
    Atomics.wait(shared.control, P.HALT, 0, ms);
}

// Without shared memory: the answer if it came, else the page is asked (once)
// and the run waits for it; null while there is none.
function messageAnswer(kind) {
    if (Atomics.load(shared.control, P.ANSWERED) !== 0) {
        run.asked = false;
        Atomics.store(shared.control, P.ANSWERED, 0);
        return shared.answer.slice(0, Atomics.load(shared.control, P.ANSWER_LENGTH));
    }
    if (halted()) return new Uint8Array(0);
    if (!run.asked) {
        run.asked = true;
        run.output.flush();
        sendFrame();
        postMessage({ type: P.INPUT, kind });
    }
    run.wait = until(() => Atomics.load(shared.control, P.ANSWERED) !== 0 || halted());
    return null;
}

// Without shared memory a poll ends the slice once it has run long enough,
// or when a sleep is owed: the run stops at the next step and waits.
function endOfSlice() {
    if (blocking || run.sliceStart === undefined) return false;
    if (run.sleep > 0) {
        const owing = run;
        owing.wait ??= until(halted, owing.sleep).then(() => { owing.sleep = 0; });
        return true;
    }
    return performance.now() - run.sliceStart >= SLICE_MS;
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
        if (halted()) return 1;
        return endOfSlice() ? P.POLL_YIELD : 0;
    },
    sleep(ms) {
        run.output.flush();
        if (blocking) pause(ms);
        else run.sleep += ms;
    },
    answer(kind, buffer, size) {
        let bytes;
        if (run.answers) {
            // As the runner reads its input: one line each, none left is an empty answer.
            bytes = P.toUtf8(run.answers.length ? run.answers.shift() : '');
        } else {
            bytes = blocking ? dialogAnswer(kind) : messageAnswer(kind);
            if (bytes === null) return P.NO_ANSWER;
        }
        const n = Math.min(bytes.length, size);
        core.HEAPU8.set(bytes.subarray(0, n), buffer);
        return n;
    },
    beforeDraw(line, builtin, pixels) {
        if (Atomics.load(shared.control, P.MODE) === P.TRACE_OFF) return 0;
        // Without shared memory the call is asked about again after the wait.
        if (run.traced) {
            run.traced = false;
            return halted() ? 1 : 0;
        }
        syncPauses();
        handFrame(pixels, true);
        postMessage({ type: P.TRACE, line, builtin: cString(builtin) });
        if (!blocking) {
            run.traced = true;
            run.wait = until(halted, Atomics.load(shared.control, P.DELAY));
            return P.POLL_YIELD;
        }
        pause(Atomics.load(shared.control, P.DELAY));
        return halted() ? 1 : 0;
    },
    pause(json, range, pixels, line) {
        run.output.flush();
        handFrame(pixels, true);
        if (blocking) return pauses.pause(json, range, line, halted);
        const kind = pauses.pauseLater(json, range, line, halted);
        if (kind === P.WAIT) run.wait = until(() => halted() || pauses.commanded());
        return kind;
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

// A run without shared memory stops for what it waits for, or after a
// slice to let messages in, and goes on until it ends.
async function carryOn(status) {
    while (status === P.RUN_WAITS) {
        const wait = run.wait ?? nextTurn();
        run.wait = null;
        run.output.offer();
        sendFrame();
        await wait;
        run.sliceStart = performance.now();
        status = core._korvane_resume();
    }
    // A sleep at the end of the run is waited for too.
    if (run.sleep > 0) await until(halted, run.sleep);
    return status;
}

async function doRun(request) {
    Atomics.store(shared.control, P.HALT, 0);
    setSlot(P.RUNNING, 1);
    // korvane.run answers from its input lines, as the runner from its file,
    // and collects its output; the page's runs ask the user and stream it.
    const fromLines = request.fresh || request.input !== undefined;
    run = {
        onScreen: !request.fresh,
        output: request.fresh ? new CollectedOutput() : new StreamedOutput(shared.control),
        answers: fromLines ? answerLines(request.input) : null,
        message: '',
        // Without shared memory: what the run waits for, and what it owes.
        sliceStart: performance.now(), wait: null, sleep: 0, asked: false, traced: false,
        frameAt: null, frameSent: -Infinity,
    };
    if (run.onScreen) pauses.begin(core, request.start);
    let status;
    let errorLine = -1;
    let details = null;
    try {
        status = await carryOn(callRun(request));
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
    if (!blocking) sendFrame();
    setSlot(P.RUNNING, 0);
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

// A seek, pixel history or description, asked by message after a run or
// through the shared memory at a pause.
function answerTimeline(data) {
    if (data.type === P.DESCRIBE) {
        postMessage({ type: P.DESCRIBED, id: data.id, text: describe(data) });
    } else if (data.type === P.HISTORY) {
        postMessage(timeline.history(core, cString, data));
    } else if (data.serial === Atomics.load(shared.control, P.SEEK_SERIAL)) {
        // Only the newest position matters while the slider moves.
        const shown = timeline.seek(core, cString, data);
        postMessage(shown, [shown.pixels.buffer]);
    }
}

// korvane_describe_canvas of the pixels the page shows.
function describe({ pixels, calls }) {
    const at = core._malloc(P.PIXELS);
    core.HEAPU8.set(pixels.subarray(0, P.PIXELS), at);
    const text = cString(core._korvane_describe_canvas(at, calls ? 1 : 0));
    core._free(at);
    return text;
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
        case P.HISTORY:
        case P.DESCRIBE: answerTimeline(data); break;
        case P.GIF: postMessage(timeline.gif(core, paletteBytes(), data)); break;
    }
}

// Without shared memory: what the page changed, at once, even while a run waits.
function takeChange(data) {
    switch (data.type) {
        case P.SET: Atomics.store(shared.control, data.slot, data.value); break;
        case P.LIST: shared[data.name].set(data.values); break;
        case P.ANSWER:
            shared.answer.set(data.bytes);
            Atomics.store(shared.control, P.ANSWER_LENGTH, data.bytes.length);
            Atomics.store(shared.control, P.ANSWERED, 1);
            break;
        default:
            // The timeline's seeks, histories and descriptions reach a run that waits here.
            if (run === null || ![P.SEEK, P.HISTORY, P.DESCRIBE].includes(data.type)) return false;
            answerTimeline(data);
    }
    wake();
    return true;
}

// Messages are handled one at a time, in order, even across the awaits.
let busy = Promise.resolve();
onmessage = (event) => {
    if (!blocking && takeChange(event.data)) return;
    if (event.data.type === P.INIT) {
        blocking = P.isShared(event.data.buffer);
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
