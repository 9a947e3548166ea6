// The page's side of the worker: starts it, sends requests, and routes what
// comes back. Runs are answered in the order they were asked.
import * as P from './protocol.js';

export class WorkerClient {
    constructor(handlers) {
        this.handlers = handlers;   // by message type, for what a run streams
        this.buffer = P.newSharedBuffer();
        this.shared = P.sharedViews(this.buffer);
        this.waiting = new Map();   // id -> resolve
        this.nextId = 1;
        this.worker = new Worker('worker.js');
        this.ready = new Promise((resolve) => { this.onReady = resolve; });
        this.worker.onmessage = (event) => this.receive(event.data);
        this.worker.onerror = (event) => handlers.failed?.(event.message);
        this.worker.postMessage({ type: P.INIT, buffer: this.buffer });
    }

    receive(data) {
        if (data.type === P.READY) this.onReady(data);
        if (data.id !== undefined && this.waiting.has(data.id)) {
            const resolve = this.waiting.get(data.id);
            this.waiting.delete(data.id);
            resolve(data);
        }
        const handler = this.handlers[data.type];
        if (handler) handler(data);
    }

    request(message) {
        const id = this.nextId++;
        const answer = new Promise((resolve) => this.waiting.set(id, resolve));
        this.worker.postMessage({ ...message, id });
        return answer;
    }

    run(options) { return this.request({ type: P.RUN, ...options }); }

    inspect(x, y) { return this.request({ type: P.INSPECT, x, y }); }

    setPalette(name, bytes) { this.worker.postMessage({ type: P.PALETTE, name, bytes }); }

    halt() {
        Atomics.store(this.shared.control, P.HALT, 1);
        for (const slot of [P.HALT, P.ANSWERED, P.STEPS]) Atomics.notify(this.shared.control, slot);
    }

    // Hands the user's answer to the waiting program.
    answer(text) {
        const bytes = P.toLatin1(text).subarray(0, P.ANSWER_BYTES);
        this.shared.answer.set(bytes);
        Atomics.store(this.shared.control, P.ANSWER_LENGTH, bytes.length);
        Atomics.store(this.shared.control, P.ANSWERED, 1);
        Atomics.notify(this.shared.control, P.ANSWERED);
    }

    setTrace(mode, delay) {
        Atomics.store(this.shared.control, P.DELAY, delay);
        Atomics.store(this.shared.control, P.MODE, mode);
        Atomics.notify(this.shared.control, P.STEPS);
        Atomics.notify(this.shared.control, P.HALT);
    }

    step() {
        Atomics.add(this.shared.control, P.STEPS, 1);
        Atomics.notify(this.shared.control, P.STEPS);
    }

    // The page has shown the last output batch and takes the next.
    wantOutput() { Atomics.store(this.shared.control, P.OUTPUT_WANTED, 1); }

    // While on, every show is sent for the GIF.
    setRecording(on) { Atomics.store(this.shared.control, P.RECORDING, on ? 1 : 0); }

    frameCount() { return Atomics.load(this.shared.control, P.FRAME); }
}
