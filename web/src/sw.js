// Keeps the page working offline once loaded, and gives it cross-origin
// isolation on hosts that cannot send the headers themselves.
const CACHE = 'korvane-v1';

self.addEventListener('install', () => self.skipWaiting());
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

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
