// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of the worker: starts it, sends requests, and routes what
// comes back. Runs are answered in the order they were asked. Without
// shared memory every change of the control slots is sent as a message too.
import * as P from './protocol.js';

// A run that has not ended this long after Halt is inside one long call (a
// flood fill can take seconds): the worker is replaced, so Halt still ends
// any program within half a second.
const HALT_GRACE_MS = 300;
const CUT_SHORT = 'Halted inside a drawing call: the run was cut short, and the canvas starts afresh.\n';
const NO_WRITES = { type: P.WRITES, writes: [], count: 0 };

export class WorkerClient {
    constructor(handlers) {
        this.handlers = handlers;   // by message type, for what a run streams
        this.shares = P.canShare();
        this.buffer = P.newBuffer(this.shares);
        this.shared = P.sharedViews(this.buffer);
        this.waiting = new Map();   // id -> {resolve, gone}: gone answers if the worker is replaced
        this.nextId = 1;
        this.palette = null;        // the palette file last sent, for a new worker
        this.haltTimer = 0;
        this.paused = false;        // the run waits at a pause: requests go through the shared memory
        this.ready = new Promise((resolve) => { this.onReady = resolve; });
        this.start();
    }

    start() {
        this.worker = new Worker('worker.js');
        this.worker.onmessage = (event) => this.receive(event.data);
        this.worker.onerror = (event) => this.handlers.failed?.(event.message);
        // Without shared memory the worker gets a copy: the lists and settings as they are.
        this.worker.postMessage({ type: P.INIT, buffer: this.buffer });
        if (this.palette) this.worker.postMessage({ type: P.PALETTE, ...this.palette });
    }

    // Ends the worker at once, answering what it owed, and starts another.
    replace() {
        if (Atomics.load(this.shared.control, P.RUNNING) === 0) return;
        this.worker.terminate();
        for (const { resolve, gone } of this.waiting.values()) resolve({ ...gone, at: performance.timeOrigin + performance.now() });
        this.waiting.clear();
        this.paused = false;
        for (const slot of [P.HALT, P.ANSWERED, P.RUNNING]) Atomics.store(this.shared.control, slot, 0);
        this.start();
    }

    // A control slot's new value, for the worker too.
    store(slot, value) {
        Atomics.store(this.shared.control, slot, value);
        if (!this.shares) this.worker.postMessage({ type: P.SET, slot, value });
    }

    add(slot, n) {
        const value = Atomics.add(this.shared.control, slot, n) + n;
        if (!this.shares) this.worker.postMessage({ type: P.SET, slot, value });
        return value;
    }

    receive(data) {
        if (data.type === P.SET) Atomics.store(this.shared.control, data.slot, data.value);
        if (data.type === P.FRAME_SENT) {
            this.shared.frame.set(data.pixels);
            Atomics.add(this.shared.control, P.FRAME, 1);
        }
        if (data.type === P.READY) this.onReady(data);
        if (data.type === P.DONE) {
            clearTimeout(this.haltTimer);
            this.leavePause();
        }
        if (data.type === P.PAUSED) this.paused = true;
        if (data.id !== undefined && this.waiting.has(data.id)) {
            const { resolve } = this.waiting.get(data.id);
            this.waiting.delete(data.id);
            resolve(data);
        }
        const handler = this.handlers[data.type];
        if (handler) handler(data);
    }

    // send(id) hands the request over; by default as a message.
    request(message, gone, send = (id) => this.worker.postMessage({ ...message, id })) {
        const id = this.nextId++;
        const answer = new Promise((resolve) => this.waiting.set(id, { resolve, gone, atPause: this.paused }));
        send(id);
        return answer;
    }

    // Writes a request for the paused run (write() stores its slots) and
    // wakes it; otherwise only runs write().
    asking(write) {
        if (!this.paused || !this.shares) return write();
        const control = this.shared.control;
        Atomics.add(control, P.PAUSE_ASKED, 1);
        const written = write();
        Atomics.add(control, P.PAUSE_ASKED, 1);
        Atomics.notify(control, P.PAUSE_ASKED);
        return written;
    }

    // Wakes a paused run to look at what changed.
    wake() {
        if (!this.shares) return;
        Atomics.add(this.shared.control, P.PAUSE_ASKED, 2);
        Atomics.notify(this.shared.control, P.PAUSE_ASKED);
    }

    // The run goes on or has ended: what was asked at the pause and not yet
    // answered never will be.
    leavePause() {
        this.paused = false;
        for (const [id, { resolve, gone, atPause }] of this.waiting) {
            if (!atPause) continue;
            this.waiting.delete(id);
            resolve(gone);
        }
    }

    run(options) {
        return this.request({ type: P.RUN, ...options }, {
            type: P.DONE, status: 2, errorLine: -1, message: CUT_SHORT, output: '', pixels: null, cutShort: true,
        });
    }

    inspect(x, y) { return this.request({ type: P.INSPECT, x, y }, { type: P.ORIGIN, line: -1, builtin: '' }); }

    // Asks for the canvas after call k; any earlier seek not yet done is dropped.
    seek(k) {
        const control = this.shared.control;
        const serial = this.asking(() => {
            Atomics.store(control, P.SEEK_CALL, k % 2 ** 32);
            Atomics.store(control, P.SEEK_CALL_HIGH, Math.floor(k / 2 ** 32));
            return this.add(P.SEEK_SERIAL, 1);
        });
        if (!this.paused || !this.shares) this.worker.postMessage({ type: P.SEEK, serial, k });
        return serial;
    }

    history(x, y) {
        const ask = { type: P.HISTORY, x, y };
        if (!this.paused || !this.shares) return this.request(ask, NO_WRITES);
        const control = this.shared.control;
        return this.request(ask, NO_WRITES, (id) => this.asking(() => {
            Atomics.store(control, P.HISTORY_X, x);
            Atomics.store(control, P.HISTORY_Y, y);
            Atomics.store(control, P.HISTORY_ASKED, id);
        }));
    }

    // The description of pixels (the screen's indices) and, with calls, of
    // the last run's calls (so far, at a pause); the text, or '' if the
    // worker was replaced or the paused run went on first.
    async describe(pixels, calls) {
        const ask = { type: P.DESCRIBE, pixels, calls };
        if (!this.paused || !this.shares) return (await this.request(ask, { text: '' })).text;
        const control = this.shared.control;
        return (await this.request(ask, { text: '' }, (id) => this.asking(() => {
            this.shared.shown.set(pixels);
            Atomics.store(control, P.DESCRIBE_ASKED, id);
        }))).text;
    }

    gif(from, to, every) { return this.request({ type: P.GIF, from, to, every }, { type: P.GIF_MADE, blob: null }); }

    setPalette(name, bytes) {
        this.palette = { name, bytes };
        this.worker.postMessage({ type: P.PALETTE, name, bytes });
    }

    halt() {
        this.store(P.HALT, 1);
        for (const slot of [P.HALT, P.ANSWERED]) Atomics.notify(this.shared.control, slot);
        this.wake();
        clearTimeout(this.haltTimer);
        this.haltTimer = setTimeout(() => this.replace(), HALT_GRACE_MS);
    }

    // Hands the user's answer to the waiting program.
    answer(text) {
        const bytes = P.toUtf8(text).subarray(0, P.ANSWER_BYTES);
        if (!this.shares) return this.worker.postMessage({ type: P.ANSWER, bytes });
        this.shared.answer.set(bytes);
        Atomics.store(this.shared.control, P.ANSWER_LENGTH, bytes.length);
        Atomics.store(this.shared.control, P.ANSWERED, 1);
        Atomics.notify(this.shared.control, P.ANSWERED);
    }

    setTrace(mode, delay) {
        this.store(P.DELAY, delay);
        this.store(P.MODE, mode);
        Atomics.notify(this.shared.control, P.HALT);
    }

    // A debugger command (P.CONTINUE ...) for the paused or running program.
    command(kind, line = -1) {
        this.store(P.COMMAND, kind);
        this.store(P.COMMAND_LINE, line);
        this.add(P.COMMANDS, 1);
        this.leavePause();
        this.wake();
    }

    // The breakpoints' lines, for this run and the next ones.
    setBreakpoints(lines) { this.setList(this.shared.breakpoints, P.BREAKPOINTS_SET, lines, 1); }

    // The watched pixels, [[x, y], ...].
    setWatches(pixels) { this.setList(this.shared.watches, P.WATCHES_SET, pixels.flat(), 2); }

    // A count of entries of width values each, then the values.
    setList(list, slot, values, width) {
        const kept = values.slice(0, list.length - 1);
        list.set(kept, 1);
        Atomics.store(list, 0, kept.length / width);
        if (!this.shares) {
            const name = list === this.shared.breakpoints ? 'breakpoints' : 'watches';
            this.worker.postMessage({ type: P.LIST, name, values: list.slice(0, 1 + kept.length) });
        }
        this.add(slot, 1);
    }

    // The page has shown the last output batch and takes the next.
    wantOutput() { this.store(P.OUTPUT_WANTED, 1); }

    // While on, every show is sent for the GIF.
    setRecording(on) { this.store(P.RECORDING, on ? 1 : 0); }

    frameCount() { return Atomics.load(this.shared.control, P.FRAME); }
}
