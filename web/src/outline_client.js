// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of the editor's reader (outline_worker.js): one outline
// asked at a time, each bounded in time once the reader has started. A text
// that takes longer ends that reader and starts another, and gets no outline.
// It also reads and writes program files, by the core's rule.
import * as P from './protocol.js';

const OUTLINE_LIMIT_MS = 2000;

export class OutlineClient {
    constructor() {
        this.nextId = 1;
        this.waiting = null;   // {id, resolve, timer}
        this.converting = new Map();   // id -> {message, resolve}
        this.start();
        // The built-in table, as the first reader gives it.
        this.builtins = this.started;
    }

    start() {
        let started;
        this.started = new Promise((resolve) => { started = resolve; });
        this.worker = new Worker('outline_worker.js');
        this.worker.onmessage = ({ data }) => {
            if (data.type === P.BUILTINS) started(data.table);
            if (data.type === P.OUTLINED && data.id === this.waiting?.id) this.answer(data.outline);
            if (data.type === P.CONVERTED && this.converting.has(data.id)) {
                this.converting.get(data.id).resolve(data.data);
                this.converting.delete(data.id);
            }
        };
        // A reader ended while converting: the new one does it.
        for (const { message } of this.converting.values()) this.worker.postMessage(message);
    }

    answer(outline) {
        clearTimeout(this.waiting.timer);
        this.waiting.resolve(outline);
        this.waiting = null;
    }

    // The text of a program file's bytes.
    programText(bytes) { return this.convert({ type: P.PROGRAM_TEXT, data: bytes }); }

    // The bytes a program file stores for text: Latin-1 as older files, or
    // UTF-8 when a character does not fit.
    programBytes(text) { return this.convert({ type: P.PROGRAM_BYTES, data: text }); }

    convert(message) {
        return new Promise((resolve) => {
            const id = this.nextId++;
            this.converting.set(id, { message: { ...message, id }, resolve });
            this.worker.postMessage({ ...message, id });
        });
    }

    // The outline of source, or null when it could not be had in time. The
    // caller asks again only after the answer.
    async outline(source) {
        await this.started;
        return new Promise((resolve) => {
            const id = this.nextId++;
            const timer = setTimeout(() => {
                this.worker.terminate();
                this.answer(null);
                this.start();
            }, OUTLINE_LIMIT_MS);
            this.waiting = { id, resolve, timer };
            this.worker.postMessage({ type: P.OUTLINE, id, source });
        });
    }
}
