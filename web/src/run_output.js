// SPDX-License-Identifier: GPL-3.0-or-later
// Where a run's printed lines go, chosen once per run: korvane.run collects
// them all, as the runner's standard output holds them; the Run button
// streams them to the page in batches, at most one batch per display
// refresh (the page asks for the next when it has painted), keeping only
// the newest lines so a program that prints for ever costs bounded memory.
import { OUTPUT, OUTPUT_WANTED, OUTPUT_KEPT } from './protocol.js';

export class CollectedOutput {
    constructor() { this.lines = []; }
    add(line) { this.lines.push(line); }
    offer() {}
    flush() {}
    text() { return this.lines.map((l) => l + '\n').join(''); }
}

export class StreamedOutput {
    constructor(control) {
        this.control = control;
        this.lines = [];
        this.dropped = 0;   // lines that were never sent, older than the kept ones
    }

    add(line) {
        this.lines.push(line);
        if (this.lines.length >= 2 * OUTPUT_KEPT) this.trim();
        if (this.lines.length > 200) this.offer();
    }

    trim() {
        const extra = this.lines.length - OUTPUT_KEPT;
        if (extra <= 0) return;
        this.lines.splice(0, extra);
        this.dropped += extra;
    }

    // Sends the waiting lines if the page asked for more.
    offer() {
        if (Atomics.load(this.control, OUTPUT_WANTED) === 0) return;
        this.flush();
    }

    // Sends the waiting lines now: before a wait, and at the end of the run.
    flush() {
        if (this.lines.length === 0 && this.dropped === 0) return;
        this.trim();
        Atomics.store(this.control, OUTPUT_WANTED, 0);
        postMessage({ type: OUTPUT, lines: this.lines, dropped: this.dropped });
        this.lines = [];
        this.dropped = 0;
    }

    text() { return ''; }
}
