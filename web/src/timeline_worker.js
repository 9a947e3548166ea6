// SPDX-License-Identifier: GPL-3.0-or-later
// The worker's side of the timeline: what the core's recorder of the page's
// runs says about a call, a seek or a pixel. text(pointer) reads a string
// the core returns.
import * as P from './protocol.js';
import { GifRecording } from './gif.js';

// How long each frame of a GIF cut from the timeline is shown, as in the
// window, and how many frames it holds at most: the calls replay in the
// time the run drew them, but coding a frame costs milliseconds.
const GIF_FRAME_MS = 100;
const GIF_FRAMES = 1000;
let cut = null;   // the GIF being cut, and the frames left out of it
let left = 0;

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

// A GIF of calls from..to: a frame at each show (every = 0) or every so
// many calls, in the palette the page shows.
export function gif(core, palette, { id, from, to, every }) {
    cut = new GifRecording(palette);
    left = 0;
    core._korvane_timeline_gif(from, to, every);
    const blob = cut.finish(cut.count * GIF_FRAME_MS);
    cut = null;
    return { type: P.GIF_MADE, id, blob, frames: GIF_FRAMES, left };
}

// host_frame: one frame of the GIF being cut.
export function frame(core, pixels) {
    if (cut.count < GIF_FRAMES) cut.add(core.HEAPU8.subarray(pixels, pixels + P.PIXELS), cut.count * GIF_FRAME_MS);
    else left++;
}
