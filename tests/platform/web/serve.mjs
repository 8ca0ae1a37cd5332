// A static file server for the built site: node serve.mjs SITE_DIR [PORT]
// (port 0: any free port) prints its address once it listens.
// server.requests logs every request's method, path and the bytes sent for
// it; GET /.bytes hands the log to the benchmark (?reset clears it). For the
// tests, serve(root, { testHook: true }) also puts a script atop every page that
// collects the page's errors in window.ruvoErrors, the same way in every
// browser, and takes local storage and IndexedDB away on ?refuse-storage;
// serves the site again under /bare/ without its soundfont and its faces;
// while server.offline is set, fails every request as a lost connection
// does; while server.hold.fonts is set, holds back the faces until a page
// reports (GET /.pictured, from the hook) that the game has shown its first
// picture four ticks' time ago; and while server.hold.script is set, holds
// back the page's script (/ruvo.js) until a page reports (GET /.painted,
// from the hook) that the browser has drawn a frame with the field in it.
// Either report ends its hold. The hook keeps the boxes of the field and the
// menu's titles (window.ruvoLayout()) as each frame shows them in
// window.ruvoLayouts.
// SPDX-License-Identifier: MIT
import { readFileSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize, resolve } from 'node:path';

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json',
    '.png': 'image/png', '.ttf': 'font/ttf', '.mid': 'audio/midi', '.txt': 'text/plain; charset=utf-8' };

const TEST_HOOK = `<script>(() => {
    const errors = window.ruvoErrors = [];
    addEventListener('error', (event) => errors.push(event.message ||
        \`\${event.target?.src ?? event.target?.href ?? 'a resource'} did not load\`), true);
    addEventListener('unhandledrejection', (event) => errors.push(\`unhandled: \${event.reason?.message ?? event.reason}\`));
    const error = console.error.bind(console);
    console.error = (...args) => {
        errors.push(args.map(String).join(' '));
        error(...args);
    };
    // The boxes of the field and the menu's titles in every frame the
    // browser draws, until the game's first; a page whose script is held
    // reports its first.
    const layouts = window.ruvoLayouts = [];
    let pictured = false;
    const watch = () => {
        const layout = document.getElementById('field') && window.ruvoLayout();
        if (layout && layouts.at(-1) !== layout && layouts.push(layout) === 1 && @HELD@) fetch('/.painted').catch(() => {});
        // Four ticks' time after the first picture: a page whose ticks did
        // not wait for the faces would have drawn its letters by then.
        const picture = window.ruvo?.firstPictureMs;
        if (!pictured && picture > 0 && performance.now() > picture + 4 * (window.ruvo.timerPeriod ?? 80))
            pictured = fetch('/.pictured').catch(() => {});
        if (!(window.ruvo?.firstFrameMs > 0)) requestAnimationFrame(watch);
    };
    window.ruvoLayout = () => JSON.stringify([...document.querySelectorAll('#field, .menu-title')]
        .map((element) => element.getBoundingClientRect()));
    requestAnimationFrame(watch);
    if (new URLSearchParams(location.search).has('refuse-storage'))
        for (const name of ['localStorage', 'indexedDB'])
            Object.defineProperty(window, name, { get: () => { throw new DOMException('off', 'SecurityError'); } });
})();</script>`;

// What a test may hold back, and the report that ends its hold.
const HOLDS = { script: ['/.painted', (path) => path === '/ruvo.js'],
    fonts: ['/.pictured', (path) => path.endsWith('.ttf')] };

export function serve(root, { port = 0, host = '127.0.0.1', testHook = false } = {}) {
    root = resolve(root);
    const server = createServer((request, response) => {
        const url = new URL(request.url, 'http://localhost');
        if (server.offline) return request.socket.destroy();
        const report = Object.keys(HOLDS).find((name) => HOLDS[name][0] === url.pathname);
        if (report) {
            server.hold[report] = false;
            for (const answer of server.held[report].splice(0)) answer();
            return response.writeHead(204).end();
        }
        if (url.pathname === '/.bytes') {
            response.writeHead(200, { 'content-type': 'application/json', 'cache-control': 'no-store' });
            response.end(JSON.stringify(server.requests));
            if (url.searchParams.has('reset')) server.requests.length = 0;
            return;
        }
        let pathname = decodeURIComponent(url.pathname);
        const logged = { method: request.method, path: url.pathname, bytes: 0 };
        server.requests.push(logged);
        if (testHook && pathname.startsWith('/bare/')) {
            pathname = pathname.slice('/bare'.length);
            if (/\.(sf2|ttf)$/.test(pathname)) return response.writeHead(404).end();
        }
        let path = normalize(join(root, pathname));
        if (!path.startsWith(root)) return response.writeHead(403).end();
        const answer = () => {
            try {
                if (statSync(path).isDirectory()) path = join(path, 'index.html');
                const body = testHook && extname(path) === '.html' ? Buffer.from(readFileSync(path, 'utf8')
                    .replace(/<head>/i, (head) => head + TEST_HOOK.replace('@HELD@', String(server.hold.script))))
                    : readFileSync(path);
                response.writeHead(200, { 'content-length': body.length, 'cache-control': 'no-cache',
                    'content-type': TYPES[extname(path).toLowerCase()] ?? 'application/octet-stream' });
                if (request.method !== 'HEAD') logged.bytes = body.length;
                response.end(request.method === 'HEAD' ? undefined : body);
            } catch {
                response.writeHead(404).end();
            }
        };
        const holder = Object.keys(HOLDS).find((name) => server.hold[name] && HOLDS[name][1](pathname));
        if (holder) server.held[holder].push(answer);
        else answer();
    });
    Object.assign(server, { requests: [], offline: false, hold: { script: false, fonts: false },
        held: { script: [], fonts: [] } });
    return new Promise((done) => server.listen(port, host, () => done(server)));
}

if (import.meta.url === `file://${process.argv[1]}`) {
    const [root, port = '0'] = process.argv.slice(2);
    const server = await serve(root, { port: Number(port) });
    console.log(`http://127.0.0.1:${server.address().port}/`);
}
