// SPDX-License-Identifier: GPL-3.0-or-later
// Serves build-web/dist on http://127.0.0.1:PORT with the headers that give
// the page cross-origin isolation (SharedArrayBuffer, Atomics.wait).
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const types = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
    '.json': 'application/json', '.ttf': 'font/ttf', '.map': 'application/json', '.cg': 'text/plain; charset=iso-8859-1',
    '.pal': 'application/octet-stream', '.png': 'image/png', '.ico': 'image/x-icon',
    '.txt': 'text/plain; charset=utf-8',
};

export function serve(root, port = 8000) {
    const server = createServer(async (request, response) => {
        const headers = {
            'Cross-Origin-Opener-Policy': 'same-origin',
            'Cross-Origin-Embedder-Policy': 'require-corp',
            'Cache-Control': 'no-cache',
        };
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
            const body = await readFile(file);
            response.writeHead(200, { ...headers, 'Content-Type': types[extname(file)] ?? 'application/octet-stream' });
            response.end(body);
        } catch {
            response.writeHead(404, headers).end('not found');
        }
    });
    return new Promise((resolve) => server.listen(port, '127.0.0.1', () => resolve(server)));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
    const root = process.argv[2];
    const port = Number(process.argv[3] ?? 8000);
    await serve(root, port);
    console.log(`Korvane on http://127.0.0.1:${port}/`);
}
