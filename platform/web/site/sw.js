// Keeps the site for offline play: every file of the page when the worker is
// installed, the music's tracks, the soundfont and the synthesizer once the
// music has fetched them. Requests are answered from the cache first, but
// those for the board that may serve the site beside it.
// SPDX-License-Identifier: MIT
const CACHE = '@CACHE_NAME@';
const PRECACHE = @PRECACHE@;

self.addEventListener('install', (event) => {
    event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(PRECACHE)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        for (const name of await caches.keys())
            if (name !== CACHE && name.startsWith('ruvo-')) await caches.delete(name);
        await self.clients.claim();
    })());
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
    // A board that serves the site answers for itself, always afresh.
    const path = new URL(request.url).pathname.slice(new URL(self.registration.scope).pathname.length);
    if (/^(api\/|board(\/|$)|healthz$)/.test(path)) return;
    event.respondWith((async () => {
        const cache = await caches.open(CACHE);
        const cached = await cache.match(request, { ignoreSearch: true });
        if (cached) return cached;
        let response;
        try {
            response = await fetch(request);
        } catch (error) {
            // The page that asked has gone (left while the soundfont was on its
            // way): nobody waits for the answer. Otherwise the network failed,
            // and the page hears so as it would without the worker.
            return error.name === 'AbortError' ? new Response(null, { status: 204 }) : Response.error();
        }
        if (response.ok) cache.put(request, response.clone()).catch(() => {});
        return response;
    })());
});
