// The worker owns the run: it holds the compiled core and answers the page.
// A run blocks this thread, so the page reaches it only through shared
// memory (Halt, answers, steps) and sees it through messages and frames.
import * as P from './protocol.js';
import { TextMasks } from './text_masks.js';

importScripts('korvane-core.js');

let core = null;       // the module instance
let shared = null;     // views of the shared buffer
let run = null;        // what the current run collects
let palette = null;    // the palette the page loaded, if any
const masks = new TextMasks();
const queue = [];      // messages that arrived before the core was ready

function cString(pointer) {
    const heap = core.HEAPU8;
    let end = pointer;
    while (heap[end]) end++;
    return P.fromLatin1(heap.subarray(pointer, end));
}

function halted() { return Atomics.load(shared.control, P.HALT) !== 0; }

function flushOutput() {
    if (run.fresh || run.pending.length === 0) return;
    postMessage({ type: P.OUTPUT, lines: run.pending });
    run.pending = [];
    run.flushed = performance.now();
}

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
    flushOutput();
    Atomics.store(shared.control, P.ANSWERED, 0);
    postMessage({ type: P.INPUT, kind });
    while (Atomics.load(shared.control, P.ANSWERED) === 0 && !halted())
        Atomics.wait(shared.control, P.ANSWERED, 0, 100);
    if (halted()) return new Uint8Array(0);
    const length = Atomics.load(shared.control, P.ANSWER_LENGTH);
    return shared.answer.slice(0, length);
}

// Waits for the Step button, or Halt.
function awaitStep() {
    const granted = run.steps;
    while (Atomics.load(shared.control, P.STEPS) === granted && !halted() &&
           Atomics.load(shared.control, P.MODE) === P.TRACE_STEP)
        Atomics.wait(shared.control, P.STEPS, granted, 100);
    run.steps = Atomics.load(shared.control, P.STEPS);
}

const host = {
    output(text) {
        const line = cString(text);
        if (run.fresh) {
            run.output.push(line);
        } else {
            run.pending.push(line);
            if (run.pending.length >= 1000) flushOutput();
        }
    },
    message(text) {
        const t = cString(text);
        run.message += t.endsWith('\n') ? t : t + '\n';
    },
    show(pixels) {
        if (!run.fresh) {
            flushOutput();
            handFrame(pixels);
        }
        return halted() ? 1 : 0;
    },
    poll() {
        // A program that prints but never shows still has its lines seen.
        if (!run.fresh && performance.now() - run.flushed > 100) flushOutput();
        return halted() ? 1 : 0;
    },
    sleep(ms) {
        flushOutput();
        pause(ms);
    },
    answer(kind, buffer, size) {
        let bytes;
        if (run.answers) {
            // As the runner reads its input: one line each, none left is an empty answer.
            bytes = P.toLatin1(run.answers.length ? run.answers.shift() : '');
        } else {
            bytes = dialogAnswer(kind);
        }
        const n = Math.min(bytes.length, size);
        core.HEAPU8.set(bytes.subarray(0, n), buffer);
        return n;
    },
    beforeDraw(line, builtin, pixels) {
        const mode = Atomics.load(shared.control, P.MODE);
        if (mode === P.TRACE_OFF) return 0;
        handFrame(pixels);
        postMessage({ type: P.TRACE, line, builtin: cString(builtin) });
        if (mode === P.TRACE_SLOW) pause(Atomics.load(shared.control, P.DELAY));
        else awaitStep();
        return halted() ? 1 : 0;
    },
    textMask(font, points, text, left, top, mask) {
        masks.render(cString(font), points, cString(text), left, top,
                     core.HEAPU8.subarray(mask, mask + P.PIXELS));
    },
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
}

function callRun(request) {
    const bytes = P.toLatin1(request.source);
    const text = core._malloc(bytes.length + 1);
    core.HEAPU8.set(bytes, text);
    try {
        const seeded = request.seed !== undefined && request.seed !== null;
        return core._korvane_run(text, bytes.length, request.fresh ? 1 : 0, seeded ? 1 : 0,
                                 seeded ? request.seed >>> 0 : 0, Number(request.maxSteps) || 0,
                                 request.trace ? 1 : 0);
    } finally {
        if (core) core._free(text);
    }
}

async function doRun(request) {
    Atomics.store(shared.control, P.HALT, 0);
    // A fresh run answers from its input lines, as the runner from its file;
    // the page's runs ask the user.
    const fromLines = request.fresh || request.input !== undefined;
    run = {
        fresh: !!request.fresh, answers: fromLines ? answerLines(request.input) : null,
        output: [], pending: [], flushed: performance.now(), message: '',
        steps: Atomics.load(shared.control, P.STEPS),
    };
    let status;
    let errorLine = -1;
    try {
        status = callRun(request);
        errorLine = core._korvane_error_line();
    } catch (error) {
        // The browser's own stack ran out, or the core trapped: the module's
        // state cannot be trusted any more, so the run ends with a report and
        // a new instance takes over.
        status = 2;
        run.message += error instanceof RangeError
            ? 'The program nests too deep for the browser\'s stack\n'
            : `The run stopped: ${error.message}\n`;
        await startCore();
        if (palette) setPalette(palette);
    }
    const pixelsAt = core._korvane_pixels();
    const pixels = core.HEAPU8.slice(pixelsAt, pixelsAt + P.PIXELS);
    flushOutput();
    postMessage({
        type: P.DONE, id: request.id, status, errorLine, message: run.message,
        output: run.output.map((l) => l + '\n').join(''), pixels,
    }, [pixels.buffer]);
    run = null;
}

function setPalette(bytes) {
    const at = core._malloc(bytes.length || 1);
    core.HEAPU8.set(bytes, at);
    const ok = core._korvane_set_palette(at, bytes.length) === 1;
    core._free(at);
    return ok;
}

function paletteBytes() {
    const at = core._korvane_palette();
    return core.HEAPU8.slice(at, at + 1024);
}

async function handle(data) {
    switch (data.type) {
        case P.RUN: await doRun(data); break;
        case P.PALETTE: {
            const bytes = new Uint8Array(data.bytes);
            const ok = setPalette(bytes);
            if (ok) palette = bytes;
            postMessage({ type: P.PALETTE_SET, ok, palette: paletteBytes() });
            break;
        }
        case P.INSPECT:
            postMessage({
                type: P.ORIGIN, id: data.id, line: core._korvane_origin_line(data.x, data.y),
                builtin: cString(core._korvane_origin_builtin(data.x, data.y)),
            });
            break;
    }
}

// Messages are handled one at a time, in order, even across the awaits.
let busy = Promise.resolve();
onmessage = (event) => {
    if (event.data.type === P.INIT) {
        shared = P.sharedViews(event.data.buffer);
        busy = busy.then(async () => {
            await Promise.all([startCore(), masks.load(event.data.fontBase)]);
            postMessage({
                type: P.READY, palette: paletteBytes(),
                keywords: cString(core._korvane_keyword_names()).trim().split('\n'),
                builtins: cString(core._korvane_builtin_names()).trim().split('\n'),
            });
        });
        return;
    }
    queue.push(event.data);
    busy = busy.then(() => handle(queue.shift()));
};
