// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the page working offline from the first visit on, and gives it
// cross-origin isolation on hosts that cannot send the headers themselves.
const CACHE = 'korvane-v2';

// Everything the page needs (precache.json, written with the page) is kept
// at install, before the first visit ends. Through the browser's HTTP
// cache, which the page's workers filled or fill: the core, the largest
// file, crosses the network once a visit.
self.addEventListener('install', (event) => event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    const files = await (await fetch('precache.json', { cache: 'no-cache' })).json();
    await cache.addAll(files);
    await self.skipWaiting();
})()));

self.addEventListener('activate', (event) => event.waitUntil((async () => {
    for (const name of await caches.keys()) if (name !== CACHE) await caches.delete(name);
    await self.clients.claim();
})()));

function isolated(response) {
    if (response.status === 0) return response;
    const headers = new Headers(response.headers);
    headers.set('Cross-Origin-Opener-Policy', 'same-origin');
    headers.set('Cross-Origin-Embedder-Policy', 'require-corp');
    headers.set('Cross-Origin-Resource-Policy', 'same-origin');
    return new Response(response.body, { status: response.status, statusText: response.statusText, headers });
}

// Network first, so a new version is seen at once; the cache when offline.
self.addEventListener('fetch', (event) => {
    const request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
    event.respondWith((async () => {
        const cache = await caches.open(CACHE);
        try {
            const response = await fetch(request);
            if (response.ok) cache.put(request, response.clone());
            return isolated(response);
        } catch (error) {
            const cached = await cache.match(request, { ignoreSearch: true });
            if (cached) return isolated(cached);
            throw error;
        }
    })());
});
