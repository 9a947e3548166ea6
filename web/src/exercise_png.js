// SPDX-License-Identifier: GPL-3.0-or-later
// Reads an exercise's accepted picture: an 8-bit indexed, non-interlaced
// PNG as the runner and the page write them, giving its palette indices
// (top row first, as stored) and its palette. The page has no libpng; the
// browser's own inflater does the decompression.
function paeth(a, b, c) {
    const p = a + b - c;
    const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

async function inflate(parts) {
    const stream = new Blob(parts).stream().pipeThrough(new DecompressionStream('deflate'));
    return new Uint8Array(await new Response(stream).arrayBuffer());
}

const SIGNATURE = [137, 80, 78, 71, 13, 10, 26, 10];

// {width, height, indices, rgb}; throws "NAME is not an 8-bit indexed PNG"
// for anything else.
export async function readIndexedPng(name, bytes) {
    const fail = () => { throw new Error(`${name} is not an 8-bit indexed PNG`); };
    if (bytes.length < 8 || SIGNATURE.some((b, i) => bytes[i] !== b)) fail();
    const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    let width = 0, height = 0, rgb = new Uint8Array(0);
    const idat = [];
    for (let at = 8; at + 8 <= bytes.length;) {
        const length = view.getUint32(at);
        const type = String.fromCharCode(...bytes.subarray(at + 4, at + 8));
        const data = bytes.subarray(at + 8, at + 8 + length);
        if (type === 'IHDR') {
            width = view.getUint32(at + 8);
            height = view.getUint32(at + 12);
            if (data[8] !== 8 || data[9] !== 3 || data[12] !== 0) fail();
        }
        if (type === 'PLTE') rgb = data.slice();
        if (type === 'IDAT') idat.push(data);
        at += 12 + length;
    }
    if (!width || !height || !idat.length) fail();
    let raw;
    try {
        raw = await inflate(idat);
    } catch {
        throw new Error(`${name}: PNG error: the image data cannot be read`);
    }
    if (raw.length < height * (width + 1)) throw new Error(`${name}: PNG error: the image data is short`);
    const indices = unfilterRows(raw, width, height, (filter) => {
        throw new Error(`${name}: PNG error: unknown row filter ${filter}`);
    });
    return { width, height, indices, rgb };
}

// The palette indices of an inflated image, top row first: each row is a
// filter byte and the row's bytes, undone against the row above.
export function unfilterRows(raw, width, height, unknownFilter) {
    const indices = new Uint8Array(width * height);
    for (let y = 0; y < height; y++) {
        const filter = raw[y * (width + 1)];
        const line = raw.subarray(y * (width + 1) + 1, (y + 1) * (width + 1));
        for (let x = 0; x < width; x++) {
            const a = x > 0 ? indices[y * width + x - 1] : 0;
            const b = y > 0 ? indices[(y - 1) * width + x] : 0;
            const c = x > 0 && y > 0 ? indices[(y - 1) * width + x - 1] : 0;
            const add = [0, a, b, (a + b) >> 1, paeth(a, b, c)][filter];
            if (add === undefined) unknownFilter(filter);
            indices[y * width + x] = (line[x] + add) & 0xff;
        }
    }
    return indices;
}
