// A static file server for the built site: node serve.mjs SITE_DIR [PORT]
// (port 0: any free port) prints its address once it listens.
// server.requests logs every request's method, path and the bytes sent for
// it; GET /.bytes hands the log to the benchmark (?reset clears it). For the
// tests, serve(root, { testHook: true }) also puts a script atop every page that
// collects the page's errors in window.ruvoErrors, the same way in every
// browser, and takes local storage and IndexedDB away on ?refuse-storage; serves the site
// again under /no-soundfont/ without its soundfont and under /no-fonts/
// without its faces; while server.holdFonts is set, holds back the faces
// until a page reports (GET /.pictured, from the hook) that the game has
// shown its first picture four ticks' time ago, which clears holdFonts;
// while server.offline
// is set, fails every request as a lost connection does; and while
// server.holdScript is set, holds back the page's script (/ruvo.js) until a
// page reports (GET /.painted, from the hook) that the browser has drawn a
// frame with the field in it, which clears holdScript; the hook keeps the
// boxes of the field and the menu's titles (window.ruvoLayout()) as each
// frame shows them in window.ruvoLayouts.
// SPDX-License-Identifier: MIT
import { createReadStream, readFileSync, statSync } from 'node:fs';
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
        const field = document.getElementById('field');
        if (field) {
            const layout = window.ruvoLayout();
            if (layouts.at(-1) !== layout && layouts.push(layout) === 1 && @HELD@) fetch('/.painted').catch(() => {});
        }
        // Four ticks' time after the first picture: a page whose ticks did
        // not wait for the faces would have drawn its letters by then.
        const picture = window.ruvo?.firstPictureMs;
        if (picture > 0 && performance.now() > picture + 4 * (window.ruvo.timerPeriod ?? 80) && !pictured) {
            pictured = true;
            fetch('/.pictured').catch(() => {});
        }
        if (!(window.ruvo?.firstFrameMs > 0)) requestAnimationFrame(watch);
    };
    window.ruvoLayout = () => [...document.querySelectorAll('#field, .menu-title')].map((element) => {
        const { left, top, width, height } = element.getBoundingClientRect();
        return [left, top, width, height].join(' ');
    }).join(', ');
    requestAnimationFrame(watch);
    if (new URLSearchParams(location.search).has('refuse-storage'))
        for (const name of ['localStorage', 'indexedDB'])
            Object.defineProperty(window, name, { get: () => { throw new DOMException('off', 'SecurityError'); } });
})();</script>`;

export function serve(root, { port = 0, host = '127.0.0.1', testHook = false } = {}) {
    root = resolve(root);
    const server = createServer((request, response) => {
        const url = new URL(request.url, 'http://localhost');
        if (server.offline) return request.socket.destroy();
        if (url.pathname === '/.painted') {
            server.holdScript = false;
            for (const release of server.held.splice(0)) release();
            return response.writeHead(204).end();
        }
        if (url.pathname === '/.pictured') {
            server.holdFonts = false;
            for (const release of server.heldFonts.splice(0)) release();
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
        for (const [folder, refused] of [['/no-soundfont/', '.sf2'], ['/no-fonts/', '.ttf']]) {
            if (!testHook || !pathname.startsWith(folder)) continue;
            pathname = pathname.slice(folder.length - 1);
            if (pathname.endsWith(refused)) return response.writeHead(404).end();
        }
        let path = normalize(join(root, pathname));
        if (!path.startsWith(root)) return response.writeHead(403).end();
        const answer = () => {
            try {
                if (statSync(path).isDirectory()) path = join(path, 'index.html');
                const type = TYPES[extname(path).toLowerCase()] ?? 'application/octet-stream';
                let body = null;
                let size = statSync(path).size;
                if (testHook && extname(path) === '.html') {
                    const hook = TEST_HOOK.replace('@HELD@', String(server.holdScript));
                body = Buffer.from(readFileSync(path, 'utf8').replace(/<head>/i, (head) => head + hook));
                    size = body.length;
                }
                response.writeHead(200, { 'content-type': type, 'content-length': size, 'cache-control': 'no-cache' });
                if (request.method !== 'HEAD') logged.bytes = size;
                if (request.method === 'HEAD') response.end();
                else if (body) response.end(body);
                else createReadStream(path).pipe(response);
            } catch {
                response.writeHead(404).end();
            }
        };
        if (server.holdScript && pathname === '/ruvo.js') server.held.push(answer);
        else if (server.holdFonts && pathname.endsWith('.ttf')) server.heldFonts.push(answer);
        else answer();
    });
    Object.assign(server, { requests: [], offline: false, holdScript: false, held: [], holdFonts: false, heldFonts: [] });
    return new Promise((done) => server.listen(port, host, () => done(server)));
}

if (import.meta.url === `file://${process.argv[1]}`) {
    const [root, port = '0'] = process.argv.slice(2);
    const server = await serve(root, { port: Number(port) });
    console.log(`http://127.0.0.1:${server.address().port}/`);
}
