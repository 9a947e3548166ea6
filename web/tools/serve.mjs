// SPDX-License-Identifier: GPL-3.0-or-later
// Serves build-web/dist on http://127.0.0.1:PORT with the headers that give
// the page cross-origin isolation (SharedArrayBuffer, Atomics.wait), or,
// with --plain, as a host that sends none. Files carry an ETag, so a copy
// the browser holds is checked, not fetched again.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const types = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
    '.json': 'application/json', '.ttf': 'font/ttf', '.map': 'application/json', '.cg': 'text/plain; charset=iso-8859-1',
    '.pal': 'application/octet-stream', '.png': 'image/png', '.ico': 'image/x-icon',
    '.txt': 'text/plain; charset=utf-8',
};

// For the tests: sent counts the body bytes served, served the whole
// bodies served of each path.
export function serve(root, port = 8000, { isolation = true, host = '127.0.0.1' } = {}) {
    const server = createServer(async (request, response) => {
        const headers = { 'Cache-Control': 'no-cache' };
        if (isolation) {
            headers['Cross-Origin-Opener-Policy'] = 'same-origin';
            headers['Cross-Origin-Embedder-Policy'] = 'require-corp';
        }
        let path;
        try {
            path = decodeURIComponent(new URL(request.url, 'http://host').pathname);
        } catch {
            response.writeHead(400, headers).end();
            return;
        }
        const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
        if (!file.startsWith(normalize(root) + sep)) {
            response.writeHead(403, headers).end();
            return;
        }
        try {
            const { size, mtimeMs } = await stat(file);
            const etag = `"${size.toString(16)}-${Math.floor(mtimeMs).toString(16)}"`;
            if (request.headers['if-none-match'] === etag) {
                response.writeHead(304, { ...headers, ETag: etag }).end();
                return;
            }
            const body = await readFile(file);
            response.writeHead(200, { ...headers, ETag: etag, 'Content-Type': types[extname(file)] ?? 'application/octet-stream' });
            server.sent += body.length;
            server.served[path] = (server.served[path] ?? 0) + 1;
            response.end(body);
        } catch {
            response.writeHead(404, headers).end('not found');
        }
    });
    server.sent = 0;
    server.served = {};
    return new Promise((resolve) => server.listen(port, host, () => resolve(server)));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
    const plain = process.argv.includes('--plain');
    const [root, port = 8000] = process.argv.slice(2).filter((a) => a !== '--plain');
    await serve(root, Number(port), { isolation: !plain });
    console.log(`Korvane on http://127.0.0.1:${port}/${plain ? ' (no isolation headers)' : ''}`);
}
