// SPDX-License-Identifier: GPL-3.0-or-later
// The worker's side of the timeline: what the core's recorder of the page's
// runs says about a call, a seek or a pixel. text(pointer) reads a string
// the core returns.
import * as P from './protocol.js';

// The timeline of the last run, and its last call, for the page to show
// after the run without seeking.
export function summary(core, text) {
    const calls = core._korvane_timeline_calls();
    return {
        calls, first: core._korvane_timeline_first(),
        line: core._korvane_timeline_line(calls), call: text(core._korvane_timeline_call(calls)),
    };
}

// The canvas after call k, with call k's line and text.
export function seek(core, text, { serial, k }) {
    const at = core._korvane_timeline_seek(k);
    return {
        type: P.AT_CALL, serial, k, pixels: core.HEAPU8.slice(at, at + P.PIXELS),
        line: core._korvane_timeline_line(k), call: text(core._korvane_timeline_call(k)),
    };
}

// The first and last writes of pixel (x, y), and how many in all.
export function history(core, text, { id, x, y }) {
    const lines = text(core._korvane_timeline_history(x, y, P.HISTORY_ENDS)).split('\n').filter(Boolean);
    const writes = lines.map((line) => {
        const [call, at, builtin, colour] = line.split(' ');
        return { call: Number(call), line: Number(at), builtin, colour: Number(colour) };
    });
    return { type: P.WRITES, id, writes, count: core._korvane_timeline_writes() };
}
