// Keeps the site for offline play: every file of the page when the worker is
// installed, the soundfont and the synthesizer once the music has fetched
// them. Requests are answered from the cache first.
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
    event.respondWith((async () => {
        const cache = await caches.open(CACHE);
        const cached = await cache.match(request, { ignoreSearch: true });
        if (cached) return cached;
        const response = await fetch(request);
        if (response.ok) cache.put(request, response.clone());
        return response;
    })());
});
