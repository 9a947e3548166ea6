// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the palette indices of an 8-bit indexed, non-interlaced PNG (what
// the runner and the page write), bottom row first like program coordinates.
import { inflateSync } from 'node:zlib';

function paeth(a, b, c) {
    const p = a + b - c;
    const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

export function pngIndices(buffer) {
    let width = 0, height = 0;
    const idat = [];
    for (let at = 8; at < buffer.length;) {
        const length = buffer.readUInt32BE(at);
        const type = buffer.toString('latin1', at + 4, at + 8);
        const data = buffer.subarray(at + 8, at + 8 + length);
        if (type === 'IHDR') {
            width = data.readUInt32BE(0);
            height = data.readUInt32BE(4);
            if (data[8] !== 8 || data[9] !== 3 || data[12] !== 0) throw new Error('not an 8-bit indexed PNG');
        }
        if (type === 'IDAT') idat.push(data);
        at += 12 + length;
    }
    const raw = inflateSync(Buffer.concat(idat));
    const rows = new Uint8Array(width * height);
    for (let y = 0; y < height; y++) {
        const filter = raw[y * (width + 1)];
        const line = raw.subarray(y * (width + 1) + 1, (y + 1) * (width + 1));
        for (let x = 0; x < width; x++) {
            const a = x > 0 ? rows[y * width + x - 1] : 0;
            const b = y > 0 ? rows[(y - 1) * width + x] : 0;
            const c = x > 0 && y > 0 ? rows[(y - 1) * width + x - 1] : 0;
            const add = [0, a, b, (a + b) >> 1, paeth(a, b, c)][filter];
            rows[y * width + x] = (line[x] + add) & 0xff;
        }
    }
    const indices = new Uint8Array(width * height);
    for (let y = 0; y < height; y++) indices.set(rows.subarray((height - 1 - y) * width, (height - y) * width), y * width);
    return { width, height, indices };
}
