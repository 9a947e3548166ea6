// SPDX-License-Identifier: GPL-3.0-or-later
// Share links: the program, deflated, in the URL's fragment, so the link
// works from any static host and the program never reaches a server.
import { fromLatin1 } from './protocol.js';

// Bytes from a binary string, one byte a character.
function toBytes(binary) { return Uint8Array.from(binary, (c) => c.charCodeAt(0)); }

async function through(bytes, transform) {
    return new Uint8Array(await new Response(new Blob([bytes]).stream().pipeThrough(transform)).arrayBuffer());
}

// The program is stored as a file stores it (reader: an OutlineClient), so
// older links, which hold Latin-1, read as before.
export async function linkFor(text, reader) {
    const packed = await through(await reader.programBytes(text), new CompressionStream('deflate-raw'));
    const base64 = btoa(fromLatin1(packed)).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
    return `${location.origin}${location.pathname}#program=${base64}`;
}

// The program a link carries, or null.
export async function programFromLink(hash, reader) {
    const match = /[#&]program=([A-Za-z0-9_-]+)/.exec(hash);
    if (!match) return null;
    try {
        const bytes = toBytes(atob(match[1].replace(/-/g, '+').replace(/_/g, '/')));
        return await reader.programText(await through(bytes, new DecompressionStream('deflate-raw')));
    } catch {
        return null;
    }
}
