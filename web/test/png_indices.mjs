// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the palette indices of an 8-bit indexed, non-interlaced PNG (what
// the runner and the page write), bottom row first like program coordinates,
// with the page's own row unfiltering.
import { inflateSync } from 'node:zlib';
import { unfilterRows } from '../src/exercise_png.js';

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
    const rows = unfilterRows(raw, width, height, (filter) => { throw new Error(`unknown row filter ${filter}`); });
    const indices = new Uint8Array(width * height);
    for (let y = 0; y < height; y++) indices.set(rows.subarray((height - 1 - y) * width, (height - y) * width), y * width);
    return { width, height, indices };
}
