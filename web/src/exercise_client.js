// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of the exercise's checker (exercise_worker.js): opens an
// exercise and runs its checks away from the page, so a long check never
// freezes it. Stopping a check ends that worker and starts another, which
// opens the same exercise again.
export class ExerciseClient {
    constructor() {
        this.nextId = 1;
        this.opening = null;     // the last open asked for, sent again to a new worker
        this.waiting = new Map();   // id -> {resolve, each}
        this.worker = null;         // started by the first open: most visits open no exercise
    }

    start() {
        this.worker = new Worker('exercise_worker.js');
        this.worker.onmessage = ({ data }) => {
            const asked = this.waiting.get(data.id);
            if (!asked) return;
            if (data.type === 'check') return asked.each(data);
            this.waiting.delete(data.id);
            asked.resolve(data);
        };
        if (this.opening) this.worker.postMessage({ ...this.opening, id: 0 });
    }

    ask(message, each = null) {
        const id = this.nextId++;
        return new Promise((resolve) => {
            this.waiting.set(id, { resolve, each });
            this.worker.postMessage({ ...message, id });
        });
    }

    // The exercise in the folder at url: {summary, files} or {error}. files:
    // the folder's file names when known (the course's); else the names
    // exercise.json gives are tried.
    open(url, name, files = null) {
        if (!this.worker) this.start();
        this.opening = { type: 'open', url, name, files };
        return this.ask(this.opening);
    }

    // Runs the visible checks on source, handing each result to each as it
    // comes: {index, result, views}. Resolves with {forbidden} or {} when
    // done, or {stopped: true}.
    check(source, shown, each) { return this.ask({ type: 'check', source, shown }, each); }

    stop() {
        this.worker.terminate();
        for (const { resolve } of this.waiting.values()) resolve({ stopped: true });
        this.waiting.clear();
        this.start();
    }
}
