// A static file server for the built site: node serve.mjs SITE_DIR [PORT]
// (port 0: any free port). Prints the address once it listens; counts the
// bytes it sends, for the benchmark, at /.bytes (GET /.bytes?reset clears).
import { createReadStream, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize, resolve } from 'node:path';

const TYPES = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.wasm': 'application/wasm',
    '.json': 'application/json',
    '.webmanifest': 'application/manifest+json',
    '.png': 'image/png',
    '.ttf': 'font/ttf',
    '.mid': 'audio/midi',
    '.sf2': 'application/octet-stream',
};

export function serve(root, port = 0, host = '127.0.0.1') {
    root = resolve(root);
    let sent = [];
    const server = createServer((request, response) => {
        const url = new URL(request.url, 'http://localhost');
        if (url.pathname === '/.bytes') {
            response.writeHead(200, { 'content-type': 'application/json', 'cache-control': 'no-store' });
            response.end(JSON.stringify(sent));
            if (url.searchParams.has('reset')) sent = [];
            return;
        }
        let path = normalize(join(root, decodeURIComponent(url.pathname)));
        if (!path.startsWith(root)) {
            response.writeHead(403).end();
            return;
        }
        try {
            if (statSync(path).isDirectory()) path = join(path, 'index.html');
            const size = statSync(path).size;
            response.writeHead(200, {
                'content-type': TYPES[extname(path).toLowerCase()] ?? 'application/octet-stream',
                'content-length': size,
                'cache-control': 'no-cache',
            });
            sent.push({ path: url.pathname, bytes: size });
            if (request.method === 'HEAD') response.end();
            else createReadStream(path).pipe(response);
        } catch {
            response.writeHead(404).end();
        }
    });
    return new Promise((done) => server.listen(port, host, () => done(server)));
}

if (import.meta.url === `file://${process.argv[1]}`) {
    const [root, port = '0'] = process.argv.slice(2);
    const server = await serve(root, Number(port));
    console.log(`http://127.0.0.1:${server.address().port}/`);
}
