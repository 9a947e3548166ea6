// SPDX-License-Identifier: GPL-3.0-or-later
// Share links: the program, deflated, in the URL's fragment, so the link
// works from any static host and the program never reaches a server.
import { toLatin1, fromLatin1 } from './protocol.js';

async function through(bytes, transform) {
    return new Uint8Array(await new Response(new Blob([bytes]).stream().pipeThrough(transform)).arrayBuffer());
}

export async function linkFor(text) {
    const packed = await through(toLatin1(text), new CompressionStream('deflate-raw'));
    const base64 = btoa(fromLatin1(packed)).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
    return `${location.origin}${location.pathname}#program=${base64}`;
}

// The program a link carries, or null.
export async function programFromLink(hash) {
    const match = /[#&]program=([A-Za-z0-9_-]+)/.exec(hash);
    if (!match) return null;
    try {
        const bytes = toLatin1(atob(match[1].replace(/-/g, '+').replace(/_/g, '/')));
        return fromLatin1(await through(bytes, new DecompressionStream('deflate-raw')));
    } catch {
        return null;
    }
}
