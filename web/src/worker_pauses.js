// SPDX-License-Identifier: GPL-3.0-or-later
// The worker's side of the debugger. The page puts breakpoints, pixel
// watches and commands in shared memory; the core learns them at the start
// of a run and, while it runs, whenever it asks the worker anything (every
// few thousand steps at least). At a pause the worker posts the pause and
// waits for the page's command, as it waits for an input answer; meanwhile
// it answers the timeline's seeks and pixel histories, which the page writes
// into shared memory too. Without shared memory the worker cannot wait
// there: the run stops, and asks again once the page's command came.
import * as P from './protocol.js';

export class WorkerPauses {
    // timeline: {summary() of the calls so far, answer(request) as a SEEK or
    // HISTORY message would be answered}.
    constructor(shared, post, timeline) {
        this.shared = shared;
        this.post = post;       // (message, transfer) to the page
        this.timeline = timeline;
        this.core = null;
        this.seen = { commands: 0, breakpoints: -1, watches: -1, seek: 0, history: 0, describe: 0 };
        this.shown = false;     // without shared memory: the pause is on the page, its command awaited
    }

    // Before a page run on core: the lists as they are, and how it starts.
    begin(core, start) {
        this.core = core;
        this.seen.commands = Atomics.load(this.shared.control, P.COMMANDS);
        this.shown = false;
        this.setList(P.BREAKPOINTS_SET, 'breakpoints', (at, n) => core._korvane_set_breakpoints(at, n), 1);
        this.setList(P.WATCHES_SET, 'watches', (at, n) => core._korvane_set_watches(at, n), 2);
        core._korvane_pauses_begin(start?.kind ?? P.CONTINUE, start?.line ?? -1);
    }

    // While the run goes on: what the page changed since the last look.
    sync() {
        const control = this.shared.control;
        if (Atomics.load(control, P.BREAKPOINTS_SET) !== this.seen.breakpoints)
            this.setList(P.BREAKPOINTS_SET, 'breakpoints', (at, n) => this.core._korvane_set_breakpoints(at, n), 1);
        if (Atomics.load(control, P.WATCHES_SET) !== this.seen.watches)
            this.setList(P.WATCHES_SET, 'watches', (at, n) => this.core._korvane_set_watches(at, n), 2);
        if (Atomics.load(control, P.COMMANDS) !== this.seen.commands) {
            const { kind, line } = this.takeCommand();
            this.core._korvane_pause_request(kind, line);
        }
    }

    // host_pause of web/core/host.h: shows the pause and returns the command.
    pause(json, range, lineOut, halted) {
        this.show(json, range);
        const control = this.shared.control;
        for (;;) {
            const asked = Atomics.load(control, P.PAUSE_ASKED);
            if (halted() || this.commanded()) break;
            this.serve(asked);
            Atomics.wait(control, P.PAUSE_ASKED, asked, 100);
        }
        return halted() ? P.HALT_RUN : this.take(lineOut);
    }

    // The same without shared memory: the pause is shown when first asked,
    // and P.WAIT given until the page's command came.
    pauseLater(json, range, lineOut, halted) {
        if (!this.shown) this.show(json, range);
        this.shown = true;
        if (!halted() && !this.commanded()) return P.WAIT;
        this.shown = false;
        return halted() ? P.HALT_RUN : this.take(lineOut);
    }

    commanded() { return Atomics.load(this.shared.control, P.COMMANDS) !== this.seen.commands; }

    show(json, range) {
        const at = new DataView(this.core.HEAPU8.buffer, range, 16);
        const [line, column, endLine, endColumn] = [0, 4, 8, 12].map((o) => at.getInt32(o, true));
        const pause = JSON.parse(P.coreText(this.core.HEAPU8, json));
        const control = this.shared.control;
        // Requests from an earlier pause are not this one's.
        this.seen.seek = Atomics.load(control, P.SEEK_SERIAL);
        this.seen.history = Atomics.load(control, P.HISTORY_ASKED);
        this.seen.describe = Atomics.load(control, P.DESCRIBE_ASKED);
        const timeline = this.timeline.summary();
        this.post({ type: P.PAUSED, pause, range: { line, column, endLine, endColumn }, timeline });
    }

    // The page's command, written for the core.
    take(lineOut) {
        const command = this.takeCommand();
        // Breakpoints and watches changed at the pause count from here on.
        this.sync();
        new DataView(this.core.HEAPU8.buffer, lineOut, 4).setInt32(0, command.line, true);
        return command.kind;
    }

    // Answers the newest seek, pixel history and description asked for at
    // this pause, if the page wrote them before asked was read and not since.
    serve(asked) {
        const read = (slot) => Atomics.load(this.shared.control, slot);
        const k = read(P.SEEK_CALL_HIGH) * 2 ** 32 + (read(P.SEEK_CALL) >>> 0);
        const seek = { type: P.SEEK, serial: read(P.SEEK_SERIAL), k };
        const history = { type: P.HISTORY, id: read(P.HISTORY_ASKED), x: read(P.HISTORY_X), y: read(P.HISTORY_Y) };
        const describeId = read(P.DESCRIBE_ASKED);
        // The screen's pixels are copied only for a new description.
        const described = describeId === this.seen.describe ? null
            : { type: P.DESCRIBE, id: describeId, pixels: this.shared.shown.slice(), calls: true };
        if (asked % 2 !== 0 || read(P.PAUSE_ASKED) !== asked) return;
        if (seek.serial !== this.seen.seek) {
            this.seen.seek = seek.serial;
            this.timeline.answer(seek);
        }
        if (history.id !== this.seen.history) {
            this.seen.history = history.id;
            this.timeline.answer(history);
        }
        if (described) {
            this.seen.describe = described.id;
            this.timeline.answer(described);
        }
    }

    takeCommand() {
        const control = this.shared.control;
        this.seen.commands = Atomics.load(control, P.COMMANDS);
        return { kind: Atomics.load(control, P.COMMAND), line: Atomics.load(control, P.COMMAND_LINE) };
    }

    // Copies one list (a count, then pairs or lines) into the core's memory for set.
    setList(slot, name, set, width) {
        this.seen[name] = Atomics.load(this.shared.control, slot);
        const list = this.shared[name];
        const count = Math.min(Atomics.load(list, 0), (list.length - 1) / width);
        const values = list.slice(1, 1 + count * width);
        const at = this.core._malloc(Math.max(values.byteLength, 4));
        this.core.HEAPU8.set(new Uint8Array(values.buffer), at);
        set(at, count);
        this.core._free(at);
    }
}
