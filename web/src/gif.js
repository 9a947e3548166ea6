// Record GIF: every frame the screen shows becomes a GIF frame, held until
// the next one (at least 20 ms, as the runner records).
import { SIZE, PIXELS } from './protocol.js';

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

    // indices: bottom row first, as shown at time `at` (milliseconds).
    add(indices, at) {
        const last = this.frames[this.frames.length - 1];
        if (last && last.indices.every((v, i) => v === indices[i])) return;
        this.frames.push({ indices: indices.slice(), at });
    }

    finish(at) {
        const bytes = [...'GIF89a'].map((c) => c.charCodeAt(0));
        bytes.push(SIZE & 0xff, SIZE >> 8, SIZE & 0xff, SIZE >> 8, 0xf7, 0, 0);
        for (let i = 0; i < 256; i++) bytes.push(...this.palette.subarray(i * 4, i * 4 + 3));
        // Loop for ever.
        bytes.push(0x21, 0xff, 11, ...[...'NETSCAPE2.0'].map((c) => c.charCodeAt(0)), 3, 1, 0, 0, 0);
        this.frames.forEach((frame, n) => {
            const until = n + 1 < this.frames.length ? this.frames[n + 1].at : at;
            const delay = Math.max(2, Math.round((until - frame.at) / 10));
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
