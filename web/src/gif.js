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

export class GifRecording {
    constructor(palette) {
        this.palette = palette.slice(0, 1024);
        this.frames = [];   // {indices, at}
    }

    // indices: bottom row first, shown at time `at` (milliseconds).
    add(indices, at) {
        this.frames.push({ indices: indices.slice(), at });
        this.ended = null;
    }

    // The final canvas of a run, at its end.
    endRun(indices, at) {
        const last = this.frames[this.frames.length - 1];
        if (!last || !last.indices.every((v, i) => v === indices[i])) this.add(indices, at);
        this.ended = at;
    }

    get count() { return this.frames.length; }

    finish(at) {
        const bytes = [...'GIF89a'].map((c) => c.charCodeAt(0));
        bytes.push(SIZE & 0xff, SIZE >> 8, SIZE & 0xff, SIZE >> 8, 0xf7, 0, 0);
        for (let i = 0; i < 256; i++) bytes.push(...this.palette.subarray(i * 4, i * 4 + 3));
        this.frames.forEach((frame, n) => {
            // Nothing of a run follows its end, so the last frame is held no longer.
            const until = n + 1 < this.frames.length ? this.frames[n + 1].at : this.ended ?? at;
            const delay = Math.min(MAX_DELAY, Math.max(MIN_DELAY, Math.round((until - frame.at) / 10)));
            bytes.push(0x21, 0xf9, 4, 0, delay & 0xff, delay >> 8, 0, 0);
            bytes.push(0x2c, 0, 0, 0, 0, SIZE & 0xff, SIZE >> 8, SIZE & 0xff, SIZE >> 8, 0);
            const rows = new Uint8Array(PIXELS);
            for (let y = 0; y < SIZE; y++)
                rows.set(frame.indices.subarray((SIZE - 1 - y) * SIZE, (SIZE - y) * SIZE), y * SIZE);
            bytes.push(8);
            for (const b of lzw(rows)) bytes.push(b);
        });
        bytes.push(0x3b);
        return new Blob([new Uint8Array(bytes)], { type: 'image/gif' });
    }
}
