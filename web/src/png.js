// SPDX-License-Identifier: GPL-3.0-or-later
// An indexed PNG of the canvas: pixel values are the palette indices, the
// top row is y = 399, as the desktop and the runner write it.
import { SIZE } from './protocol.js';

const crcTable = new Uint32Array(256).map((_, n) => {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
});

function crc32(bytes) {
    let c = 0xffffffff;
    for (const b of bytes) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
    const out = new Uint8Array(12 + data.length);
    const view = new DataView(out.buffer);
    view.setUint32(0, data.length);
    for (let i = 0; i < 4; i++) out[4 + i] = type.charCodeAt(i);
    out.set(data, 8);
    view.setUint32(8 + data.length, crc32(out.subarray(4, 8 + data.length)));
    return out;
}

async function deflate(bytes) {
    const stream = new Blob([bytes]).stream().pipeThrough(new CompressionStream('deflate'));
    return new Uint8Array(await new Response(stream).arrayBuffer());
}

// indices: bottom row first; palette: 1024 bytes, red, green, blue, unused.
export async function indexedPng(indices, palette) {
    const header = new Uint8Array(13);
    const view = new DataView(header.buffer);
    view.setUint32(0, SIZE);
    view.setUint32(4, SIZE);
    header.set([8, 3, 0, 0, 0], 8);  // 8 bits, indexed, no interlace
    const plte = new Uint8Array(768);
    for (let i = 0; i < 256; i++) plte.set(palette.subarray(i * 4, i * 4 + 3), i * 3);
    const raw = new Uint8Array(SIZE * (SIZE + 1));
    for (let row = 0; row < SIZE; row++) {
        const from = (SIZE - 1 - row) * SIZE;
        raw.set(indices.subarray(from, from + SIZE), row * (SIZE + 1) + 1);  // filter 0
    }
    const parts = [new Uint8Array([137, 80, 78, 71, 13, 10, 26, 10]), chunk('IHDR', header),
                   chunk('PLTE', plte), chunk('IDAT', await deflate(raw)), chunk('IEND', new Uint8Array(0))];
    return new Blob(parts, { type: 'image/png' });
}
