// SPDX-License-Identifier: GPL-3.0-or-later
// Record GIF, as the window and the runner record: every show becomes a
// frame, held until the next one (rounded to centiseconds, at least 20 ms,
// at most 655.35 s), the final canvas of a run ends it unless the last frame
// shows it already, and the animation plays once.
import { SIZE, PIXELS } from './protocol.js';

// Centiseconds; GIF's delay field has 16 bits.
const MIN_DELAY = 2;
const MAX_DELAY = 0xffff;

// GIF's variable-width LZW over 8-bit indices, packed into sub-blocks.
function lzw(indices) {
    const clear = 256, end = 257;
    const out = [];
    let bits = 0, acc = 0, width = 9, next = 258;
    let table = new Map();
    const put = (code) => {
        acc |= code << bits;
        bits += width;
        while (bits >= 8) { out.push(acc & 0xff); acc >>>= 8; bits -= 8; }
    };
    put(clear);
    let prefix = indices[0];
    for (let i = 1; i < indices.length; i++) {
        const k = indices[i];
        const key = prefix * 256 + k;
        const known = table.get(key);
        if (known !== undefined) { prefix = known; continue; }
        put(prefix);
        if (next < 4096) {
            table.set(key, next++);
            if (next > (1 << width) && width < 12) width++;
        } else {
            put(clear);
            table = new Map();
            next = 258;
            width = 9;
        }
        prefix = k;
    }
    put(prefix);
    put(end);
    if (bits > 0) out.push(acc & 0xff);
    const blocks = [];
    for (let i = 0; i < out.length; i += 255) {
        const part = out.slice(i, i + 255);
        blocks.push(part.length, ...part);
    }
    blocks.push(0);
    return blocks;
}

// One frame's image: its descriptor and its rows, top row first, coded.
function image(indices) {
    const rows = new Uint8Array(PIXELS);
    for (let y = 0; y < SIZE; y++) rows.set(indices.subarray((SIZE - 1 - y) * SIZE, (SIZE - y) * SIZE), y * SIZE);
    return Uint8Array.from([0x2c, 0, 0, 0, 0, SIZE & 0xff, SIZE >> 8, SIZE & 0xff, SIZE >> 8, 0, 8, ...lzw(rows)]);
}

export class GifRecording {
    constructor(palette) {
        this.palette = palette.slice(0, 1024);
        this.frames = [];   // {image, at}: coded as they come, so a long recording keeps only the codes
        this.last = null;   // the last frame's indices
    }

    // indices: bottom row first, shown at time `at` (milliseconds).
    add(indices, at) {
        this.frames.push({ image: image(indices), at });
        this.last = indices.slice();
        this.ended = null;
    }

    // The final canvas of a run, at its end.
    endRun(indices, at) {
        if (!this.last || !this.last.every((v, i) => v === indices[i])) this.add(indices, at);
        this.ended = at;
    }

    get count() { return this.frames.length; }

    finish(at) {
        const head = [...'GIF89a'].map((c) => c.charCodeAt(0));
        head.push(SIZE & 0xff, SIZE >> 8, SIZE & 0xff, SIZE >> 8, 0xf7, 0, 0);
        for (let i = 0; i < 256; i++) head.push(...this.palette.subarray(i * 4, i * 4 + 3));
        const parts = [new Uint8Array(head)];
        this.frames.forEach((frame, n) => {
            // Nothing of a run follows its end, so the last frame is held no longer.
            const until = n + 1 < this.frames.length ? this.frames[n + 1].at : this.ended ?? at;
            const delay = Math.min(MAX_DELAY, Math.max(MIN_DELAY, Math.round((until - frame.at) / 10)));
            parts.push(new Uint8Array([0x21, 0xf9, 4, 0, delay & 0xff, delay >> 8, 0, 0]), frame.image);
        });
        parts.push(new Uint8Array([0x3b]));
        return new Blob(parts, { type: 'image/gif' });
    }
}
